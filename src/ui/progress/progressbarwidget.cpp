#include "progressbarwidget.h"

#include "nativeprogressbarhandler.h"

#include <QHideEvent>

ProgressBarWidget::ProgressBarWidget(QWidget *parent) : QProgressBar(parent)
{
    setStyleSheet(QStringLiteral(
        "QProgressBar { border: 1px solid #9c9c9c; border-radius: 3px; text-align: center;"
        " background-image: url(:/resources/progressBg.png); background-repeat: repeat-x; }"
        "QProgressBar::chunk { background-color: #4a8fd8; border-radius: 2px; }"));
    setAccessibleName(tr("Progress"));
    if (NativeProgressBarHandler *handler = NativeProgressBarHandler::instance()) {
        connect(this, &ProgressBarWidget::gotProgress, handler, &NativeProgressBarHandler::progress);
        connect(this, &ProgressBarWidget::gotPrepared, handler, &NativeProgressBarHandler::prepare);
        connect(this, &ProgressBarWidget::gotHidden, handler, &NativeProgressBarHandler::stopProgress);
    }
}

void ProgressBarWidget::prepare(PROGRESS_TYPE type)
{
    setRange(0, type == PT_PERCENT ? 100 : 0);
    reset();
    emit gotPrepared(effectiveWinId(), type);
}

void ProgressBarWidget::setProgress(int _nPercent)
{
    if (isBusy())
        return;
    const int percent = qBound(0, _nPercent, 100);
    setValue(percent);
    emit gotProgress(effectiveWinId(), percent);
}

void ProgressBarWidget::hideEvent(QHideEvent *event)
{
    QProgressBar::hideEvent(event);
    if (!event->spontaneous() && window()->isVisible())
        emit gotHidden(effectiveWinId());
}
