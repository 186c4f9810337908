#pragma once

#include "enums.h"

#include <QObject>
#include <QScopedPointer>
#include <QWidget>

namespace Ui {
class ProgressWidget;
}

// The page of a running search or single operation: what is being done, and one progress bar.
class ProgressWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ProgressWidget(QWidget *parent = nullptr);
    ~ProgressWidget() override;

    void setText(const QString &text);
    void prepare(PROGRESS_TYPE type);

    // Makes this page the only receiver of the source's progress signal (an int percentage), so that
    // whatever followed it for an earlier step stops doing so.
    template <typename Source, typename Signal>
    void connectSource(const Source *source, Signal progressSignal)
    {
        QObject::disconnect(source, progressSignal, nullptr, nullptr);
        connect(source, progressSignal, this, &ProgressWidget::setProgress);
    }

public Q_SLOTS:
    void setProgress(int _nPercent);

private:
    QScopedPointer<Ui::ProgressWidget> m_ui;
};
