#pragma once

#include "updatejobrecord.h"

#include <QWidget>

#include <memory>

namespace Ui {
class UnfinishedUpdateWidget;
}

// The page for a device whose last update did not finish: what was being done and what is left, and,
// where a backup was made before it, the button that puts the backup back instead.
class UnfinishedUpdateWidget : public QWidget
{
    Q_OBJECT

public:
    explicit UnfinishedUpdateWidget(QWidget *parent = nullptr);
    ~UnfinishedUpdateWidget() override;

    void setUpdate(const UpdateJobRecord &record);
    QString text() const;

Q_SIGNALS:
    void restoreBackupClicked();

private:
    std::unique_ptr<Ui::UnfinishedUpdateWidget> m_ui;
};
