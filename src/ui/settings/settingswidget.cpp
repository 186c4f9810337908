#include "settingswidget.h"

#include "ui_settingswidget.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>

SettingsWidget::SettingsWidget(QWidget *parent) : QWidget(parent), m_ui(std::make_unique<Ui::SettingsWidget>())
{
    m_ui->setupUi(this);
    connect(m_ui->backupManagementButton, &QPushButton::clicked, this, &SettingsWidget::backupManagementButtonClicked);
}

SettingsWidget::~SettingsWidget() = default;

void SettingsWidget::setLanguageBox(QComboBox *languageBox)
{
    m_languageBox = languageBox;
    m_languageBox->setAccessibleName(tr("Interface language"));
}

void SettingsWidget::load(const SettingsValues &values)
{
    m_ui->createBackups->setChecked(values.createBackups);
    m_ui->backupsPathEdit->setText(QDir::toNativeSeparators(values.backupsDirectory));
    m_ui->downloadsPathEdit->setText(QDir::toNativeSeparators(values.downloadsDirectory));
    if (m_languageBox)
        fillLanguageBox(values.languages, values.language);
}

void SettingsWidget::save(SettingsValues &values) const
{
    values.createBackups = m_ui->createBackups->isChecked();
    values.backupsDirectory = m_ui->backupsPathEdit->text().trimmed();
    values.downloadsDirectory = m_ui->downloadsPathEdit->text().trimmed();
    if (m_languageBox && m_languageBox->currentIndex() >= 0)
        values.language = QLocale(m_languageBox->currentData().toString());
}

void SettingsWidget::setBackupManagementEnabled(bool enabled)
{
    m_ui->backupManagementButton->setEnabled(enabled);
}

QLineEdit *SettingsWidget::folderEdit(SettingsProblem::Field field) const
{
    return field == SettingsProblem::BackupsDirectory ? m_ui->backupsPathEdit : m_ui->downloadsPathEdit;
}

void SettingsWidget::on_backupPathSelectButton_clicked()
{
    selectFolder(m_ui->backupsPathEdit);
}

void SettingsWidget::on_downloadsPathSelectButton_clicked()
{
    selectFolder(m_ui->downloadsPathEdit);
}

void SettingsWidget::fillLanguageBox(const QList<QLocale> &languages, const QLocale &current)
{
    // Refilling is no choice of the user's: the window's handler must not see it.
    const QSignalBlocker blocker(m_languageBox);
    m_languageBox->clear();
    for (const QLocale &language : languages) {
        QString name;
        if (language.language() == QLocale::English || language.language() == QLocale::C)
            name = tr("English");
        else if (language.language() == QLocale::Russian)
            name = tr("Русский");
        else
            name = QLocale::languageToString(language.language());
        const QString flag = QStringLiteral(":/resources/%1.png").arg(language.name());
        m_languageBox->addItem(QFile::exists(flag) ? QIcon(flag) : QIcon(), name, language.name());
        if (language == current)
            m_languageBox->setCurrentIndex(m_languageBox->count() - 1);
    }
}

void SettingsWidget::selectFolder(QLineEdit *edit)
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Select directory"), edit->text(),
                                                             QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    if (!folder.isEmpty())
        edit->setText(QDir::toNativeSeparators(folder));
}
