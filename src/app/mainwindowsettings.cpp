// The settings layer of the wizard: general and connection settings, and the management of backups.

#include "mainwindow.h"

#include "abstractdeviceservices.h"
#include "abstractnetworkservices.h"
#include "applicationcycle.h"
#include "applicationdata.h"
#include "appsettings.h"
#include "languages.h"
#include "onlyreceiver.h"
#include "ui_basewindow.h"

#include <QApplication>
#include <QMessageBox>

void MainWindow::showSettingsLayer()
{
    ui->upperButtonsStack->setCurrentWidget(ui->languageBoxPage);
    ui->layersWidget->setCurrentWidget(ui->settingsLayer);
    ui->settingsStackedWidget->setCurrentWidget(ui->mainSettingsPage);
    showButton(ui->settingsCancelButton, tr("Cancel"), [this] { _cancelSettings(); });
    showButton(ui->settingsUpdateButton, tr("Save"), [this] { _saveSettings(); });
    hideButton(ui->settingsBackButton);
}

void MainWindow::showWizardLayer()
{
    ui->upperButtonsStack->setCurrentWidget(ui->settingsButtonPage);
    ui->layersWidget->setCurrentWidget(ui->mainLayer);
}

void MainWindow::_initSettingsPage()
{
    const ApplicationData *data = ApplicationData::instance();
    SettingsValues values;
    values.createBackups = AppSettings::createBackups();
    values.backupsDirectory = AppSettings::backupsDirectory();
    values.downloadsDirectory = AppSettings::downloadsDirectory();
    values.useProxy = AppSettings::useProxy();
    values.proxyAddress = AppSettings::proxyAddress();
    values.proxyPort = AppSettings::proxyPort();
    values.languages = data->languages();
    values.language = data->currentLanguage();
    ui->mainSettingsPage->load(values);
    ui->mainSettingsPage->setBackupManagementEnabled(!history().empty() && history().back()->allowsBackupManagement());
    showSettingsLayer();
    deviceServices->findBackups();
}

void MainWindow::_showSettingsPage()
{
    _initSettingsPage();
    ui->mainSettingsPage->showConnectionTab();
}

void MainWindow::_cancelSettings()
{
    showWizardLayer();
}

void MainWindow::_saveSettings()
{
    SettingsValues values;
    if (!ui->mainSettingsPage->save(values))
        return;
    AppSettings::setCreateBackups(values.createBackups);
    AppSettings::setBackupsDirectory(values.backupsDirectory);
    AppSettings::setDownloadsDirectory(values.downloadsDirectory);
    AppSettings::setUseProxy(values.useProxy);
    AppSettings::setProxyAddress(values.proxyAddress);
    AppSettings::setProxyPort(values.proxyPort);
    networkServices->setProxyCredentials(QString(), QString());
    showWizardLayer();

    // Stored even when it is the running language: that takes back a choice still waiting for a restart.
    AppSettings::setLanguage(values.language);
    const ApplicationData *data = ApplicationData::instance();
    if (Languages::contains({values.language}, data->currentLanguage()))
        return;
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, tr("Korwind Navigator update center"),
        tr("Changing language will take effect only after application\nrestart. Should we restart the application now?"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes)
        QApplication::exit(RestartExitCode);
}

void MainWindow::_showBackupManagementPage()
{
    showSettingsLayer();
    deviceServices->findBackups();
}

void MainWindow::_showDeleteBackupPage()
{
    ui->settingsStackedWidget->setCurrentWidget(ui->settingsProgressPage);
    ui->settingsProgressPage->setText(tr("Deleting backup..."));
    ui->settingsProgressPage->prepare(PT_BUSY);
    showButton(ui->settingsCancelButton, tr("Cancel"), [this] { cancelDevice(); });
    hideButton(ui->settingsUpdateButton);
    hideButton(ui->settingsBackButton);
    connectAsOnlyReceiver(deviceServices, qOverload<QString>(&AbstractDeviceServices::taskFinished), this, &MainWindow::_onDeleteBackupFinished);
    deviceServices->deleteBackup();
}

void MainWindow::_onDeleteBackupFinished(QString _strError)
{
    if (!_strError.isEmpty())
        QMessageBox::warning(this, tr("Korwind Navigator update center"), _strError);
    _showBackupManagementPage();
}
