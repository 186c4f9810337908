#pragma once

#include "remoteapi.h"

#include <QList>
#include <QPair>
#include <QString>

// A registry kept as UTF-8 text, as the emulated device and desktop keep theirs: a line "[ROOT\key]" opens a
// key, "name=value" lines give its values ("@" names the default value), "#" starts a comment. A value
// written "dword:" and up to eight hexadecimal digits is a number, any other a text. Keys and value names
// compare without regard to case; a key named twice is one key.
class RegistryTextFile
{
public:
    // A missing file is an empty registry; false when the file exists but cannot be read.
    bool load(const QString &path);
    // Rewrites the file; a symbolic link at path is refused, not followed.
    bool save(const QString &path) const;

    // key with its root, for example "HKEY_LOCAL_MACHINE\Software\Apps"; empty levels do not count.
    bool hasKey(const QString &key) const;
    bool value(const QString &key, const QString &name, RegistryValue &value) const;
    // False for a name or text the file cannot hold (a line break, or "=" in the name).
    bool setText(const QString &key, const QString &name, const QString &text);

    // "HKEY_LOCAL_MACHINE" joined with a key below it, which may start with a backslash.
    static QString localMachineKey(const QString &subKey);

private:
    struct Key
    {
        QString path;
        QList<QPair<QString, QString>> values; // name and value as written
    };

    // -1 when the key is missing.
    qsizetype indexOf(const QString &key) const;

    QList<Key> m_keys;
};
