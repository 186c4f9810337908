#include "activesyncdevice.h"

#include "devicedescription.h"
#include "listeners.h"
#include "modulereplies.h"
#include "navigatorinfo.h"
#include "nofollow.h"
#include "qrapifile.h"
#include "remoteapi.h"

#include <QFile>
#include <QProcess>

#include <memory>

namespace vktpdl {

const QString ActiveSyncDevice::moduleFile = QStringLiteral("\\Program files\\DRQ\\KorwindUpdaterModule\\pxr.dll");
const QString ActiveSyncDevice::moduleKey = QStringLiteral("\\Software\\Apps\\DRQ KorwindUpdaterModule");
const QString ActiveSyncDevice::moduleMarker = QStringLiteral("InstlDir");

namespace {

const QString syncSoftwareKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows CE Services");
const QString appManagerKey = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE");
const QString windowsMobileKey = QStringLiteral("SYSTEM\\Versions");
const QString moduleCab = QStringLiteral("pxr.cab");
const QString descriptionFileName = QStringLiteral("ApplicationUpdate.ini");

constexpr int initWaits = 5;
constexpr int initWaitMs = 1000;
constexpr qint64 chunkSize = 65536;
constexpr quint32 pathBufferBytes = 520;
constexpr qsizetype commandLineLimit = 260; // characters, the terminating NUL included
constexpr qint32 callDone = 1;

using vktcommon::reportProgress;
using vktcommon::stopRequested;

// The installation description for the application manager, in the narrow text it reads.
QByteArray descriptionFile(const QString &cabPath)
{
    const QByteArray lineEnd("\r\n");
    return "[CEAppManager]" + lineEnd + "Version =1.0" + lineEnd + lineEnd + "Component =UpdateApplication" + lineEnd
           + lineEnd + lineEnd + "[UpdateApplication]" + lineEnd + lineEnd + "Description =UpdateApplication" + lineEnd
           + lineEnd + "CabFiles =" + cabPath.toLocal8Bit() + lineEnd;
}

// Writes bytes to path, never through a symbolic link planted there.
bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return vktcommon::openNoFollow(file, QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size()
           && file.flush();
}

} // namespace

ActiveSyncDevice::ActiveSyncDevice(RemoteApi &remoteApi, std::function<QString()> downloadsFolder,
                                   const QString &programFolder)
    : m_api(remoteApi), m_downloadsFolder(std::move(downloadsFolder)), m_programFolder(programFolder)
{
}

ActiveSyncDevice::~ActiveSyncDevice()
{
    if (m_connected)
        m_api.uninit();
}

int ActiveSyncDevice::connect(vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    if (m_connected)
        m_api.uninit();
    m_connected = false;
    reportProgress(progress, 0);
    if (stopRequested(cont))
        return DE_CANCELLED;
    RegistryValue version;
    if (m_api.desktopRegistryValue(syncSoftwareKey, QStringLiteral("MajorVersion"), 4, version) != RE_SUCCESS
        || !version.isNumber())
        return DE_APP_MANAGER_NOT_INSTALLED;
    if (m_api.startInit() < 0)
        return DE_NOT_CONNECTED;
    for (int wait = 1; wait <= initWaits; ++wait) {
        qint32 initResult = REMOTE_FAILED;
        const INIT_WAIT waited = m_api.waitForInit(initWaitMs, initResult);
        reportProgress(progress, wait * 100 / initWaits);
        if (stopRequested(cont)) {
            m_api.uninit();
            return DE_CANCELLED;
        }
        if (waited == IW_TIMED_OUT)
            continue;
        if (waited == IW_SIGNALLED && initResult >= 0) {
            m_connected = true;
            return DE_NO_ERROR;
        }
        m_api.uninit();
        return DE_WAIT_ERROR;
    }
    m_api.uninit();
    return DE_WAIT_TIMEOUT;
}

// --- files ---

int ActiveSyncDevice::transfer(QIODevice &source, QIODevice &destination, vktcommon::ProgressListener *progress,
                               vktcommon::ContinueListener *cont)
{
    const qint64 size = source.size();
    if (size == 0)
        return DE_NO_ERROR;
    QByteArray chunk(chunkSize, Qt::Uninitialized);
    for (qint64 done = 0; done < size;) {
        const qint64 wanted = qMin(chunkSize, size - done);
        if (source.read(chunk.data(), wanted) != wanted || destination.write(chunk.constData(), wanted) != wanted)
            return DE_TRANSFER_ERROR;
        done += wanted;
        reportProgress(progress, int(done * 100 / size));
        if (stopRequested(cont))
            return DE_CANCELLED;
    }
    return DE_NO_ERROR;
}

int ActiveSyncDevice::putFile(const QString &destination, const QString &source, vktcommon::ProgressListener *progress,
                              vktcommon::ContinueListener *cont)
{
    if (!m_connected)
        return DE_NOT_CONNECTED;
    // The PC file is opened and its first chunk read first: a source that cannot be read must not empty
    // the device's file.
    QFile pcFile(source);
    if (!pcFile.open(QIODevice::ReadOnly))
        return DE_TRANSFER_ERROR;
    const qint64 firstChunk = qMin(chunkSize, pcFile.size());
    if (pcFile.peek(firstChunk).size() != firstChunk)
        return DE_TRANSFER_ERROR;
    QRapiFile deviceFile(m_api, destination);
    if (!deviceFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return DE_TRANSFER_ERROR;
    int result = transfer(pcFile, deviceFile, progress, cont);
    if (!deviceFile.commit() && result == DE_NO_ERROR)
        result = DE_TRANSFER_ERROR;
    if (result != DE_NO_ERROR)
        m_api.deleteFile(destination);
    return result;
}

int ActiveSyncDevice::getFile(const QString &destination, const QString &source, vktcommon::ProgressListener *progress,
                              vktcommon::ContinueListener *cont)
{
    if (!m_connected)
        return DE_NOT_CONNECTED;
    QRapiFile deviceFile(m_api, source);
    if (!deviceFile.open(QIODevice::ReadOnly))
        return DE_TRANSFER_ERROR;
    QFile pcFile(destination);
    if (!vktcommon::openNoFollow(pcFile, QIODevice::WriteOnly | QIODevice::NewOnly))
        return DE_TRANSFER_ERROR;
    const int result = transfer(deviceFile, pcFile, progress, cont);
    pcFile.close();
    if (result != DE_NO_ERROR)
        QFile::remove(destination);
    return result;
}

int ActiveSyncDevice::deleteFile(const QString &path)
{
    if (!m_connected)
        return DE_NOT_CONNECTED;
    // A file whose folder is gone is as deleted as one that is gone itself.
    if (m_api.deleteFile(path) || m_api.lastError() == RE_FILE_NOT_FOUND || m_api.lastError() == RE_PATH_NOT_FOUND)
        return DE_NO_ERROR;
    return DE_TRANSFER_ERROR;
}

int ActiveSyncDevice::createFolder(const QString &parent, const QString &name)
{
    return createDirectory(joinPath(parent, name));
}

int ActiveSyncDevice::createDirectory(const QString &path)
{
    if (!m_connected)
        return DE_NOT_CONNECTED;
    if (m_api.fileAttributes(path) != REMOTE_INVALID)
        return DE_NO_ERROR;
    if (!path.startsWith(separator()))
        return DE_CANNOT_CREATE_FOLDER;
    QString level;
    for (const QString &name : path.split(separator(), Qt::SkipEmptyParts)) {
        level += separator() + name;
        if (m_api.fileAttributes(level) == REMOTE_INVALID && !m_api.createDirectory(level))
            return failure(DE_CANNOT_CREATE_FOLDER);
    }
    return DE_NO_ERROR;
}

int ActiveSyncDevice::removeDirectory(const QString &path, bool recursive)
{
    if (!m_connected)
        return DE_NOT_CONNECTED;
    if (recursive)
        return removeTree(path);
    if (m_api.removeDirectory(path) || m_api.lastError() == RE_FILE_NOT_FOUND || m_api.lastError() == RE_PATH_NOT_FOUND)
        return DE_NO_ERROR;
    return failure(DE_DELETE_ERROR);
}

int ActiveSyncDevice::list(const QString &folder, const QString &pattern, bool folders, QStringList &names)
{
    if (!m_connected)
        return DE_NOT_CONNECTED;
    RemoteFindData entry;
    const RemoteApi::Handle search = m_api.findFirstFile(joinPath(folder, pattern), entry);
    if (search == RemoteApi::INVALID_HANDLE) {
        const quint32 error = m_api.lastError();
        // Nothing found, and a folder that is not there, hold nothing.
        return error == RE_NO_MORE_FILES || error == RE_FILE_NOT_FOUND || error == RE_PATH_NOT_FOUND
                   ? DE_NO_ERROR
                   : failure(DE_WRONG_REPLY);
    }
    do {
        const bool isFolder = entry.attributes & RF_DIRECTORY;
        if (entry.name != QLatin1String(".") && entry.name != QLatin1String("..") && isFolder == folders)
            names.append(entry.name);
    } while (m_api.findNextFile(search, entry));
    // A listing cut short by a broken connection is no listing.
    const int result = failure(DE_NO_ERROR);
    m_api.findClose(search);
    return result;
}

int ActiveSyncDevice::listFolders(const QString &folder, const QString &pattern, QStringList &names)
{
    return list(folder, pattern, true, names);
}

int ActiveSyncDevice::listFiles(const QString &folder, const QString &pattern, QStringList &names)
{
    return list(folder, pattern, false, names);
}

int ActiveSyncDevice::openFile(const QString &path, QIODevice *&device)
{
    device = new QRapiFile(m_api, path);
    return DE_NO_ERROR;
}

int ActiveSyncDevice::freeSpace(const QString &path, quint64 &bytes)
{
    return m_api.freeSpace(path, bytes) ? DE_NO_ERROR : failure(DE_WRONG_REPLY);
}

QChar ActiveSyncDevice::separator() const
{
    return QLatin1Char('\\');
}

bool ActiveSyncDevice::isFile(const QString &path)
{
    const quint32 attributes = m_api.fileAttributes(path);
    return attributes != REMOTE_INVALID && !(attributes & RF_DIRECTORY);
}

int ActiveSyncDevice::renameFile(const QString &source, const QString &destination)
{
    if (!m_connected)
        return DE_NOT_CONNECTED;
    if (m_api.moveFile(source, destination))
        return DE_NO_ERROR;
    const quint32 error = m_api.lastError();
    if (error != RE_ALREADY_EXISTS && error != RE_FILE_EXISTS)
        return DE_TRANSFER_ERROR;
    // Asked first, so that a missing source never costs the file at destination.
    if (m_api.fileAttributes(source) == REMOTE_INVALID || !m_api.deleteFile(destination)
        || !m_api.moveFile(source, destination))
        return DE_TRANSFER_ERROR;
    return DE_NO_ERROR;
}

int ActiveSyncDevice::checkPresent(const QString &path, bool folder)
{
    if (!m_connected)
        return DE_NOT_CONNECTED;
    const quint32 attributes = m_api.fileAttributes(path);
    if (attributes == REMOTE_INVALID || (folder && !(attributes & RF_DIRECTORY)))
        return DE_TRANSFER_ERROR;
    return DE_NO_ERROR;
}

int ActiveSyncDevice::flushFile(const QString &path)
{
    return checkPresent(path, false);
}

int ActiveSyncDevice::flushFolder(const QString &path)
{
    return checkPresent(path, true);
}

int ActiveSyncDevice::syncVolume(const QString &path)
{
    return checkPresent(path, false);
}

bool ActiveSyncDevice::connectionBroken() const
{
    return m_connected && m_api.lastError() == RE_NOT_READY;
}

int ActiveSyncDevice::failure(int code) const
{
    return connectionBroken() ? DE_TRANSFER_ERROR : code;
}

// --- the device ---

int ActiveSyncDevice::kind() const
{
    return DK_ACTIVESYNC;
}

int ActiveSyncDevice::getDeviceDescription(DeviceDescription &description)
{
    if (!m_connected)
        return DE_NOT_CONNECTED;
    QList<RemoteDeviceInfo> devices;
    if (!m_api.enumerateDevices(devices))
        return DE_WAIT_ERROR;
    // Connected, yet not listed: the device went away.
    if (devices.isEmpty())
        return DE_TRANSFER_ERROR;
    RemoteOsVersion version;
    const bool windowsMobile = m_api.deviceVersion(version) && version.major == 5
                               && (version.minor == 1 || version.minor == 2)
                               && m_api.openDeviceRegistryKey(windowsMobileKey) != RE_FILE_NOT_FOUND;
    description = DeviceDescription();
    description.name = devices.first().name;
    description.supported = windowsMobile ? 1 : 0;
    description.platform = windowsMobile ? 1 : 2;
    return DE_NO_ERROR;
}

qint32 ActiveSyncDevice::callModule(const QString &function, QByteArray &reply)
{
    quint32 size = 0;
    unsigned char *output = nullptr;
    const qint32 result = m_api.invoke(moduleFile, function, QByteArray(), size, output);
    reply = output ? QByteArray(reinterpret_cast<const char *>(output), qsizetype(size)) : QByteArray();
    if (output)
        m_api.freeReply(output);
    return result;
}

int ActiveSyncDevice::getNavigatorInfo(NavigatorInfo &info, vktcommon::ProgressListener *progress,
                                       vktcommon::ContinueListener *cont)
{
    if (!m_connected)
        return DE_NOT_CONNECTED;
    reportProgress(progress, 5);
    if (stopRequested(cont))
        return DE_CANCELLED;
    QByteArray reply;
    const qint32 called = callModule(QStringLiteral("getVersionInfo"), reply);
    reportProgress(progress, 65);
    if (stopRequested(cont))
        return DE_CANCELLED;
    if (called != callDone)
        return failure(DE_WAIT_ERROR);
    const int result = ModuleReplies::readNavigator(reply, info);
    if (result != DE_NO_ERROR)
        return result;
    reportProgress(progress, 100);
    return stopRequested(cont) ? DE_CANCELLED : DE_NO_ERROR;
}

int ActiveSyncDevice::listRoots(QStringList &roots)
{
    if (!m_connected)
        return DE_NOT_CONNECTED;
    QByteArray reply;
    if (callModule(QStringLiteral("getRootInfo"), reply) != callDone)
        return failure(DE_WAIT_ERROR);
    return ModuleReplies::readRoots(reply, roots);
}

int ActiveSyncDevice::moduleVersion(quint32 &version)
{
    QByteArray reply;
    if (callModule(QStringLiteral("getPXRVersion"), reply) != callDone)
        return failure(DE_MODULE_NOT_INSTALLED);
    return ModuleReplies::readModuleVersion(reply, version);
}

int ActiveSyncDevice::checkModule(bool &mustInstall)
{
    if (!m_connected)
        return DE_NOT_CONNECTED;
    mustInstall = true;
    RegistryValue marker;
    const quint32 markerRead = m_api.deviceRegistryValue(moduleKey, moduleMarker, pathBufferBytes, marker);
    if (markerRead == RE_NOT_READY)
        return DE_TRANSFER_ERROR;
    if (markerRead != RE_SUCCESS || !marker.isText())
        return DE_NO_ERROR;
    quint32 version = 0;
    const int result = moduleVersion(version);
    if (result != DE_NO_ERROR)
        return result;
    if (version != requiredModuleVersion)
        return DE_MODULE_TOO_OLD;
    mustInstall = false;
    return DE_NO_ERROR;
}

int ActiveSyncDevice::installModule(vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    QFile cab(m_programFolder + QLatin1Char('/') + moduleCab);
    const QString copy = m_downloadsFolder() + QLatin1Char('/') + moduleCab;
    if (!cab.open(QIODevice::ReadOnly) || !writeFile(copy, cab.readAll()))
        return DE_INSTALL_FILES_NOT_WRITTEN;
    const int result = installPackage(copy, 0, progress, cont);
    if (result != DE_NO_ERROR)
        return result;
    bool mustInstall = true;
    const int checked = checkModule(mustInstall);
    if (checked == DE_TRANSFER_ERROR)
        return checked;
    return checked == DE_NO_ERROR && !mustInstall ? DE_NO_ERROR : DE_MODULE_NOT_INSTALLED;
}

int ActiveSyncDevice::installPackage(const QString &packagePath, qint64, vktcommon::ProgressListener *progress,
                                     vktcommon::ContinueListener *cont)
{
    reportProgress(progress, 5);
    if (stopRequested(cont))
        return DE_CANCELLED;
    if (packagePath.isEmpty())
        return DE_NOT_SUPPORTED;
    const QString description = m_downloadsFolder() + QLatin1Char('/') + descriptionFileName;
    if (!writeFile(description, descriptionFile(relativeCabPath(description, packagePath))))
        return DE_INSTALL_FILES_NOT_WRITTEN;
    RegistryValue appManager;
    if (m_api.desktopRegistryValue(appManagerKey, QString(), pathBufferBytes, appManager) != RE_SUCCESS
        || !appManager.isText())
        return DE_APP_MANAGER_NOT_INSTALLED;
    reportProgress(progress, 30);
    if (stopRequested(cont))
        return DE_CANCELLED;
    const QString program = appManager.text();
    const QString commandLine = QLatin1Char('"') + program + QStringLiteral("\" \"") + description + QLatin1Char('"');
    if (commandLine.size() >= commandLineLimit)
        return DE_NOT_SUPPORTED;
    // The manager installs onto the device: one that went away is not worth starting it for.
    if (m_connected && m_api.fileAttributes(QString(separator())) == REMOTE_INVALID && connectionBroken())
        return DE_TRANSFER_ERROR;

    QProcess manager;
    manager.setProgram(program);
    manager.setArguments({description});
    manager.setStandardOutputFile(QProcess::nullDevice());
    manager.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    manager.start();
    if (!manager.waitForStarted(-1))
        return DE_APP_MANAGER_NOT_RUN;
    reportProgress(progress, 70);
    // A cancellation now waits for the manager: stopping it half-way would leave the device half installed.
    const bool cancelled = stopRequested(cont);
    if (!manager.waitForFinished(-1))
        return DE_APP_MANAGER_NOT_RUN;
    if (cancelled)
        return DE_CANCELLED;
    reportProgress(progress, 100);
    return stopRequested(cont) ? DE_CANCELLED : DE_NO_ERROR;
}

int ActiveSyncDevice::pathFlags() const
{
    return PF_EXECUTABLE_PATHS;
}

QString ActiveSyncDevice::relativeCabPath(const QString &descriptionFile, const QString &cabFile)
{
    const QString from = descriptionFile.toUpper().replace(QLatin1Char('/'), QLatin1Char('\\'));
    const QString to = cabFile.toUpper().replace(QLatin1Char('/'), QLatin1Char('\\'));
    qsizetype shared = 0;
    for (qsizetype i = 0; i < qMin(from.size(), to.size()) && from.at(i) == to.at(i); ++i) {
        if (from.at(i) == QLatin1Char('\\'))
            shared = i + 1;
    }
    if (shared == 0)
        return QString();
    const qsizetype levelsUp = from.mid(shared).count(QLatin1Char('\\'));
    return QStringLiteral("..\\").repeated(levelsUp) + to.mid(shared);
}

} // namespace vktpdl
