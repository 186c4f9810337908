#pragma once

#include "transferstatusinfo.h"

#include <QScopedPointer>
#include <QString>
#include <QWidget>

namespace Ui {
class UpdateProgressEntryWidget;
}

// One stage of the update stages page: an arrow, the stage's header and, while the stage is current,
// a progress bar with a line of transfer figures.
//
// A stage that becomes current starts with an empty percent bar and no figures: the bar shows nothing
// until the first percentage, and the figures line appears with the first transfer figures. Drawing
// an entry (in any state) sets its header back to the stage's own header. While current, the header
// shows the item prefix and the item being worked on (stages that work item by item only), followed
// by the information text of the operation when there is one.
class UpdateProgressEntryWidget : public QWidget
{
    Q_OBJECT

public:
    enum State { Waiting, Current, Done };

    explicit UpdateProgressEntryWidget(QWidget *parent = nullptr);
    ~UpdateProgressEntryWidget() override;

    // itemPrefix is empty for a stage that does not work item by item. The entry is drawn as waiting.
    void setStage(const QString &header, const QString &itemPrefix);
    void setState(State state);
    State state() const { return m_state; }

    void setProgress(int percent);
    void setInfo(const QString &info);
    void setExtraInfo(const TransferStatusInfo &info);

private:
    void showHeader();

    QScopedPointer<Ui::UpdateProgressEntryWidget> m_ui;
    State m_state = Waiting;
    QString m_header;
    QString m_itemPrefix;
    QString m_item;
    QString m_info;
};
