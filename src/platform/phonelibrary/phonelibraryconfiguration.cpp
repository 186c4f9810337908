#include "phonelibraryconfiguration.h"

#include <QFileInfo>
#include <QSettings>

QString PhoneLibraryConfiguration::defaultLibraryName()
{
    return QStringLiteral("libphoneconnectivity.so");
}

QString PhoneLibraryConfiguration::systemConfigurationFile()
{
    return QStringLiteral("/etc/phone-connectivity/api.conf");
}

PhoneLibraryConfiguration PhoneLibraryConfiguration::read(const QString &file)
{
    PhoneLibraryConfiguration configuration;
    if (!QFileInfo(file).isFile())
        return configuration;
    const QSettings settings(file, QSettings::IniFormat);
    const QString deviceManagement = settings.value(QStringLiteral("API/DeviceManagement")).toString();
    if (!deviceManagement.isEmpty())
        configuration.deviceManagementLibrary = deviceManagement;
    const QString fileSystem = settings.value(QStringLiteral("API/FileSystem")).toString();
    if (!fileSystem.isEmpty())
        configuration.fileSystemLibrary = fileSystem;
    bool ok = false;
    const uint options = settings.value(QStringLiteral("API/Options")).toString().toUInt(&ok, 0);
    configuration.options = ok ? options : 0;
    return configuration;
}

PhoneLibraryConfiguration PhoneLibraryConfiguration::fromEnvironment()
{
    const QString file = qEnvironmentVariable("VKT_PHONE_LIBRARY_CONFIG");
    return read(file.isEmpty() ? systemConfigurationFile() : file);
}
