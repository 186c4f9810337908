#pragma once

#include "backupinfo.h"

#include <QWidget>

#include <memory>

namespace Ui {
class BackupManagementWidget;
}

// The list of backups kept on the PC with the details of the chosen one; it deletes a backup after
// asking. The window's backup restoration page uses it as well, with its own title and no delete button.
// Dates are written in the widget's locale.
class BackupManagementWidget : public QWidget
{
    Q_OBJECT

public:
    explicit BackupManagementWidget(QWidget *parent = nullptr);
    ~BackupManagementWidget() override;

    void setTitle(const QString &title);
    void setDeleteButtonHidden(bool hidden);

Q_SIGNALS:
    void backupSelected(int _nIndex);
    void deleteButtonClicked();

public Q_SLOTS:
    void addBackups(QList<BackupInfo> _backups);

private Q_SLOTS:
    void _onDeleteButtonClicked();

private:
    void showEntry(int row);

    std::unique_ptr<Ui::BackupManagementWidget> m_ui;
};
