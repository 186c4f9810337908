#pragma once

#include "transferstatusinfo.h"

#include <QList>
#include <QMap>
#include <QScopedPointer>
#include <QWidget>

class UpdateProgressEntryWidget;

namespace Ui {
class UpdateStagesWidget;
}

// The page of an update job: a header and the column of its stages in the order they run, the current
// one with a progress bar. Stage numbers: 0 file information, 1 download preparation, 2 download,
// 3 verification, 4 backup, 5 preparation for installation, 7 installation, 6 old-map deletion.
class UpdateStagesWidget : public QWidget
{
    Q_OBJECT

public:
    explicit UpdateStagesWidget(QWidget *parent = nullptr);
    ~UpdateStagesWidget() override;

    void prepareSelfUpdate();
    void prepareMapUpdate(bool backup, bool deleteOldMaps);
    void prepareKorwindUpdate(bool backup, bool prepare);

    // A number that is not in the list makes the first stage current.
    void setCurrentStage(int number);

public Q_SLOTS:
    void setExtraInfo(TransferStatusInfo _extraInfo);
    void setProgress(int _nPercent);
    void setInfo(QString _strInfo);

private:
    struct Stages
    {
        bool backup = false;
        bool prepare = false;
        bool deleteOldMaps = false;
        bool installItemByItem = false;
    };

    void build(const QString &title, const Stages &stages);
    void addStage(int number, const QString &header, const QString &itemPrefix = QString());
    UpdateProgressEntryWidget *currentEntry() const;

    QScopedPointer<Ui::UpdateStagesWidget> m_ui;
    QList<UpdateProgressEntryWidget *> m_entries;
    QMap<int, int> m_positions; // stage number -> entry position
    int m_entriesInUse = 0;
    int m_current = -1;
};
