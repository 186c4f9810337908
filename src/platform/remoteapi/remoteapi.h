#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <memory>

// Values of the remote API of the desktop's sync software for Windows CE devices, as that API defines them.
enum REMOTE_ACCESS : quint32 { RA_READ = 0x80000000u, RA_WRITE = 0x40000000u };

enum REMOTE_CREATION : quint32 {
    RC_CREATE_NEW = 1,
    RC_CREATE_ALWAYS = 2,
    RC_OPEN_EXISTING = 3,
    RC_OPEN_ALWAYS = 4,
    RC_TRUNCATE_EXISTING = 5
};

enum REMOTE_MOVE : quint32 { RM_BEGIN = 0, RM_CURRENT = 1, RM_END = 2 };

enum REMOTE_ATTRIBUTE : quint32 {
    RF_READONLY = 0x1,
    RF_HIDDEN = 0x2,
    RF_SYSTEM = 0x4,
    RF_DIRECTORY = 0x10,
    RF_ARCHIVE = 0x20,
    RF_NORMAL = 0x80,
    RF_TEMPORARY = 0x100, // marks a storage card's folder
    RF_REPARSE_POINT = 0x400
};

// The system error codes the remote calls report (lastError) and the registry calls return.
enum REMOTE_ERROR : quint32 {
    RE_SUCCESS = 0,
    RE_FILE_NOT_FOUND = 2,
    RE_PATH_NOT_FOUND = 3,
    RE_ACCESS_DENIED = 5,
    RE_INVALID_HANDLE = 6,
    RE_NO_MORE_FILES = 18,
    RE_NOT_READY = 21,
    RE_WRITE_FAULT = 29,
    RE_FILE_EXISTS = 80,
    RE_INVALID_PARAMETER = 87,
    RE_DISK_FULL = 112,
    RE_INVALID_NAME = 123,
    RE_MODULE_NOT_FOUND = 126,
    RE_PROCEDURE_NOT_FOUND = 127,
    RE_DIRECTORY_NOT_EMPTY = 145,
    RE_ALREADY_EXISTS = 183,
    RE_NAME_TOO_LONG = 206,
    RE_MORE_DATA = 234,
    RE_NOT_A_DIRECTORY = 267
};

enum REGISTRY_TYPE : quint32 { RT_TEXT = 1, RT_BINARY = 3, RT_NUMBER = 4 };

enum INIT_WAIT { IW_SIGNALLED, IW_TIMED_OUT, IW_FAILED };

// An invalid file size, file position or set of attributes.
constexpr quint32 REMOTE_INVALID = 0xFFFFFFFFu;
// Results of the calls that return an HRESULT.
constexpr qint32 REMOTE_OK = 0;
constexpr qint32 REMOTE_FAILED = qint32(0x80004005u);

struct RemoteFindData
{
    quint32 attributes = 0;
    quint64 size = 0;
    QString name; // without its folder
};

// A registry value as stored: text is UTF-16LE with its terminating NUL, a number 4 little-endian bytes.
struct RegistryValue
{
    quint32 type = 0;
    QByteArray data;

    static RegistryValue fromText(const QString &text);
    static RegistryValue fromNumber(quint32 number);
    bool isText() const { return type == RT_TEXT; }
    bool isNumber() const { return type == RT_NUMBER && data.size() == 4; }
    // Up to the first NUL.
    QString text() const;
};

struct RemoteOsVersion
{
    quint32 major = 0;
    quint32 minor = 0;
    quint32 build = 0;
};

// A device as the desktop's device enumeration describes it.
struct RemoteDeviceInfo
{
    QString name;
    RemoteOsVersion version;
};

// The remote API through which the PC reaches a connected Windows CE device, and the parts of the desktop's
// sync software that go with it (its device enumeration, its registry values). Device paths are absolute,
// with backslashes. Calls that fail tell why through lastError, as the API does; the registry calls return
// the error. A device call made while no connection is up, or once it has broken (the device went away),
// fails with RE_NOT_READY. One thread at a time.
class RemoteApi
{
public:
    using Handle = qintptr;
    static constexpr Handle INVALID_HANDLE = -1;

    virtual ~RemoteApi() = default;

    // The remote API of this machine: the emulated device that VKT_CE_DEVICE names, else none (no sync
    // software on this platform).
    static std::unique_ptr<RemoteApi> fromEnvironment();

    // Connection: startInit begins it (negative: it did not start); waitForInit waits up to msecs for its
    // init event and, once that is signalled, gives the init result (negative: the connection failed).
    virtual qint32 startInit() = 0;
    virtual INIT_WAIT waitForInit(int msecs, qint32 &initResult) = 0;
    virtual void uninit() = 0;
    virtual quint32 lastError() const = 0;

    // Remote files: INVALID_HANDLE, REMOTE_INVALID or false on failure.
    virtual Handle createFile(const QString &path, quint32 access, quint32 shareMode, quint32 creation,
                              quint32 attributes) = 0;
    virtual bool readFile(Handle file, char *buffer, quint32 size, quint32 &done) = 0;
    virtual bool writeFile(Handle file, const char *buffer, quint32 size, quint32 &done) = 0;
    // Moves by a signed 32-bit distance; the new position.
    virtual quint32 setFilePointer(Handle file, qint32 distance, quint32 moveMethod) = 0;
    virtual quint32 fileSize(Handle file) = 0;
    // Once a written file's handle is closed, what was written is on the device; false when it could not
    // be kept there.
    virtual bool closeHandle(Handle file) = 0;
    // The entries of a folder that match the pattern of the path's last level (* and ?).
    virtual Handle findFirstFile(const QString &pattern, RemoteFindData &data) = 0;
    virtual bool findNextFile(Handle search, RemoteFindData &data) = 0;
    virtual bool findClose(Handle search) = 0;
    virtual quint32 fileAttributes(const QString &path) = 0;
    virtual bool createDirectory(const QString &path) = 0;
    virtual bool removeDirectory(const QString &path) = 0;
    virtual bool deleteFile(const QString &path) = 0;
    // Gives a file or folder another path; fails with RE_ALREADY_EXISTS when something is at destination,
    // which it never replaces.
    virtual bool moveFile(const QString &source, const QString &destination) = 0;
    // Bytes available to the caller on the store that holds path.
    virtual bool freeSpace(const QString &path, quint64 &bytes) = 0;

    // The device: its operating system version, its registry under HKEY_LOCAL_MACHINE (a value that needs
    // more than bufferSize bytes gives RE_MORE_DATA; name empty is the default value), and calls into one of
    // its libraries: function of dll gets input and answers output (outputSize bytes, or none), which the
    // caller releases with freeReply; the result is the function's own, or a failure of the call.
    virtual bool deviceVersion(RemoteOsVersion &version) = 0;
    virtual quint32 deviceRegistryValue(const QString &key, const QString &name, quint32 bufferSize,
                                        RegistryValue &value) = 0;
    virtual quint32 openDeviceRegistryKey(const QString &key) = 0;
    virtual qint32 invoke(const QString &dll, const QString &function, const QByteArray &input, quint32 &outputSize,
                          unsigned char *&output) = 0;
    virtual void freeReply(unsigned char *output) = 0;

    // The desktop: the devices its sync software sees, and its registry under HKEY_LOCAL_MACHINE.
    virtual bool enumerateDevices(QList<RemoteDeviceInfo> &devices) = 0;
    virtual quint32 desktopRegistryValue(const QString &key, const QString &name, quint32 bufferSize,
                                         RegistryValue &value) = 0;
};
