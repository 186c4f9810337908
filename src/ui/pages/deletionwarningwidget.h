#pragma once

#include "mapinfo.h"

#include <QList>
#include <QWidget>

#include <memory>

namespace Ui {
class DeletionWarningWidget;
}

// The warning that installing the chosen maps removes others, with the list of those maps.
class DeletionWarningWidget : public QWidget
{
    Q_OBJECT

public:
    explicit DeletionWarningWidget(QWidget *parent = nullptr);
    ~DeletionWarningWidget() override;

    void setMaps(const QList<const MapInfo *> &installed, const QList<const MapInfo *> &removed);

private:
    std::unique_ptr<Ui::DeletionWarningWidget> m_ui;
};
