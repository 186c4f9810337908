#include "navigatorinstallation.h"

KorwindExeInfo checkedInstallation(const NavigatorInstallation *navigator, const QString &deviceName)
{
    KorwindExeInfo installation;
    if (navigator) {
        installation.path = navigator->executablePath;
        installation.version = navigator->version;
        installation.checksum = navigator->checksum;
    }
    installation.deviceName = deviceName.toUtf8();
    return installation;
}
