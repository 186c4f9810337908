#pragma once

#include "basewindow.h"
#include "desktopnotifications.h"
#include "deviceinfo.h"
#include "dottedversion.h"
#include "korwindexeinfo.h"
#include "mapinfo.h"
#include "productinfo.h"
#include "selfupdateinstaller.h"
#include "updatecheckerror.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>

class DeviceWorkflowLogic;

// The update wizard: every step of the program, from the self-update check and the device search to
// the update job, the reconnection of a device as USB storage and the restoration of backups. Each
// step records its state, sets the buttons, shows a page and, for an operation, connects one finished
// signal of a service to the slot that decides the next step.
class MainWindow final : public BaseWindow
{
    Q_OBJECT

    friend class DeviceWorkflowLogic;

public:
    MainWindow(AbstractDeviceServices *deviceServices, AbstractNetworkServices *networkServices,
               AbstractPackageServices *packageServices, QWidget *parent = nullptr);
    ~MainWindow() override;

Q_SIGNALS:
    void updatingFinished(QString _strError);
    void reconnectionFinished();

private Q_SLOTS:
    void _initSettingsPage();
    void _showSettingsPage();
    void _cancelSettings();
    void _saveSettings();
    void _showBackupManagementPage();
    void _showDeleteBackupPage();
    void _onDeleteBackupFinished(QString _strError);
    void _showSelfUpdateSearchPage();
    void _onSelfUpdateSearchFinished(UpdateCheckError _error);
    void _showSelfUpdateWarningPage();
    void _startSelfUpdateDownload();
    void _onSelfUpdateDownloadFinished(QString _strError);
    void _startVKTInstaller();
    void _onStartVKTInstallerFinished(QString _strError);
    void _showDeviceSearchPage();
    void _onDeviceSearchFinished(QString _strError);
    void _showDeviceNotFoundPage();
    void _showSelectDevicePage();
    void _showPlatformHelpPage();
    void _onDeviceSelected();
    void _showUnfinishedUpdatePage();
    void _startUnfinishedUpdate();
    void _onUnfinishedUpdateResumed(QString _strError);
    void _onUnfinishedUpdateFinished(QString _strError);
    void _showUnfinishedUpdateBackupPage();
    void _showExtraModuleWarningPage();
    void _showModuleInstallationPage();
    void _onModuleInstallationFinished(QString _strError);
    void _deviceChosenFork();
    void _showKorwindContentSearchPage();
    void _onKorwindContentFound(QString _strError);
    void _showKorwindUpdateSearchPage();
    void _onKorwindUpdateSearchFinished(UpdateCheckError _error);
    void _showKorwindUpdateSelectPage();
    void _onKorwindUpdateSelected();
    void _onKorwindUpdateInstalled(QString _strError);
    void _showTryAutoSelectKorwindContentForMaps();
    void _onTryAutoSelectKorwindContentForMapsFinished(bool _bChosen);
    void _showKorwindContentSelectForMapsPage();
    void _needReconnectionBeforeReadingMapsFork();
    void _showMapUpdatesReinitPage();
    void _onMapUpdatesReinitFinished(QString _strError);
    void _showMapUpdateSearchPage();
    void _onMapUpdateSearchFinished(UpdateCheckError _error);
    void _showMapUpdateSelectPage();
    void _onMapUpdateSelected();
    void _showDeletionWarningPage();
    void _needReconnectionAfterMapChooseFork();
    void _korwindUpdateFinished(QString _strError);
    void _startMapUpdate();
    void _onMapUpdatingFinished(QString _strError);
    void _showKorwindUpdateInfoPage();
    void _showKorwindUpdateInfoPageFinished();
    void _startKorwindUpdating(const ProductInfo *_pPackage, bool _bBackup);
    void _startMapUpdating(QList<const MapInfo *> _mapsToInstall, QList<const MapInfo *> _mapsToDelete, bool _bBackup);
    void _startDownloading();
    void _onDownloadingFinished(QString _strError);
    void _startBackuping();
    void _onBackupingFinished(QString _strError);
    void _startPreparingForInstallation();
    void _onPreparingFinished(QString _strError, bool _bIsCritical);
    void _startOldMapsDeletion();
    void _onOldMapsDeletionFinished(QString _strError);
    void _startInstallation();
    void _onInstallationFinished(QString _strError);
    void _startReconnection();
    void _showReconnectionPage(QString _strPreviousError);
    void _showReconnectionPage();
    void _showSearchForReconnectedPage();
    void _onReconnectionFinished(QString _strError);
    void _showSelectKorwindBackupPage();
    void _showSelectMapsBackupPage();
    void _showSelectBackupPage();
    void _showRestoreBackupWarningPage();
    void _needReconnectionOnBackupRestoreFork();
    void _startBackupRestoration();
    void _onBackupRestorationFinished(QString _strError);
    void _showCreateBackupPage();
    void _showFileInfoDownloadPage();
    void _showDownloadPreparationPage();
    void _showFileDownloadPage();
    void _showFileVerificationPage();
    void _showPrepareForInstallPage();
    void _showDeleteOldMapsPage();
    void _showInstallUpdatePage(bool _bCancelEnabled);
    void _showInstallSelfUpdatePage();
    void _showUserInteractionNeededPage();
    void _linkActivated(QString _strLink);
    void _showSendDeviceInfoPage();
    void _showSendInfoProgressPage();
    void _sendDeviceInfoPageFinished(UpdateCheckError _error);
    void _showDeviceNotFoundError();
    void _showDeviceNotFoundError(QString _strError, bool _bShowRetry);

protected:
    void showFirstPage() override;
    void onSecretSequence() override;

private:
    enum class JobMode { Navigator = 0, Maps = 1 };

    template <typename Page, typename Signal>
    void trackCanContinue(Page *page, Signal signal);
    bool canContinue(QWidget *page) const;
    // An operation page: its text and progress kind, and "Cancel" as the only button.
    void showProgressPage(const QString &text, PROGRESS_TYPE type, Action cancel);
    // A page on which the user chooses: "Exit", an optional left button and the right one.
    void showChoicePage(QWidget *page, const QString &backText, Action back, const QString &nextText, Action next,
                        bool nextEnabled = true);
    // The error page with "Back" to the last choice and "Retry" of the last operation.
    void showRetryBackError(const QString &text);
    void showStage(int stage, Action cancel, bool cancelEnabled = true);
    // "Cancel" of a running job asks first; Yes cancels the stage that runs by then.
    void confirmJobCancel();
    void cancelDevice();
    void cancelNetwork();
    void showSettingsLayer();
    void showWizardLayer();
    DeviceInfo chosenDevice() const;
    // The chosen navigator as the server knows it (version, device name, checksum).
    KorwindExeInfo chosenInstallation() const;
    bool isStorageDevice() const;
    // How a long job ended, told by the desktop when the window is not in front to show it.
    void notifyIfAway(const QString &summary, const QString &body);

    std::unique_ptr<DeviceWorkflowLogic> m_logic;
    SelfUpdateInstaller m_selfUpdateInstaller;
    DesktopNotifications m_notifications;
    const ProductInfo *m_selfUpdatePackage = nullptr;
    DottedVersion m_installedNavigatorVersion;
    DottedVersion m_navigatorVersion; // the version maps are chosen for: the installed one or the pending update's
    bool m_navigatorUpdatePending = false;
    int m_contentFolderCount = 0;
    bool m_mapsOffered = false;

    JobMode m_mode = JobMode::Navigator;
    const ProductInfo *m_navigatorPackage = nullptr;
    QList<const MapInfo *> m_mapsToInstall;
    QList<const MapInfo *> m_mapsToDelete;
    bool m_needsBackup = false;
    bool m_deleteOldMaps = false;
    Action m_stageCancel; // how the current stage of the job is cancelled; empty while it cannot be

    QString m_reconnectionKey;
    QHash<QWidget *, bool> m_canContinue; // what each choice page last said about "Next"
};
