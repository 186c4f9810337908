#pragma once

#include <QByteArray>
#include <QString>

// Writes the folder of an emulated Windows CE device (see EmulatedCeDevice and EmulatedRemoteApi): its files,
// their attributes, its registry, how it connects, and the PC's sync software. Each call returns false
// when something cannot be written.
class CeDeviceFixture
{
public:
    // Makes the folder and its files/ when missing.
    explicit CeDeviceFixture(const QString &folder);

    QString folder() const { return m_folder; }
    // The host file that stands for a device path such as "\Storage Card\a.txt".
    QString hostPath(const QString &devicePath) const;

    bool addFile(const QString &devicePath, const QByteArray &content);
    bool addFolder(const QString &devicePath);
    // attributes: hexadecimal, as in the attributes file ("102": hidden and a storage card's bit).
    bool setAttributes(const QString &devicePath, const QString &attributes);
    // A folder at the top of the device with the storage card's bit.
    bool addStorageCard(const QString &name);
    // A text value, or a key of its own without values (name empty), under the device's HKEY_LOCAL_MACHINE.
    bool setRegistryText(const QString &key, const QString &name, const QString &value);
    // Windows Mobile: operating system 5.2 and the key "SYSTEM\Versions"; the device's name.
    bool makeWindowsMobile(const QString &name);
    // A line "key=value" of connection.txt ("name", "os-version", "init", "init-delay-ms").
    bool setConnection(const QString &key, const QString &value);
    // The PC's sync software: its "MajorVersion" and the application manager at appManager.
    bool installSyncSoftware(const QString &appManager);
    // A value of the PC's registry as written in the file ("dword:4", or a text).
    bool setDesktopValue(const QString &key, const QString &name, const QString &written);

private:
    bool append(const QString &name, const QString &text);

    QString m_folder;
};
