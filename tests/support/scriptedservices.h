#pragma once

#include "abstractdeviceservices.h"
#include "abstractnetworkservices.h"
#include "abstractpackageservices.h"

#include <QList>
#include <QStringList>

// Stand-ins for the three services of the wizard, for tests: each records every call it gets, one
// line a call ("searchContents create"), answers queries from public members, and lets the test end
// the running operation with any form of taskFinished.

class ScriptedDeviceServices final : public AbstractDeviceServices
{
    Q_OBJECT

public:
    QStringList calls;

    DeviceInfo device;
    bool hasDevice = true;
    NavigatorInstallation navigator;
    KorwindContentInfo content;
    bool hasContent = true;
    QString moduleError;
    bool moduleNeeded = false;
    QStringList backupFiles;
    UpdateJobRecord unfinished;
    bool hasUnfinished = false;
    QList<BackupInfo> deviceBackups; // what findDeviceSpecificBackups reports, when not empty

    void finish(const QString &error = QString()) { Q_EMIT taskFinished(error); }
    void finishPreparation(const QString &error, bool critical) { Q_EMIT taskFinished(error, critical); }
    void finishChoice(bool chosen) { Q_EMIT taskFinished(chosen); }

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

public Q_SLOTS:
    void cancelDeviceOperation() override;
    void deviceSelected(int _nIndex) override;
    void contentSelected(int _nIndex) override;
    void backupSelected(int _nIndex) override;
    void deviceSpecificBackupSelected(int _nIndex) override;
    void korwindExecutableSelected(int _nIndex, QByteArray _path) override;
};

class ScriptedNetworkServices final : public AbstractNetworkServices
{
    Q_OBJECT

public:
    QStringList calls;

    void finish(const QString &error = QString()) { Q_EMIT taskFinished(error); }
    void finishCheck(const UpdateCheckError &error = UpdateCheckError{0, QString(), QString()})
    {
        Q_EMIT taskFinished(error);
    }

    void setProxyCredentials(const QString &_strUser, const QString &_strPassword) override;
    void checkSelfUpdate() override;
    void checkNavigatorUpdate(const DeviceInfo &_device, const KorwindExeInfo &_installation,
                              const QString &_strReport) override;
    void checkMapUpdates(const DottedVersion &_navigatorVersion) override;
    void startDownload(const QList<PackageFile> &_files) override;

public Q_SLOTS:
    void cancelNetworkOperation() override;
};

class ScriptedPackageServices final : public AbstractPackageServices
{
    Q_OBJECT

public:
    QStringList calls;

    ProductInfo selfUpdatePackage;
    bool hasSelfUpdate = false;
    QList<ProductInfo> navigatorUpdates; // all offered
    int chosenNavigatorUpdate = -1;      // what the navigator page chose, -1 for none
    QList<MapInfo> mapsToInstall;
    QList<MapInfo> mapsToRemove;
    QList<const MapDisplayInfo *> newMapEntries; // what reportMaps publishes
    QList<const MapDisplayInfo *> existingMapEntries;

    const ProductInfo *selfUpdate() const override;
    void offeredNavigatorUpdates(QList<const ProductInfo *> &_updates) const override;
    void reportNavigatorUpdates() override;
    const ProductInfo *selectedNavigatorUpdate() const override;
    void reportMaps() override;
    void selectionResult(QList<const MapInfo *> &_mapsToInstall, QList<const MapInfo *> &_mapsToRemove) const override;
    void deletionWarningLists(QList<const MapInfo *> &_installed, QList<const MapInfo *> &_removed) const override;

public Q_SLOTS:
    void foundSelfUpdate(ProductInfo _selfUpdate) override;
    void foundKorwindUpdates(QList<ProductInfo> _korwindUpdates) override;
    void foundInstalledKorwind(DottedVersion _version) override;
    void korwindSelected(int _nIndex) override;
    void foundMapUpdates(QList<MapInfo> _mapUpdates) override;
    void foundInstalledMaps(QList<MapInfo> _existingMaps) override;
    void clickedMap(const MapDisplayInfo *_pMap, PACKAGE_STATE _state) override;
    void setMapsSelection(QMap<const MapDisplayInfo *, PACKAGE_STATE> _mapsSelection) override;
};
