#pragma once

#include "korwindcontentinfo.h"

#include <QList>
#include <QWidget>

#include <memory>

namespace Ui {
class KorwindContentChooseWidget;
}

// The choice of the KorwindContent folder (storage card) whose maps are updated: each folder with
// its installed maps and the free space of its volume. Nothing is selected until the user chooses.
class KorwindContentChooseWidget : public QWidget
{
    Q_OBJECT

public:
    explicit KorwindContentChooseWidget(QWidget *parent = nullptr);
    ~KorwindContentChooseWidget() override;

    // Index of the chosen folder in the list handed in, -1 when none is chosen.
    int selectedContentIndex() const;

Q_SIGNALS:
    void korwindContentSelected(int _nIndex);
    void reportCanContinue(bool _bCanContinue);

public Q_SLOTS:
    void addKorwindContents(const QList<KorwindContentInfo> &_contentInfoes);

private:
    std::unique_ptr<Ui::KorwindContentChooseWidget> m_ui;
};
