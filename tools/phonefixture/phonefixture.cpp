#include "phonefixture.h"

#include <QDir>
#include <QFile>
#include <QSettings>

namespace {

bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

bool writeSettings(QSettings &settings, QString *error)
{
    settings.sync();
    return settings.status() == QSettings::NoError || fail(error, QStringLiteral("cannot write ") + settings.fileName());
}

} // namespace

QString PhoneFixture::folder(const QString &phonesFolder) const
{
    return phonesFolder + QLatin1Char('/') + serialNumber;
}

QString PhoneFixture::drive(const QString &phonesFolder, const QString &letter) const
{
    return folder(phonesFolder) + QStringLiteral("/drives/") + letter;
}

bool PhoneFixture::write(const QString &phonesFolder, QString *error) const
{
    for (const QString &letter : drives) {
        if (!QDir().mkpath(drive(phonesFolder, letter)))
            return fail(error, QStringLiteral("cannot make ") + drive(phonesFolder, letter));
    }
    QSettings settings(folder(phonesFolder) + QStringLiteral("/phone.ini"), QSettings::IniFormat);
    settings.setValue(QStringLiteral("phone/name"), friendlyName);
    settings.setValue(QStringLiteral("phone/model"), model);
    settings.setValue(QStringLiteral("faults/fileSystemUnavailable"), fileSystemUnavailable);
    settings.setValue(QStringLiteral("faults/copyCancelledByPhone"), copyCancelledByPhone);
    settings.setValue(QStringLiteral("faults/installationFails"), installationFails);
    settings.setValue(QStringLiteral("faults/transfersBreakAfter"), transfersBreakAfter);
    if (!writeSettings(settings, error))
        return false;

    QByteArray list;
    for (const Application &application : applications)
        list += (application.identifier + QLatin1Char('\t') + application.version + QLatin1Char('\t')
                 + application.name + QLatin1Char('\n')).toUtf8();
    QFile file(folder(phonesFolder) + QStringLiteral("/applications.txt"));
    if (!file.open(QIODevice::WriteOnly) || file.write(list) != list.size())
        return fail(error, QStringLiteral("cannot write ") + file.fileName());
    return true;
}

QString PhoneFixture::emulatorLibrary()
{
    return QStringLiteral(VKT_PHONE_EMULATOR);
}

bool PhoneFixture::writeLibraryConfiguration(const QString &file, QString *error)
{
    QSettings settings(file, QSettings::IniFormat);
    settings.setValue(QStringLiteral("API/DeviceManagement"), emulatorLibrary());
    settings.setValue(QStringLiteral("API/FileSystem"), emulatorLibrary());
    settings.setValue(QStringLiteral("API/Options"), QStringLiteral("0"));
    return writeSettings(settings, error);
}

bool PhoneFixture::writePackage(const QString &path, const Application &application, QString *error)
{
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(QStringLiteral("identifier"), application.identifier);
    settings.setValue(QStringLiteral("version"), application.version);
    settings.setValue(QStringLiteral("name"), application.name);
    return writeSettings(settings, error);
}
