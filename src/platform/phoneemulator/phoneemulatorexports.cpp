// The exported functions of the emulated connectivity library: each hands its call to the library's state
// or to the phone behind the file-system handle.

#include "emulatedphone.h"
#include "phoneconnectivityapi.h"
#include "phoneemulator.h"

#include <QString>

#include <memory>

namespace {

PhoneEmulator &emulator()
{
    return PhoneEmulator::instance();
}

char16_t *copyText(const QString &text)
{
    auto *copy = new char16_t[size_t(text.size()) + 1];
    std::copy(text.utf16(), text.utf16() + text.size(), copy);
    copy[text.size()] = 0;
    return copy;
}

// What the phone did not tell stays null.
char16_t *copyTextOrNull(const QString &text)
{
    return text.isEmpty() ? nullptr : copyText(text);
}

QString text(const char16_t *utf16)
{
    return QString::fromUtf16(utf16);
}

// Information about one folder or file, with its name.
template <typename Info>
PclResult freeInfo(Info *info)
{
    if (!info)
        return PCL_E_INVALID_ARGUMENT;
    delete[] info->name;
    delete info;
    return PCL_OK;
}

// Runs work on the phone behind the handle when every text argument is present.
template <typename Work>
PclResult onPhone(PclHandle fileSystem, std::initializer_list<const void *> arguments, Work work)
{
    std::shared_ptr<const EmulatedPhone> phone;
    PclFileSystemNotify notify = {nullptr, nullptr};
    const PclResult result = emulator().phoneOf(fileSystem, phone, &notify);
    if (result != PCL_OK)
        return result;
    for (const void *argument : arguments) {
        if (!argument)
            return PCL_E_INVALID_ARGUMENT;
    }
    return work(*phone, notify);
}

} // namespace

extern "C" {

PclResult pclDmInitialize(uint32_t version, uint32_t)
{
    return emulator().initialize(PhoneEmulator::DeviceManagement, version);
}

PclResult pclDmTerminate(void)
{
    return emulator().terminate(PhoneEmulator::DeviceManagement);
}

PclResult pclOpenDeviceManagement(PclHandle *handle)
{
    return emulator().openDeviceManagement(handle);
}

PclResult pclCloseDeviceManagement(PclHandle handle)
{
    return emulator().closeDeviceManagement(handle);
}

PclResult pclGetDeviceCount(PclHandle handle, uint32_t *count)
{
    QList<std::shared_ptr<const EmulatedPhone>> phones;
    const PclResult result = emulator().phones(handle, phones);
    if (result != PCL_OK)
        return result;
    if (!count)
        return PCL_E_INVALID_ARGUMENT;
    *count = uint32_t(phones.size());
    return PCL_OK;
}

PclResult pclGetDevices(PclHandle handle, uint32_t *count, PclDevice *devices)
{
    QList<std::shared_ptr<const EmulatedPhone>> phones;
    const PclResult result = emulator().phones(handle, phones);
    if (result != PCL_OK)
        return result;
    if (!count || (*count > 0 && !devices))
        return PCL_E_INVALID_ARGUMENT;
    // Phones that came since the count are left out; phones that went leave their entries unfilled.
    *count = qMin(*count, uint32_t(phones.size()));
    for (uint32_t i = 0; i < *count; ++i) {
        devices[i] = {copyTextOrNull(phones.at(i)->serialNumber()), copyTextOrNull(phones.at(i)->friendlyName()),
                      copyTextOrNull(phones.at(i)->model())};
    }
    return PCL_OK;
}

PclResult pclFreeDevices(uint32_t count, PclDevice *devices)
{
    if (count > 0 && !devices)
        return PCL_E_INVALID_ARGUMENT;
    for (uint32_t i = 0; i < count; ++i) {
        delete[] devices[i].serialNumber;
        delete[] devices[i].friendlyName;
        delete[] devices[i].model;
        devices[i] = {nullptr, nullptr, nullptr};
    }
    return PCL_OK;
}

PclResult pclFsInitialize(uint32_t version, uint32_t)
{
    return emulator().initialize(PhoneEmulator::FileSystem, version);
}

PclResult pclFsTerminate(void)
{
    return emulator().terminate(PhoneEmulator::FileSystem);
}

PclResult pclOpenFileSystem(const char16_t *serialNumber, uint32_t media, PclHandle *fileSystem)
{
    return emulator().openFileSystem(serialNumber, media, fileSystem);
}

PclResult pclCloseFileSystem(PclHandle fileSystem)
{
    return emulator().closeFileSystem(fileSystem);
}

PclResult pclRegisterFileSystemNotify(PclHandle fileSystem, const PclFileSystemNotify *target, uint32_t registration)
{
    return emulator().registerNotify(fileSystem, target, registration);
}

PclResult pclFindBegin(PclHandle fileSystem, const char16_t *folder, PclHandle *find)
{
    return emulator().findBegin(fileSystem, folder, find);
}

PclResult pclFindNextFolder(PclHandle find, PclFindEntry *entry)
{
    return emulator().findNext(find, true, entry);
}

PclResult pclFindNextFile(PclHandle find, PclFindEntry *entry)
{
    return emulator().findNext(find, false, entry);
}

PclResult pclFindEnd(PclHandle find)
{
    return emulator().findEnd(find);
}

PclResult pclCreateFolder(PclHandle fileSystem, const char16_t *parent, const char16_t *name)
{
    return onPhone(fileSystem, {parent, name}, [&](const EmulatedPhone &phone, const PclFileSystemNotify &) {
        return phone.createFolder(text(parent), text(name));
    });
}

PclResult pclDeleteFolder(PclHandle fileSystem, const char16_t *path)
{
    return onPhone(fileSystem, {path}, [&](const EmulatedPhone &phone, const PclFileSystemNotify &) {
        return phone.deleteFolder(text(path));
    });
}

PclResult pclGetFolderInfo(PclHandle fileSystem, const char16_t *folder, PclFolderInfo **info)
{
    return onPhone(fileSystem, {folder, info}, [&](const EmulatedPhone &phone, const PclFileSystemNotify &) {
        QString name;
        quint64 freeSpace = 0;
        quint64 totalSpace = 0;
        const PclResult result = phone.folderInfo(text(folder), name, freeSpace, totalSpace);
        if (result == PCL_OK)
            *info = new PclFolderInfo{copyText(name), freeSpace, totalSpace};
        return result;
    });
}

PclResult pclFreeFolderInfo(PclFolderInfo *info)
{
    return freeInfo(info);
}

PclResult pclGetFileInfo(PclHandle fileSystem, const char16_t *path, PclFileInfo **info)
{
    return onPhone(fileSystem, {path, info}, [&](const EmulatedPhone &phone, const PclFileSystemNotify &) {
        QString name;
        quint64 size = 0;
        const PclResult result = phone.fileInfo(text(path), name, size);
        if (result == PCL_OK)
            *info = new PclFileInfo{copyText(name), size};
        return result;
    });
}

PclResult pclFreeFileInfo(PclFileInfo *info)
{
    return freeInfo(info);
}

PclResult pclDeleteFile(PclHandle fileSystem, const char16_t *path)
{
    return onPhone(fileSystem, {path}, [&](const EmulatedPhone &phone, const PclFileSystemNotify &) {
        return phone.deleteFile(text(path));
    });
}

PclResult pclMoveFile(PclHandle fileSystem, const char16_t *source, const char16_t *target, uint32_t options)
{
    return onPhone(fileSystem, {source, target}, [&](const EmulatedPhone &phone, const PclFileSystemNotify &) {
        return phone.moveFile(text(source), text(target), options);
    });
}

PclResult pclCopyFile(PclHandle fileSystem, uint32_t direction, const char16_t *name, const char16_t *sourceFolder,
                      const char16_t *targetFolder)
{
    return onPhone(fileSystem, {name, sourceFolder, targetFolder},
                   [&](const EmulatedPhone &phone, const PclFileSystemNotify &notify) {
                       return phone.copyFile(direction, text(name), text(sourceFolder), text(targetFolder), notify);
                   });
}

PclResult pclReadFileInBlocks(PclHandle fileSystem, const PclBlockNotify *target, uint32_t blockSize,
                              const char16_t *name, const char16_t *folder)
{
    return onPhone(fileSystem, {target, name, folder}, [&](const EmulatedPhone &phone, const PclFileSystemNotify &) {
        return phone.readInBlocks(text(name), text(folder), blockSize, *target);
    });
}

PclResult pclWriteFileInBlocks(PclHandle fileSystem, const PclBlockNotify *target, uint32_t blockSize,
                               const char16_t *name, const char16_t *folder)
{
    return onPhone(fileSystem, {target, name, folder}, [&](const EmulatedPhone &phone, const PclFileSystemNotify &) {
        return phone.writeInBlocks(text(name), text(folder), blockSize, *target);
    });
}

PclResult pclInstallApplication(PclHandle fileSystem, const char16_t *packagePath, uint32_t type, uint32_t)
{
    return onPhone(fileSystem, {packagePath}, [&](const EmulatedPhone &phone, const PclFileSystemNotify &notify) {
        return phone.install(text(packagePath), type, notify);
    });
}

PclResult pclListApplications(PclHandle fileSystem, uint32_t, uint32_t *count, PclApplication **applications)
{
    return onPhone(fileSystem, {count, applications}, [&](const EmulatedPhone &phone, const PclFileSystemNotify &) {
        QList<EmulatedPhone::Application> installed;
        const PclResult result = phone.applications(installed);
        if (result != PCL_OK)
            return result;
        *count = uint32_t(installed.size());
        *applications = installed.isEmpty() ? nullptr : new PclApplication[installed.size()];
        for (qsizetype i = 0; i < installed.size(); ++i) {
            (*applications)[i] = {copyText(installed.at(i).identifier), copyText(installed.at(i).name),
                                  copyText(installed.at(i).version)};
        }
        return PCL_OK;
    });
}

PclResult pclFreeApplications(uint32_t count, PclApplication *applications)
{
    if (count > 0 && !applications)
        return PCL_E_INVALID_ARGUMENT;
    for (uint32_t i = 0; i < count; ++i) {
        delete[] applications[i].identifier;
        delete[] applications[i].name;
        delete[] applications[i].version;
    }
    delete[] applications;
    return PCL_OK;
}

} // extern "C"
