#include "storagecarddevice.h"

#include "archiveerror.h"
#include "devicedescription.h"
#include "listeners.h"
#include "navigatoridentification.h"
#include "partialprogresslistener.h"
#include "ziparchive.h"

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>

namespace vktpdl {

namespace {

const QString defaultModelText = QStringLiteral("Flash Disk Drive USB Device");
const QString workFolderPattern = QStringLiteral("KorwindNavigatorUpdateCenter-XXXXXX");
constexpr qint64 maximumSettingsSize = 1024 * 1024;

bool startsItself(const NavigatorRecord &navigator)
{
    return navigator.executablePath == navigator.launcherPath;
}

// path is root itself or lies below it.
bool isBelow(const QString &path, const QString &root)
{
    return path == root || path.startsWith(root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/'));
}

bool isSettingsFile(const QString &name)
{
    return name.compare(QLatin1String("settings.ini"), Qt::CaseInsensitive) == 0;
}

// "key=value" lines; sections and comments are skipped, keys compared ignoring case.
QString settingsValue(const QString &text, const QString &key)
{
    for (const QString &rawLine : text.split(QLatin1Char('\n'))) {
        const QString line = rawLine.trimmed();
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0 || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.left(equals).trimmed().compare(key, Qt::CaseInsensitive) != 0)
            continue;
        QString value = line.mid(equals + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        return value;
    }
    return QString();
}

// A file node of the archive with the folder it belongs to, relative to the archive's root.
struct PlacedFile
{
    QString folder;
    ZipNode *node;
};

void collectFilesOutside(ZipNode &folder, const QString &relative, const ZipNode *excluded, QList<PlacedFile> &files)
{
    for (ZipNode *child : folder.children()) {
        if (child == excluded)
            continue;
        if (child->isFileNode())
            files.append({relative, child});
        else
            collectFilesOutside(*child, relative.isEmpty() ? child->name() : relative + QLatin1Char('/') + child->name(),
                                excluded, files);
    }
}

} // namespace

StorageCardDevice::StorageCardDevice(const QString &displayName, const QStringList &volumes, const MachineRoots &roots)
    : m_displayName(displayName)
    , m_volumes(volumes)
    , m_files(volumes)
{
    if (!identifyVolumes(roots))
        return;
    QStringList entries;
    for (const VolumeIdentity &volume : m_volumeRecords) {
        entries.append(volume.label.isEmpty() ? volume.volumeName
                                              : volume.label + QLatin1Char(' ') + volume.volumeName);
    }
    m_displayName = QLatin1Char('(') + entries.join(QStringLiteral(" + ")) + QLatin1Char(')');
    const auto named = std::find_if(m_volumeRecords.begin(), m_volumeRecords.end(),
                                    [](const VolumeIdentity &volume) { return !volume.diskCaption.isEmpty(); });
    m_modelText = named != m_volumeRecords.end() ? named->diskCaption : defaultModelText;
}

bool StorageCardDevice::identifyVolumes(const MachineRoots &roots)
{
    const RemovableVolumes machine(roots);
    m_volumeRecords.clear();
    for (const QString &volume : m_volumes) {
        VolumeIdentity identity;
        if (machine.identify(volume, identity))
            m_volumeRecords.push_back(identity);
    }
    std::sort(m_volumeRecords.begin(), m_volumeRecords.end(),
              [](const VolumeIdentity &a, const VolumeIdentity &b) { return a.volumeName < b.volumeName; });
    return !m_volumes.isEmpty() && m_volumeRecords.size() == std::size_t(m_volumes.size());
}

QString StorageCardDevice::displayName() const
{
    return m_displayName;
}

QString StorageCardDevice::modelText() const
{
    return m_modelText;
}

int StorageCardDevice::putFile(const QString &destination, const QString &source, vktcommon::ProgressListener *progress,
                               vktcommon::ContinueListener *cont)
{
    return m_files.putFile(destination, source, progress, cont);
}

int StorageCardDevice::getFile(const QString &destination, const QString &source, vktcommon::ProgressListener *progress,
                               vktcommon::ContinueListener *cont)
{
    return m_files.getFile(destination, source, progress, cont);
}

int StorageCardDevice::deleteFile(const QString &path)
{
    return m_files.deleteFile(path);
}

int StorageCardDevice::createFolder(const QString &parent, const QString &name)
{
    return m_files.createFolder(parent, name);
}

int StorageCardDevice::createDirectory(const QString &path)
{
    return m_files.createDirectory(path);
}

int StorageCardDevice::removeDirectory(const QString &path, bool recursive)
{
    return m_files.removeDirectory(path, recursive);
}

int StorageCardDevice::listFolders(const QString &folder, const QString &pattern, QStringList &names)
{
    return m_files.listFolders(folder, pattern, names);
}

int StorageCardDevice::listFiles(const QString &folder, const QString &pattern, QStringList &names)
{
    return m_files.listFiles(folder, pattern, names);
}

int StorageCardDevice::openFile(const QString &path, QIODevice *&device)
{
    return m_files.openFile(path, device);
}

int StorageCardDevice::readFileStart(const QString &path, qint64 maxBytes, QByteArray &bytes, qint64 &size)
{
    return m_files.readFileStart(path, maxBytes, bytes, size);
}

int StorageCardDevice::freeSpace(const QString &path, quint64 &bytes)
{
    return m_files.freeSpace(path, bytes);
}

bool StorageCardDevice::isReadOnly(const QString &path)
{
    return isWriteProtected(path) || m_files.isReadOnly(path);
}

bool StorageCardDevice::isWriteProtected(const QString &path) const
{
    const VolumeIdentity *volume = volumeOf(path);
    return (volume && volume->readOnly) || m_files.isFileSystemReadOnly(path);
}

QChar StorageCardDevice::separator() const
{
    return m_files.separator();
}

bool StorageCardDevice::isFile(const QString &path)
{
    return m_files.isFile(path);
}

int StorageCardDevice::fileStamp(const QString &path, FileStamp &stamp)
{
    if (!volumeOf(path)) {
        stamp = FileStamp();
        return DE_NO_ERROR;
    }
    return m_files.fileStamp(path, stamp);
}

int StorageCardDevice::kind() const
{
    return DK_STORAGE;
}

int StorageCardDevice::getDeviceDescription(DeviceDescription &description)
{
    description.name = m_modelText;
    description.secondName = m_displayName;
    description.thirdText.clear();
    if (!m_found.isEmpty()) {
        const auto newest = std::max_element(m_found.begin(), m_found.end(),
                                             [](const NavigatorRecord &a, const NavigatorRecord &b) {
                                                 return a.version < b.version;
                                             });
        description.thirdText = newest->version.toString();
    }
    description.supported = 1;
    description.platform = 2;
    // The volumes themselves: a root folder that only its owner may write does not make the device read-only.
    description.allRootsReadOnly = !m_volumes.isEmpty()
                                   && std::all_of(m_volumes.begin(), m_volumes.end(),
                                                  [this](const QString &root) { return isWriteProtected(root); });
    return DE_NO_ERROR;
}

int StorageCardDevice::listRoots(QStringList &roots)
{
    roots = m_volumes;
    return DE_NO_ERROR;
}

int StorageCardDevice::describeStorage(const QString &root, StorageInfo &storage)
{
    storage = StorageInfo();
    storage.root = root;
    if (const VolumeIdentity *volume = volumeOf(root)) {
        storage.label = volume->label;
        storage.kind = volume->isCard ? StorageInfo::Card : StorageInfo::Memory;
    }
    const QStorageInfo sizes(root);
    if (sizes.isValid() && sizes.isReady()) {
        storage.totalBytes = sizes.bytesTotal();
        storage.freeBytes = sizes.bytesAvailable();
    }
    return DE_NO_ERROR;
}

int StorageCardDevice::pathFlags() const
{
    return PF_EXECUTABLE_PATHS;
}

int StorageCardDevice::findNavigators(vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    m_found.clear();
    QStringList candidates;
    for (int i = 0; i < m_volumes.size(); ++i) {
        vktcommon::reportProgress(progress, i * 80 / int(m_volumes.size()));
        if (vktcommon::stopRequested(cont) || collectFiles(*this, m_volumes.at(i), isLauncherCandidate, candidates, cont) == DE_CANCELLED)
            return DE_CANCELLED;
    }
    const int count = int(candidates.size());
    for (int i = 0; i < count; ++i) {
        NavigatorRecord record;
        if (identifyNavigator(*this, candidates.at(i), record) != DE_NO_ERROR)
            continue;
        record.isReadOnly = isReadOnly(record.executablePath);
        vktcommon::PartialProgressListener share(progress, 80 + i * 20 / count, 80 + (i + 1) * 20 / count);
        const int result = readNavigatorVersion(*this, record.executablePath, record.version, &share, cont);
        if (result == DE_CANCELLED) {
            m_found.clear();
            return DE_CANCELLED;
        }
        if (result == DE_NO_ERROR)
            m_found.append(record);
    }
    dropRepeatedNavigators(m_found);
    vktcommon::reportProgress(progress, 100);
    return DE_NO_ERROR;
}

int StorageCardDevice::listNavigators(QList<NavigatorRecord> &navigators, vktcommon::ProgressListener *progress,
                                      vktcommon::ContinueListener *cont)
{
    const int share = m_found.isEmpty() ? 0 : 100 / int(m_found.size());
    for (int i = 0; i < m_found.size(); ++i) {
        vktcommon::PartialProgressListener part(progress, i * share, (i + 1) * share);
        NavigatorRecord record = m_found.at(i);
        const int result = computeIdentifier(*this, record.executablePath, record.identifier, &part, cont);
        if (result == DE_CANCELLED)
            return DE_CANCELLED;
        if (result == DE_NO_ERROR)
            navigators.append(record);
    }
    return DE_NO_ERROR;
}

int StorageCardDevice::inspectExecutable(const QString &path, NavigatorRecord &record,
                                         vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    NavigatorRecord inspected;
    int result = identifyNavigator(*this, path, inspected);
    if (result != DE_NO_ERROR)
        return result;
    vktcommon::reportProgress(progress, 10);
    vktcommon::PartialProgressListener part(progress, 5, 10);
    result = readNavigatorVersion(*this, inspected.executablePath, inspected.version, &part, cont);
    if (result != DE_NO_ERROR)
        return result;
    inspected.isReadOnly = isReadOnly(inspected.executablePath);
    vktcommon::reportProgress(progress, 15);
    part.setRange(15, 100);
    result = computeIdentifier(*this, inspected.executablePath, inspected.identifier, &part, cont);
    if (result != DE_NO_ERROR)
        return result;
    record = inspected;
    return DE_NO_ERROR;
}

void StorageCardDevice::selectNavigator(const NavigatorRecord &record)
{
    m_current = record;
}

int StorageCardDevice::checkPackage(const QString &packagePath, qint64 packageSize,
                                    vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    m_packageNavigator = NavigatorRecord();
    m_target = PackageTarget();
    // Without a chosen navigator there is nothing the package could replace.
    if (m_current.executablePath.isEmpty())
        return DE_NAVIGATOR_NOT_FOUND;

    // A private folder of its own for every check: a fixed name in the shared temporary folder may be a
    // link that someone planted, and emptying it would empty whatever it leads to. It goes when the check ends.
    auto workFolder = std::make_unique<QTemporaryDir>(m_files.joinPath(QDir::tempPath(), workFolderPattern));
    if (!workFolder->isValid())
        workFolder = std::make_unique<QTemporaryDir>(m_files.joinPath(m_files.parentPath(packagePath), workFolderPattern));
    if (!workFolder->isValid())
        return DE_CANNOT_CREATE_FOLDER;
    const QString work = workFolder->path();
    int result = DE_NO_ERROR;

    QList<NavigatorRecord> navigators;
    {
        ZipArchive archive;
        if (archive.open(packagePath, packageSize) != AE_NO_ERROR
            || archive.root()->extract(work, progress, cont) != AE_NO_ERROR)
            result = DE_INSTALLATION_FAILED;
    }
    QStringList candidates;
    if (result == DE_NO_ERROR)
        result = collectFiles(m_files, work, isLauncherCandidate, candidates, cont);
    for (const QString &candidate : std::as_const(candidates)) {
        NavigatorRecord record;
        if (identifyNavigator(m_files, candidate, record) != DE_NO_ERROR)
            continue;
        record.executablePath = record.executablePath.mid(work.size() + 1);
        if (!record.launcherPath.isEmpty())
            record.launcherPath = record.launcherPath.mid(work.size() + 1);
        navigators.append(record);
    }
    // The extracted files were only needed to find the navigator.
    workFolder.reset();
    if (result != DE_NO_ERROR)
        return result;
    dropRepeatedNavigators(navigators);
    if (navigators.isEmpty())
        return DE_INSTALLATION_FAILED;

    m_packageNavigator = navigators.constFirst();
    m_target = packageTarget(m_current, m_packageNavigator, m_files);
    return m_target.compatible ? DE_NO_ERROR : DE_PACKAGE_MAY_BE_INCOMPATIBLE;
}

int StorageCardDevice::installPackage(const QString &packagePath, qint64 packageSize,
                                      vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    if (m_target.executablePath.isEmpty() || m_packageNavigator.executablePath.isEmpty())
        return DE_INSTALLATION_FAILED;
    // The archive and its navigator folder are checked before anything on the device is deleted.
    ZipArchive archive;
    if (archive.open(packagePath, packageSize) != AE_NO_ERROR)
        return DE_INSTALLATION_FAILED;
    QString packageFolder = m_files.parentPath(m_packageNavigator.executablePath);
    packageFolder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    ZipNode *folderNode = archive.root()->find(packageFolder);
    if (!folderNode || !folderNode->isFolderNode())
        return DE_INSTALLATION_FAILED;

    QStringList obsolete = {m_target.executablePath, m_current.executablePath};
    if (!m_target.launcherPath.isEmpty())
        obsolete << m_target.launcherPath << m_current.launcherPath;
    for (const QString &path : std::as_const(obsolete)) {
        const int result = deleteFile(path);
        if (result != DE_NO_ERROR)
            return result;
    }

    const QString targetFolder = parentPath(m_target.executablePath);
    vktcommon::PartialProgressListener part(progress, 0, 95);
    const int extracted = folderNode->extract(targetFolder, &part, cont);
    if (extracted == AE_CANCELLED)
        return DE_CANCELLED;
    if (extracted != AE_NO_ERROR)
        return DE_INSTALLATION_FAILED;

    const auto renameExtracted = [&](const QString &packagePath, const QString &targetPath) {
        const QString extractedPath = joinPath(targetFolder, fileName(packagePath));
        return extractedPath.compare(targetPath, Qt::CaseInsensitive) == 0 || QFile::rename(extractedPath, targetPath);
    };
    if (!renameExtracted(m_packageNavigator.executablePath, m_target.executablePath))
        return DE_INSTALLATION_FAILED;
    if (!m_target.launcherPath.isEmpty() && !startsItself(m_packageNavigator)
        && !renameExtracted(m_packageNavigator.launcherPath, m_target.launcherPath))
        return DE_INSTALLATION_FAILED;

    const VolumeIdentity *volume = volumeOf(targetFolder);
    const int result = installOtherFiles(*archive.root(), folderNode, volume ? volume->volumeName : QString(), progress, cont);
    if (result == DE_NO_ERROR)
        vktcommon::reportProgress(progress, 100);
    return result;
}

int StorageCardDevice::installOtherFiles(FolderNode &root, const ZipNode *packageFolder, const QString &volumeRoot,
                                         vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    QList<PlacedFile> files;
    collectFilesOutside(root, QString(), packageFolder, files);
    // Files beside the navigator folder go to the same places on the navigator's volume, never elsewhere.
    if (!files.isEmpty() && volumeRoot.isEmpty())
        return DE_INSTALLATION_FAILED;
    quint64 total = 1;
    for (const PlacedFile &file : std::as_const(files))
        total += file.node->size();
    quint64 done = 0;
    for (const PlacedFile &file : std::as_const(files)) {
        const QString folder = file.folder.isEmpty() ? volumeRoot : joinPath(volumeRoot, file.folder);
        const int created = createDirectory(folder);
        if (created != DE_NO_ERROR)
            return created;
        const quint64 size = file.node->size();
        vktcommon::PartialProgressListener part(progress, int(95 + done * 5 / total), int(95 + (done + size) * 5 / total));
        const int result = file.node->extract(folder, &part, cont);
        if (result == AE_CANCELLED)
            return DE_CANCELLED;
        if (result != AE_NO_ERROR)
            return DE_INSTALLATION_FAILED;
        done += size;
    }
    return DE_NO_ERROR;
}

const VolumeIdentity *StorageCardDevice::volumeOf(const QString &path) const
{
    const VolumeIdentity *best = nullptr;
    for (const VolumeIdentity &volume : m_volumeRecords) {
        if (isBelow(path, volume.volumeName) && (!best || volume.volumeName.size() > best->volumeName.size()))
            best = &volume;
    }
    return best;
}

QString StorageCardDevice::toPortablePath(const QString &path)
{
    const VolumeIdentity *volume = path.isEmpty() ? nullptr : volumeOf(path);
    if (!volume)
        return QString();
    const QString &root = volume->volumeName;
    const QString below = root.endsWith(separator()) ? path.mid(root.size() - 1) : path.mid(root.size());
    return volume->identity + QLatin1Char('|') + below;
}

QString StorageCardDevice::fromPortablePath(const QString &portablePath)
{
    // File names here may hold a bar; identities never do.
    const qsizetype bar = portablePath.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return QString();
    const QString identity = portablePath.left(bar);
    const QString below = portablePath.mid(bar + 1);
    // A stored path must not climb out of its volume.
    if ((!below.isEmpty() && !below.startsWith(separator())) || below.split(separator()).contains(QStringLiteral("..")))
        return QString();
    for (const VolumeIdentity &volume : m_volumeRecords) {
        if (volume.identity != identity)
            continue;
        const QString &root = volume.volumeName;
        return root.endsWith(separator()) ? root + below.mid(1) : root + below;
    }
    return QString();
}

QString StorageCardDevice::dataPathFor(const QString &path)
{
    const QString navigatorFolder = parentPath(path);
    QStringList settingsFiles;
    if (navigatorFolder.isEmpty()
        || collectFiles(*this, navigatorFolder, isSettingsFile, settingsFiles, nullptr) != DE_NO_ERROR
        || settingsFiles.size() != 1)
        return QString();
    QIODevice *opened = nullptr;
    if (openFile(settingsFiles.constFirst(), opened) != DE_NO_ERROR || !opened)
        return QString();
    const std::unique_ptr<QIODevice> device(opened);
    if (!device->open(QIODevice::ReadOnly))
        return QString();
    const QString text = QString::fromUtf8(device->read(maximumSettingsSize));

    // Path names the data folder and MapFileName a map file, with the device's backslashes; either may be
    // relative to the navigator's folder.
    QString dataFolder = settingsValue(text, QStringLiteral("Path"));
    QString mapFile = settingsValue(text, QStringLiteral("MapFileName"));
    if (dataFolder.isEmpty() && mapFile.isEmpty())
        return QString();
    dataFolder.replace(QLatin1Char('\\'), separator());
    mapFile.replace(QLatin1Char('\\'), separator());
    const QString mapFolder = parentPath(mapFile);
    if (!mapFolder.isEmpty())
        dataFolder = dataFolder.isEmpty() ? mapFolder : joinPath(dataFolder, mapFolder);
    if (dataFolder.size() > 1 && dataFolder.at(1) == QLatin1Char(':'))
        return QString(); // a drive letter of another machine
    if (!dataFolder.startsWith(separator()))
        dataFolder = dataFolder.isEmpty() ? navigatorFolder : joinPath(navigatorFolder, dataFolder);
    dataFolder = QDir::cleanPath(dataFolder);
    const VolumeIdentity *volume = volumeOf(dataFolder);
    if (!volume)
        return QString();

    // The storage root is the folder that holds the content folder; it is looked for below the mount point.
    const QString &mountPoint = volume->volumeName;
    QString root = mountPoint;
    for (const QString &part : dataFolder.mid(mountPoint.size()).split(separator(), Qt::SkipEmptyParts)) {
        if (part.contains(QLatin1String("KorwindContent")))
            return root;
        root = joinPath(root, part);
    }
    return dataFolder;
}

QString StorageCardDevice::navigatorDataPath()
{
    return m_current.executablePath.isEmpty() ? QString() : dataPathFor(m_current.executablePath);
}

} // namespace vktpdl
