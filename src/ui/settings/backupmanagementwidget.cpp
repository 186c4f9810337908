#include "backupmanagementwidget.h"

#include "formatting.h"
#include "singlechoicelist.h"
#include "ui_backupmanagementwidget.h"

#include <QMessageBox>

namespace {

constexpr int detailsRole = Qt::UserRole;

} // namespace

BackupManagementWidget::BackupManagementWidget(QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::BackupManagementWidget>())
{
    m_ui->setupUi(this);
    new SingleChoiceList(m_ui->entriesList);
    connect(m_ui->entriesList, &QListWidget::currentRowChanged, this, &BackupManagementWidget::showEntry);
    connect(m_ui->deleteButton, &QPushButton::clicked, this, &BackupManagementWidget::_onDeleteButtonClicked);
    addBackups({});
}

BackupManagementWidget::~BackupManagementWidget() = default;

void BackupManagementWidget::setTitle(const QString &title)
{
    m_ui->headerLabel->setText(title);
}

void BackupManagementWidget::setDeleteButtonHidden(bool hidden)
{
    m_ui->deleteButton->setHidden(hidden);
}

void BackupManagementWidget::addBackups(QList<BackupInfo> _backups)
{
    m_ui->entriesList->clear();
    for (const BackupInfo &backup : _backups) {
        const QString date = Utilities::formatDate(locale(), backup.date);
        // The date and what it holds in the list itself, so that two backups of one device differ there.
        QString entry = tr("%1, %2").arg(backup.title, date);
        if (!backup.description.isEmpty())
            entry += QLatin1Char('\n') + backup.description;
        auto *item = new QListWidgetItem(entry, m_ui->entriesList);
        const QString details = tr("Description:\n%1\nDate: %2").arg(backup.description, date);
        item->setData(detailsRole, details);
        item->setToolTip(details);
    }
    m_ui->entriesList->setEnabled(!_backups.isEmpty());
    if (_backups.isEmpty())
        showEntry(-1);
    else
        m_ui->entriesList->setCurrentRow(0);
}

void BackupManagementWidget::_onDeleteButtonClicked()
{
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, tr("Korwind Navigator update center"),
        tr("You are going to delete a backup.\nAre you sure you want to continue?"), QMessageBox::Yes | QMessageBox::Cancel,
        QMessageBox::Cancel);
    if (answer == QMessageBox::Yes)
        emit deleteButtonClicked();
}

void BackupManagementWidget::showEntry(int row)
{
    const QListWidgetItem *item = m_ui->entriesList->item(row);
    m_ui->detailsLabel->setText(item ? item->data(detailsRole).toString() : tr("No backups are stored."));
    m_ui->deleteButton->setEnabled(item != nullptr);
    if (item)
        emit backupSelected(row);
}
