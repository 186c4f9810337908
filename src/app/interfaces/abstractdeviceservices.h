#pragma once

#include "backupinfo.h"
#include "deviceinfo.h"
#include "enums.h"
#include "fileexistingchecker.h"
#include "korwindcontentinfo.h"
#include "korwindexeinfo.h"
#include "mapinfo.h"
#include "navigatorinstallation.h"
#include "productinfo.h"
#include "transferstatusinfo.h"
#include "updatejobrecord.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

// Everything the wizard does with the connected device. Long operations return at once and end
// with exactly one taskFinished signal; an empty error text means success.
class AbstractDeviceServices : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual void searchDevices() = 0;
    virtual void checkModule(QString &_strError, bool &_bIsNeeded) = 0;
    virtual void installModule() = 0;
    virtual void searchNavigatorInstallations() = 0;
    virtual void selectNavigatorExecutable(const QString &_strPath) = 0;
    virtual void findNavigator() = 0;
    virtual void searchContents(bool _bCreate) = 0;
    virtual const DeviceInfo *selectedDevice() const = 0;
    virtual const NavigatorInstallation *navigatorInstallation() const = 0;
    virtual void researchContents() = 0;
    virtual const KorwindContentInfo *selectedContent() const = 0;
    virtual void reconnectDevice(const QString &_strContentUid) = 0;
    virtual void findBackups() = 0;
    virtual void createBackup(BACKUP_TYPE _type) = 0;
    virtual void deleteBackup() = 0;
    virtual void findDeviceSpecificBackups() = 0;
    virtual void restoreBackup() = 0;
    virtual void backupFileList(QStringList &_files) const = 0;
    virtual void deleteMapFile(const MapInfo &_map, QString &_strError) = 0;
    virtual void checkPackage(const ProductInfo &_package) = 0;
    virtual void installPackage(const ProductInfo &_package) = 0;
    virtual void deleteOtherMapFiles() = 0;
    // With _bDeleteOldMapData the job stays open for deleteOtherMapFiles, which then ends it.
    virtual void installMaps(const QList<const MapInfo *> &_mapsToInstall,
                             const QList<const MapInfo *> &_mapsToRemove, bool _bDeleteOldMapData) = 0;
    virtual void tryAutoSelectContentForMaps() = 0;
    // The update of the selected device that did not finish (found by the device search), or null.
    virtual const UpdateJobRecord *unfinishedUpdate() const = 0;
    // Selects the navigator and the content folder of the unfinished update, so that its job can run again.
    virtual void resumeUnfinishedUpdate() = 0;

public Q_SLOTS:
    virtual void cancelDeviceOperation() = 0;
    virtual void deviceSelected(int _nIndex) = 0;
    virtual void contentSelected(int _nIndex) = 0;
    virtual void backupSelected(int _nIndex) = 0;
    virtual void deviceSpecificBackupSelected(int _nIndex) = 0;
    virtual void korwindExecutableSelected(int _nIndex, QByteArray _path) = 0;

Q_SIGNALS:
    void showProgress(int _nPercent);
    void foundDevices(QList<DeviceInfo> _deviceIds);
    void foundPossibleKorwindInstallations(QList<KorwindExeInfo> _exeInfoes, QList<QString> _deviceRoots,
                                           bool _bFileSystemIsAccessible, FileExistingChecker *_pFileChecker);
    void foundKorwindContents(QList<KorwindContentInfo> _contentInfoes);
    void installWaitForUserAction();
    void foundBackups(QList<BackupInfo> _backupInfoes);
    void foundDeviceSpecificBackups(QList<BackupInfo> _backupInfoes);
    void setCurrentOperationInfo(QString _strText);
    void taskFinished(QString _strError, bool _bErrorIsCritical);
    void taskFinished(QString _strText);
    void taskFinished(bool _bChosen);
    void updateOperationExtraInfo(TransferStatusInfo _info);
};
