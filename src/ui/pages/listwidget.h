#pragma once

#include "twowindowwidget.h"

class QListWidget;

// The two-pane form with a plain list.
class ListWidget : public TwoWindowWidget
{
    Q_OBJECT

public:
    explicit ListWidget(QWidget *parent = nullptr);

    void selectElement(int index) override;
    int selectedElement() const override;

protected:
    void removeEntries() override;
    void appendEntry(int index, const QString &displayText) override;

private:
    ListWidget(QListWidget *list, QWidget *parent);

    QListWidget *m_list;
};
