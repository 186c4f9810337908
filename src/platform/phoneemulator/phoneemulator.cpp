#include "phoneemulator.h"

#include <QDir>
#include <QMutexLocker>

PhoneEmulator &PhoneEmulator::instance()
{
    static PhoneEmulator emulator;
    return emulator;
}

QList<std::shared_ptr<const EmulatedPhone>> PhoneEmulator::connectedPhones()
{
    QList<std::shared_ptr<const EmulatedPhone>> phones;
    const QString folder = qEnvironmentVariable("VKT_EMULATED_PHONES");
    if (folder.isEmpty())
        return phones;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (entry.isSymLink())
            continue;
        auto phone = std::make_shared<const EmulatedPhone>(entry.filePath());
        if (!phone->isDisconnected())
            phones.append(std::move(phone));
    }
    return phones;
}

bool PhoneEmulator::ready(Part part) const
{
    return m_initializations[part] > 0;
}

PclResult PhoneEmulator::initialize(Part part, quint32 version)
{
    if (version == 0 || version > PCL_API_VERSION)
        return PCL_E_UNSUPPORTED_VERSION;
    const QMutexLocker lock(&m_mutex);
    ++m_initializations[part];
    return PCL_OK;
}

PclResult PhoneEmulator::terminate(Part part)
{
    const QMutexLocker lock(&m_mutex);
    if (!ready(part))
        return PCL_E_NOT_INITIALIZED;
    --m_initializations[part];
    return PCL_OK;
}

PclResult PhoneEmulator::openDeviceManagement(PclHandle *handle)
{
    const QMutexLocker lock(&m_mutex);
    if (!ready(DeviceManagement))
        return PCL_E_NOT_INITIALIZED;
    if (!handle)
        return PCL_E_INVALID_ARGUMENT;
    *handle = m_nextHandle++;
    m_deviceManagement.append(*handle);
    return PCL_OK;
}

PclResult PhoneEmulator::closeDeviceManagement(PclHandle handle)
{
    const QMutexLocker lock(&m_mutex);
    return m_deviceManagement.removeOne(handle) ? PCL_OK : PCL_E_INVALID_HANDLE;
}

PclResult PhoneEmulator::phones(PclHandle handle, QList<std::shared_ptr<const EmulatedPhone>> &phones)
{
    {
        const QMutexLocker lock(&m_mutex);
        if (!m_deviceManagement.contains(handle))
            return PCL_E_INVALID_HANDLE;
    }
    phones = connectedPhones();
    return PCL_OK;
}

PclResult PhoneEmulator::openFileSystem(const char16_t *serialNumber, uint32_t media, PclHandle *fileSystem)
{
    {
        const QMutexLocker lock(&m_mutex);
        if (!ready(FileSystem))
            return PCL_E_NOT_INITIALIZED;
    }
    if (!serialNumber || !fileSystem || media != PCL_MEDIA_ALL)
        return PCL_E_INVALID_ARGUMENT;
    const QString serial = QString::fromUtf16(serialNumber);
    for (const std::shared_ptr<const EmulatedPhone> &phone : connectedPhones()) {
        if (phone->serialNumber() != serial)
            continue;
        if (phone->fileSystemUnavailable())
            return PCL_E_DEVICE_NOT_FOUND;
        const QMutexLocker lock(&m_mutex);
        *fileSystem = m_nextHandle++;
        m_fileSystems.insert(*fileSystem, {phone, {nullptr, nullptr}});
        return PCL_OK;
    }
    return PCL_E_DEVICE_NOT_FOUND;
}

PclResult PhoneEmulator::closeFileSystem(PclHandle fileSystem)
{
    const QMutexLocker lock(&m_mutex);
    return m_fileSystems.remove(fileSystem) ? PCL_OK : PCL_E_INVALID_HANDLE;
}

PclResult PhoneEmulator::registerNotify(PclHandle fileSystem, const PclFileSystemNotify *target, uint32_t registration)
{
    const QMutexLocker lock(&m_mutex);
    const auto open = m_fileSystems.find(fileSystem);
    if (open == m_fileSystems.end())
        return PCL_E_INVALID_HANDLE;
    if (registration == PCL_NOTIFY_REGISTER && target && target->notify) {
        open->notify = *target;
        return PCL_OK;
    }
    if (registration == PCL_NOTIFY_UNREGISTER) {
        open->notify = {nullptr, nullptr};
        return PCL_OK;
    }
    return PCL_E_INVALID_ARGUMENT;
}

PclResult PhoneEmulator::phoneOf(PclHandle fileSystem, std::shared_ptr<const EmulatedPhone> &phone,
                                 PclFileSystemNotify *notify)
{
    const QMutexLocker lock(&m_mutex);
    const auto open = m_fileSystems.find(fileSystem);
    if (open == m_fileSystems.end())
        return PCL_E_INVALID_HANDLE;
    open->lost = open->lost || open->phone->isDisconnected();
    if (open->lost)
        return PCL_E_CONNECTION_LOST;
    phone = open->phone;
    if (notify)
        *notify = open->notify;
    return PCL_OK;
}

PclResult PhoneEmulator::findBegin(PclHandle fileSystem, const char16_t *folder, PclHandle *find)
{
    std::shared_ptr<const EmulatedPhone> phone;
    const PclResult result = phoneOf(fileSystem, phone);
    if (result != PCL_OK)
        return result;
    if (!folder || !find)
        return PCL_E_INVALID_ARGUMENT;
    auto listing = std::make_shared<Find>();
    const PclResult listed = phone->list(QString::fromUtf16(folder), listing->folders, listing->files);
    if (listed != PCL_OK)
        return listed;
    const QMutexLocker lock(&m_mutex);
    *find = m_nextHandle++;
    m_finds.insert(*find, listing);
    return PCL_OK;
}

PclResult PhoneEmulator::findNext(PclHandle find, bool folders, PclFindEntry *entry)
{
    const QMutexLocker lock(&m_mutex);
    const std::shared_ptr<Find> listing = m_finds.value(find);
    if (!listing)
        return PCL_E_INVALID_HANDLE;
    if (!entry)
        return PCL_E_INVALID_ARGUMENT;
    const QList<EmulatedPhone::Entry> &entries = folders ? listing->folders : listing->files;
    qsizetype &next = folders ? listing->nextFolder : listing->nextFile;
    if (next >= entries.size())
        return PCL_E_NO_MORE_ITEMS;
    const EmulatedPhone::Entry &found = entries.at(next++);
    listing->current = found.name;
    entry->name = reinterpret_cast<const char16_t *>(listing->current.utf16());
    entry->size = found.size;
    return PCL_OK;
}

PclResult PhoneEmulator::findEnd(PclHandle find)
{
    const QMutexLocker lock(&m_mutex);
    return m_finds.remove(find) ? PCL_OK : PCL_E_INVALID_HANDLE;
}
