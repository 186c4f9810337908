#include "phoneconnectivitylibrary.h"

#include <QMutexLocker>

#include <type_traits>

namespace {

const char16_t *utf16(const QString &text)
{
    return reinterpret_cast<const char16_t *>(text.utf16());
}

} // namespace

// Looks the function up by its own name, so that the name and the signature cannot drift apart.
#define PCL_CALL(part, function, ...) call<decltype(function)>(part, #function, __VA_ARGS__)

PhoneConnectivityLibrary::PhoneConnectivityLibrary(const PhoneLibraryConfiguration &configuration)
    : m_options(configuration.options)
{
    m_parts[DeviceManagement].library.setFileName(configuration.deviceManagementLibrary);
    m_parts[FileSystem].library.setFileName(configuration.fileSystemLibrary);
}

PhoneConnectivityLibrary::~PhoneConnectivityLibrary()
{
    for (const Part part : {FileSystem, DeviceManagement}) {
        if (m_parts[part].initializations > 0) {
            m_parts[part].initializations = 1;
            terminate(part);
        }
    }
    for (LoadedPart &part : m_parts) {
        if (part.library.isLoaded())
            part.library.unload();
    }
}

QFunctionPointer PhoneConnectivityLibrary::lookup(LoadedPart &part, const char *name)
{
    const QByteArray key(name);
    auto found = part.functions.constFind(key);
    if (found == part.functions.constEnd())
        found = part.functions.insert(key, part.library.resolve(name));
    return found.value();
}

QFunctionPointer PhoneConnectivityLibrary::resolve(Part part, const char *name)
{
    const QMutexLocker lock(&m_mutex);
    LoadedPart &loaded = m_parts[part];
    return loaded.initializations > 0 ? lookup(loaded, name) : nullptr;
}

template <typename Function, typename... Args>
PclResult PhoneConnectivityLibrary::call(Part part, const char *name, Args... args)
{
    const auto function = reinterpret_cast<Function *>(resolve(part, name));
    return function ? function(args...) : PCL_E_LIBRARY_NOT_LOADED;
}

QString PhoneConnectivityLibrary::text(const char16_t *utf16)
{
    return utf16 ? QString::fromUtf16(utf16) : QString();
}

bool PhoneConnectivityLibrary::saysPhoneIsGone(quint32 state)
{
    for (const quint32 gone : {PCL_E_DEVICE_NOT_FOUND, PCL_E_MEDIA_NOT_FOUND, PCL_E_CONNECTION_LOST}) {
        if ((state & gone) == gone)
            return true;
    }
    return false;
}

bool PhoneConnectivityLibrary::saysIgnore(quint32 state)
{
    return (state & PCL_STATE_IGNORE) == PCL_STATE_IGNORE;
}

PclResult PhoneConnectivityLibrary::initialize(Part part)
{
    const QMutexLocker lock(&m_mutex);
    LoadedPart &loaded = m_parts[part];
    if (loaded.initializations > 0) {
        ++loaded.initializations;
        return PCL_OK;
    }
    if (!loaded.library.isLoaded() && !loaded.library.load())
        return PCL_E_LIBRARY_NOT_LOADED;
    using Initialize = decltype(pclDmInitialize);
    static_assert(std::is_same_v<Initialize, decltype(pclFsInitialize)>);
    const auto initializePart = reinterpret_cast<Initialize *>(
        lookup(loaded, part == DeviceManagement ? "pclDmInitialize" : "pclFsInitialize"));
    if (!initializePart)
        return PCL_E_LIBRARY_NOT_LOADED;
    const PclResult result = initializePart(PCL_API_VERSION, m_options);
    if (result == PCL_OK)
        loaded.initializations = 1;
    return result;
}

PclResult PhoneConnectivityLibrary::terminate(Part part)
{
    const QMutexLocker lock(&m_mutex);
    LoadedPart &loaded = m_parts[part];
    if (loaded.initializations == 0)
        return PCL_E_NOT_INITIALIZED;
    if (--loaded.initializations > 0)
        return PCL_OK;
    using Terminate = decltype(pclDmTerminate);
    const auto terminatePart = reinterpret_cast<Terminate *>(
        lookup(loaded, part == DeviceManagement ? "pclDmTerminate" : "pclFsTerminate"));
    return terminatePart ? terminatePart() : PCL_E_LIBRARY_NOT_LOADED;
}

PclResult PhoneConnectivityLibrary::openDeviceManagement(PclHandle &handle)
{
    return PCL_CALL(DeviceManagement, pclOpenDeviceManagement, &handle);
}

PclResult PhoneConnectivityLibrary::closeDeviceManagement(PclHandle handle)
{
    return PCL_CALL(DeviceManagement, pclCloseDeviceManagement, handle);
}

PclResult PhoneConnectivityLibrary::getDeviceCount(PclHandle handle, quint32 &count)
{
    return PCL_CALL(DeviceManagement, pclGetDeviceCount, handle, &count);
}

PclResult PhoneConnectivityLibrary::getDevices(PclHandle handle, quint32 &count, PclDevice *devices)
{
    return PCL_CALL(DeviceManagement, pclGetDevices, handle, &count, devices);
}

PclResult PhoneConnectivityLibrary::freeDevices(quint32 count, PclDevice *devices)
{
    return PCL_CALL(DeviceManagement, pclFreeDevices, count, devices);
}

PclResult PhoneConnectivityLibrary::openFileSystem(const QString &serialNumber, quint32 media, PclHandle &fileSystem)
{
    return PCL_CALL(FileSystem, pclOpenFileSystem, utf16(serialNumber), media, &fileSystem);
}

PclResult PhoneConnectivityLibrary::closeFileSystem(PclHandle fileSystem)
{
    return PCL_CALL(FileSystem, pclCloseFileSystem, fileSystem);
}

PclResult PhoneConnectivityLibrary::registerFileSystemNotify(PclHandle fileSystem, const PclFileSystemNotify *target,
                                                            quint32 registration)
{
    return PCL_CALL(FileSystem, pclRegisterFileSystemNotify, fileSystem, target, registration);
}

PclResult PhoneConnectivityLibrary::findBegin(PclHandle fileSystem, const QString &folder, PclHandle &find)
{
    return PCL_CALL(FileSystem, pclFindBegin, fileSystem, utf16(folder), &find);
}

PclResult PhoneConnectivityLibrary::findNextFolder(PclHandle find, PclFindEntry &entry)
{
    return PCL_CALL(FileSystem, pclFindNextFolder, find, &entry);
}

PclResult PhoneConnectivityLibrary::findNextFile(PclHandle find, PclFindEntry &entry)
{
    return PCL_CALL(FileSystem, pclFindNextFile, find, &entry);
}

PclResult PhoneConnectivityLibrary::findEnd(PclHandle find)
{
    return PCL_CALL(FileSystem, pclFindEnd, find);
}

PclResult PhoneConnectivityLibrary::createFolder(PclHandle fileSystem, const QString &parent, const QString &name)
{
    return PCL_CALL(FileSystem, pclCreateFolder, fileSystem, utf16(parent), utf16(name));
}

PclResult PhoneConnectivityLibrary::deleteFolder(PclHandle fileSystem, const QString &path)
{
    return PCL_CALL(FileSystem, pclDeleteFolder, fileSystem, utf16(path));
}

PclResult PhoneConnectivityLibrary::getFolderInfo(PclHandle fileSystem, const QString &folder, PclFolderInfo *&info)
{
    return PCL_CALL(FileSystem, pclGetFolderInfo, fileSystem, utf16(folder), &info);
}

PclResult PhoneConnectivityLibrary::freeFolderInfo(PclFolderInfo *info)
{
    return PCL_CALL(FileSystem, pclFreeFolderInfo, info);
}

PclResult PhoneConnectivityLibrary::getFileInfo(PclHandle fileSystem, const QString &path, PclFileInfo *&info)
{
    return PCL_CALL(FileSystem, pclGetFileInfo, fileSystem, utf16(path), &info);
}

PclResult PhoneConnectivityLibrary::freeFileInfo(PclFileInfo *info)
{
    return PCL_CALL(FileSystem, pclFreeFileInfo, info);
}

PclResult PhoneConnectivityLibrary::deleteFile(PclHandle fileSystem, const QString &path)
{
    return PCL_CALL(FileSystem, pclDeleteFile, fileSystem, utf16(path));
}

PclResult PhoneConnectivityLibrary::moveFile(PclHandle fileSystem, const QString &source, const QString &target,
                                             quint32 options)
{
    return PCL_CALL(FileSystem, pclMoveFile, fileSystem, utf16(source), utf16(target), options);
}

PclResult PhoneConnectivityLibrary::copyFile(PclHandle fileSystem, quint32 direction, const QString &name,
                                             const QString &sourceFolder, const QString &targetFolder)
{
    return PCL_CALL(FileSystem, pclCopyFile, fileSystem, direction, utf16(name), utf16(sourceFolder),
                    utf16(targetFolder));
}

PclResult PhoneConnectivityLibrary::readFileInBlocks(PclHandle fileSystem, const PclBlockNotify *target,
                                                     quint32 blockSize, const QString &name, const QString &folder)
{
    return PCL_CALL(FileSystem, pclReadFileInBlocks, fileSystem, target, blockSize, utf16(name), utf16(folder));
}

PclResult PhoneConnectivityLibrary::writeFileInBlocks(PclHandle fileSystem, const PclBlockNotify *target,
                                                      quint32 blockSize, const QString &name, const QString &folder)
{
    return PCL_CALL(FileSystem, pclWriteFileInBlocks, fileSystem, target, blockSize, utf16(name), utf16(folder));
}

PclResult PhoneConnectivityLibrary::installApplication(PclHandle fileSystem, const QString &packagePath, quint32 type,
                                                       quint32 options)
{
    return PCL_CALL(FileSystem, pclInstallApplication, fileSystem, utf16(packagePath), type, options);
}

PclResult PhoneConnectivityLibrary::listApplications(PclHandle fileSystem, quint32 options, quint32 &count,
                                                     PclApplication *&applications)
{
    return PCL_CALL(FileSystem, pclListApplications, fileSystem, options, &count, &applications);
}

PclResult PhoneConnectivityLibrary::freeApplications(quint32 count, PclApplication *applications)
{
    return PCL_CALL(FileSystem, pclFreeApplications, count, applications);
}
