#pragma once

#include "abstractdeviceservices.h"
#include "backup.h"
#include "contentfolderscanner.h"
#include "criticalerror.h"
#include "devicemanager.h"
#include "freespacechecker.h"
#include "listeners.h"
#include "navigatorrecord.h"
#include "transferstatistics.h"

#include <QFutureWatcher>
#include <QList>
#include <QString>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>

namespace vktpdl {
class DeviceHandler;
class MIDeviceHandler;
} // namespace vktpdl

// The program's view of the connected hardware (devices, navigator, content folders, backups) and
// every device operation of the wizard, each long one run as a task on the global thread pool that
// ends with one taskFinished signal.
class DeviceServices : public AbstractDeviceServices,
                       public vktcommon::InstallationProgressListener,
                       public vktcommon::ContinueListener,
                       public FileExistingChecker,
                       public FreeSpaceDataProvider
{
    Q_OBJECT

public:
    // What the services take from the user's settings; the folders are asked each time they are used,
    // so a change on the settings page applies to the next operation.
    struct Settings
    {
        std::function<QString()> downloadsFolder;
        std::function<QString()> backupsFolder;
        QString languageName; // the interface language's locale name, e.g. "ru_RU"
    };

    // Without a manager the standard one, with the searchers of every transport, is used.
    explicit DeviceServices(Settings settings, std::unique_ptr<vktpdl::DeviceManager> manager = nullptr,
                            QObject *parent = nullptr);
    // Waits for a running task, which is asked to stop first.
    ~DeviceServices() override;

    void searchDevices() override;
    void checkModule(QString &_strError, bool &_bIsNeeded) override;
    void installModule() override;
    void searchNavigatorInstallations() override;
    void selectNavigatorExecutable(const QString &_strPath) override;
    void findNavigator() override;
    void searchContents(bool _bCreate) override;
    const DeviceInfo *selectedDevice() const override;
    const NavigatorInstallation *navigatorInstallation() const override;
    void researchContents() override;
    const KorwindContentInfo *selectedContent() const override;
    void reconnectDevice(const QString &_strContentUid) override;
    void findBackups() override;
    void createBackup(BACKUP_TYPE _type) override;
    void deleteBackup() override;
    void findDeviceSpecificBackups() override;
    void restoreBackup() override;
    void backupFileList(QStringList &_files) const override;
    void deleteMapFile(const MapInfo &_map, QString &_strError) override;
    void checkPackage(const ProductInfo &_package) override;
    void installPackage(const ProductInfo &_package) override;
    void deleteOtherMapFiles() override;
    void installMaps(const QList<const MapInfo *> &_mapsToInstall,
                     const QList<const MapInfo *> &_mapsToRemove, bool _bDeleteOldMapData) override;
    void tryAutoSelectContentForMaps() override;
    const UpdateJobRecord *unfinishedUpdate() const override;
    void resumeUnfinishedUpdate() override;

    // The message of the last failure.
    QString lastError() const;
    // The figures of the current (or last) map copy.
    TransferStatusInfo transferStatus() const;

    void setProgress(int percent) override;
    void waitForUserAction() override;
    bool shouldContinue() override;
    bool fileExists(const QString &path) override;
    qint64 freeSpace(int contentIndex) override;
    qint64 otherFilesSize(int contentIndex) override;

public Q_SLOTS:
    void cancelDeviceOperation() override;
    void deviceSelected(int _nIndex) override;
    void contentSelected(int _nIndex) override;
    void backupSelected(int _nIndex) override;
    void deviceSpecificBackupSelected(int _nIndex) override;
    void korwindExecutableSelected(int _nIndex, QByteArray _path) override;

private Q_SLOTS:
    void _onTaskFinished();
    void _onBoolTaskFinished();
    void _onCritErrorTaskFinished();
    void _timerTimeout();

private:
    template <typename Work>
    void startTextTask(Work work);
    QString fail(int deviceError);
    QString failWith(const QString &text);

    vktpdl::DeviceHandler *currentDevice() const;
    vktpdl::MIDeviceHandler *currentStorageDevice() const;
    QString downloadsFolder() const;
    QString backupsFolder() const;
    void startTransferStatistics();

    QString searchDevicesTask();
    QString installModuleTask();
    QString searchNavigatorInstallationsTask();
    QString selectNavigatorExecutableTask(const QString &path);
    QString findNavigatorTask();
    QString searchContentsTask(bool create);
    QString researchContentsTask();
    QString reconnectDeviceTask(const QString &uid);
    QString createBackupTask(BACKUP_TYPE type);
    QString deleteBackupTask();
    QString restoreBackupTask();
    CriticalError checkPackageTask(const ProductInfo &package);
    QString installPackageTask(const ProductInfo &package);
    QString deleteOtherMapFilesTask();
    QString installMapsTask(const QList<MapInfo> &mapsToInstall, const QList<MapInfo> &mapsToRemove,
                            bool deleteOldMapData);
    bool tryAutoSelectContentForMapsTask();
    QString resumeUnfinishedUpdateTask();

    // The record of an unfinished update on one of the device's roots, if any.
    bool findUnfinishedUpdate(vktpdl::DeviceHandler &device, UpdateJobRecord &record);
    // The content folder that keeps the record of a navigator job: the one on the navigator's own root.
    QString navigatorJobFolder(vktpdl::MIDeviceHandler &device);
    // Ends the map job recorded in the selected content folder, if there is one.
    int finishRecordedMapJob(vktpdl::DeviceHandler &device);
    // After a restoration the device holds what the backup held: no job is left to finish, and what
    // was installed is no longer known.
    void forgetJobs(vktpdl::DeviceHandler &device);

    void replaceScanner(vktpdl::DeviceHandler *device);
    void storeNavigator(const vktpdl::NavigatorRecord &record);

    Settings m_settings;
    std::atomic<bool> m_continue{true};
    QString m_lastError;

    std::unique_ptr<vktpdl::DeviceManager> m_manager;
    QList<DeviceInfo> m_devices;
    QList<UpdateJobRecord> m_unfinishedUpdates; // per device; meaningful where hasUnfinishedUpdate
    int m_selectedDevice = -1;
    QString m_backupId; // the backup made since the device search, named in the records of later jobs

    QList<vktpdl::NavigatorRecord> m_foundNavigators;
    NavigatorInstallation m_navigator;

    std::unique_ptr<vktcommon::ContentFolderScanner> m_scanner;
    QList<KorwindContentInfo> m_contents;
    int m_selectedContent = -1;

    QList<Backup> m_backups;
    int m_selectedBackup = -1;
    QList<Backup> m_deviceBackups;
    int m_selectedDeviceBackup = -1;

    QFutureWatcher<QString> m_textWatcher;
    QFutureWatcher<bool> m_boolWatcher;
    QFutureWatcher<CriticalError> m_criticalErrorWatcher;

    TransferStatistics m_statistics;
    QTimer m_statisticsTimer;
};
