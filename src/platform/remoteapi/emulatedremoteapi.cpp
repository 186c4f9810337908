#include "emulatedremoteapi.h"

#include "registrytextfile.h"

#include <QFile>
#include <QLibrary>
#include <QThread>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

// The signature of a function that the remote API's invoke calls in a device library.
using RemoteExtension = qint32 (*)(quint32 inputSize, unsigned char *input, quint32 *outputSize,
                                   unsigned char **output, void *stream);

constexpr qint64 largestModule = 64 * 1024 * 1024;

constexpr qint32 resultOfError(quint32 error)
{
    return qint32(0x80070000u | (error & 0xFFFFu));
}

// "5.2" or "5.2.1234"; false for anything else.
bool parseVersion(const QString &text, RemoteOsVersion &version)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    bool ok[3] = {true, true, true};
    version.major = parts.at(0).toUInt(&ok[0]);
    version.minor = parts.at(1).toUInt(&ok[1]);
    version.build = parts.size() == 3 ? parts.at(2).toUInt(&ok[2]) : 0;
    return ok[0] && ok[1] && ok[2];
}

} // namespace

EmulatedRemoteApi::EmulatedRemoteApi(const QString &deviceFolder) : m_device(deviceFolder) {}

EmulatedRemoteApi::~EmulatedRemoteApi()
{
    uninit();
}

EmulatedRemoteApi::Connection EmulatedRemoteApi::connection() const
{
    Connection connection;
    connection.name = QStringLiteral("Windows CE device");
    connection.version = {5, 2, 0};
    QFile file(m_device.folder() + QStringLiteral("/connection.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return connection;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0 || line.startsWith(QLatin1Char('#')))
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QLatin1String("name")) {
            connection.name = value;
        } else if (key == QLatin1String("os-version")) {
            connection.hasVersion = parseVersion(value, connection.version);
        } else if (key == QLatin1String("init")) {
            if (value == QLatin1String("fails"))
                connection.init = InitFails;
            else if (value == QLatin1String("never"))
                connection.init = InitNever;
            else if (value == QLatin1String("refused"))
                connection.init = InitRefused;
        } else if (key == QLatin1String("init-delay-ms")) {
            connection.initDelayMs = qMax(0, value.toInt());
        }
    }
    return connection;
}

bool EmulatedRemoteApi::unplugged() const
{
    return QFile::exists(m_device.folder() + QStringLiteral("/disconnected"));
}

qint32 EmulatedRemoteApi::startInit()
{
    m_connection = connection();
    if (m_connection.init == InitRefused)
        return REMOTE_FAILED;
    m_started = true;
    m_connected = false;
    m_initClock.start();
    return REMOTE_OK;
}

INIT_WAIT EmulatedRemoteApi::waitForInit(int msecs, qint32 &initResult)
{
    if (!m_started)
        return IW_FAILED;
    const qint64 untilSignal = m_connection.initDelayMs - m_initClock.elapsed();
    if (m_connection.init == InitNever || untilSignal > msecs || unplugged()) {
        QThread::msleep(ulong(qMax(msecs, 0)));
        return IW_TIMED_OUT;
    }
    if (untilSignal > 0)
        QThread::msleep(ulong(untilSignal));
    initResult = m_connection.init == InitFails ? REMOTE_FAILED : REMOTE_OK;
    m_connected = initResult == REMOTE_OK;
    if (m_connected)
        m_lastError = RE_SUCCESS;
    return IW_SIGNALLED;
}

void EmulatedRemoteApi::uninit()
{
    m_files.clear();
    m_searches.clear();
    m_started = false;
    m_connected = false;
}

bool EmulatedRemoteApi::connected()
{
    if (m_connected && unplugged()) {
        // Gone with the device: its handles and searches are dead.
        m_connected = false;
        m_files.clear();
        m_searches.clear();
    }
    if (!m_connected)
        m_lastError = RE_NOT_READY;
    return m_connected;
}

bool EmulatedRemoteApi::succeeded(quint32 error)
{
    m_lastError = error;
    return error == RE_SUCCESS;
}

EmulatedRemoteApi::OpenFile *EmulatedRemoteApi::usableFile(Handle file, quint32 access)
{
    if (!connected())
        return nullptr;
    const auto found = m_files.find(file);
    if (found == m_files.end()) {
        m_lastError = RE_INVALID_HANDLE;
        return nullptr;
    }
    if ((found->second.access & access) != access) {
        m_lastError = RE_ACCESS_DENIED;
        return nullptr;
    }
    return &found->second;
}

RemoteApi::Handle EmulatedRemoteApi::createFile(const QString &path, quint32 access, quint32, quint32 creation, quint32)
{
    if (!connected())
        return INVALID_HANDLE;
    auto file = std::make_unique<QFile>();
    if (!succeeded(m_device.openFile(path, access, creation, *file)))
        return INVALID_HANDLE;
    const Handle handle = m_nextHandle++;
    m_files[handle] = {std::move(file), access};
    return handle;
}

bool EmulatedRemoteApi::readFile(Handle file, char *buffer, quint32 size, quint32 &done)
{
    done = 0;
    OpenFile *open = usableFile(file, RA_READ);
    if (!open)
        return false;
    const qint64 read = open->file->read(buffer, qint64(size));
    if (read < 0)
        return succeeded(RE_ACCESS_DENIED);
    done = quint32(read);
    return succeeded(RE_SUCCESS);
}

bool EmulatedRemoteApi::writeFile(Handle file, const char *buffer, quint32 size, quint32 &done)
{
    done = 0;
    OpenFile *open = usableFile(file, RA_WRITE);
    if (!open)
        return false;
    const qint64 written = open->file->write(buffer, qint64(size));
    if (written < 0)
        return succeeded(open->file->error() == QFileDevice::ResourceError ? RE_DISK_FULL : RE_ACCESS_DENIED);
    done = quint32(written);
    return succeeded(written == qint64(size) ? RE_SUCCESS : RE_DISK_FULL);
}

quint32 EmulatedRemoteApi::setFilePointer(Handle file, qint32 distance, quint32 moveMethod)
{
    OpenFile *open = usableFile(file);
    if (!open)
        return REMOTE_INVALID;
    qint64 base = 0;
    if (moveMethod == RM_CURRENT)
        base = open->file->pos();
    else if (moveMethod == RM_END)
        base = open->file->size();
    const qint64 target = base + distance;
    if (moveMethod > RM_END || target < 0 || target >= qint64(REMOTE_INVALID) || !open->file->seek(target)) {
        m_lastError = RE_INVALID_PARAMETER;
        return REMOTE_INVALID;
    }
    m_lastError = RE_SUCCESS;
    return quint32(target);
}

quint32 EmulatedRemoteApi::fileSize(Handle file)
{
    OpenFile *open = usableFile(file);
    if (!open)
        return REMOTE_INVALID;
    const qint64 size = open->file->size();
    m_lastError = size < qint64(REMOTE_INVALID) ? RE_SUCCESS : RE_INVALID_PARAMETER;
    return m_lastError == RE_SUCCESS ? quint32(size) : REMOTE_INVALID;
}

bool EmulatedRemoteApi::closeHandle(Handle file)
{
    OpenFile *open = usableFile(file);
    if (!open)
        return false;
    const bool kept = !(open->access & RA_WRITE) || ::fsync(open->file->handle()) == 0;
    const int error = errno;
    m_files.erase(file);
    if (kept)
        return succeeded(RE_SUCCESS);
    return succeeded(error == ENOSPC || error == EDQUOT ? RE_DISK_FULL : RE_WRITE_FAULT);
}

RemoteApi::Handle EmulatedRemoteApi::findFirstFile(const QString &pattern, RemoteFindData &data)
{
    if (!connected())
        return INVALID_HANDLE;
    Search search;
    if (!succeeded(m_device.find(pattern, search.entries)))
        return INVALID_HANDLE;
    data = search.entries.at(search.next++);
    const Handle handle = m_nextHandle++;
    m_searches[handle] = std::move(search);
    return handle;
}

bool EmulatedRemoteApi::findNextFile(Handle search, RemoteFindData &data)
{
    if (!connected())
        return false;
    const auto found = m_searches.find(search);
    if (found == m_searches.end())
        return succeeded(RE_INVALID_HANDLE);
    if (found->second.next >= found->second.entries.size())
        return succeeded(RE_NO_MORE_FILES);
    data = found->second.entries.at(found->second.next++);
    return succeeded(RE_SUCCESS);
}

bool EmulatedRemoteApi::findClose(Handle search)
{
    if (!connected())
        return false;
    return succeeded(m_searches.erase(search) == 1 ? RE_SUCCESS : RE_INVALID_HANDLE);
}

quint32 EmulatedRemoteApi::fileAttributes(const QString &path)
{
    quint32 attributes = REMOTE_INVALID;
    if (!connected() || !succeeded(m_device.attributes(path, attributes)))
        return REMOTE_INVALID;
    return attributes;
}

bool EmulatedRemoteApi::createDirectory(const QString &path)
{
    return connected() && succeeded(m_device.createFolder(path));
}

bool EmulatedRemoteApi::removeDirectory(const QString &path)
{
    return connected() && succeeded(m_device.removeFolder(path));
}

bool EmulatedRemoteApi::deleteFile(const QString &path)
{
    return connected() && succeeded(m_device.deleteFile(path));
}

bool EmulatedRemoteApi::moveFile(const QString &source, const QString &destination)
{
    return connected() && succeeded(m_device.moveEntry(source, destination));
}

bool EmulatedRemoteApi::freeSpace(const QString &path, quint64 &bytes)
{
    return connected() && succeeded(m_device.freeSpace(path, bytes));
}

bool EmulatedRemoteApi::deviceVersion(RemoteOsVersion &version)
{
    if (!connected())
        return false;
    if (!m_connection.hasVersion)
        return succeeded(RE_INVALID_PARAMETER);
    version = m_connection.version;
    return succeeded(RE_SUCCESS);
}

quint32 EmulatedRemoteApi::registryValue(const QString &path, const QString &key, const QString &name,
                                         quint32 bufferSize, RegistryValue &value) const
{
    RegistryTextFile registry;
    if (!registry.load(path))
        return RE_ACCESS_DENIED;
    RegistryValue found;
    if (!registry.value(RegistryTextFile::localMachineKey(key), name, found))
        return RE_FILE_NOT_FOUND;
    if (quint32(found.data.size()) > bufferSize)
        return RE_MORE_DATA;
    value = found;
    return RE_SUCCESS;
}

quint32 EmulatedRemoteApi::deviceRegistryValue(const QString &key, const QString &name, quint32 bufferSize,
                                               RegistryValue &value)
{
    if (!connected())
        return RE_NOT_READY;
    return registryValue(m_device.registryPath(), key, name, bufferSize, value);
}

quint32 EmulatedRemoteApi::openDeviceRegistryKey(const QString &key)
{
    if (!connected())
        return RE_NOT_READY;
    RegistryTextFile registry;
    if (!registry.load(m_device.registryPath()))
        return RE_ACCESS_DENIED;
    return registry.hasKey(RegistryTextFile::localMachineKey(key)) ? RE_SUCCESS : RE_FILE_NOT_FOUND;
}

qint32 EmulatedRemoteApi::invoke(const QString &dll, const QString &function, const QByteArray &input,
                                 quint32 &outputSize, unsigned char *&output)
{
    outputSize = 0;
    output = nullptr;
    if (!connected())
        return REMOTE_FAILED;
    m_lastError = RE_SUCCESS;
    if (qEnvironmentVariable("VKT_CE_DEVICE") != m_device.folder())
        return REMOTE_FAILED;
    QFile module;
    const quint32 error = m_device.openFile(dll, RA_READ, RC_OPEN_EXISTING, module);
    if (error != RE_SUCCESS)
        return resultOfError(error == RE_ACCESS_DENIED ? error : quint32(RE_MODULE_NOT_FOUND));
    if (module.size() > largestModule)
        return resultOfError(RE_MODULE_NOT_FOUND);
    const QByteArray bytes = module.readAll();

    // A copy of its own for every call: the loader would hand out a library loaded before under the same
    // name, and the device library may have been replaced since.
    if (!m_moduleCopies)
        m_moduleCopies = std::make_unique<QTemporaryDir>();
    const QString copyPath = m_moduleCopies->filePath(QStringLiteral("module-%1.so").arg(++m_copies));
    QFile copy(copyPath);
    if (!m_moduleCopies->isValid() || !copy.open(QIODevice::WriteOnly | QIODevice::NewOnly)
        || copy.write(bytes) != bytes.size() || !copy.flush())
        return REMOTE_FAILED;
    copy.close();

    QLibrary library(copyPath);
    qint32 result = resultOfError(RE_MODULE_NOT_FOUND);
    if (library.load()) {
        const auto extension = reinterpret_cast<RemoteExtension>(library.resolve(function.toLatin1().constData()));
        result = resultOfError(RE_PROCEDURE_NOT_FOUND);
        if (extension) {
            // The callee owns the input, as on the device.
            unsigned char *inputCopy = nullptr;
            if (!input.isEmpty()) {
                inputCopy = static_cast<unsigned char *>(std::malloc(size_t(input.size())));
                if (inputCopy)
                    std::memcpy(inputCopy, input.constData(), size_t(input.size()));
            }
            result = extension(inputCopy ? quint32(input.size()) : 0, inputCopy, &outputSize, &output, nullptr);
        }
        library.unload();
    }
    QFile::remove(copyPath);
    return result;
}

void EmulatedRemoteApi::freeReply(unsigned char *output)
{
    std::free(output);
}

bool EmulatedRemoteApi::enumerateDevices(QList<RemoteDeviceInfo> &devices)
{
    devices.clear();
    if (unplugged())
        return true;
    const Connection current = connection();
    RemoteDeviceInfo device;
    device.name = current.name;
    if (current.hasVersion)
        device.version = current.version;
    devices = {device};
    return true;
}

quint32 EmulatedRemoteApi::desktopRegistryValue(const QString &key, const QString &name, quint32 bufferSize,
                                                RegistryValue &value)
{
    return registryValue(m_device.folder() + QStringLiteral("/desktop-registry.txt"), key, name, bufferSize, value);
}
