#pragma once

#include "enums.h"

#include <QProgressBar>

// One progress bar of a page, in percent or busy mode, that also drives the launcher entry's progress
// through the NativeProgressBarHandler (when one exists). Its signals carry the top-level window's id.
class ProgressBarWidget : public QProgressBar
{
    Q_OBJECT

public:
    explicit ProgressBarWidget(QWidget *parent = nullptr);

    // Percent: range 0-100, empty until the first percentage; busy: no range, the bar just runs.
    void prepare(PROGRESS_TYPE type);
    bool isBusy() const { return maximum() == 0; }

public Q_SLOTS:
    // Ignored by a busy bar.
    void setProgress(int _nPercent);

Q_SIGNALS:
    void gotPrepared(WId _hWinId, PROGRESS_TYPE _type);
    void gotProgress(WId _hWinId, int _nPercent);
    void gotHidden(WId _hWinId);

protected:
    // Hiding the bar within a shown window (the page is left) ends the launcher progress; minimising
    // the window or closing or destroying it does not.
    void hideEvent(QHideEvent *event) override;
};
