#include "deviceservices.h"

#include "backupdescription.h"
#include "backuperror.h"
#include "devicedescription.h"
#include "devicemanager.h"
#include "errortexts.h"
#include "midevicehandler.h"
#include "navigatorinfo.h"
#include "installedmapsfile.h"
#include "partialprogresslistener.h"
#include "updateinstaller.h"
#include "updatejobfile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QThreadPool>
#include <QtConcurrent>

#include <algorithm>

using vktpdl::DE_MODULE_NOT_INSTALLED;
using vktpdl::DE_MODULE_TOO_OLD;
using vktpdl::DE_NAVIGATOR_NOT_FOUND;
using vktpdl::DE_NO_ERROR;
using vktpdl::DE_NOT_SUPPORTED;
using vktpdl::DE_PACKAGE_MAY_BE_INCOMPATIBLE;

namespace {

constexpr int statisticsInterval = 1000;

QString keepDeviceConnectedCaption()
{
    return DeviceServices::tr("(don't unplug device until operation is completed)");
}

// The device by the navigator it carries, else by its own name.
QString deviceTitle(const vktpdl::DeviceDescription &description)
{
    if (!description.thirdText.isEmpty())
        return DeviceServices::tr("Korwind Navigator %1").arg(description.thirdText);
    if (!description.name.isEmpty())
        return description.name;
    return DeviceServices::tr("Unknown device");
}

// The name of the device list: the title and the device's description.
QString deviceDisplayName(const vktpdl::DeviceDescription &description)
{
    const QString title = deviceTitle(description);
    return description.secondName.isEmpty() ? title : title + QStringLiteral(" %1").arg(description.secondName);
}

// What the lists show of each storage; a device that cannot list its roots yet (a module is missing)
// shows none.
QList<StorageInfo> storagesOf(vktpdl::DeviceHandler &device)
{
    QStringList roots;
    QList<StorageInfo> storages;
    if (device.listRoots(roots) != vktpdl::DE_NO_ERROR)
        return storages;
    for (const QString &root : std::as_const(roots)) {
        StorageInfo storage;
        if (device.describeStorage(root, storage) == vktpdl::DE_NO_ERROR)
            storages.append(storage);
    }
    return storages;
}

QList<BackupInfo> backupInfos(const QList<Backup> &backups)
{
    QList<BackupInfo> infos;
    for (const Backup &backup : backups)
        infos.append(backup.info());
    return infos;
}

QList<MapInfo> copied(const QList<const MapInfo *> &maps)
{
    QList<MapInfo> records;
    for (const MapInfo *map : maps) {
        if (map)
            records.append(*map);
    }
    return records;
}

// The content folders right below the device's roots, where the records of jobs are kept.
QStringList contentFoldersOnRoots(vktpdl::DeviceHandler &device)
{
    QStringList roots;
    device.listRoots(roots);
    QStringList folders;
    for (const QString &root : std::as_const(roots)) {
        QStringList names;
        device.listFolders(root, QStringLiteral("KorwindContent"), names);
        for (const QString &name : std::as_const(names))
            folders.append(device.joinPath(root, name));
    }
    return folders;
}

template <typename Result, typename Work>
void runOnPool(QFutureWatcher<Result> &watcher, Work work)
{
    watcher.setFuture(QtConcurrent::run(QThreadPool::globalInstance(), std::move(work)));
}

} // namespace

DeviceServices::DeviceServices(Settings settings, std::unique_ptr<vktpdl::DeviceManager> manager, QObject *parent)
    : AbstractDeviceServices(parent),
      m_settings(std::move(settings)),
      m_manager(manager ? std::move(manager) : std::make_unique<vktpdl::DeviceManager>(m_settings.downloadsFolder))
{
    connect(&m_textWatcher, &QFutureWatcher<QString>::finished, this, &DeviceServices::_onTaskFinished);
    connect(&m_boolWatcher, &QFutureWatcher<bool>::finished, this, &DeviceServices::_onBoolTaskFinished);
    connect(&m_criticalErrorWatcher, &QFutureWatcher<CriticalError>::finished, this,
            &DeviceServices::_onCritErrorTaskFinished);
    connect(&m_statisticsTimer, &QTimer::timeout, this, &DeviceServices::_timerTimeout);
}

DeviceServices::~DeviceServices()
{
    m_continue = false;
    m_textWatcher.waitForFinished();
    m_boolWatcher.waitForFinished();
    m_criticalErrorWatcher.waitForFinished();
}

// --- task model ---

template <typename Work>
void DeviceServices::startTextTask(Work work)
{
    m_continue = true;
    runOnPool(m_textWatcher, std::move(work));
}

void DeviceServices::_onTaskFinished()
{
    m_statisticsTimer.stop();
    m_statistics.stop();
    emit taskFinished(m_textWatcher.result());
}

void DeviceServices::_onBoolTaskFinished()
{
    m_statisticsTimer.stop();
    m_statistics.stop();
    emit taskFinished(m_boolWatcher.result());
}

void DeviceServices::_onCritErrorTaskFinished()
{
    m_statisticsTimer.stop();
    m_statistics.stop();
    const CriticalError error = m_criticalErrorWatcher.result();
    emit taskFinished(error.text, error.critical);
}

void DeviceServices::_timerTimeout()
{
    emit updateOperationExtraInfo(m_statistics.snapshot());
}

void DeviceServices::startTransferStatistics()
{
    if (!m_statisticsTimer.isActive()) {
        m_statisticsTimer.setInterval(statisticsInterval);
        m_statisticsTimer.start();
    }
    m_statistics.start();
}

QString DeviceServices::fail(int deviceError)
{
    return failWith(ErrorTexts::deviceError(deviceError));
}

QString DeviceServices::failWith(const QString &text)
{
    m_lastError = text;
    return text;
}

QString DeviceServices::lastError() const
{
    return m_lastError;
}

TransferStatusInfo DeviceServices::transferStatus() const
{
    return m_statistics.snapshot();
}

vktpdl::DeviceHandler *DeviceServices::currentDevice() const
{
    return m_manager->device(m_selectedDevice);
}

vktpdl::MIDeviceHandler *DeviceServices::currentStorageDevice() const
{
    return m_manager->storageDevice(m_selectedDevice);
}

QString DeviceServices::downloadsFolder() const
{
    const QString folder = m_settings.downloadsFolder ? m_settings.downloadsFolder() : QString();
    if (!folder.isEmpty())
        QDir().mkpath(folder);
    return folder;
}

// --- listener and provider sides ---

void DeviceServices::setProgress(int percent)
{
    emit showProgress(percent);
    m_statistics.recordProgress(percent);
}

void DeviceServices::waitForUserAction()
{
    emit installWaitForUserAction();
}

bool DeviceServices::shouldContinue()
{
    return m_continue;
}

bool DeviceServices::fileExists(const QString &path)
{
    vktpdl::MIDeviceHandler *device = currentStorageDevice();
    return !device || device->isFile(path);
}

qint64 DeviceServices::freeSpace(int contentIndex)
{
    vktpdl::DeviceHandler *device = currentDevice();
    if (!device || !m_scanner || contentIndex < 0 || contentIndex >= m_scanner->count())
        return -1;
    quint64 bytes = 0;
    if (device->freeSpace(m_scanner->path(contentIndex), bytes) != DE_NO_ERROR)
        return -1;
    return qint64(bytes);
}

qint64 DeviceServices::otherFilesSize(int contentIndex)
{
    quint64 size = 0;
    if (!m_scanner || m_scanner->otherFilesSize(contentIndex, size) != DE_NO_ERROR)
        return -1;
    return qint64(size);
}

// --- selections ---

void DeviceServices::cancelDeviceOperation()
{
    m_continue = false;
}

void DeviceServices::deviceSelected(int _nIndex)
{
    m_selectedDevice = _nIndex;
}

void DeviceServices::contentSelected(int _nIndex)
{
    m_selectedContent = _nIndex;
}

void DeviceServices::backupSelected(int _nIndex)
{
    m_selectedBackup = _nIndex;
}

void DeviceServices::deviceSpecificBackupSelected(int _nIndex)
{
    m_selectedDeviceBackup = _nIndex;
}

void DeviceServices::korwindExecutableSelected(int, QByteArray)
{
    // The executable is taken by its path in selectNavigatorExecutable, which also covers a typed path.
}

const DeviceInfo *DeviceServices::selectedDevice() const
{
    if (m_selectedDevice < 0 || m_selectedDevice >= m_devices.size())
        return nullptr;
    return &m_devices.at(m_selectedDevice);
}

const NavigatorInstallation *DeviceServices::navigatorInstallation() const
{
    return &m_navigator;
}

const UpdateJobRecord *DeviceServices::unfinishedUpdate() const
{
    const DeviceInfo *device = selectedDevice();
    return device && device->hasUnfinishedUpdate ? &m_unfinishedUpdates.at(m_selectedDevice) : nullptr;
}

const KorwindContentInfo *DeviceServices::selectedContent() const
{
    if (m_selectedContent < 0 || m_selectedContent >= m_contents.size())
        return nullptr;
    return &m_contents.at(m_selectedContent);
}

// --- devices ---

void DeviceServices::searchDevices()
{
    startTextTask([this] { return searchDevicesTask(); });
}

QString DeviceServices::searchDevicesTask()
{
    m_devices.clear();
    m_unfinishedUpdates.clear();
    m_selectedDevice = -1;
    m_backupId.clear();
    vktcommon::PartialProgressListener searchProgress(this, 0, 90);
    const int searchResult = m_manager->searchDevices(&searchProgress, this);
    if (searchResult != DE_NO_ERROR)
        return failWith(ErrorTexts::deviceSearchError(searchResult));
    const int count = m_manager->deviceCount();
    if (count == 0)
        return failWith(tr("Device wasn\u2019t found.\nPlease check, if it was correctly connected, or if you need "
                           "extra installation software."));

    const int share = 10 / count;
    QList<DeviceInfo> devices;
    QList<UpdateJobRecord> unfinished;
    for (int i = 0; i < count; ++i) {
        vktpdl::DeviceHandler *device = m_manager->device(i);
        if (!device)
            return fail(DE_NOT_SUPPORTED);
        vktcommon::PartialProgressListener deviceProgress(this, 90 + i * share, 90 + (i + 1) * share);
        int result = device->findNavigators(&deviceProgress, this);
        vktpdl::DeviceDescription description;
        if (result == DE_NO_ERROR)
            result = device->getDeviceDescription(description);
        if (result != DE_NO_ERROR)
            return fail(result);
        DeviceInfo info;
        info.name = deviceDisplayName(description);
        info.kind = device->kind();
        info.isConnectedProperly = description.supported == 1;
        info.index = i;
        info.isReadOnly = description.allRootsReadOnly;
        // A storage device's description names its volumes, which the storages describe one by one.
        if (info.kind == vktpdl::DK_STORAGE)
            info.title = deviceTitle(description);
        info.storages = storagesOf(*device);
        UpdateJobRecord record;
        info.hasUnfinishedUpdate = findUnfinishedUpdate(*device, record);
        devices.append(info);
        unfinished.append(record);
    }
    m_devices = devices;
    m_unfinishedUpdates = unfinished;
    emit foundDevices(devices);
    return QString();
}

void DeviceServices::checkModule(QString &_strError, bool &_bIsNeeded)
{
    _bIsNeeded = false;
    _strError.clear();
    vktpdl::DeviceHandler *device = currentDevice();
    if (!device) {
        _strError = fail(DE_NOT_SUPPORTED);
        return;
    }
    const int result = device->checkModule(_bIsNeeded);
    // An outdated module is installed anew like a missing one: the wizard offers no other way to replace it.
    if (result == DE_MODULE_NOT_INSTALLED || result == DE_MODULE_TOO_OLD)
        _bIsNeeded = true;
    else if (result != DE_NO_ERROR)
        _strError = fail(result);
}

void DeviceServices::installModule()
{
    startTextTask([this] { return installModuleTask(); });
}

QString DeviceServices::installModuleTask()
{
    vktpdl::DeviceHandler *device = currentDevice();
    if (!device)
        return fail(DE_NOT_SUPPORTED);
    const int result = device->installModule(this, this);
    return result == DE_NO_ERROR ? QString() : fail(result);
}

// --- navigator ---

void DeviceServices::replaceScanner(vktpdl::DeviceHandler *device)
{
    m_scanner = std::make_unique<vktcommon::ContentFolderScanner>(
        device, [device](QStringList &roots) { return device->listRoots(roots); }, device->pathFlags());
}

void DeviceServices::storeNavigator(const vktpdl::NavigatorRecord &record)
{
    m_navigator = NavigatorInstallation();
    m_navigator.executablePath = record.executablePath;
    m_navigator.installFolder = currentDevice()->parentPath(record.executablePath);
    m_navigator.version = record.version;
    m_navigator.checksum = record.identifier;
    m_navigator.isReadOnly = record.isReadOnly;
}

void DeviceServices::searchNavigatorInstallations()
{
    startTextTask([this] { return searchNavigatorInstallationsTask(); });
}

QString DeviceServices::searchNavigatorInstallationsTask()
{
    vktpdl::MIDeviceHandler *device = currentStorageDevice();
    // The device list may be out of step with the manager after a failed search.
    if (!device || !selectedDevice())
        return fail(DE_NOT_SUPPORTED);
    m_foundNavigators.clear();
    QList<vktpdl::NavigatorRecord> navigators;
    int result = device->listNavigators(navigators, this, this);
    if (result != DE_NO_ERROR)
        return fail(result);
    m_foundNavigators = navigators;
    replaceScanner(device);

    const QByteArray deviceName = selectedDevice()->name.toUtf8();
    QList<KorwindExeInfo> executables;
    for (const vktpdl::NavigatorRecord &navigator : navigators) {
        KorwindExeInfo info;
        info.path = navigator.executablePath;
        info.version = navigator.version;
        info.deviceName = deviceName;
        info.checksum = navigator.identifier;
        info.identifier = device->toPortablePath(navigator.executablePath);
        info.isReadOnly = navigator.isReadOnly;
        executables.append(info);
    }
    QStringList roots;
    result = device->listRoots(roots);
    if (result != DE_NO_ERROR)
        return fail(result);
    emit foundPossibleKorwindInstallations(executables, roots, device->kind() == vktpdl::DK_STORAGE, this);
    return QString();
}

void DeviceServices::selectNavigatorExecutable(const QString &_strPath)
{
    startTextTask([this, _strPath] { return selectNavigatorExecutableTask(_strPath); });
}

QString DeviceServices::selectNavigatorExecutableTask(const QString &path)
{
    vktpdl::MIDeviceHandler *device = currentStorageDevice();
    if (!device)
        return fail(DE_NOT_SUPPORTED);
    const auto found = std::find_if(m_foundNavigators.cbegin(), m_foundNavigators.cend(),
                                    [&](const vktpdl::NavigatorRecord &record) { return record.executablePath == path; });
    vktpdl::NavigatorRecord record;
    if (found != m_foundNavigators.cend()) {
        record = *found;
    } else {
        const int result = device->inspectExecutable(path, record, this, this);
        if (result != DE_NO_ERROR)
            return fail(result);
    }
    device->selectNavigator(record);
    storeNavigator(record);
    return QString();
}

void DeviceServices::findNavigator()
{
    startTextTask([this] { return findNavigatorTask(); });
}

QString DeviceServices::findNavigatorTask()
{
    m_navigator = NavigatorInstallation();
    vktpdl::DeviceHandler *device = currentDevice();
    if (!device)
        return fail(DE_NOT_SUPPORTED);
    vktpdl::NavigatorInfo info;
    const int result = device->getNavigatorInfo(info, this, this);
    if (result != DE_NO_ERROR)
        return fail(result);
    m_navigator.version = info.version;
    m_navigator.executablePath = info.folder;
    // A phone reports neither a checksum nor a folder the program could write to.
    if (device->kind() != vktpdl::DK_SYMBIAN) {
        m_navigator.checksum = info.identifier;
        m_navigator.installFolder = info.folder;
        m_navigator.isReadOnly = device->isReadOnly(info.folder);
    }
    return QString();
}

// --- content folders ---

void DeviceServices::searchContents(bool _bCreate)
{
    startTextTask([this, _bCreate] { return searchContentsTask(_bCreate); });
}

QString DeviceServices::searchContentsTask(bool create)
{
    m_selectedContent = -1;
    m_contents.clear();
    vktpdl::DeviceHandler *device = currentDevice();
    if (!device)
        return fail(DE_NOT_SUPPORTED);
    replaceScanner(device);
    if (create)
        m_scanner->createStructure();

    vktcommon::PartialProgressListener searchProgress(this, 0, 50);
    int result = m_scanner->search(&searchProgress, this);
    if (result != DE_NO_ERROR)
        return fail(result);

    const int count = m_scanner->count();
    const int share = count > 0 ? 50 / count : 0;
    QList<KorwindContentInfo> contents;
    for (int i = 0; i < count; ++i) {
        const int start = 50 + i * share;
        const int middle = start + share / 2;
        vktcommon::PartialProgressListener mapsProgress(this, start, middle);
        vktcommon::MapInventory inventory;
        result = m_scanner->listMaps(i, m_settings.languageName, &mapsProgress, this, inventory);
        vktcommon::ContentFolderIdentity identity;
        if (result == DE_NO_ERROR)
            result = m_scanner->readInfo(i, identity);
        vktcommon::PartialProgressListener sizesProgress(this, middle, start + share);
        if (result == DE_NO_ERROR)
            result = m_scanner->cacheOtherFileSizes(i, &sizesProgress, this);
        if (result != DE_NO_ERROR)
            return fail(result);

        KorwindContentInfo content;
        content.path = m_scanner->path(i);
        content.name = m_scanner->storageRootOf(i);
        content.freeSpaceChecker = FreeSpaceChecker(this, i);
        content.uid = identity.uid;
        content.maps = inventory.maps;
        content.contentText = inventory.mapsPath;
        content.isReadOnly = m_scanner->isReadOnly(i);
        device->describeStorage(content.name, content.storage);
        contents.append(content);
    }
    m_contents = contents;
    emit foundKorwindContents(contents);
    return QString();
}

void DeviceServices::researchContents()
{
    startTextTask([this] { return researchContentsTask(); });
}

QString DeviceServices::researchContentsTask()
{
    const KorwindContentInfo *previous = selectedContent();
    const bool hadSelection = previous != nullptr;
    const QString previousUid = hadSelection ? previous->uid : QString();
    const QString previousPath = hadSelection ? previous->path : QString();
    const QString result = searchContentsTask(false);
    if (!result.isEmpty())
        return result;
    // Found again by identity and place: after a folder vanished the others move up in the list, and a
    // copied content folder carries the same identity as the one the user chose.
    for (int i = 0; hadSelection && i < m_contents.size(); ++i) {
        if (m_contents.at(i).uid == previousUid && m_contents.at(i).path == previousPath) {
            m_selectedContent = i;
            return QString();
        }
    }
    return failWith(tr("Korwind Navigator content folder was not found on your device."));
}

void DeviceServices::reconnectDevice(const QString &_strContentUid)
{
    startTextTask([this, _strContentUid] { return reconnectDeviceTask(_strContentUid); });
}

QString DeviceServices::reconnectDeviceTask(const QString &uid)
{
    const QString searchResult = searchDevicesTask();
    if (!searchResult.isEmpty())
        return searchResult;
    const int count = m_devices.size();
    for (int i = 0; i < count; ++i) {
        m_selectedDevice = i;
        const bool isStorage = m_devices.at(i).kind == vktpdl::DK_STORAGE;
        const QString contentResult = searchContentsTask(false);
        if (!contentResult.isEmpty()) {
            if (count == 1 && isStorage)
                return contentResult;
            continue;
        }
        for (int j = 0; j < m_contents.size(); ++j) {
            if (m_contents.at(j).uid != uid)
                continue;
            if (!isStorage)
                return failWith(tr("Your device is still connected in the wrong way."));
            m_selectedContent = j;
            return QString();
        }
    }
    m_selectedDevice = -1;
    m_contents.clear();
    return failWith(tr("Cannot find the device."));
}

void DeviceServices::tryAutoSelectContentForMaps()
{
    m_continue = true;
    runOnPool(m_boolWatcher, [this] { return tryAutoSelectContentForMapsTask(); });
}

bool DeviceServices::tryAutoSelectContentForMapsTask()
{
    QList<int> writable;
    for (int i = 0; i < m_contents.size(); ++i) {
        if (!m_contents.at(i).isReadOnly)
            writable.append(i);
    }
    if (writable.size() == 1) {
        m_selectedContent = writable.first();
        return true;
    }
    vktpdl::DeviceHandler *device = currentDevice();
    const QString preferredRoot = device ? device->navigatorDataPath() : QString();
    if (preferredRoot.isEmpty())
        return false;
    for (const int i : writable) {
        if (m_contents.at(i).name == preferredRoot) {
            m_selectedContent = i;
            return true;
        }
    }
    return false;
}

// --- backups ---

QString DeviceServices::backupsFolder() const
{
    return m_settings.backupsFolder ? m_settings.backupsFolder() : QString();
}

void DeviceServices::findBackups()
{
    m_selectedBackup = -1;
    m_backups = Backup::list(backupsFolder());
    emit foundBackups(backupInfos(m_backups));
}

void DeviceServices::createBackup(BACKUP_TYPE _type)
{
    startTextTask([this, _type] { return createBackupTask(_type); });
}

QString DeviceServices::createBackupTask(BACKUP_TYPE type)
{
    vktpdl::MIDeviceHandler *device = currentStorageDevice();
    const KorwindContentInfo *content = selectedContent();
    // A navigator is also updated on a device without a content folder: then its program is backed up alone.
    if (!device || (!content && type == BT_MAPS_ONLY))
        return fail(DE_NOT_SUPPORTED);
    const QString mapsFolder = content ? content->contentText : QString();
    const QList<MapInfo> maps = content ? content->maps : QList<MapInfo>();
    emit setCurrentOperationInfo(keepDeviceConnectedCaption());
    Backup backup(backupsFolder());
    const int result = backup.create(BackupDescription::folders(type, m_navigator.installFolder, mapsFolder),
                                     BackupDescription::text(type, m_navigator.version, maps), *device, this, this);
    if (result != BE_NO_ERROR)
        return failWith(ErrorTexts::backupError(result));
    m_backupId = backup.info().id;
    return QString();
}

void DeviceServices::deleteBackup()
{
    startTextTask([this] { return deleteBackupTask(); });
}

QString DeviceServices::deleteBackupTask()
{
    if (m_selectedBackup < 0 || m_selectedBackup >= m_backups.size())
        return fail(DE_NOT_SUPPORTED);
    const int result = m_backups[m_selectedBackup].remove(this);
    return result == BE_NO_ERROR ? QString() : failWith(ErrorTexts::backupError(result));
}

void DeviceServices::findDeviceSpecificBackups()
{
    m_selectedDeviceBackup = -1;
    m_deviceBackups.clear();
    if (vktpdl::MIDeviceHandler *device = currentStorageDevice()) {
        for (Backup &backup : Backup::list(backupsFolder())) {
            if (backup.bind(*device))
                m_deviceBackups.append(backup);
        }
    }
    emit foundDeviceSpecificBackups(backupInfos(m_deviceBackups));
}

void DeviceServices::restoreBackup()
{
    startTextTask([this] { return restoreBackupTask(); });
}

QString DeviceServices::restoreBackupTask()
{
    vktpdl::MIDeviceHandler *device = currentStorageDevice();
    if (!device || m_selectedDeviceBackup < 0 || m_selectedDeviceBackup >= m_deviceBackups.size())
        return fail(DE_NOT_SUPPORTED);
    emit setCurrentOperationInfo(keepDeviceConnectedCaption());
    const int result = m_deviceBackups[m_selectedDeviceBackup].restore(*device, this, this);
    if (result != BE_NO_ERROR)
        return failWith(ErrorTexts::backupError(result));
    forgetJobs(*device);
    return QString();
}

void DeviceServices::forgetJobs(vktpdl::DeviceHandler &device)
{
    for (const QString &folder : contentFoldersOnRoots(device)) {
        UpdateJobFile::remove(device, folder);
        InstalledMapsFile::remove(device, folder);
    }
    if (m_selectedDevice >= 0 && m_selectedDevice < m_devices.size())
        m_devices[m_selectedDevice].hasUnfinishedUpdate = false;
}

void DeviceServices::backupFileList(QStringList &_files) const
{
    _files.clear();
    if (m_selectedDeviceBackup < 0 || m_selectedDeviceBackup >= m_deviceBackups.size())
        return;
    for (const BackupFolderEntry &folder : m_deviceBackups.at(m_selectedDeviceBackup).folders())
        _files.append(folder.devicePath);
}

// --- installation ---

void DeviceServices::deleteMapFile(const MapInfo &_map, QString &_strError)
{
    _strError.clear();
    vktpdl::DeviceHandler *device = currentDevice();
    if (!device) {
        _strError = fail(DE_NOT_SUPPORTED);
        return;
    }
    const int result = device->deleteFile(_map.file.fileName);
    if (result != DE_NO_ERROR)
        _strError = fail(result);
}

void DeviceServices::checkPackage(const ProductInfo &_package)
{
    m_continue = true;
    const ProductInfo package = _package;
    runOnPool(m_criticalErrorWatcher, [this, package] { return checkPackageTask(package); });
}

CriticalError DeviceServices::checkPackageTask(const ProductInfo &package)
{
    vktpdl::DeviceHandler *device = currentDevice();
    if (!device)
        return {fail(DE_NOT_SUPPORTED), true};
    const int result = UpdateInstaller(*device, downloadsFolder(), this, this).checkPackage(package);
    if (result == DE_NO_ERROR)
        return {};
    // A package that may not fit the device is a warning: the user may go on after a backup.
    return {fail(result), result != DE_PACKAGE_MAY_BE_INCOMPATIBLE};
}

void DeviceServices::installPackage(const ProductInfo &_package)
{
    const ProductInfo package = _package;
    startTextTask([this, package] { return installPackageTask(package); });
}

QString DeviceServices::installPackageTask(const ProductInfo &package)
{
    emit setCurrentOperationInfo(keepDeviceConnectedCaption());
    vktpdl::DeviceHandler *device = currentDevice();
    if (!device)
        return fail(DE_NOT_SUPPORTED);
    // A storage device keeps the record of the job; the other kinds install through their own software.
    UpdateJobRecord job;
    QString jobFolder;
    if (vktpdl::MIDeviceHandler *storage = currentStorageDevice()) {
        jobFolder = navigatorJobFolder(*storage);
        job.kind = UpdateJobRecord::NavigatorJob;
        job.started = QDateTime::currentDateTimeUtc();
        job.backupId = m_backupId;
        job.navigatorPackage = package;
        job.navigatorPath = storage->toPortablePath(m_navigator.executablePath);
        const auto content = std::find_if(m_contents.cbegin(), m_contents.cend(),
                                          [&](const KorwindContentInfo &info) { return info.path == jobFolder; });
        job.contentUid = content != m_contents.cend() ? content->uid : QString();
    }
    const int result = UpdateInstaller(*device, downloadsFolder(), this, this).installPackage(package, jobFolder, job);
    if (result != DE_NO_ERROR)
        return fail(result);
    m_navigator.version = DottedVersion::fromString(package.version);
    m_navigator.checksum.clear();
    return QString();
}

QString DeviceServices::navigatorJobFolder(vktpdl::MIDeviceHandler &device)
{
    QStringList roots;
    device.listRoots(roots);
    QString navigatorRoot;
    for (const QString &root : std::as_const(roots)) {
        const QString base = root.endsWith(device.separator()) ? root : root + device.separator();
        if (m_navigator.executablePath.startsWith(base) && root.size() > navigatorRoot.size())
            navigatorRoot = root;
    }
    for (const KorwindContentInfo &content : std::as_const(m_contents)) {
        if (content.name == navigatorRoot && !content.isReadOnly)
            return content.path;
    }
    // The content search makes a content folder on every root it can write; without one the record
    // gets its own, where the next search looks for it.
    const QString folder = device.joinPath(navigatorRoot, QStringLiteral("KorwindContent"));
    return !navigatorRoot.isEmpty() && device.createDirectory(folder) == DE_NO_ERROR ? folder : QString();
}

void DeviceServices::deleteOtherMapFiles()
{
    startTextTask([this] { return deleteOtherMapFilesTask(); });
}

QString DeviceServices::deleteOtherMapFilesTask()
{
    vktpdl::DeviceHandler *device = currentDevice();
    const KorwindContentInfo *content = selectedContent();
    if (!device || !content || !m_scanner)
        return fail(DE_NOT_SUPPORTED);
    int result = m_scanner->deleteOtherFiles(m_selectedContent, this, this);
    if (result == DE_NO_ERROR)
        result = device->flushFolder(content->contentText);
    if (result == DE_NO_ERROR)
        result = finishRecordedMapJob(*device);
    return result == DE_NO_ERROR ? QString() : fail(result);
}

int DeviceServices::finishRecordedMapJob(vktpdl::DeviceHandler &device)
{
    const KorwindContentInfo *content = selectedContent();
    UpdateJobRecord job;
    bool found = false;
    const int result = UpdateJobFile::read(device, content->path, job, found);
    if (result != DE_NO_ERROR)
        return result;
    if (!found || job.kind != UpdateJobRecord::MapJob)
        return device.syncVolume(content->path);
    return UpdateInstaller(device, downloadsFolder(), this, this).finishMapJob(job, content->path, content->contentText);
}

void DeviceServices::installMaps(const QList<const MapInfo *> &_mapsToInstall,
                                 const QList<const MapInfo *> &_mapsToRemove, bool _bDeleteOldMapData)
{
    // The worker gets its own copies: the records belong to the package services.
    const QList<MapInfo> mapsToInstall = copied(_mapsToInstall);
    const QList<MapInfo> mapsToRemove = copied(_mapsToRemove);
    startTransferStatistics();
    startTextTask([this, mapsToInstall, mapsToRemove, _bDeleteOldMapData] {
        return installMapsTask(mapsToInstall, mapsToRemove, _bDeleteOldMapData);
    });
}

QString DeviceServices::installMapsTask(const QList<MapInfo> &mapsToInstall, const QList<MapInfo> &mapsToRemove,
                                        bool deleteOldMapData)
{
    emit setCurrentOperationInfo(keepDeviceConnectedCaption());
    vktpdl::DeviceHandler *device = currentDevice();
    const KorwindContentInfo *content = selectedContent();
    if (!device || !content || !m_scanner)
        return fail(DE_NOT_SUPPORTED);
    UpdateJobRecord job;
    bool found = false;
    int result = UpdateJobFile::read(*device, content->path, job, found);
    if (result != DE_NO_ERROR)
        return fail(result);
    if (found) {
        // One job at a time in a folder: the unfinished one is finished before anything else is begun.
        const bool sameJob = job.kind == UpdateJobRecord::MapJob
                             && std::all_of(mapsToInstall.cbegin(), mapsToInstall.cend(), [&](const MapInfo &map) {
                                    return std::any_of(job.mapsToInstall.cbegin(), job.mapsToInstall.cend(),
                                                       [&](const MapInfo &recorded) {
                                                           return recorded.file.fileName == map.file.fileName;
                                                       });
                                });
        if (!sameJob)
            return failWith(tr("The last update of this device did not finish: finish it, or restore the backup, "
                               "before you begin another one."));
    } else {
        job.kind = UpdateJobRecord::MapJob;
        job.started = QDateTime::currentDateTimeUtc();
        job.backupId = m_backupId;
        job.contentUid = content->uid;
        job.mapsToInstall = mapsToInstall;
        for (MapInfo map : mapsToRemove) {
            map.file.fileName = device->fileName(map.file.fileName);
            job.mapsToDelete.append(map);
        }
        job.deleteOldMapData = deleteOldMapData;
    }
    const int index = m_selectedContent;
    const auto oldMapDataDeleter = [this, index] { return m_scanner->deleteOtherFiles(index, nullptr, this); };
    UpdateInstaller installer(*device, downloadsFolder(), this, this);
    result = installer.installMaps(job, content->path, content->contentText, oldMapDataDeleter, m_statistics);
    // With old map data to delete, deleteOtherMapFiles ends the job.
    if (result == DE_NO_ERROR && !job.deleteOldMapData)
        result = installer.finishMapJob(job, content->path, content->contentText);
    return result == DE_NO_ERROR ? QString() : fail(result);
}

bool DeviceServices::findUnfinishedUpdate(vktpdl::DeviceHandler &device, UpdateJobRecord &record)
{
    // The other kinds install through their own software, and their maps through a storage connection.
    if (device.kind() != vktpdl::DK_STORAGE)
        return false;
    for (const QString &folder : contentFoldersOnRoots(device)) {
        bool found = false;
        if (UpdateJobFile::read(device, folder, record, found) == DE_NO_ERROR && found)
            return true;
    }
    return false;
}

void DeviceServices::resumeUnfinishedUpdate()
{
    startTextTask([this] { return resumeUnfinishedUpdateTask(); });
}

QString DeviceServices::resumeUnfinishedUpdateTask()
{
    const UpdateJobRecord *record = unfinishedUpdate();
    vktpdl::MIDeviceHandler *device = currentStorageDevice();
    if (!record || !device)
        return fail(DE_NOT_SUPPORTED);
    const UpdateJobRecord job = *record;
    if (job.kind == UpdateJobRecord::NavigatorJob) {
        const QString path = device->fromPortablePath(job.navigatorPath);
        if (path.isEmpty())
            return fail(DE_NAVIGATOR_NOT_FOUND);
        const QString result = selectNavigatorExecutableTask(path);
        if (!result.isEmpty())
            return result;
    }
    QString result = searchContentsTask(job.kind == UpdateJobRecord::NavigatorJob);
    if (!result.isEmpty())
        return result;
    for (int i = 0; i < m_contents.size(); ++i) {
        if (m_contents.at(i).uid == job.contentUid) {
            m_selectedContent = i;
            return QString();
        }
    }
    // A navigator job on a device whose content folder was made for its record alone.
    if (job.kind == UpdateJobRecord::NavigatorJob)
        return QString();
    return failWith(tr("Korwind Navigator content folder was not found on your device."));
}

