#include "formatting.h"

#include <QCoreApplication>

namespace Utilities {

namespace {

constexpr quint64 kibi = 1024;
constexpr quint64 mebi = kibi * kibi;
constexpr quint64 gibi = mebi * kibi;

QString translated(const char *text)
{
    return QCoreApplication::translate("Utilities", text);
}

// Two digits of floor(100 * r / 1024) for a remainder below one binary unit.
QString hundredths(quint64 remainder)
{
    return QStringLiteral("%1").arg(100 * remainder / kibi, 2, 10, QLatin1Char('0'));
}

// The part of the value below the next larger unit, counted in this unit.
quint64 unitPart(quint64 value, quint64 unit)
{
    return (value / unit) % kibi;
}

} // namespace

QString formatDuration(qint64 seconds)
{
    const qint64 values[] = {seconds / 86400, seconds / 3600 % 24, seconds / 60 % 60, seconds % 60};
    const char *patterns[] = {QT_TRANSLATE_NOOP("Utilities", "%1d "), QT_TRANSLATE_NOOP("Utilities", "%1h "),
                              QT_TRANSLATE_NOOP("Utilities", "%1m "), QT_TRANSLATE_NOOP("Utilities", "%1s ")};
    constexpr int secondsIndex = 3;
    QString text;
    int written = 0;
    for (int i = 0; i <= secondsIndex && written < 2; ++i) {
        const bool isSecondsOfZero = i == secondsIndex && seconds == 0;
        if (values[i] == 0 && written == 0 && !isSecondsOfZero)
            continue;
        const QString pattern = translated(patterns[i]);
        text += i == secondsIndex ? pattern.arg(values[i], 2, 10, QLatin1Char('0')) : pattern.arg(values[i]);
        ++written;
    }
    return text.trimmed();
}

FormattedSize formatSize(quint64 bytes)
{
    if (bytes >= gibi)
        return {QCoreApplication::translate("Utilities", "%1,%2").arg(bytes / gibi).arg(hundredths(unitPart(bytes, mebi))), QCoreApplication::translate("Utilities", "GB")};
    return {QCoreApplication::translate("Utilities", "%1").arg(bytes / mebi), QCoreApplication::translate("Utilities", "MB")};
}

QString formatSpeed(quint64 bytesPerSecond)
{
    const quint64 v = bytesPerSecond;
    if (v >= gibi)
        return QCoreApplication::translate("Utilities", "%1,%2 GB/s").arg(v / gibi).arg(hundredths(unitPart(v, mebi)));
    if (v >= 10 * mebi)
        return QCoreApplication::translate("Utilities", "%1 MB/s").arg(unitPart(v, mebi));
    if (v >= mebi)
        return QCoreApplication::translate("Utilities", "%1,%2 MB/s").arg(unitPart(v, mebi)).arg(hundredths(unitPart(v, kibi)));
    if (v >= 10 * kibi)
        return QCoreApplication::translate("Utilities", "%1 KB/s").arg(unitPart(v, kibi));
    if (v >= kibi)
        return QCoreApplication::translate("Utilities", "%1,%2 KB/s").arg(unitPart(v, kibi)).arg(hundredths(v % kibi));
    return QCoreApplication::translate("Utilities", "%1 B/s").arg(v);
}

QString formatDate(const QLocale &locale, const QDate &date)
{
    return locale.toString(date, translated(QT_TRANSLATE_NOOP("Utilities", "dddd, MMMM dd, yyyy")));
}

} // namespace Utilities
