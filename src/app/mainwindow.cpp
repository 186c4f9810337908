#include "mainwindow.h"

#include "abstractdeviceservices.h"
#include "abstractnetworkservices.h"
#include "abstractpackageservices.h"
#include "applicationdata.h"
#include "appsettings.h"
#include "deviceworkflowlogic.h"
#include "mapupdaterules.h"
#include "nativeprogressbarhandler.h"
#include "onlyreceiver.h"
#include "ui_basewindow.h"

#include <QApplication>

namespace {

const QString sendDeviceInfoLink = QStringLiteral("send device info");
const QString showSettingsLink = QStringLiteral("show settings");

} // namespace

MainWindow::MainWindow(AbstractDeviceServices *deviceServices, AbstractNetworkServices *networkServices,
                       AbstractPackageServices *packageServices, QWidget *parent)
    : BaseWindow(deviceServices, networkServices, packageServices, parent),
      m_notifications(ApplicationData::desktopId())
{
    using Device = AbstractDeviceServices;
    using Network = AbstractNetworkServices;
    using Packages = AbstractPackageServices;

    connect(ui->selectDevicePage, &SelectDeviceWidget::platformButtonClicked, this, &MainWindow::_showPlatformHelpPage);
    connect(ui->selectDevicePage, &SelectDeviceWidget::platformButtonClicked, ui->platformHelpPage,
            &PlatformHelpWidget::setPlatformHelpInfo);
    connect(ui->deviceNotFoundPage, &DeviceNotFoundWidget::platformButtonClicked, this, &MainWindow::_showPlatformHelpPage);
    connect(ui->deviceNotFoundPage, &DeviceNotFoundWidget::platformButtonClicked, ui->platformHelpPage,
            &PlatformHelpWidget::setPlatformHelpInfo);
    connect(ui->selectDevicePage, &SelectDeviceWidget::deviceSelected, deviceServices, &Device::deviceSelected);

    connect(ui->settingsButton, &QPushButton::clicked, this, &MainWindow::_initSettingsPage);
    connect(ui->mainSettingsPage, &MainSettingsWidget::updateListBackupInfo, this, &MainWindow::_showBackupManagementPage);
    connect(ui->mainSettingsPage->backupManagement(), &BackupManagementWidget::deleteButtonClicked, this,
            &MainWindow::_showDeleteBackupPage);
    connect(ui->mainSettingsPage->backupManagement(), &BackupManagementWidget::backupSelected, deviceServices,
            &Device::backupSelected);
    ui->mainSettingsPage->setLanguageBox(ui->languageBox);
    connect(ui->selectKorwindPage, &KorwindExeChooseWidget::restoreBackupButtonClicked, this,
            &MainWindow::_showSelectKorwindBackupPage);
    connect(ui->selectMapUpdatePage, &MapUpdateChooseWidget::restoreBackupButtonClicked, this,
            &MainWindow::_showSelectMapsBackupPage);
    connect(ui->selectMapUpdatePage, &MapUpdateChooseWidget::changeStorageCardClicked, this,
            &MainWindow::_showKorwindContentSelectForMapsPage);
    connect(ui->unfinishedUpdatePage, &UnfinishedUpdateWidget::restoreBackupClicked, this,
            &MainWindow::_showUnfinishedUpdateBackupPage);

    connect(deviceServices, &Device::showProgress, this, &BaseWindow::setProgress);
    connect(deviceServices, &Device::updateOperationExtraInfo, ui->updatesStagesPage, &UpdateStagesWidget::setExtraInfo);
    connect(deviceServices, &Device::installWaitForUserAction, this, &MainWindow::_showUserInteractionNeededPage);
    connect(deviceServices, &Device::foundBackups, ui->mainSettingsPage->backupManagement(),
            &BackupManagementWidget::addBackups);
    connect(deviceServices, &Device::foundDeviceSpecificBackups, ui->backupRestorePage,
            &BackupManagementWidget::addBackups);
    connect(deviceServices, &Device::foundDeviceSpecificBackups, this, [this](const QList<BackupInfo> &_backups) {
        ui->selectKorwindPage->setRestoreBackupButtonHidden(_backups.isEmpty());
        ui->selectMapUpdatePage->setRestoreBackupButtonHidden(_backups.isEmpty());
    });
    connect(deviceServices, &Device::setCurrentOperationInfo, ui->updatesStagesPage, &UpdateStagesWidget::setInfo);
    connect(deviceServices, &Device::foundDevices, ui->selectDevicePage, &SelectDeviceWidget::addDevices);
    connect(deviceServices, &Device::foundKorwindContents, ui->selectContentPage,
            &KorwindContentChooseWidget::addKorwindContents);
    connect(deviceServices, &Device::foundKorwindContents, this,
            [this](const QList<KorwindContentInfo> &_contentInfoes) { m_contentFolderCount = _contentInfoes.size(); });

    connect(ui->selectKorwindPage, &KorwindExeChooseWidget::korwindExecutableSelected, deviceServices,
            &Device::korwindExecutableSelected);
    connect(ui->selectContentPage, &KorwindContentChooseWidget::korwindContentSelected, deviceServices,
            &Device::contentSelected);
    connect(ui->backupRestorePage, &BackupManagementWidget::backupSelected, deviceServices,
            &Device::deviceSpecificBackupSelected);

    connect(networkServices, &Network::showProgress, this, &BaseWindow::setProgress);
    connect(networkServices, &Network::downloadStatusUpdate, ui->updatesStagesPage, &UpdateStagesWidget::setExtraInfo);
    connect(networkServices, qOverload<ProductInfo>(&Network::updateFound), packageServices, &Packages::foundSelfUpdate);
    connect(networkServices, qOverload<QList<ProductInfo>>(&Network::updateFound), packageServices,
            &Packages::foundKorwindUpdates);
    connect(networkServices, qOverload<QList<MapInfo>>(&Network::updateFound), packageServices,
            &Packages::foundMapUpdates);
    connect(networkServices, &Network::chunkDownloadStarted, this, &MainWindow::_showFileInfoDownloadPage);
    connect(networkServices, &Network::chunksProcessingStarted, this, &MainWindow::_showDownloadPreparationPage);
    connect(networkServices, &Network::updateDownloadStarted, this, &MainWindow::_showFileDownloadPage);
    connect(networkServices, &Network::updateVerificationStarted, this, &MainWindow::_showFileVerificationPage);

    connect(packageServices, &Packages::reportAvailableKorwind, ui->selectNaviUpdatePage,
            &KorwindUpdateChooseWidget::addKorwindUpdates);
    connect(ui->selectNaviUpdatePage, &KorwindUpdateChooseWidget::korwindUpdateSelected, packageServices,
            &Packages::korwindSelected);
    connect(ui->selectNaviUpdatePage, &KorwindUpdateChooseWidget::setUpdateButtonText, this,
            &BaseWindow::setUpdateButtonText);
    connect(packageServices, &Packages::reportAvailableMaps, ui->selectMapUpdatePage,
            &MapUpdateChooseWidget::addMapUpdateInfo);
    connect(packageServices, &Packages::reportAvailableMaps, this,
            [this](const QList<const MapDisplayInfo *> &_newTopLevelMaps) { m_mapsOffered = !_newTopLevelMaps.isEmpty(); });
    connect(packageServices, &Packages::setNewMapState, ui->selectMapUpdatePage, &MapUpdateChooseWidget::changeNewMapState);
    connect(packageServices, &Packages::setNewMapEnabled, ui->selectMapUpdatePage,
            &MapUpdateChooseWidget::changeNewMapEnabled);
    connect(packageServices, &Packages::setExistingMapState, ui->selectMapUpdatePage,
            &MapUpdateChooseWidget::changeExistingMapState);
    connect(ui->selectMapUpdatePage, &MapUpdateChooseWidget::clickedMap, packageServices, &Packages::clickedMap);
    connect(ui->selectMapUpdatePage, &MapUpdateChooseWidget::setMapsSelection, packageServices, &Packages::setMapsSelection);
    connect(packageServices, &Packages::setStatesFinished, ui->selectMapUpdatePage, &MapUpdateChooseWidget::refresh);
    connect(packageServices, &Packages::selectionRefused, ui->selectMapUpdatePage,
            &MapUpdateChooseWidget::showSelectionRefused);

    connect(this, &BaseWindow::setProgress, ui->progressPage, &ProgressWidget::setProgress);
    connect(this, &BaseWindow::setProgress, ui->settingsProgressPage, &ProgressWidget::setProgress);
    connect(this, &BaseWindow::setProgress, ui->updatesStagesPage, &UpdateStagesWidget::setProgress);
    connect(ui->errorPage, &ErrorWidget::linkActivated, this, &MainWindow::_linkActivated);
    if (NativeProgressBarHandler *progressHandler = NativeProgressBarHandler::instance()) {
        connect(ui->errorPage, &ErrorWidget::errorHappened, progressHandler, &NativeProgressBarHandler::setError);
        connect(ui->deviceNotFoundPage, &DeviceNotFoundWidget::errorHappened, progressHandler,
                &NativeProgressBarHandler::setError);
    }
    connect(&m_selfUpdateInstaller, &SelfUpdateInstaller::taskFinished, this, &MainWindow::_onStartVKTInstallerFinished);

    // Pages that decide whether "Next" may be pressed say so whenever that changes, shown or not.
    trackCanContinue(ui->selectKorwindPage, &KorwindExeChooseWidget::reportCanContinue);
    trackCanContinue(ui->selectContentPage, &KorwindContentChooseWidget::reportCanContinue);
    trackCanContinue(ui->selectMapUpdatePage, &MapUpdateChooseWidget::reportCanContinue);
    trackCanContinue(ui->sendInfoWidget, &SendInfoWidget::reportCanContinue);

    showWizardLayer();
    _showSelfUpdateSearchPage();
}

MainWindow::~MainWindow() = default;

template <typename Page, typename Signal>
void MainWindow::trackCanContinue(Page *page, Signal signal)
{
    connect(page, signal, this, [this, page](bool _bCanContinue) {
        m_canContinue[page] = _bCanContinue;
        if (ui->stackedWidget->currentWidget() == page)
            ui->updateButton->setEnabled(_bCanContinue);
    });
}

bool MainWindow::canContinue(QWidget *page) const
{
    return m_canContinue.value(page, false);
}

void MainWindow::showFirstPage()
{
    _showDeviceSearchPage();
}

void MainWindow::onSecretSequence()
{
    const QWidget *page = ui->stackedWidget->currentWidget();
    if (page == ui->selectKorwindPage || page == ui->selectContentPage || page == ui->selectNaviUpdatePage
        || page == ui->selectMapUpdatePage || page == ui->successPage)
        _showSendDeviceInfoPage();
}

void MainWindow::showProgressPage(const QString &text, PROGRESS_TYPE type, Action cancel)
{
    showButton(ui->cancelButton, tr("Cancel"), std::move(cancel));
    hideButton(ui->backButton);
    hideButton(ui->updateButton);
    ui->progressPage->setText(text);
    showPage(ui->progressPage);
    ui->progressPage->prepare(type);
}

void MainWindow::cancelDevice()
{
    deviceServices->cancelDeviceOperation();
}

void MainWindow::cancelNetwork()
{
    networkServices->cancelNetworkOperation();
}

void MainWindow::showRetryBackError(const QString &text)
{
    setErrorPage(text, tr("Back"), [this] { showPreviousStableState(); }, tr("Retry"),
                 [this] { showPreviousUnstableState(); });
    showErrorPage();
}

void MainWindow::showChoicePage(QWidget *page, const QString &backText, Action back, const QString &nextText,
                                Action next, bool nextEnabled)
{
    showExitButton();
    if (back)
        showButton(ui->backButton, backText, std::move(back));
    else
        hideButton(ui->backButton);
    showButton(ui->updateButton, nextText, std::move(next), nextEnabled);
    showPage(page);
}

KorwindExeInfo MainWindow::chosenInstallation() const
{
    const DeviceInfo *device = deviceServices->selectedDevice();
    return checkedInstallation(deviceServices->navigatorInstallation(), device ? device->name : QString());
}

DeviceInfo MainWindow::chosenDevice() const
{
    const DeviceInfo *device = deviceServices->selectedDevice();
    return device ? *device : DeviceInfo();
}

bool MainWindow::isStorageDevice() const
{
    return chosenDevice().kind == DeviceInfo::Storage;
}

void MainWindow::notifyIfAway(const QString &summary, const QString &body)
{
    if (isActiveWindow() && !isMinimized())
        return;
    m_notifications.notify(summary, body);
}

// Self-update check

void MainWindow::_showSelfUpdateSearchPage()
{
    recordState([this] { _showSelfUpdateSearchPage(); }, PageState::Unstable);
    showProgressPage(tr("Checking latest version..."), PT_BUSY, [this] { cancelNetwork(); });
    connectAsOnlyReceiver(networkServices, qOverload<UpdateCheckError>(&AbstractNetworkServices::taskFinished), this, &MainWindow::_onSelfUpdateSearchFinished);
    networkServices->checkSelfUpdate();
}

void MainWindow::_onSelfUpdateSearchFinished(UpdateCheckError _error)
{
    // Without the server the steps that need none (restoring a backup) are still open.
    if (!_error.text().isEmpty()) {
        setErrorPage(serverErrorText(_error) + QLatin1Char('\n')
                         + tr("Press \"Skip the check\" to go on without it: backups can be restored without the "
                              "update server."),
                     tr("Skip the check"), [this] { showFirstPage(); }, tr("Retry"),
                     [this] { showPreviousUnstableState(); });
        showErrorPage();
        return;
    }
    m_selfUpdatePackage = packageServices->selfUpdate();
    if (m_selfUpdatePackage)
        _showSelfUpdateWarningPage();
    else
        showFirstPage();
}

void MainWindow::_showSelfUpdateWarningPage()
{
    setNoticePage(tr("You need to update Korwind Navigator update center. Press \"Next\" to continue."), QString(),
                  Action(), tr("Next"), [this] { _startSelfUpdateDownload(); });
    showErrorPage();
}

void MainWindow::_startSelfUpdateDownload()
{
    recordState([this] { _startSelfUpdateDownload(); }, PageState::Unstable);
    connectAsOnlyReceiver(networkServices, qOverload<QString>(&AbstractNetworkServices::taskFinished), this, &MainWindow::_onSelfUpdateDownloadFinished);
    ui->updatesStagesPage->prepareSelfUpdate();
    _showFileInfoDownloadPage();
    networkServices->startDownload({m_selfUpdatePackage->file});
}

void MainWindow::_onSelfUpdateDownloadFinished(QString _strError)
{
    if (_strError.isEmpty()) {
        _startVKTInstaller();
        return;
    }
    setErrorPage(_strError, QString(), Action(), tr("Retry"), [this] { showPreviousUnstableState(); });
    showErrorPage();
}

void MainWindow::_startVKTInstaller()
{
    recordState([this] { _startVKTInstaller(); }, PageState::Unstable);
    _showInstallSelfUpdatePage();
    m_selfUpdateInstaller.start(m_selfUpdatePackage);
}

void MainWindow::_onStartVKTInstallerFinished(QString _strError)
{
    if (_strError.isEmpty()) {
        QApplication::exit(0);
        return;
    }
    setErrorPage(_strError, QString(), Action(), tr("Retry"), [this] { showPreviousUnstableState(); });
    showErrorPage();
}

// Device search and choice

void MainWindow::_showDeviceSearchPage()
{
    recordState([this] { _showDeviceSearchPage(); }, PageState::Unstable);
    showProgressPage(tr("Searching for devices..."), PT_PERCENT, [this] { cancelDevice(); });
    connectAsOnlyReceiver(deviceServices, qOverload<QString>(&AbstractDeviceServices::taskFinished), this, &MainWindow::_onDeviceSearchFinished);
    deviceServices->searchDevices();
}

void MainWindow::_onDeviceSearchFinished(QString _strError)
{
    if (_strError.isEmpty()) {
        _showSelectDevicePage();
        return;
    }
    ui->deviceNotFoundPage->setError(_strError);
    _showDeviceNotFoundPage();
}

void MainWindow::_showDeviceNotFoundPage()
{
    recordState([this] { _showDeviceNotFoundPage(); }, PageState::Stable | PageState::AllowsBackupManagement);
    showChoicePage(ui->deviceNotFoundPage, QString(), Action(), tr("Retry"), [this] { showPreviousUnstableState(); });
}

void MainWindow::_showSelectDevicePage()
{
    recordState([this] { _showSelectDevicePage(); }, PageState::Stable | PageState::AllowsBackupManagement);
    showChoicePage(ui->selectDevicePage, tr("Search device"), [this] { resetHistoryAndShowFirstPage(); }, tr("Next"),
                   [this] { _onDeviceSelected(); });
    m_navigatorUpdatePending = false;
}

void MainWindow::_onDeviceSelected()
{
    const SelectDeviceWidget *page = ui->selectDevicePage;
    if (page->isSelectedDeviceReadOnly()) {
        setErrorPage(tr("All flash drive on selected device is in read only state and cannot be updated! Switch your "
                        "device from read only mode to update Korwind Navigator!"),
                     tr("Back"), [this] { showPreviousStableState(); }, tr("To device search"),
                     [this] { resetHistoryAndShowFirstPage(); });
        showErrorPage();
        return;
    }
    if (page->selectedPlatform() != 0) {
        ui->platformHelpPage->setPlatformHelpInfo(page->selectedPlatform());
        _showPlatformHelpPage();
        return;
    }
    if (page->selectedDeviceIndex() < 0)
        return;
    if (deviceServices->unfinishedUpdate())
        _showUnfinishedUpdatePage();
    else
        _showExtraModuleWarningPage();
}

void MainWindow::_showPlatformHelpPage()
{
    recordState([this] { _showPlatformHelpPage(); }, PageState::Stable | PageState::AllowsBackupManagement);
    showChoicePage(ui->platformHelpPage, tr("Back"), [this] { showPreviousStableState(); }, tr("Retry"),
                   [this] { showPreviousUnstableState(); });
}

void MainWindow::_showExtraModuleWarningPage()
{
    QString error;
    bool needed = false;
    deviceServices->checkModule(error, needed);
    if (!error.isEmpty()) {
        setErrorPage(error, tr("Back"), [this] { showPreviousStableState(); }, tr("To device search"),
                     [this] { resetHistoryAndShowFirstPage(); });
        showErrorPage();
        return;
    }
    if (!needed) {
        _deviceChosenFork();
        return;
    }
    recordState([this] { _showExtraModuleWarningPage(); }, PageState::Unstable);
    setNoticePage(tr("You need to install additional software on your device to continue."), tr("Back"),
                  [this] { showPreviousStableState(); }, tr("Install"), [this] { _showModuleInstallationPage(); });
    displayErrorPage();
}

void MainWindow::_showModuleInstallationPage()
{
    recordState([this] { _showModuleInstallationPage(); }, PageState::Unstable);
    showProgressPage(tr("Installing additional software..."), PT_BUSY, [this] { cancelDevice(); });
    connectAsOnlyReceiver(deviceServices, qOverload<QString>(&AbstractDeviceServices::taskFinished), this, &MainWindow::_onModuleInstallationFinished);
    deviceServices->installModule();
}

void MainWindow::_onModuleInstallationFinished(QString _strError)
{
    if (_strError.isEmpty())
        _deviceChosenFork();
    else
        showRetryBackError(_strError);
}

void MainWindow::_deviceChosenFork()
{
    m_logic = DeviceWorkflowLogic::create(chosenDevice().kind, this);
    if (!m_logic) {
        _showDeviceNotFoundError(tr("This kind of device is not supported."), false);
        return;
    }
    connect(m_logic.get(), &DeviceWorkflowLogic::done, this, &MainWindow::_showKorwindContentSearchPage);
    connect(m_logic.get(), &DeviceWorkflowLogic::unknownDevice, this,
            qOverload<>(&MainWindow::_showDeviceNotFoundError));
    m_logic->start();
}

// Navigator and content folders

void MainWindow::_showKorwindContentSearchPage()
{
    recordState([this] { _showKorwindContentSearchPage(); }, PageState::Unstable);
    if (const NavigatorInstallation *navigator = deviceServices->navigatorInstallation())
        m_installedNavigatorVersion = navigator->version;
    m_navigatorVersion = m_installedNavigatorVersion;
    m_contentFolderCount = 0;
    showProgressPage(tr("Searching for the KorwindContent folders..."), PT_PERCENT, [this] { cancelDevice(); });
    connectAsOnlyReceiver(deviceServices, qOverload<QString>(&AbstractDeviceServices::taskFinished), this, &MainWindow::_onKorwindContentFound);
    deviceServices->searchContents(true);
}

void MainWindow::_onKorwindContentFound(QString _strError)
{
    if (_strError.isEmpty())
        _showKorwindUpdateSearchPage();
    else
        showRetryBackError(_strError);
}

void MainWindow::_showKorwindUpdateSearchPage()
{
    const NavigatorInstallation *navigator = deviceServices->navigatorInstallation();
    if (navigator && navigator->isReadOnly) {
        _showTryAutoSelectKorwindContentForMaps();
        return;
    }
    recordState([this] { _showKorwindUpdateSearchPage(); }, PageState::Unstable);
    showProgressPage(tr("Searching for Korwind Navigator updates..."), PT_BUSY, [this] { cancelNetwork(); });
    ui->selectNaviUpdatePage->setMapUpdatesCanFollow(m_contentFolderCount > 0
                                                     && m_navigatorVersion >= MapUpdateRules::lowestNavigatorWithMaps());
    ui->selectNaviUpdatePage->setBackupOffered(isStorageDevice(), AppSettings::createBackups());
    connectAsOnlyReceiver(networkServices, qOverload<UpdateCheckError>(&AbstractNetworkServices::taskFinished), this, &MainWindow::_onKorwindUpdateSearchFinished);
    networkServices->checkNavigatorUpdate(chosenDevice(), chosenInstallation(), QString());
}

void MainWindow::_onKorwindUpdateSearchFinished(UpdateCheckError _error)
{
    if (_error.code == UpdateCheckError::UnknownDevice && !_error.text().isEmpty()) {
        _showDeviceNotFoundError(_error.text(), true);
        return;
    }
    if (!_error.text().isEmpty()) {
        showRetryBackError(serverErrorText(_error));
        return;
    }
    packageServices->foundInstalledKorwind(m_navigatorVersion);
    packageServices->reportNavigatorUpdates();
    QList<const ProductInfo *> offered;
    packageServices->offeredNavigatorUpdates(offered);
    if (!offered.isEmpty()) {
        if (m_logic->canChooseNavigatorUpdate())
            _showKorwindUpdateSelectPage();
        else
            _showKorwindUpdateInfoPage();
    } else if (m_contentFolderCount > 0) {
        _showTryAutoSelectKorwindContentForMaps();
    } else {
        setSuccessPage(tr("Your Korwind Navigator is already up-to-date.\nNo flash cards with the KorwindContent folder "
                          "were found on your device.\nYou cannot update maps with no flash card inserted."),
                       QString(), Action(), tr("Select device"), [this] { resetHistoryAndShowFirstPage(); });
        showSuccessPage();
    }
}

void MainWindow::_showKorwindUpdateSelectPage()
{
    recordState([this] { _showKorwindUpdateSelectPage(); }, PageState::Stable, ST_NAVIGATOR_UPDATE_SELECTION);
    showChoicePage(ui->selectNaviUpdatePage, tr("Back"), [this] { showPreviousStableState(); },
                   tr("Update"),
                   [this] { _onKorwindUpdateSelected(); });
}

void MainWindow::_onKorwindUpdateSelected()
{
    const ProductInfo *package = packageServices->selectedNavigatorUpdate();
    if (!package) {
        // An update chosen before and given up (a "No" or a failed job) is not on the device.
        m_navigatorUpdatePending = false;
        m_navigatorVersion = m_installedNavigatorVersion;
        _showTryAutoSelectKorwindContentForMaps();
        return;
    }
    m_navigatorUpdatePending = true;
    m_navigatorVersion = DottedVersion::fromString(package->version);
    connectAsOnlyReceiver(this, &MainWindow::updatingFinished, this, &MainWindow::_onKorwindUpdateInstalled);
    // Without maps to choose for the new version it is installed at once.
    if (m_logic->needsReconnectionBeforeReadingMaps() || m_logic->needsReconnectionBeforeInstallingMaps()
        || m_contentFolderCount == 0 || m_navigatorVersion < MapUpdateRules::lowestNavigatorWithMaps())
        _startKorwindUpdating(package, ui->selectNaviUpdatePage->isBackupChecked());
    else
        _showTryAutoSelectKorwindContentForMaps();
}

void MainWindow::_showKorwindUpdateInfoPage()
{
    QList<const ProductInfo *> offered;
    packageServices->offeredNavigatorUpdates(offered);
    const ProductInfo *update = offered.value(0);
    const QString text = tr("New Korwind Navigator version available: ") + (update ? update->version : QString())
                         + QLatin1Char('\n') + (update ? update->description : QString()) + QLatin1Char('\n')
                         + m_logic->infoText();
    setSuccessPage(text, tr("Back"), [this] { showPreviousStableState(); }, tr("Next"),
                   [this] { _showKorwindUpdateInfoPageFinished(); });
    showSuccessPage();
}

void MainWindow::_showKorwindUpdateInfoPageFinished()
{
    _onKorwindUpdateInstalled(QString());
}

void MainWindow::_onKorwindUpdateInstalled(QString _strError)
{
    if (!_strError.isEmpty()) {
        notifyIfAway(tr("The update failed"), _strError);
        showRetryBackError(_strError);
        return;
    }
    m_navigatorUpdatePending = false;
    m_installedNavigatorVersion = m_navigatorVersion;
    const bool mapsOffered = m_navigatorVersion >= MapUpdateRules::lowestNavigatorWithMaps();
    if (m_contentFolderCount > 0 && mapsOffered) {
        notifyIfAway(tr("Korwind Navigator was updated"), tr("The maps can be chosen now."));
        _showTryAutoSelectKorwindContentForMaps();
        return;
    }
    const QString text =
        m_contentFolderCount == 0
            ? tr("Your Korwind Navigator was successfully updated.\nNo flash cards with the KorwindContent folder "
                 "were found on your device.\nYou cannot update maps with no flash card inserted.")
            : tr("Your Korwind Navigator was successfully updated to version %1.\nMap updates are offered for Korwind "
                 "Navigator %2 and later.")
                  .arg(m_navigatorVersion.toString(), MapUpdateRules::lowestNavigatorWithMaps().toString());
    notifyIfAway(tr("The update is finished"), text);
    setSuccessPage(text, QString(), Action(), tr("Select device"), [this] { resetHistoryAndShowFirstPage(); });
    showSuccessPage();
}

// Content folder for the maps

void MainWindow::_showTryAutoSelectKorwindContentForMaps()
{
    if (m_navigatorVersion < MapUpdateRules::lowestNavigatorWithMaps()) {
        setNoticePage(tr("No map updates for Korwind Navigator %1 were found.").arg(m_navigatorVersion.toString()),
                      QString(), Action(), tr("Select device"), [this] { resetHistoryAndShowFirstPage(); });
        showErrorPage();
        return;
    }
    recordState([this] { _showTryAutoSelectKorwindContentForMaps(); }, PageState::Unstable);
    showProgressPage(tr("Searching for the KorwindContent folders..."), PT_BUSY, [this] { cancelDevice(); });
    connectAsOnlyReceiver(deviceServices, qOverload<bool>(&AbstractDeviceServices::taskFinished), this, &MainWindow::_onTryAutoSelectKorwindContentForMapsFinished);
    deviceServices->tryAutoSelectContentForMaps();
}

void MainWindow::_onTryAutoSelectKorwindContentForMapsFinished(bool _bChosen)
{
    if (!_bChosen)
        _showKorwindContentSelectForMapsPage();
    else
        _needReconnectionBeforeReadingMapsFork();
}

void MainWindow::_showKorwindContentSelectForMapsPage()
{
    recordState([this] { _showKorwindContentSelectForMapsPage(); }, PageState::Stable);
    showChoicePage(ui->selectContentPage, tr("Select device"), [this] { resetHistoryAndShowFirstPage(); }, tr("Next"),
                   [this] { _needReconnectionBeforeReadingMapsFork(); }, canContinue(ui->selectContentPage));
}

void MainWindow::_needReconnectionBeforeReadingMapsFork()
{
    if (m_logic->needsReconnectionBeforeReadingMaps()) {
        connectAsOnlyReceiver(this, &MainWindow::reconnectionFinished, this, &MainWindow::_showMapUpdateSearchPage);
        _startReconnection();
    } else {
        _showMapUpdateSearchPage();
    }
}

void MainWindow::_showMapUpdatesReinitPage()
{
    recordState([this] { _showMapUpdatesReinitPage(); }, PageState::Unstable);
    showProgressPage(tr("Rescanning Korwind Navigator content folder..."), PT_PERCENT, [this] { cancelDevice(); });
    connectAsOnlyReceiver(deviceServices, qOverload<QString>(&AbstractDeviceServices::taskFinished), this, &MainWindow::_onMapUpdatesReinitFinished);
    deviceServices->researchContents();
}

void MainWindow::_onMapUpdatesReinitFinished(QString _strError)
{
    if (_strError.isEmpty())
        _showMapUpdateSearchPage();
    else
        showRetryBackError(_strError);
}

// Map updates

void MainWindow::_showMapUpdateSearchPage()
{
    recordState([this] { _showMapUpdateSearchPage(); }, PageState::Unstable);
    showProgressPage(tr("Searching for map updates..."), PT_BUSY, [this] { cancelNetwork(); });
    MapUpdateChooseWidget *page = ui->selectMapUpdatePage;
    page->setNavigatorVersion(m_navigatorVersion);
    page->setSeveralContentFolders(m_contentFolderCount > 1);
    page->setNavigatorUpdatePending(m_navigatorUpdatePending, ui->selectNaviUpdatePage->isBackupChecked());
    page->setCreateBackups(AppSettings::createBackups());
    connectAsOnlyReceiver(networkServices, qOverload<UpdateCheckError>(&AbstractNetworkServices::taskFinished), this, &MainWindow::_onMapUpdateSearchFinished);
    networkServices->checkMapUpdates(m_navigatorVersion);
}

void MainWindow::_onMapUpdateSearchFinished(UpdateCheckError _error)
{
    if (!_error.text().isEmpty()) {
        setErrorPage(serverErrorText(_error), tr("Select device"), [this] { resetHistoryAndShowFirstPage(); },
                     tr("Retry"), [this] { showPreviousUnstableState(); });
        showErrorPage();
        return;
    }
    const KorwindContentInfo *content = deviceServices->selectedContent();
    ui->selectMapUpdatePage->setFreeSpaceChecker(content ? &content->freeSpaceChecker : nullptr);
    packageServices->foundInstalledMaps(content ? content->maps : QList<MapInfo>());
    m_mapsOffered = false;
    packageServices->reportMaps();
    if (m_mapsOffered) {
        _showMapUpdateSelectPage();
    } else if (m_navigatorUpdatePending) {
        _onMapUpdateSelected();
    } else {
        QList<const ProductInfo *> offered;
        packageServices->offeredNavigatorUpdates(offered);
        setSuccessPage(offered.isEmpty()
                           ? tr("Your Korwind Navigator and maps are already up-to-date!\nYou need to unplug your device "
                                "before running Korwind Navigator")
                           : tr("Your maps are already up-to-date!\nYou need to unplug your device before running "
                                "Korwind Navigator"),
                       QString(), Action(), tr("Search device"), [this] { resetHistoryAndShowFirstPage(); });
        showSuccessPage();
    }
}

void MainWindow::_showMapUpdateSelectPage()
{
    recordState([this] { _showMapUpdateSelectPage(); }, PageState::Stable);
    ui->selectMapUpdatePage->setNavigatorUpdatePending(m_navigatorUpdatePending,
                                                       ui->selectNaviUpdatePage->isBackupChecked());
    showChoicePage(ui->selectMapUpdatePage, tr("Select device"), [this] { resetHistoryAndShowFirstPage(); },
                   tr("Update"), [this] { _onMapUpdateSelected(); }, canContinue(ui->selectMapUpdatePage));
    ui->selectMapUpdatePage->setRestoreBackupButtonHidden(true);
    deviceServices->findDeviceSpecificBackups();
}

void MainWindow::_onMapUpdateSelected()
{
    QList<const MapInfo *> installed;
    QList<const MapInfo *> removed;
    packageServices->deletionWarningLists(installed, removed);
    if (removed.isEmpty()) {
        _needReconnectionAfterMapChooseFork();
        return;
    }
    ui->deletionWarningPage->setMaps(installed, removed);
    _showDeletionWarningPage();
}

void MainWindow::_showDeletionWarningPage()
{
    recordState([this] { _showDeletionWarningPage(); }, PageState::Stable);
    showChoicePage(ui->deletionWarningPage, tr("Back"), [this] { showPreviousStableState(); }, tr("Update"),
                   [this] { _needReconnectionAfterMapChooseFork(); });
}

void MainWindow::_needReconnectionAfterMapChooseFork()
{
    if (m_logic->needsReconnectionBeforeInstallingMaps()) {
        connectAsOnlyReceiver(this, &MainWindow::reconnectionFinished, this, &MainWindow::_startMapUpdate);
        _startReconnection();
        return;
    }
    if (m_navigatorUpdatePending) {
        if (const ProductInfo *package = packageServices->selectedNavigatorUpdate()) {
            connectAsOnlyReceiver(this, &MainWindow::updatingFinished, this, &MainWindow::_korwindUpdateFinished);
            _startKorwindUpdating(package, ui->selectNaviUpdatePage->isBackupChecked());
            return;
        }
        m_navigatorUpdatePending = false;
    }
    _startMapUpdate();
}

void MainWindow::_korwindUpdateFinished(QString _strError)
{
    if (!_strError.isEmpty()) {
        notifyIfAway(tr("The update failed"), _strError);
        showRetryBackError(_strError);
        return;
    }
    m_installedNavigatorVersion = m_navigatorVersion;
    _startMapUpdate();
}

void MainWindow::_startMapUpdate()
{
    // A navigator update still pending has just been installed with its own backup.
    const bool backup = ui->selectMapUpdatePage->isBackupChecked() && !m_navigatorUpdatePending;
    m_navigatorUpdatePending = false;
    QList<const MapInfo *> install;
    QList<const MapInfo *> remove;
    packageServices->selectionResult(install, remove);
    if (install.isEmpty() && remove.isEmpty()) {
        _onMapUpdatingFinished(QString());
        return;
    }
    connectAsOnlyReceiver(this, &MainWindow::updatingFinished, this, &MainWindow::_onMapUpdatingFinished);
    _startMapUpdating(install, remove, backup);
}

void MainWindow::_onMapUpdatingFinished(QString _strError)
{
    if (!_strError.isEmpty()) {
        notifyIfAway(tr("The update failed"), _strError);
        setErrorPage(_strError, tr("Select device"), [this] { resetHistoryAndShowFirstPage(); }, tr("Retry"),
                     [this] { showPreviousUnstableState(); });
        showErrorPage();
        return;
    }
    const QString text =
        tr("Update is successfully completed!\nYou need to unplug your device before running Korwind Navigator");
    notifyIfAway(tr("The update is finished"), text);
    setSuccessPage(text, tr("Search device"), [this] { resetHistoryAndShowFirstPage(); }, tr("More updates"),
                   [this] { _showMapUpdatesReinitPage(); });
    showSuccessPage();
}

// Backup restoration

void MainWindow::_showSelectKorwindBackupPage()
{
    recordState([this] { _showSelectKorwindBackupPage(); }, PageState::Stable);
    _showSelectBackupPage();
}

void MainWindow::_showSelectMapsBackupPage()
{
    recordState([this] { _showSelectMapsBackupPage(); }, PageState::Stable);
    _showSelectBackupPage();
}

void MainWindow::_showSelectBackupPage()
{
    BackupManagementWidget *page = ui->backupRestorePage;
    page->setTitle(tr("Select a backup to restore"));
    page->setDeleteButtonHidden(true);
    showChoicePage(page, tr("Back"), [this] { showPreviousStableState(); }, tr("Restore"),
                   [this] { _showRestoreBackupWarningPage(); });
    deviceServices->findDeviceSpecificBackups();
}

void MainWindow::_showRestoreBackupWarningPage()
{
    QStringList folders;
    deviceServices->backupFileList(folders);
    QString joined;
    for (const QString &folder : qAsConst(folders))
        joined += tr("%1, ").arg(folder);
    joined.chop(2);
    setNoticePage(tr("During that operation the content of folders %1 will be deleted.").arg(joined), tr("Back"),
                  [this] { showPreviousStableState(); }, tr("Continue"),
                  [this] { _needReconnectionOnBackupRestoreFork(); });
    showErrorPage();
}

void MainWindow::_needReconnectionOnBackupRestoreFork()
{
    if (isStorageDevice()) {
        _startBackupRestoration();
        return;
    }
    connectAsOnlyReceiver(this, &MainWindow::reconnectionFinished, this, &MainWindow::_startBackupRestoration);
    _startReconnection();
}

void MainWindow::_startBackupRestoration()
{
    recordState([this] { _startBackupRestoration(); }, PageState::Unstable);
    showProgressPage(tr("Restoring the backup..."), PT_PERCENT, [this] { cancelDevice(); });
    connectAsOnlyReceiver(deviceServices, qOverload<QString>(&AbstractDeviceServices::taskFinished), this, &MainWindow::_onBackupRestorationFinished);
    deviceServices->restoreBackup();
}

void MainWindow::_onBackupRestorationFinished(QString _strError)
{
    if (!_strError.isEmpty()) {
        notifyIfAway(tr("Restoring the backup failed"), _strError);
        showRetryBackError(_strError);
        return;
    }
    const QString text = tr("Your backup was successfully restored!");
    notifyIfAway(tr("The backup is restored"), text);
    setSuccessPage(text, QString(), Action(), tr("Search updates"),
                   [this] { resetHistoryAndShowFirstPage(); });
    showSuccessPage();
}

// Device report

void MainWindow::_linkActivated(QString _strLink)
{
    if (_strLink == sendDeviceInfoLink)
        _showSendDeviceInfoPage();
    else if (_strLink == showSettingsLink)
        _showSettingsPage();
}

void MainWindow::_showSendDeviceInfoPage()
{
    recordState([this] { _showSendDeviceInfoPage(); }, PageState::AllowsBackupManagement);
    showChoicePage(ui->sendInfoWidget, tr("Back"), [this] { showPreviousStableState(); }, tr("Send"),
                   [this] { _showSendInfoProgressPage(); }, canContinue(ui->sendInfoWidget));
}

void MainWindow::_showSendInfoProgressPage()
{
    recordState([this] { _showSendInfoProgressPage(); }, PageState::Unstable);
    showProgressPage(tr("Sending information about device..."), PT_BUSY, [this] { cancelNetwork(); });
    connectAsOnlyReceiver(networkServices, qOverload<UpdateCheckError>(&AbstractNetworkServices::taskFinished), this, &MainWindow::_sendDeviceInfoPageFinished);
    networkServices->checkNavigatorUpdate(chosenDevice(), chosenInstallation(), ui->sendInfoWidget->deviceName());
}

void MainWindow::_sendDeviceInfoPageFinished(UpdateCheckError _error)
{
    // The server does not know this device, which is why it is reported: only a failure to deliver the
    // report is an error, and thanking the user for a report that never arrived would mislead them.
    if (_error.code != UpdateCheckError::UnknownDevice && !_error.text().isEmpty()) {
        showRetryBackError(serverErrorText(_error));
        return;
    }
    setSuccessPage(tr("Thank you for sending information!"), QString(), Action(), tr("Next"),
                   [this] { resetHistoryAndShowFirstPage(); });
    showSuccessPage();
}

void MainWindow::_showDeviceNotFoundError()
{
    _showDeviceNotFoundError(QString(), false);
}

void MainWindow::_showDeviceNotFoundError(QString _strError, bool _bShowRetry)
{
    QString text = _strError;
    if (!text.isEmpty())
        text += QStringLiteral("<br><br>");
    text += QStringLiteral("<a href=\"%1\" style=\"color:black\">%2</a> ")
                .arg(sendDeviceInfoLink, tr("Send information about device."));
    text += tr("We will examine the problem and add support for your device updates. No confidential data is "
               "required and will not be send.");
    if (_bShowRetry)
        setErrorPage(text, tr("Back"), [this] { showPreviousStableState(); }, tr("Retry"),
                     [this] { showPreviousUnstableState(); });
    else
        setErrorPage(text, tr("Back"), [this] { showPreviousStableState(); });
    showErrorPage();
}
