#pragma once

#include <QMetaType>
#include <QString>
#include <QtGlobal>

// A program version of four 16-bit parts, ordered part by part from the first.
struct DottedVersion
{
    quint16 major = 0;
    quint16 minor = 0;
    quint16 build = 0;
    quint16 revision = 0;

    DottedVersion() = default;
    DottedVersion(quint16 major, quint16 minor, quint16 build, quint16 revision)
        : major(major), minor(minor), build(build), revision(revision)
    {
    }

    bool isZero() const { return major == 0 && minor == 0 && build == 0 && revision == 0; }
    QString toString() const;
    // Parses "a.b.c.d"; anything else gives the zero version and sets *ok to false.
    static DottedVersion fromString(const QString &text, bool *ok = nullptr);

    friend bool operator<(const DottedVersion &a, const DottedVersion &b);
    friend bool operator==(const DottedVersion &a, const DottedVersion &b);
    friend bool operator!=(const DottedVersion &a, const DottedVersion &b) { return !(a == b); }
    friend bool operator>(const DottedVersion &a, const DottedVersion &b) { return b < a; }
    friend bool operator<=(const DottedVersion &a, const DottedVersion &b) { return !(b < a); }
    friend bool operator>=(const DottedVersion &a, const DottedVersion &b) { return !(a < b); }
};

Q_DECLARE_METATYPE(DottedVersion)
