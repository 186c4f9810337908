#pragma once

#include "phoneconnectivityapi.h"
#include "phonelibraryconfiguration.h"

#include <QByteArray>
#include <QHash>
#include <QLibrary>
#include <QMutex>
#include <QString>

#include <array>

// The phone connectivity library, loaded at run time from the files its configuration names. Each part is
// initialised once however often it is asked for (the requests are counted, and the last terminate ends
// it); its functions are looked up by name on first use. Every call returns the library's own result, or
// PCL_E_LIBRARY_NOT_LOADED while the part is not initialised or lacks the function. Calls may come from
// several threads; none is serialised, since the library calls back into the caller during a call.
class PhoneConnectivityLibrary final
{
public:
    enum Part { DeviceManagement, FileSystem };

    explicit PhoneConnectivityLibrary(const PhoneLibraryConfiguration &configuration);
    // Ends the parts still initialised and unloads the library.
    ~PhoneConnectivityLibrary();
    PhoneConnectivityLibrary(const PhoneConnectivityLibrary &) = delete;
    PhoneConnectivityLibrary &operator=(const PhoneConnectivityLibrary &) = delete;

    // A text the library handed out; empty for null.
    static QString text(const char16_t *utf16);
    // A notification state that carries every bit of one of the three "out of reach" results: the phone is gone.
    static bool saysPhoneIsGone(quint32 state);
    // A notification state to be ignored. It carries every bit of PCL_E_CONNECTION_LOST as well: ask this first.
    static bool saysIgnore(quint32 state);

    // PCL_E_LIBRARY_NOT_LOADED when the part's file cannot be loaded or is not the library.
    PclResult initialize(Part part);
    PclResult terminate(Part part);

    PclResult openDeviceManagement(PclHandle &handle);
    PclResult closeDeviceManagement(PclHandle handle);
    PclResult getDeviceCount(PclHandle handle, quint32 &count);
    PclResult getDevices(PclHandle handle, quint32 &count, PclDevice *devices);
    PclResult freeDevices(quint32 count, PclDevice *devices);

    PclResult openFileSystem(const QString &serialNumber, quint32 media, PclHandle &fileSystem);
    PclResult closeFileSystem(PclHandle fileSystem);
    PclResult registerFileSystemNotify(PclHandle fileSystem, const PclFileSystemNotify *target, quint32 registration);
    PclResult findBegin(PclHandle fileSystem, const QString &folder, PclHandle &find);
    PclResult findNextFolder(PclHandle find, PclFindEntry &entry);
    PclResult findNextFile(PclHandle find, PclFindEntry &entry);
    PclResult findEnd(PclHandle find);
    PclResult createFolder(PclHandle fileSystem, const QString &parent, const QString &name);
    PclResult deleteFolder(PclHandle fileSystem, const QString &path);
    PclResult getFolderInfo(PclHandle fileSystem, const QString &folder, PclFolderInfo *&info);
    PclResult freeFolderInfo(PclFolderInfo *info);
    PclResult getFileInfo(PclHandle fileSystem, const QString &path, PclFileInfo *&info);
    PclResult freeFileInfo(PclFileInfo *info);
    PclResult deleteFile(PclHandle fileSystem, const QString &path);
    PclResult moveFile(PclHandle fileSystem, const QString &source, const QString &target, quint32 options);
    PclResult copyFile(PclHandle fileSystem, quint32 direction, const QString &name, const QString &sourceFolder,
                       const QString &targetFolder);
    PclResult readFileInBlocks(PclHandle fileSystem, const PclBlockNotify *target, quint32 blockSize,
                               const QString &name, const QString &folder);
    PclResult writeFileInBlocks(PclHandle fileSystem, const PclBlockNotify *target, quint32 blockSize,
                                const QString &name, const QString &folder);
    PclResult installApplication(PclHandle fileSystem, const QString &packagePath, quint32 type, quint32 options);
    PclResult listApplications(PclHandle fileSystem, quint32 options, quint32 &count, PclApplication *&applications);
    PclResult freeApplications(quint32 count, PclApplication *applications);

private:
    struct LoadedPart
    {
        QLibrary library;
        int initializations = 0;
        QHash<QByteArray, QFunctionPointer> functions;
    };

    // Null while the part is not initialised or lacks the function.
    QFunctionPointer resolve(Part part, const char *name);
    QFunctionPointer lookup(LoadedPart &part, const char *name);
    template <typename Function, typename... Args>
    PclResult call(Part part, const char *name, Args... args);

    const quint32 m_options;
    QMutex m_mutex;
    std::array<LoadedPart, 2> m_parts;
};
