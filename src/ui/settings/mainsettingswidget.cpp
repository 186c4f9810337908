#include "mainsettingswidget.h"

#include "ui_mainsettingswidget.h"

#include <QLineEdit>
#include <QMessageBox>

namespace {

enum Tab : int { GeneralTab = 0, BackupTab = 1, ConnectionTab = 2 };

} // namespace

MainSettingsWidget::MainSettingsWidget(QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::MainSettingsWidget>())
{
    m_ui->setupUi(this);
    connect(m_ui->generalSettings, &SettingsWidget::backupManagementButtonClicked, this,
            [this] { m_ui->tabWidget->setCurrentIndex(BackupTab); });
}

MainSettingsWidget::~MainSettingsWidget() = default;

void MainSettingsWidget::setLanguageBox(QComboBox *languageBox)
{
    m_ui->generalSettings->setLanguageBox(languageBox);
}

void MainSettingsWidget::load(const SettingsValues &values)
{
    m_loaded = values;
    setLocale(values.language);
    m_ui->generalSettings->load(values);
    m_ui->connectionSettings->load(values);
}

bool MainSettingsWidget::save(SettingsValues &values)
{
    SettingsValues edited = m_loaded;
    m_ui->connectionSettings->save(edited);
    m_ui->generalSettings->save(edited);
    const SettingsProblem problem = checkSettings(edited);
    if (problem.field != SettingsProblem::None) {
        showProblem(problem);
        return false;
    }
    values = edited;
    return true;
}

void MainSettingsWidget::setBackupManagementEnabled(bool enabled)
{
    m_ui->tabWidget->setTabEnabled(BackupTab, enabled);
    m_ui->generalSettings->setBackupManagementEnabled(enabled);
}

void MainSettingsWidget::showConnectionTab()
{
    m_ui->tabWidget->setCurrentIndex(ConnectionTab);
}

BackupManagementWidget *MainSettingsWidget::backupManagement() const
{
    return m_ui->backupManagement;
}

void MainSettingsWidget::on_tabWidget_currentChanged(int _nIndex)
{
    if (_nIndex == BackupTab)
        emit updateListBackupInfo();
}

void MainSettingsWidget::showProblem(const SettingsProblem &problem)
{
    const bool isProxy = problem.field == SettingsProblem::ProxyAddress || problem.field == SettingsProblem::ProxyPort;
    m_ui->tabWidget->setCurrentIndex(isProxy ? ConnectionTab : GeneralTab);
    QLineEdit *edit = isProxy ? m_ui->connectionSettings->proxyEdit(problem.field)
                              : m_ui->generalSettings->folderEdit(problem.field);
    QMessageBox::warning(this, tr("Korwind Navigator update center"), problem.message);
    edit->setFocus();
    edit->selectAll();
}
