#pragma once

// The C interface of the phone maker's PC connectivity library, as the update center uses it: a device
// management part that lists the connected phones and a file system part that reaches one phone's drives,
// copies files, installs applications and lists them. Both parts may live in one shared library or in two.
// Texts are NUL-terminated UTF-16; phone paths use backslashes ("\\E:\Folder\file"). A call that changes a
// drive (a copy to the phone, a block write, a move, a deletion, a new folder) returns once the change is
// on the phone's drive.

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// The library exports exactly these functions.
#if defined(__GNUC__)
#define PCL_API __attribute__((visibility("default")))
#else
#define PCL_API
#endif

typedef uint32_t PclResult;
typedef uintptr_t PclHandle; // 0 is never a valid handle

// Results. Anything other than PCL_OK is a failure, except where a function says otherwise.
#define PCL_OK 0u
#define PCL_E_CANCELLED 0x80100020u          // the notification target, the user or the phone stopped the call
#define PCL_E_LIBRARY_NOT_LOADED 0x80100100u // the binding could not load the library or find a function in it
#define PCL_E_DEVICE_NOT_FOUND 0x80200006u   // the three ways a phone can be out of reach
#define PCL_E_MEDIA_NOT_FOUND 0x80200007u
#define PCL_E_CONNECTION_LOST 0x80200008u
#define PCL_E_FAILED 0x80300001u
#define PCL_E_INVALID_ARGUMENT 0x80300002u
#define PCL_E_INVALID_HANDLE 0x80300003u
#define PCL_E_NOT_FOUND 0x80300004u // no such file or folder
#define PCL_E_EXISTS 0x80300005u
#define PCL_E_NOT_INITIALIZED 0x80300006u
#define PCL_E_UNSUPPORTED_VERSION 0x80300007u
#define PCL_E_NO_MORE_ITEMS 0x80300008u
#define PCL_E_INSTALLATION_FAILED 0x80300009u
// pclInstallApplication: the application replaced an installed one with the same identifier (a success).
#define PCL_INSTALLED_OVER_OLDER 256u

// The interface version this program is written against.
#define PCL_API_VERSION 32u

// Notification state words. A state that carries every bit of PCL_STATE_IGNORE is to be ignored; any other
// that carries every bit of one of the three "out of reach" results tells that the phone is gone.
#define PCL_STATE_PROGRESS 0x0100u     // value: percentage of the copy or installation done
#define PCL_STATE_CONFIRMATION 0x4000u // with value PCL_VALUE_WAITING_FOR_USER: the phone waits for the user
#define PCL_VALUE_WAITING_FOR_USER 256u
#define PCL_STATE_IGNORE 0x80200009u
// Block transfers: the block is the last one (when writing: reported with length 0 to end the file).
#define PCL_BLOCK_LAST 0x8000000u

#define PCL_MEDIA_ALL 1u             // pclOpenFileSystem: every drive of the phone
#define PCL_NOTIFY_REGISTER 16u      // pclRegisterFileSystemNotify
#define PCL_NOTIFY_UNREGISTER 32u
#define PCL_COPY_PHONE_TO_PC 2u      // pclCopyFile
#define PCL_COPY_PC_TO_PHONE 4u
#define PCL_MOVE_REPLACE 1u          // pclMoveFile: a file at the target is replaced
#define PCL_INSTALL_PACKAGE 1u       // pclInstallApplication: the file is an installation package
#define PCL_INSTALL_OPTIONS 0x70010u // the options of every installation the update center starts
#define PCL_LIST_ALL_APPLICATIONS 0u

typedef struct PclDevice {
    char16_t *serialNumber; // null when the phone did not tell
    char16_t *friendlyName;
    char16_t *model;
} PclDevice;

// Filled by pclFindNextFolder and pclFindNextFile; name stays valid until the next call on the find handle.
typedef struct PclFindEntry {
    const char16_t *name;
    uint64_t size;
} PclFindEntry;

typedef struct PclFolderInfo {
    char16_t *name;
    uint64_t freeSpace; // bytes free on the folder's drive
    uint64_t totalSpace;
} PclFolderInfo;

typedef struct PclFileInfo {
    char16_t *name;
    uint64_t size;
} PclFileInfo;

typedef struct PclApplication {
    char16_t *identifier; // hexadecimal, for example "2002bfb2-..."
    char16_t *name;
    char16_t *version;    // "major.minor(build)"
} PclApplication;

// Called during copies and installations, on the thread that made the call. The answer PCL_E_CANCELLED stops
// the call; any other answer lets it go on.
typedef struct PclFileSystemNotify {
    void *context;
    PclResult (*notify)(void *context, uint32_t state, uint32_t value);
} PclFileSystemNotify;

// Called once per block of a block transfer, on the thread that made the call. Reading: data and *length are
// the block read; PCL_BLOCK_LAST in *state marks the last one. Writing: data has room for *length bytes; the
// callee copies its next bytes there, sets *length to their count, and reports the end of the file with
// *length 0 and PCL_BLOCK_LAST set in *state. The answer PCL_E_CANCELLED stops the transfer.
typedef struct PclBlockNotify {
    void *context;
    PclResult (*block)(void *context, uint32_t *state, uint8_t *data, uint32_t *length);
} PclBlockNotify;

// Device management.
PCL_API PclResult pclDmInitialize(uint32_t version, uint32_t options);
PCL_API PclResult pclDmTerminate(void);
PCL_API PclResult pclOpenDeviceManagement(PclHandle *handle);
PCL_API PclResult pclCloseDeviceManagement(PclHandle handle);
PCL_API PclResult pclGetDeviceCount(PclHandle handle, uint32_t *count);
// *count: room in devices on entry, entries filled on return. Free them with pclFreeDevices.
PCL_API PclResult pclGetDevices(PclHandle handle, uint32_t *count, PclDevice *devices);
PCL_API PclResult pclFreeDevices(uint32_t count, PclDevice *devices);

// File system.
PCL_API PclResult pclFsInitialize(uint32_t version, uint32_t options);
PCL_API PclResult pclFsTerminate(void);
PCL_API PclResult pclOpenFileSystem(const char16_t *serialNumber, uint32_t media, PclHandle *fileSystem);
PCL_API PclResult pclCloseFileSystem(PclHandle fileSystem);
// registration: PCL_NOTIFY_REGISTER (target is kept until unregistered) or PCL_NOTIFY_UNREGISTER.
PCL_API PclResult pclRegisterFileSystemNotify(PclHandle fileSystem, const PclFileSystemNotify *target, uint32_t registration);
// folder "\\" lists the drives ("C:", "E:") as folders.
PCL_API PclResult pclFindBegin(PclHandle fileSystem, const char16_t *folder, PclHandle *find);
// PCL_E_NO_MORE_ITEMS after the last entry.
PCL_API PclResult pclFindNextFolder(PclHandle find, PclFindEntry *entry);
PCL_API PclResult pclFindNextFile(PclHandle find, PclFindEntry *entry);
PCL_API PclResult pclFindEnd(PclHandle find);
PCL_API PclResult pclCreateFolder(PclHandle fileSystem, const char16_t *parent, const char16_t *name);
// Only an empty folder is deleted.
PCL_API PclResult pclDeleteFolder(PclHandle fileSystem, const char16_t *path);
PCL_API PclResult pclGetFolderInfo(PclHandle fileSystem, const char16_t *folder, PclFolderInfo **info);
PCL_API PclResult pclFreeFolderInfo(PclFolderInfo *info);
PCL_API PclResult pclGetFileInfo(PclHandle fileSystem, const char16_t *path, PclFileInfo **info);
PCL_API PclResult pclFreeFileInfo(PclFileInfo *info);
PCL_API PclResult pclDeleteFile(PclHandle fileSystem, const char16_t *path);
// Gives a file or folder another path on the same drive. An existing target gives PCL_E_EXISTS, except a file
// with PCL_MOVE_REPLACE in options, which is replaced in one step.
PCL_API PclResult pclMoveFile(PclHandle fileSystem, const char16_t *source, const char16_t *target, uint32_t options);
// Copies the file name from sourceFolder to targetFolder (one on the PC, one on the phone, by direction); an
// existing target is not replaced. Progress goes to the registered notification target.
PCL_API PclResult pclCopyFile(PclHandle fileSystem, uint32_t direction, const char16_t *name, const char16_t *sourceFolder,
                      const char16_t *targetFolder);
// Writing replaces the file when the last block has been handed over; a transfer that stops early leaves the
// phone's file as it was.
PCL_API PclResult pclReadFileInBlocks(PclHandle fileSystem, const PclBlockNotify *target, uint32_t blockSize,
                              const char16_t *name, const char16_t *folder);
PCL_API PclResult pclWriteFileInBlocks(PclHandle fileSystem, const PclBlockNotify *target, uint32_t blockSize,
                               const char16_t *name, const char16_t *folder);
// Installs the package file of the PC; PCL_OK or PCL_INSTALLED_OVER_OLDER on success. The phone may ask its
// user to confirm (PCL_STATE_CONFIRMATION to the notification target) before it goes on.
PCL_API PclResult pclInstallApplication(PclHandle fileSystem, const char16_t *packagePath, uint32_t type, uint32_t options);
// Free the list with pclFreeApplications.
PCL_API PclResult pclListApplications(PclHandle fileSystem, uint32_t options, uint32_t *count, PclApplication **applications);
PCL_API PclResult pclFreeApplications(uint32_t count, PclApplication *applications);

#ifdef __cplusplus
}
#endif
