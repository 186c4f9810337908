#include "updatestageswidget.h"

#include "ui_updatestageswidget.h"
#include "updateprogressentrywidget.h"

UpdateStagesWidget::UpdateStagesWidget(QWidget *parent) : QWidget(parent), m_ui(new Ui::UpdateStagesWidget)
{
    m_ui->setupUi(this);
    m_entries = {m_ui->stageWidget1, m_ui->stageWidget2, m_ui->stageWidget3, m_ui->stageWidget4,
                 m_ui->stageWidget5, m_ui->stageWidget6, m_ui->stageWidget7};
    for (UpdateProgressEntryWidget *entry : qAsConst(m_entries))
        entry->hide();
}

UpdateStagesWidget::~UpdateStagesWidget() = default;

void UpdateStagesWidget::prepareSelfUpdate()
{
    build(tr("Updating Korwind Navigator update center"), Stages());
}

void UpdateStagesWidget::prepareMapUpdate(bool backup, bool deleteOldMaps)
{
    Stages stages;
    stages.backup = backup;
    stages.deleteOldMaps = deleteOldMaps;
    stages.installItemByItem = true;
    build(tr("Updating maps"), stages);
}

void UpdateStagesWidget::prepareKorwindUpdate(bool backup, bool prepare)
{
    Stages stages;
    stages.backup = backup;
    stages.prepare = prepare;
    build(tr("Updating Korwind Navigator"), stages);
}

void UpdateStagesWidget::setCurrentStage(int number)
{
    if (m_entriesInUse == 0)
        return;
    const int position = m_positions.value(number, 0);
    // The others first: a bar that is hidden ends the launcher progress the current one then starts.
    for (int i = 0; i < m_entriesInUse; ++i) {
        if (i != position)
            m_entries.at(i)->setState(i < position ? UpdateProgressEntryWidget::Done
                                                   : UpdateProgressEntryWidget::Waiting);
    }
    m_entries.at(position)->setState(UpdateProgressEntryWidget::Current);
    m_current = position;
}

void UpdateStagesWidget::setExtraInfo(TransferStatusInfo _extraInfo)
{
    if (UpdateProgressEntryWidget *entry = currentEntry())
        entry->setExtraInfo(_extraInfo);
}

void UpdateStagesWidget::setProgress(int _nPercent)
{
    if (UpdateProgressEntryWidget *entry = currentEntry())
        entry->setProgress(_nPercent);
}

void UpdateStagesWidget::setInfo(QString _strInfo)
{
    if (UpdateProgressEntryWidget *entry = currentEntry())
        entry->setInfo(_strInfo);
}

void UpdateStagesWidget::build(const QString &title, const Stages &stages)
{
    for (UpdateProgressEntryWidget *entry : qAsConst(m_entries))
        entry->hide();
    m_positions.clear();
    m_entriesInUse = 0;
    m_current = -1;
    m_ui->titleLabel->setText(title);

    addStage(0, tr("Preparing for download"));
    addStage(1, tr("Checking files"));
    addStage(2, tr("Downloading files"), tr("Downloading file: "));
    addStage(3, tr("Verifying files"));
    if (stages.backup)
        addStage(4, tr("Creating backup"));
    if (stages.prepare)
        addStage(5, tr("Preparing for update installation"));
    addStage(7, tr("Installing update"), stages.installItemByItem ? tr("Installing file: ") : QString());
    // The old maps go once the new ones are in place.
    if (stages.deleteOldMaps)
        addStage(6, tr("Deleting old maps"));
}

void UpdateStagesWidget::addStage(int number, const QString &header, const QString &itemPrefix)
{
    UpdateProgressEntryWidget *entry = m_entries.at(m_entriesInUse);
    entry->setStage(header, itemPrefix);
    entry->show();
    m_positions.insert(number, m_entriesInUse);
    ++m_entriesInUse;
}

UpdateProgressEntryWidget *UpdateStagesWidget::currentEntry() const
{
    return m_current >= 0 && m_current < m_entriesInUse ? m_entries.at(m_current) : nullptr;
}
