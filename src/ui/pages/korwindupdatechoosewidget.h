#pragma once

#include "productinfo.h"

#include <QList>
#include <QWidget>

#include <memory>

namespace Ui {
class KorwindUpdateChooseWidget;
}

// The choice of the navigator update: the offered updates and, when maps can be updated afterwards,
// "Don't update the program" (index -1). For USB storage devices it offers a backup of the program.
class KorwindUpdateChooseWidget : public QWidget
{
    Q_OBJECT

public:
    explicit KorwindUpdateChooseWidget(QWidget *parent = nullptr);
    ~KorwindUpdateChooseWidget() override;

    // Both take effect with the next addKorwindUpdates.
    void setMapUpdatesCanFollow(bool canFollow);
    // The "Create a backup" box is offered only for USB storage; it starts checked when the user's
    // setting asks for backups.
    void setBackupOffered(bool isUsbStorage, bool createBackupsSetting);
    // Whether the box is offered, enabled (a real update is chosen) and checked.
    bool isBackupChecked() const;

Q_SIGNALS:
    // The index in the list of offered updates, -1 for "Don't update the program".
    void korwindUpdateSelected(int _nIndex);
    void setUpdateButtonText(const QString &_strButtonText);

public Q_SLOTS:
    void addKorwindUpdates(const QList<const ProductInfo *> &_updates);

private Q_SLOTS:
    void _onClickedElement(int _nViewIndex);

private:
    std::unique_ptr<Ui::KorwindUpdateChooseWidget> m_ui;
    int m_updateCount = 0;
    bool m_mapUpdatesCanFollow = false;
    bool m_backupOffered = false;
};
