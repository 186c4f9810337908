#pragma once

#include "emulatedphone.h"

#include <QHash>
#include <QList>
#include <QMutex>
#include <QString>

#include <memory>

// The state of the emulated connectivity library: which parts are initialised and the open handles. The
// phones are the sub-folders of the folder that VKT_EMULATED_PHONES names, read afresh whenever the phones
// are listed or one is opened; without the variable no phone is connected.
class PhoneEmulator
{
public:
    enum Part { DeviceManagement, FileSystem };

    // The one state of the loaded library.
    static PhoneEmulator &instance();

    PclResult initialize(Part part, quint32 version);
    PclResult terminate(Part part);

    PclResult openDeviceManagement(PclHandle *handle);
    PclResult closeDeviceManagement(PclHandle handle);
    // The phones connected now, for an open device-management handle.
    PclResult phones(PclHandle handle, QList<std::shared_ptr<const EmulatedPhone>> &phones);

    // A phone whose folder says so cannot be opened (PCL_E_DEVICE_NOT_FOUND).
    PclResult openFileSystem(const char16_t *serialNumber, uint32_t media, PclHandle *fileSystem);
    PclResult closeFileSystem(PclHandle fileSystem);
    PclResult registerNotify(PclHandle fileSystem, const PclFileSystemNotify *target, uint32_t registration);
    // The phone behind an open file-system handle and the notification target registered on it. Once the
    // phone has gone, the handle is dead (PCL_E_CONNECTION_LOST), even when the phone comes back.
    PclResult phoneOf(PclHandle fileSystem, std::shared_ptr<const EmulatedPhone> &phone,
                      PclFileSystemNotify *notify = nullptr);

    PclResult findBegin(PclHandle fileSystem, const char16_t *folder, PclHandle *find);
    PclResult findNext(PclHandle find, bool folders, PclFindEntry *entry);
    PclResult findEnd(PclHandle find);

private:
    struct OpenFileSystem
    {
        std::shared_ptr<const EmulatedPhone> phone;
        PclFileSystemNotify notify = {nullptr, nullptr};
        bool lost = false;
    };
    struct Find
    {
        QList<EmulatedPhone::Entry> folders;
        QList<EmulatedPhone::Entry> files;
        qsizetype nextFolder = 0;
        qsizetype nextFile = 0;
        QString current; // the name last handed out, alive until the next call
    };

    static QList<std::shared_ptr<const EmulatedPhone>> connectedPhones();
    bool ready(Part part) const;

    QMutex m_mutex;
    int m_initializations[2] = {0, 0};
    PclHandle m_nextHandle = 1;
    QList<PclHandle> m_deviceManagement;
    QHash<PclHandle, OpenFileSystem> m_fileSystems;
    QHash<PclHandle, std::shared_ptr<Find>> m_finds;
};
