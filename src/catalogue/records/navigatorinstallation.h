#pragma once

#include "dottedversion.h"
#include "korwindexeinfo.h"

#include <QByteArray>
#include <QString>

// The navigator in use on the selected device.
struct NavigatorInstallation
{
    QString installFolder;
    DottedVersion version;
    QString executablePath;
    QByteArray checksum; // SHA-1 of the executable, 40 lower-case hex digits, or empty
    bool isReadOnly = false; // set: its folder cannot be written, so no navigator update is checked
};

// What the navigator update check sends about the installation on the device of this name.
KorwindExeInfo checkedInstallation(const NavigatorInstallation *navigator, const QString &deviceName);
