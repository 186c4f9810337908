#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QtGlobal>

// Texts for the progress display: durations, sizes and speeds, translated in the context "Utilities".
namespace Utilities {

// A size is shown as a number and a unit that the caller joins without a space ("1,50" "GB").
struct FormattedSize
{
    QString number;
    QString unit;
};

// At most two units, for example "1d 1h", "1h 1m", "59s"; seconds always have two digits.
QString formatDuration(qint64 seconds);
FormattedSize formatSize(quint64 bytes);
QString formatSpeed(quint64 bytesPerSecond);
// The long date of the backup lists; its format is translated too.
QString formatDate(const QLocale &locale, const QDate &date);

} // namespace Utilities
