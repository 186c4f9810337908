// The update job of the wizard (download, backup, preparation, installation, old-map deletion), the
// finishing of a job that an interruption cut short, the reconnection of a device as USB storage and
// the stage pages the job shows.

#include "mainwindow.h"

#include "abstractdeviceservices.h"
#include "abstractnetworkservices.h"
#include "appsettings.h"
#include "downloadedfilepath.h"
#include "deviceworkflowlogic.h"
#include "mapupdaterules.h"
#include "onlyreceiver.h"
#include "ui_basewindow.h"

#include <QFile>
#include <QMessageBox>

void MainWindow::_startKorwindUpdating(const ProductInfo *_pPackage, bool _bBackup)
{
    m_mode = JobMode::Navigator;
    m_navigatorPackage = _pPackage;
    m_needsBackup = _bBackup && isStorageDevice();
    m_deleteOldMaps = false;
    ui->updatesStagesPage->prepareKorwindUpdate(m_needsBackup, m_logic->preparesInstallation());
    _startDownloading();
}

void MainWindow::_startMapUpdating(QList<const MapInfo *> _mapsToInstall, QList<const MapInfo *> _mapsToDelete,
                                   bool _bBackup)
{
    m_mode = JobMode::Maps;
    m_mapsToInstall = _mapsToInstall;
    m_mapsToDelete = _mapsToDelete;
    m_needsBackup = _bBackup;
    const KorwindContentInfo *content = deviceServices->selectedContent();
    m_deleteOldMaps = content && MapUpdateRules::deletesOldMaps(content->freeSpaceChecker);
    ui->updatesStagesPage->prepareMapUpdate(m_needsBackup, m_deleteOldMaps);
    _startDownloading();
}

void MainWindow::_startDownloading()
{
    recordState([this] { _startDownloading(); }, PageState::Unstable);
    connectAsOnlyReceiver(networkServices, qOverload<QString>(&AbstractNetworkServices::taskFinished), this, &MainWindow::_onDownloadingFinished);
    const QList<PackageFile> files = m_mode == JobMode::Navigator ? QList<PackageFile>{m_navigatorPackage->file}
                                                                  : MapUpdateRules::downloads(m_mapsToInstall);
    if (files.isEmpty()) {
        _startBackuping();
        return;
    }
    _showFileInfoDownloadPage();
    networkServices->startDownload(files);
}

void MainWindow::_onDownloadingFinished(QString _strError)
{
    if (_strError.isEmpty())
        _startBackuping();
    else
        Q_EMIT updatingFinished(_strError);
}

void MainWindow::_startBackuping()
{
    if (!m_needsBackup) {
        _onBackupingFinished(QString());
        return;
    }
    recordState([this] { _startBackuping(); }, PageState::Unstable);
    _showCreateBackupPage();
    connectAsOnlyReceiver(deviceServices, qOverload<QString>(&AbstractDeviceServices::taskFinished), this, &MainWindow::_onBackupingFinished);
    const bool mapsOnly = m_mode == JobMode::Maps && !m_logic->backsUpProgramWithMaps();
    deviceServices->createBackup(mapsOnly ? BT_MAPS_ONLY : BT_PROGRAM_AND_MAPS);
}

void MainWindow::_onBackupingFinished(QString _strError)
{
    if (!_strError.isEmpty())
        Q_EMIT updatingFinished(_strError);
    else if (m_mode == JobMode::Maps)
        _startInstallation();
    else
        _startPreparingForInstallation();
}

void MainWindow::_startPreparingForInstallation()
{
    if (!m_logic->preparesInstallation()) {
        _onPreparingFinished(QString(), false);
        return;
    }
    recordState([this] { _startPreparingForInstallation(); }, PageState::Unstable);
    _showPrepareForInstallPage();
    connectAsOnlyReceiver(deviceServices, qOverload<QString, bool>(&AbstractDeviceServices::taskFinished), this, &MainWindow::_onPreparingFinished);
    deviceServices->checkPackage(*m_navigatorPackage);
}

void MainWindow::_onPreparingFinished(QString _strError, bool _bIsCritical)
{
    if (_strError.isEmpty() || (!_bIsCritical && m_needsBackup)) {
        _startInstallation();
        return;
    }
    if (_bIsCritical) {
        Q_EMIT updatingFinished(_strError);
        return;
    }
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, tr("Korwind Navigator update center"), _strError + tr("\nDo you want to continue?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        _startInstallation();
        return;
    }
    const QString downloaded =
        vktcommon::downloadedFilePath(AppSettings::downloadsDirectory(), m_navigatorPackage->file.fileName);
    callTaggedHistoryStep(ST_NAVIGATOR_UPDATE_SELECTION);
    if (!downloaded.isEmpty())
        QFile::remove(downloaded);
}

// The old map data goes only once the new maps are in place; this step then ends the job on the device.
void MainWindow::_startOldMapsDeletion()
{
    recordState([this] { _startOldMapsDeletion(); }, PageState::Unstable);
    _showDeleteOldMapsPage();
    connectAsOnlyReceiver(deviceServices, qOverload<QString>(&AbstractDeviceServices::taskFinished), this, &MainWindow::_onOldMapsDeletionFinished);
    deviceServices->deleteOtherMapFiles();
}

void MainWindow::_onOldMapsDeletionFinished(QString _strError)
{
    Q_EMIT updatingFinished(_strError);
}

void MainWindow::_startInstallation()
{
    recordState([this] { _startInstallation(); }, PageState::Unstable);
    connectAsOnlyReceiver(deviceServices, qOverload<QString>(&AbstractDeviceServices::taskFinished), this, &MainWindow::_onInstallationFinished);
    if (m_mode == JobMode::Maps) {
        _showInstallUpdatePage(true);
        deviceServices->installMaps(m_mapsToInstall, m_mapsToDelete, m_deleteOldMaps);
    } else {
        _showInstallUpdatePage(false);
        deviceServices->installPackage(*m_navigatorPackage);
    }
}

void MainWindow::_onInstallationFinished(QString _strError)
{
    if (_strError.isEmpty() && m_mode == JobMode::Maps && m_deleteOldMaps)
        _startOldMapsDeletion();
    else
        Q_EMIT updatingFinished(_strError);
}

void MainWindow::_showUserInteractionNeededPage()
{
    setNoticePage(tr("You may need to do some things with your device to accomplish installation."));
    displayErrorPage();
}

// An update that did not finish: the device keeps its record, found by the device search.

void MainWindow::_showUnfinishedUpdatePage()
{
    recordState([this] { _showUnfinishedUpdatePage(); }, PageState::Stable | PageState::AllowsBackupManagement);
    ui->unfinishedUpdatePage->setUpdate(*deviceServices->unfinishedUpdate());
    showChoicePage(ui->unfinishedUpdatePage, tr("Select device"), [this] { resetHistoryAndShowFirstPage(); },
                   tr("Finish the update"), [this] { _startUnfinishedUpdate(); });
}

void MainWindow::_startUnfinishedUpdate()
{
    recordState([this] { _startUnfinishedUpdate(); }, PageState::Unstable);
    showProgressPage(tr("Preparing to finish the update..."), PT_BUSY, [this] { cancelDevice(); });
    connectAsOnlyReceiver(deviceServices, qOverload<QString>(&AbstractDeviceServices::taskFinished), this,
                          &MainWindow::_onUnfinishedUpdateResumed);
    deviceServices->resumeUnfinishedUpdate();
}

void MainWindow::_onUnfinishedUpdateResumed(QString _strError)
{
    const UpdateJobRecord *record = deviceServices->unfinishedUpdate();
    m_logic = DeviceWorkflowLogic::create(chosenDevice().kind, this);
    if (!_strError.isEmpty() || !record || !m_logic) {
        showRetryBackError(_strError.isEmpty() ? tr("Internal application error.") : _strError);
        return;
    }
    // The job runs as it would have; what its record shows done is not done again.
    connectAsOnlyReceiver(this, &MainWindow::updatingFinished, this, &MainWindow::_onUnfinishedUpdateFinished);
    if (record->kind == UpdateJobRecord::NavigatorJob) {
        _startKorwindUpdating(&record->navigatorPackage, false);
        return;
    }
    m_mode = JobMode::Maps;
    m_mapsToInstall.clear();
    for (const MapInfo &map : record->mapsToInstall) {
        if (!record->installed.contains(map.file.fileName, Qt::CaseInsensitive))
            m_mapsToInstall.append(&map);
    }
    m_mapsToDelete.clear();
    m_needsBackup = false;
    m_deleteOldMaps = record->deleteOldMapData;
    ui->updatesStagesPage->prepareMapUpdate(false, m_deleteOldMaps);
    _startDownloading();
}

void MainWindow::_onUnfinishedUpdateFinished(QString _strError)
{
    if (!_strError.isEmpty()) {
        setErrorPage(_strError, tr("Select device"), [this] { resetHistoryAndShowFirstPage(); }, tr("Retry"),
                     [this] { showPreviousUnstableState(); });
        showErrorPage();
        notifyIfAway(tr("The update failed"), _strError);
        return;
    }
    const QString text = tr("The update is finished.\nYou need to unplug your device before running Korwind Navigator");
    setSuccessPage(text, QString(), Action(), tr("Search updates"), [this] { resetHistoryAndShowFirstPage(); });
    showSuccessPage();
    notifyIfAway(tr("The update is finished"), text);
}

void MainWindow::_showUnfinishedUpdateBackupPage()
{
    const QString wanted = deviceServices->unfinishedUpdate() ? deviceServices->unfinishedUpdate()->backupId : QString();
    int index = -1;
    const QMetaObject::Connection listed = connect(
        deviceServices, &AbstractDeviceServices::foundDeviceSpecificBackups, this,
        [&](const QList<BackupInfo> &_backups) {
            for (int i = 0; i < _backups.size(); ++i) {
                if (_backups.at(i).id == wanted)
                    index = i;
            }
        });
    deviceServices->findDeviceSpecificBackups();
    disconnect(listed);
    if (index < 0) {
        setErrorPage(tr("The backup made before the update (%1) is no longer in the backups folder.").arg(wanted),
                     tr("Back"), [this] { showPreviousStableState(); });
        showErrorPage();
        return;
    }
    deviceServices->deviceSpecificBackupSelected(index);
    _showRestoreBackupWarningPage();
}

// Reconnection as USB storage

void MainWindow::_startReconnection()
{
    const KorwindContentInfo *content = deviceServices->selectedContent();
    m_reconnectionKey = content ? content->uid : QString();
    _showReconnectionPage(QString());
}

void MainWindow::_showReconnectionPage(QString _strPreviousError)
{
    QString text = _strPreviousError;
    if (!text.isEmpty())
        text += QLatin1Char('\n');
    text += tr("You need to reconnect your device in \"USB storage\" mode to upload maps.\nPlease, switch the mode and "
               "press \"Continue\".");
    const Action search = [this] { _showSearchForReconnectedPage(); };
    // A request to the user; it is an error only when the last search failed.
    if (_strPreviousError.isEmpty())
        setNoticePage(text, QString(), Action(), tr("Continue"), search);
    else
        setErrorPage(text, QString(), Action(), tr("Continue"), search);
    showErrorPage();
}

void MainWindow::_showReconnectionPage()
{
    _showReconnectionPage(QString());
}

void MainWindow::_showSearchForReconnectedPage()
{
    recordState([this] { _showSearchForReconnectedPage(); }, PageState::Unstable);
    showProgressPage(tr("Searching for reconnected device..."), PT_BUSY, [this] { cancelDevice(); });
    connectAsOnlyReceiver(deviceServices, qOverload<QString>(&AbstractDeviceServices::taskFinished), this, &MainWindow::_onReconnectionFinished);
    deviceServices->reconnectDevice(m_reconnectionKey);
}

void MainWindow::_onReconnectionFinished(QString _strError)
{
    if (_strError.isEmpty())
        Q_EMIT reconnectionFinished();
    else
        _showReconnectionPage(_strError);
}

// Stage pages of the job: no state of their own, so "Retry" re-runs the operation behind them.

void MainWindow::showStage(int stage, Action cancel, bool cancelEnabled)
{
    m_stageCancel = cancelEnabled ? std::move(cancel) : Action();
    showButton(ui->cancelButton, tr("Cancel"), [this] { confirmJobCancel(); }, cancelEnabled);
    hideButton(ui->backButton);
    hideButton(ui->updateButton);
    ui->updatesStagesPage->setCurrentStage(stage);
    showPage(ui->updatesStagesPage);
}

void MainWindow::confirmJobCancel()
{
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, tr("Korwind Navigator update center"),
                              tr("The update is still running. Do you want to cancel it?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    // The job went on while the question was open: what is cancelled is the stage that runs now, if any.
    if (answer == QMessageBox::Yes && ui->stackedWidget->currentWidget() == ui->updatesStagesPage && m_stageCancel)
        m_stageCancel();
}

void MainWindow::_showFileInfoDownloadPage()
{
    showStage(0, [this] { cancelNetwork(); });
}

void MainWindow::_showDownloadPreparationPage()
{
    showStage(1, [this] { cancelNetwork(); });
}

void MainWindow::_showFileDownloadPage()
{
    showStage(2, [this] { cancelNetwork(); });
}

void MainWindow::_showFileVerificationPage()
{
    showStage(3, [this] { cancelNetwork(); });
}

void MainWindow::_showCreateBackupPage()
{
    showStage(4, [this] { cancelDevice(); });
}

void MainWindow::_showPrepareForInstallPage()
{
    showStage(5, [this] { cancelDevice(); });
}

void MainWindow::_showDeleteOldMapsPage()
{
    showStage(6, [this] { cancelDevice(); });
}

void MainWindow::_showInstallUpdatePage(bool _bCancelEnabled)
{
    showStage(7, [this] { cancelDevice(); }, _bCancelEnabled);
}

void MainWindow::_showInstallSelfUpdatePage()
{
    // The setup is being unpacked and started; there is nothing to stop half-way.
    showStage(7, Action(), false);
}
