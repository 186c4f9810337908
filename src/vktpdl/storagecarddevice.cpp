#include "storagecarddevice.h"

#include "archiveerror.h"
#include "checkedcopy.h"
#include "devicedescription.h"
#include "listeners.h"
#include "navigatoridentification.h"
#include "partialprogresslistener.h"
#include "programswap.h"
#include "ziparchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>

#include <sys/stat.h>

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

// A private folder of its own for every package: a fixed name in the shared temporary folder may be a
// link that someone planted, and emptying it would empty whatever it leads to. It goes with its object.
std::unique_ptr<QTemporaryDir> makeWorkFolder(const QString &packagePath)
{
    auto folder = std::make_unique<QTemporaryDir>(QDir(QDir::tempPath()).filePath(workFolderPattern));
    if (!folder->isValid())
        folder = std::make_unique<QTemporaryDir>(QFileInfo(packagePath).dir().filePath(workFolderPattern));
    return folder->isValid() ? std::move(folder) : nullptr;
}

} // namespace

StorageCardDevice::StorageCardDevice(const QString &displayName, const QStringList &volumes, const MachineRoots &roots,
                                     std::unique_ptr<FileSystem> volumeFiles)
    : m_displayName(displayName)
    , m_volumes(volumes)
    , m_files(volumeFiles ? std::move(volumeFiles) : std::make_unique<LocalFileSystem>(volumes))
{
    for (const QString &volume : volumes) {
        struct stat info;
        if (::stat(QFile::encodeName(volume).constData(), &info) == 0)
            m_mountedDevices.insert(volume, quint64(info.st_dev));
    }
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
    return isStillMounted(destination) ? m_files->putFile(destination, source, progress, cont) : DE_TRANSFER_ERROR;
}

int StorageCardDevice::getFile(const QString &destination, const QString &source, vktcommon::ProgressListener *progress,
                               vktcommon::ContinueListener *cont)
{
    return isStillMounted(source) ? m_files->getFile(destination, source, progress, cont) : DE_TRANSFER_ERROR;
}

int StorageCardDevice::deleteFile(const QString &path)
{
    return isStillMounted(path) ? m_files->deleteFile(path) : DE_DELETE_ERROR;
}

int StorageCardDevice::createFolder(const QString &parent, const QString &name)
{
    return isStillMounted(parent) ? m_files->createFolder(parent, name) : DE_CANNOT_CREATE_FOLDER;
}

int StorageCardDevice::createDirectory(const QString &path)
{
    return isStillMounted(path) ? m_files->createDirectory(path) : DE_CANNOT_CREATE_FOLDER;
}

int StorageCardDevice::removeDirectory(const QString &path, bool recursive)
{
    return isStillMounted(path) ? m_files->removeDirectory(path, recursive) : DE_DELETE_ERROR;
}

int StorageCardDevice::listFolders(const QString &folder, const QString &pattern, QStringList &names)
{
    return isStillMounted(folder) ? m_files->listFolders(folder, pattern, names) : DE_TRANSFER_ERROR;
}

int StorageCardDevice::listFiles(const QString &folder, const QString &pattern, QStringList &names)
{
    return isStillMounted(folder) ? m_files->listFiles(folder, pattern, names) : DE_TRANSFER_ERROR;
}

int StorageCardDevice::openFile(const QString &path, QIODevice *&device)
{
    return m_files->openFile(path, device);
}

int StorageCardDevice::readFileStart(const QString &path, qint64 maxBytes, QByteArray &bytes, qint64 &size)
{
    return m_files->readFileStart(path, maxBytes, bytes, size);
}

int StorageCardDevice::freeSpace(const QString &path, quint64 &bytes)
{
    return m_files->freeSpace(path, bytes);
}

bool StorageCardDevice::isReadOnly(const QString &path)
{
    return isWriteProtected(path) || m_files->isReadOnly(path);
}

bool StorageCardDevice::isWriteProtected(const QString &path) const
{
    const VolumeIdentity *volume = volumeOf(path);
    return (volume && volume->readOnly) || m_pcFiles.isFileSystemReadOnly(path);
}

QChar StorageCardDevice::separator() const
{
    return m_files->separator();
}

bool StorageCardDevice::isFile(const QString &path)
{
    return m_files->isFile(path);
}

int StorageCardDevice::fileStamp(const QString &path, FileStamp &stamp)
{
    if (!volumeOf(path)) {
        stamp = FileStamp();
        return DE_NO_ERROR;
    }
    return m_files->fileStamp(path, stamp);
}

int StorageCardDevice::renameFile(const QString &source, const QString &destination)
{
    return isStillMounted(source) && isStillMounted(destination) ? m_files->renameFile(source, destination)
                                                                 : DE_TRANSFER_ERROR;
}

int StorageCardDevice::exchangeFolders(const QString &first, const QString &second)
{
    return isStillMounted(first) && isStillMounted(second) ? m_files->exchangeFolders(first, second)
                                                           : DE_TRANSFER_ERROR;
}

int StorageCardDevice::flushFile(const QString &path)
{
    return isStillMounted(path) ? m_files->flushFile(path) : DE_TRANSFER_ERROR;
}

int StorageCardDevice::flushFolder(const QString &path)
{
    return isStillMounted(path) ? m_files->flushFolder(path) : DE_TRANSFER_ERROR;
}

int StorageCardDevice::syncVolume(const QString &path)
{
    return isStillMounted(path) ? m_files->syncVolume(path) : DE_TRANSFER_ERROR;
}

int StorageCardDevice::fileSha1(const QString &path, QString &sha1, vktcommon::ProgressListener *progress,
                                vktcommon::ContinueListener *cont)
{
    return isStillMounted(path) ? m_files->fileSha1(path, sha1, progress, cont) : DE_TRANSFER_ERROR;
}

bool StorageCardDevice::isStillMounted(const QString &path) const
{
    QString mountPoint;
    for (const QString &volume : m_volumes) {
        if (isBelow(path, volume) && volume.size() > mountPoint.size())
            mountPoint = volume;
    }
    const auto recorded = m_mountedDevices.constFind(mountPoint);
    // Paths outside the volumes (the PC's work folders) and volumes that could not be looked at have
    // nothing to compare with.
    if (mountPoint.isEmpty() || recorded == m_mountedDevices.constEnd())
        return true;
    struct stat info;
    return ::stat(QFile::encodeName(mountPoint).constData(), &info) == 0 && S_ISDIR(info.st_mode)
           && quint64(info.st_dev) == recorded.value();
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
        QStringList swapped;
        if (vktcommon::stopRequested(cont)
            || collectFiles(*this, m_volumes.at(i), isLauncherCandidate, candidates, cont, &swapped) == DE_CANCELLED)
            return DE_CANCELLED;
        // A program swap that was cut short is finished (or undone) before the navigators are looked at,
        // so that the list shows the program that will start.
        for (const QString &parent : std::as_const(swapped)) {
            QStringList inParent;
            if (ProgramSwap::repair(*this, parent) == DE_NO_ERROR
                && collectFiles(*this, parent, isLauncherCandidate, inParent, cont) == DE_NO_ERROR) {
                for (const QString &candidate : std::as_const(inParent)) {
                    if (!candidates.contains(candidate))
                        candidates.append(candidate);
                }
            }
        }
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

    std::unique_ptr<QTemporaryDir> workFolder = makeWorkFolder(packagePath);
    if (!workFolder)
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
        result = collectFiles(m_pcFiles, work, isLauncherCandidate, candidates, cont);
    for (const QString &candidate : std::as_const(candidates)) {
        NavigatorRecord record;
        if (identifyNavigator(m_pcFiles, candidate, record) != DE_NO_ERROR)
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
    m_target = packageTarget(m_current, m_packageNavigator, *m_files);
    return m_target.compatible ? DE_NO_ERROR : DE_PACKAGE_MAY_BE_INCOMPATIBLE;
}

int StorageCardDevice::installPackage(const QString &packagePath, qint64 packageSize,
                                      vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    if (m_target.executablePath.isEmpty() || m_packageNavigator.executablePath.isEmpty())
        return DE_INSTALLATION_FAILED;
    const std::unique_ptr<QTemporaryDir> workFolder = makeWorkFolder(packagePath);
    if (!workFolder)
        return DE_CANNOT_CREATE_FOLDER;
    const QDir work(workFolder->path());
    const QString extracted = work.filePath(QStringLiteral("package"));
    const QString passage = work.filePath(QStringLiteral("passage"));
    if (!work.mkdir(QStringLiteral("package")) || !work.mkdir(QStringLiteral("passage")))
        return DE_CANNOT_CREATE_FOLDER;

    // The whole package is unpacked on the PC first: nothing on the device changes before the archive
    // proved sound, and every file then reaches the device checked.
    {
        ZipArchive archive;
        vktcommon::PartialProgressListener unpacking(progress, 0, 20);
        if (archive.open(packagePath, packageSize) != AE_NO_ERROR)
            return DE_INSTALLATION_FAILED;
        const int result = archive.root()->extract(extracted, &unpacking, cont);
        if (result == AE_CANCELLED)
            return DE_CANCELLED;
        if (result != AE_NO_ERROR)
            return DE_INSTALLATION_FAILED;
    }
    QString packageFolder = m_pcFiles.parentPath(m_packageNavigator.executablePath);
    packageFolder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString packageRoot = packageFolder.isEmpty() ? extracted : extracted + QLatin1Char('/') + packageFolder;
    if (!QFileInfo(packageRoot).isDir())
        return DE_INSTALLATION_FAILED;

    // The package's executables take the names the device starts them by.
    QHash<QString, QString> renamed;
    renamed.insert(fileName(m_packageNavigator.executablePath).toCaseFolded(), fileName(m_target.executablePath));
    const bool launcherReplaced = !m_target.launcherPath.isEmpty();
    if (launcherReplaced && !startsItself(m_packageNavigator))
        renamed.insert(fileName(m_packageNavigator.launcherPath).toCaseFolded(), fileName(m_target.launcherPath));
    QStringList sources;
    int result = collectFiles(m_pcFiles, packageRoot, [](const QString &) { return true; }, sources, cont);
    if (result != DE_NO_ERROR)
        return result;
    QList<ProgramFile> files;
    QStringList installedNames;
    for (const QString &source : std::as_const(sources)) {
        const QString relative = source.mid(packageRoot.size() + 1);
        files.append({renamed.value(relative.toCaseFolded(), relative), source});
        installedNames.append(files.constLast().relativePath);
    }
    // The executables of the old navigator that the new one replaces under other names.
    QStringList dropped;
    QStringList oldExecutables = {m_current.executablePath};
    if (launcherReplaced)
        oldExecutables.append(m_current.launcherPath);
    for (const QString &path : std::as_const(oldExecutables)) {
        if (!path.isEmpty() && !installedNames.contains(fileName(path), Qt::CaseInsensitive))
            dropped.append(fileName(path));
    }

    const QString targetFolder = parentPath(m_target.executablePath);
    const VolumeIdentity *volume = volumeOf(targetFolder);
    vktcommon::PartialProgressListener share(progress, 20, 30);
    // Files beside the navigator's folder first, each whole on its own; the swap then completes the program.
    result = installOtherFiles(extracted, packageFolder, volume ? volume->volumeName : QString(), &share, cont);
    if (result != DE_NO_ERROR)
        return result;
    // A navigator at a volume's root, or one whose folder holds the maps, is replaced file by file.
    const bool wholeFolder = !m_volumes.contains(targetFolder) && !holdsContentFolder(targetFolder);
    share.setRange(30, 100);
    return ProgramSwap(*this, targetFolder, passage).install(files, dropped, wholeFolder, &share, cont);
}

bool StorageCardDevice::holdsContentFolder(const QString &folder)
{
    QStringList names;
    listFolders(folder, QStringLiteral("*"), names);
    return std::any_of(names.cbegin(), names.cend(), [&](const QString &name) {
        return name.compare(QLatin1String("KorwindContent"), Qt::CaseInsensitive) == 0
               || holdsContentFolder(joinPath(folder, name));
    });
}

int StorageCardDevice::installOtherFiles(const QString &extracted, const QString &packageFolder,
                                         const QString &volumeRoot, vktcommon::ProgressListener *progress,
                                         vktcommon::ContinueListener *cont)
{
    QStringList all;
    int result = collectFiles(m_pcFiles, extracted, [](const QString &) { return true; }, all, cont);
    if (result != DE_NO_ERROR)
        return result;
    const QString packageRoot = extracted + QLatin1Char('/') + packageFolder + QLatin1Char('/');
    QStringList files;
    for (const QString &path : std::as_const(all)) {
        if (!packageFolder.isEmpty() && !path.startsWith(packageRoot))
            files.append(path);
    }
    // Files beside the navigator folder go to the same places on the navigator's volume, never elsewhere.
    if (!files.isEmpty() && volumeRoot.isEmpty())
        return DE_INSTALLATION_FAILED;
    quint64 total = 1;
    for (const QString &file : std::as_const(files))
        total += quint64(QFileInfo(file).size());
    quint64 done = 0;
    vktcommon::PartialProgressListener part(progress);
    for (const QString &file : std::as_const(files)) {
        const QString relative = file.mid(extracted.size() + 1);
        const QString destination = joinPath(volumeRoot, relative);
        result = createDirectory(parentPath(destination));
        if (result != DE_NO_ERROR)
            return result;
        const quint64 size = quint64(QFileInfo(file).size());
        part.setRange(int(done * 100 / total), int((done + size) * 100 / total));
        result = putFileChecked(*this, destination, file, QString(), &part, cont);
        if (result != DE_NO_ERROR)
            return result;
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
