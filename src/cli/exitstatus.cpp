#include "exitstatus.h"

QString statusName(ExitStatus status)
{
    switch (status) {
    case ExitStatus::Success:
        return QStringLiteral("success");
    case ExitStatus::Usage:
        return QStringLiteral("usage");
    case ExitStatus::Device:
        return QStringLiteral("device");
    case ExitStatus::Server:
        return QStringLiteral("server");
    case ExitStatus::Download:
        return QStringLiteral("download");
    case ExitStatus::Space:
        return QStringLiteral("space");
    case ExitStatus::Installation:
        return QStringLiteral("installation");
    case ExitStatus::Cancelled:
        return QStringLiteral("cancelled");
    case ExitStatus::Busy:
        return QStringLiteral("busy");
    }
    return QString();
}
