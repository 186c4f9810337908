#include "dottedversion.h"

#include <QStringList>
#include <tuple>

QString DottedVersion::toString() const
{
    return QStringLiteral("%1.%2.%3.%4").arg(major).arg(minor).arg(build).arg(revision);
}

DottedVersion DottedVersion::fromString(const QString &text, bool *ok)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    quint16 values[4] = {0, 0, 0, 0};
    bool valid = parts.size() == 4;
    for (int i = 0; valid && i < 4; ++i)
        values[i] = parts[i].toUShort(&valid);
    if (ok)
        *ok = valid;
    return valid ? DottedVersion(values[0], values[1], values[2], values[3]) : DottedVersion();
}

bool operator<(const DottedVersion &a, const DottedVersion &b)
{
    return std::tie(a.major, a.minor, a.build, a.revision) < std::tie(b.major, b.minor, b.build, b.revision);
}

bool operator==(const DottedVersion &a, const DottedVersion &b)
{
    return std::tie(a.major, a.minor, a.build, a.revision) == std::tie(b.major, b.minor, b.build, b.revision);
}
