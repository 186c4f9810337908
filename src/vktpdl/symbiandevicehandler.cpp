#include "symbiandevicehandler.h"

#include "listeners.h"
#include "localfilesystem.h"
#include "navigatorinfo.h"
#include "phoneconnectivitylibrary.h"
#include "symbianqiodevice.h"

#include <QFile>
#include <QRegularExpression>

namespace vktpdl {

namespace {

// The navigator's application identifier starts with these eight hexadecimal digits.
const QString navigatorIdentifier = QStringLiteral("2002bfb2");

bool isNavigator(const QString &identifier)
{
    return identifier.left(navigatorIdentifier.size()).compare(navigatorIdentifier, Qt::CaseInsensitive) == 0;
}

// "major.minor(build)" with decimal numbers of 16 bits each.
bool parseVersion(const QString &text, DottedVersion &version)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,5})\\.(\\d{1,5})\\((\\d{1,5})\\)\\s*$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return false;
    quint16 parts[3];
    for (int i = 0; i < 3; ++i) {
        const uint part = match.captured(i + 1).toUInt();
        if (part > 0xFFFF)
            return false;
        parts[i] = quint16(part);
    }
    version = DottedVersion(parts[0], parts[1], parts[2], 0);
    return true;
}

PclResult notifyHandler(void *context, uint32_t state, uint32_t value)
{
    return static_cast<SymbianDeviceHandler *>(context)->notify(state, value);
}

} // namespace

int deviceErrorOf(PclResult result, int failure)
{
    if (result == PCL_E_CANCELLED)
        return DE_CANCELLED;
    if (result == PCL_E_DEVICE_NOT_FOUND || result == PCL_E_MEDIA_NOT_FOUND || result == PCL_E_CONNECTION_LOST)
        return DE_TRANSFER_ERROR;
    return failure;
}

// The caller's listeners for the time of one operation.
class SymbianDeviceHandler::Listening
{
public:
    Listening(SymbianDeviceHandler &handler, vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
        : m_handler(handler)
    {
        handler.m_progress = progress;
        handler.m_continue = cont;
        handler.m_installation = dynamic_cast<vktcommon::InstallationProgressListener *>(progress);
        handler.m_phoneGone = false;
    }
    ~Listening()
    {
        m_handler.m_progress = nullptr;
        m_handler.m_continue = nullptr;
        m_handler.m_installation = nullptr;
    }
    Listening(const Listening &) = delete;
    Listening &operator=(const Listening &) = delete;

private:
    SymbianDeviceHandler &m_handler;
};

SymbianDeviceHandler::SymbianDeviceHandler(std::shared_ptr<PhoneConnectivityLibrary> library,
                                           const QString &serialNumber, const DeviceDescription &description)
    : m_library(std::move(library)),
      m_serialNumber(serialNumber),
      m_description(description),
      m_notifyTarget{this, &notifyHandler}
{
    if (!m_library)
        return;
    PclHandle fileSystem = 0;
    PclResult result = m_library->openFileSystem(m_serialNumber, PCL_MEDIA_ALL, fileSystem);
    if (result == PCL_OK)
        result = m_library->registerFileSystemNotify(fileSystem, &m_notifyTarget, PCL_NOTIFY_REGISTER);
    if (result == PCL_OK) {
        m_fileSystem = fileSystem;
    } else if (fileSystem) {
        m_library->registerFileSystemNotify(fileSystem, &m_notifyTarget, PCL_NOTIFY_UNREGISTER);
        m_library->closeFileSystem(fileSystem);
    }
}

SymbianDeviceHandler::~SymbianDeviceHandler()
{
    if (!m_fileSystem)
        return;
    m_library->registerFileSystemNotify(m_fileSystem, &m_notifyTarget, PCL_NOTIFY_UNREGISTER);
    m_library->closeFileSystem(m_fileSystem);
}

PclResult SymbianDeviceHandler::notify(quint32 state, quint32 value)
{
    if (vktcommon::stopRequested(m_continue))
        return PCL_E_CANCELLED;
    // The state to ignore carries every bit of one that says the phone is gone, so it is looked at first.
    if (PhoneConnectivityLibrary::saysIgnore(state))
        return PCL_OK;
    if (PhoneConnectivityLibrary::saysPhoneIsGone(state)) {
        m_phoneGone = true;
        return PCL_E_CANCELLED;
    }
    if (m_progress && value <= 100)
        m_progress->setProgress(int(value));
    if (state == PCL_STATE_CONFIRMATION && value == PCL_VALUE_WAITING_FOR_USER && m_installation)
        m_installation->waitForUserAction();
    return PCL_OK;
}

void SymbianDeviceHandler::report(int percent) const
{
    if (m_progress)
        m_progress->setProgress(percent);
}

int SymbianDeviceHandler::failure(PclResult result, int code) const
{
    return result == PCL_E_CANCELLED && m_phoneGone ? DE_TRANSFER_ERROR : deviceErrorOf(result, code);
}

int SymbianDeviceHandler::copy(quint32 direction, const QString &phonePath, const QString &pcPath,
                               vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    if (!m_fileSystem)
        return DE_WAIT_ERROR;
    if (phonePath.isEmpty() || pcPath.isEmpty())
        return DE_TRANSPORT_ERROR;
    QString phoneFolder;
    QString phoneName;
    splitPath(phonePath, phoneFolder, phoneName);
    const qsizetype slash = pcPath.lastIndexOf(QLatin1Char('/'));
    const QString pcFolder = slash > 0 ? pcPath.left(slash) : slash == 0 ? QStringLiteral("/") : QString();
    const QString pcName = pcPath.mid(slash + 1);
    const bool sameName = phoneName.compare(pcName, Qt::CaseInsensitive) == 0;
    if (pcFolder.isEmpty() || phoneName.isEmpty() || pcName.isEmpty()
        || (!sameName && direction != PCL_COPY_PC_TO_PHONE))
        return DE_TRANSPORT_ERROR;

    const Listening listening(*this, progress, cont);
    report(0);
    if (!sameName)
        return writeInBlocks(phonePath, pcPath, cont);
    // The PC's spelling of the name: the phone finds its files without regard to letter case, the PC does not.
    const PclResult result =
        direction == PCL_COPY_PC_TO_PHONE
            ? m_library->copyFile(m_fileSystem, direction, pcName, pcFolder, phoneFolder)
            : m_library->copyFile(m_fileSystem, direction, pcName, phoneFolder, pcFolder);
    if (result != PCL_OK)
        return failure(result, DE_TRANSFER_ERROR_2);
    report(100);
    return DE_NO_ERROR;
}

int SymbianDeviceHandler::writeInBlocks(const QString &phonePath, const QString &pcPath,
                                        vktcommon::ContinueListener *cont)
{
    QFile source(pcPath);
    if (!source.open(QIODevice::ReadOnly))
        return DE_TRANSFER_ERROR_2;
    // Like the library's copy, it never replaces a file.
    const PclResult found = ask(phonePath, false);
    if (found != PCL_E_NOT_FOUND)
        return deviceErrorOf(found == PCL_OK ? PCL_E_EXISTS : found, DE_TRANSFER_ERROR_2);

    // Every return before the close drops the device open, which abandons the write.
    SymbianQIODevice target(m_library, m_fileSystem, phonePath);
    if (!target.open(QIODevice::WriteOnly))
        return deviceErrorOf(target.transferResult(), DE_TRANSFER_ERROR_2);
    const qint64 size = source.size();
    QByteArray block(SymbianQIODevice::blockSize, Qt::Uninitialized);
    for (qint64 done = 0; done < size;) {
        const qint64 read = source.read(block.data(), qMin<qint64>(block.size(), size - done));
        if (read <= 0)
            return DE_TRANSFER_ERROR_2;
        if (target.write(block.constData(), read) != read)
            return deviceErrorOf(target.transferResult(), DE_TRANSFER_ERROR_2);
        done += read;
        report(int(done * 100 / size));
        if (vktcommon::stopRequested(cont))
            return DE_CANCELLED;
    }
    target.close();
    const PclResult result = target.transferResult();
    if (result != PCL_OK)
        return deviceErrorOf(result, DE_TRANSFER_ERROR_2);
    report(100);
    return DE_NO_ERROR;
}

int SymbianDeviceHandler::putFile(const QString &destination, const QString &source,
                                  vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    return copy(PCL_COPY_PC_TO_PHONE, destination, source, progress, cont);
}

int SymbianDeviceHandler::getFile(const QString &destination, const QString &source,
                                  vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    return copy(PCL_COPY_PHONE_TO_PC, source, destination, progress, cont);
}

int SymbianDeviceHandler::deleteFile(const QString &path)
{
    if (!m_fileSystem)
        return DE_WAIT_ERROR;
    if (path.isEmpty())
        return DE_TRANSPORT_ERROR;
    const PclResult result = m_library->deleteFile(m_fileSystem, path);
    return result == PCL_OK || result == PCL_E_NOT_FOUND ? DE_NO_ERROR : deviceErrorOf(result, DE_DELETE_ERROR);
}

int SymbianDeviceHandler::createFolder(const QString &parent, const QString &name)
{
    if (!m_fileSystem)
        return DE_WAIT_ERROR;
    if (parent.isEmpty() || name.isEmpty())
        return DE_TRANSPORT_ERROR;
    if (ask(joinPath(parent, name), true) == PCL_OK)
        return DE_NO_ERROR;
    const PclResult result = m_library->createFolder(m_fileSystem, parent, name);
    return result == PCL_OK ? DE_NO_ERROR : deviceErrorOf(result, DE_CANNOT_CREATE_FOLDER);
}

int SymbianDeviceHandler::createDirectory(const QString &path)
{
    if (!m_fileSystem)
        return DE_WAIT_ERROR;
    if (path.isEmpty())
        return DE_TRANSPORT_ERROR;
    QString parent;
    QString name;
    splitPath(path, parent, name);
    // A drive ("\\E:") is there already; every folder below it is made in turn.
    if (!parent.endsWith(QLatin1Char(':'))) {
        const int result = createDirectory(parent);
        if (result != DE_NO_ERROR)
            return result;
    }
    return createFolder(parent, name);
}

int SymbianDeviceHandler::removeDirectory(const QString &path, bool recursive)
{
    if (!m_fileSystem)
        return DE_WAIT_ERROR;
    if (path.isEmpty())
        return DE_TRANSPORT_ERROR;
    if (recursive)
        return removeTree(path);
    const PclResult result = m_library->deleteFolder(m_fileSystem, path);
    return result == PCL_OK ? DE_NO_ERROR : deviceErrorOf(result, DE_DELETE_ERROR);
}

int SymbianDeviceHandler::listEntries(const QString &folder, const QString &pattern, bool folders,
                                      QStringList &names)
{
    if (!m_fileSystem)
        return DE_WAIT_ERROR;
    if (folder.isEmpty())
        return DE_TRANSPORT_ERROR;
    PclHandle find = 0;
    PclResult result = m_library->findBegin(m_fileSystem, folder, find);
    if (result != PCL_OK)
        return deviceErrorOf(result, DE_WRONG_REPLY);
    PclFindEntry entry = {nullptr, 0};
    while ((folders ? m_library->findNextFolder(find, entry) : m_library->findNextFile(find, entry)) == PCL_OK) {
        const QString name = PhoneConnectivityLibrary::text(entry.name);
        if (!name.isEmpty() && matchesPattern(name, pattern))
            names.append(name);
    }
    result = m_library->findEnd(find);
    return result == PCL_OK ? DE_NO_ERROR : deviceErrorOf(result, DE_WRONG_REPLY);
}

int SymbianDeviceHandler::listFolders(const QString &folder, const QString &pattern, QStringList &names)
{
    return listEntries(folder, pattern, true, names);
}

int SymbianDeviceHandler::listFiles(const QString &folder, const QString &pattern, QStringList &names)
{
    return listEntries(folder, pattern, false, names);
}

int SymbianDeviceHandler::openFile(const QString &path, QIODevice *&device)
{
    if (!m_fileSystem)
        return DE_WAIT_ERROR;
    if (path.isEmpty())
        return DE_TRANSPORT_ERROR;
    device = new SymbianQIODevice(m_library, m_fileSystem, path);
    return DE_NO_ERROR;
}

int SymbianDeviceHandler::freeSpace(const QString &path, quint64 &bytes)
{
    if (!m_fileSystem)
        return DE_WAIT_ERROR;
    if (path.isEmpty())
        return DE_TRANSPORT_ERROR;
    const QString folder = path.endsWith(separator()) ? path : path + separator();
    PclFolderInfo *info = nullptr;
    const PclResult result = m_library->getFolderInfo(m_fileSystem, folder, info);
    if (result != PCL_OK || !info)
        return deviceErrorOf(result, DE_WRONG_REPLY);
    bytes = info->freeSpace;
    m_library->freeFolderInfo(info);
    return DE_NO_ERROR;
}

QChar SymbianDeviceHandler::separator() const
{
    return QLatin1Char('\\');
}

int SymbianDeviceHandler::renameFile(const QString &source, const QString &destination)
{
    if (!m_fileSystem)
        return DE_WAIT_ERROR;
    if (source.isEmpty() || destination.isEmpty())
        return DE_TRANSPORT_ERROR;
    const PclResult result = m_library->moveFile(m_fileSystem, source, destination, PCL_MOVE_REPLACE);
    if (result == PCL_E_LIBRARY_NOT_LOADED)
        return DE_NOT_SUPPORTED;
    return result == PCL_OK ? DE_NO_ERROR : deviceErrorOf(result, DE_TRANSFER_ERROR);
}

PclResult SymbianDeviceHandler::ask(const QString &path, bool folder) const
{
    if (folder) {
        PclFolderInfo *info = nullptr;
        const PclResult result = m_library->getFolderInfo(m_fileSystem, path, info);
        if (result == PCL_OK && info)
            m_library->freeFolderInfo(info);
        return result;
    }
    PclFileInfo *info = nullptr;
    const PclResult result = m_library->getFileInfo(m_fileSystem, path, info);
    if (result == PCL_OK && info)
        m_library->freeFileInfo(info);
    return result;
}

int SymbianDeviceHandler::confirmThere(const QString &path, bool folder)
{
    if (!m_fileSystem)
        return DE_WAIT_ERROR;
    if (path.isEmpty())
        return DE_TRANSPORT_ERROR;
    const PclResult result = ask(path, folder);
    return result == PCL_OK ? DE_NO_ERROR : deviceErrorOf(result, DE_TRANSFER_ERROR);
}

int SymbianDeviceHandler::flushFile(const QString &path)
{
    return confirmThere(path, false);
}

int SymbianDeviceHandler::flushFolder(const QString &path)
{
    return confirmThere(path, true);
}

int SymbianDeviceHandler::syncVolume(const QString &path)
{
    // The drive that holds path, as freeSpace asks it.
    const QString drive = path.section(separator(), 0, 0, QString::SectionSkipEmpty);
    return confirmThere(drive.isEmpty() ? QString() : QStringLiteral("\\\\") + drive + separator(), true);
}

int SymbianDeviceHandler::kind() const
{
    return DK_SYMBIAN;
}

int SymbianDeviceHandler::getDeviceDescription(DeviceDescription &description)
{
    description = m_description;
    description.supported = 1;
    description.platform = 3;
    description.allRootsReadOnly = false;
    return DE_NO_ERROR;
}

int SymbianDeviceHandler::getNavigatorInfo(NavigatorInfo &info, vktcommon::ProgressListener *progress,
                                           vktcommon::ContinueListener *cont)
{
    if (!m_fileSystem)
        return DE_WAIT_ERROR;
    const Listening listening(*this, progress, cont);
    report(0);
    quint32 count = 0;
    PclApplication *applications = nullptr;
    const PclResult listed = m_library->listApplications(m_fileSystem, PCL_LIST_ALL_APPLICATIONS, count, applications);
    if (listed != PCL_OK)
        return deviceErrorOf(listed, DE_WAIT_ERROR);

    bool found = false;
    bool unreadable = false;
    DottedVersion version;
    const int share = count > 0 ? int(90 / count) : 0;
    int done = 0;
    for (quint32 i = 0; i < count && applications; ++i) {
        if (vktcommon::stopRequested(cont))
            break;
        if (isNavigator(PhoneConnectivityLibrary::text(applications[i].identifier))) {
            DottedVersion read;
            if (parseVersion(PhoneConnectivityLibrary::text(applications[i].version), read)) {
                version = read;
                found = true;
            } else {
                unreadable = true;
            }
        }
        done += share;
        report(done);
    }
    const PclResult freed = m_library->freeApplications(count, applications);
    if (count == 0)
        return DE_NAVIGATOR_NOT_FOUND;
    if (freed != PCL_OK)
        return DE_WRONG_REPLY;
    if (found) {
        info = NavigatorInfo();
        info.version = version;
        return DE_NO_ERROR;
    }
    // A navigator whose version cannot be read is no navigator to update, nor one that is missing.
    return unreadable ? DE_WRONG_REPLY : DE_NAVIGATOR_NOT_FOUND;
}

int SymbianDeviceHandler::installPackage(const QString &packagePath, qint64, vktcommon::ProgressListener *progress,
                                         vktcommon::ContinueListener *cont)
{
    if (!m_fileSystem)
        return DE_WAIT_ERROR;
    if (packagePath.isEmpty())
        return DE_TRANSPORT_ERROR;
    const Listening listening(*this, progress, cont);
    report(0);
    const PclResult result =
        m_library->installApplication(m_fileSystem, packagePath, PCL_INSTALL_PACKAGE, PCL_INSTALL_OPTIONS);
    if (result == PCL_OK || result == PCL_INSTALLED_OVER_OLDER)
        return DE_NO_ERROR;
    return failure(result, DE_INSTALLATION_FAILED);
}

int SymbianDeviceHandler::listRoots(QStringList &roots)
{
    roots.clear();
    if (!m_fileSystem)
        return DE_WAIT_ERROR;
    const QString top = QStringLiteral("\\\\");
    PclHandle find = 0;
    PclResult result = m_library->findBegin(m_fileSystem, top, find);
    if (result != PCL_OK)
        return deviceErrorOf(result, DE_WRONG_REPLY);
    PclFindEntry entry = {nullptr, 0};
    while (m_library->findNextFolder(find, entry) == PCL_OK) {
        const QString drive = PhoneConnectivityLibrary::text(entry.name);
        if (!drive.isEmpty() && drive.compare(QLatin1String("C:"), Qt::CaseInsensitive) != 0)
            roots.append(top + drive);
    }
    result = m_library->findEnd(find);
    return result == PCL_OK ? DE_NO_ERROR : deviceErrorOf(result, DE_WRONG_REPLY);
}

int SymbianDeviceHandler::pathFlags() const
{
    return PF_NO_MAP_HEADERS;
}

} // namespace vktpdl
