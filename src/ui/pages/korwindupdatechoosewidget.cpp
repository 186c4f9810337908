#include "korwindupdatechoosewidget.h"

#include "richtext.h"
#include "ui_korwindupdatechoosewidget.h"

KorwindUpdateChooseWidget::KorwindUpdateChooseWidget(QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::KorwindUpdateChooseWidget>())
{
    m_ui->setupUi(this);
    m_ui->entriesList->setLeftHeaderText(tr("Korwind Navigator updates available:"));
    m_ui->entriesList->setRightHeaderText(tr("Description:"));
    m_ui->createBackupsArea->hide();
    connect(m_ui->entriesList, &ItemDisplayInterface::clickedElement, this,
            &KorwindUpdateChooseWidget::_onClickedElement);
}

KorwindUpdateChooseWidget::~KorwindUpdateChooseWidget() = default;

void KorwindUpdateChooseWidget::setMapUpdatesCanFollow(bool canFollow)
{
    m_mapUpdatesCanFollow = canFollow;
}

void KorwindUpdateChooseWidget::setBackupOffered(bool isUsbStorage, bool createBackupsSetting)
{
    m_backupOffered = isUsbStorage;
    m_ui->createBackupsArea->setVisible(isUsbStorage);
    m_ui->createBackupsBox->setChecked(isUsbStorage && createBackupsSetting);
}

bool KorwindUpdateChooseWidget::isBackupChecked() const
{
    return m_backupOffered && m_ui->createBackupsBox->isEnabled() && m_ui->createBackupsBox->isChecked();
}

void KorwindUpdateChooseWidget::addKorwindUpdates(const QList<const ProductInfo *> &_updates)
{
    m_ui->entriesList->clearElements();
    m_updateCount = int(_updates.size());
    for (int i = 0; i < m_updateCount; ++i) {
        const ProductInfo *update = _updates.at(i);
        const QString description =
            update->description.isEmpty() ? tr("No info available") : RichText::fromMixed(update->description);
        m_ui->entriesList->addElement(i, tr("Korwind Navigator %1").arg(update->version), description);
    }
    if (m_mapUpdatesCanFollow)
        m_ui->entriesList->addElement(m_updateCount, tr("Don't update the program"), QString());
    if (m_ui->entriesList->count() > 0)
        m_ui->entriesList->selectElement(0);
}

void KorwindUpdateChooseWidget::_onClickedElement(int _nViewIndex)
{
    const bool isUpdate = _nViewIndex < m_updateCount;
    m_ui->createBackupsBox->setEnabled(isUpdate);
    emit korwindUpdateSelected(isUpdate ? _nViewIndex : -1);
    emit setUpdateButtonText(isUpdate ? tr("Update") : tr("Next"));
}
