#pragma once

#include "twowindowwidget.h"

class QTreeWidget;
class QTreeWidgetItem;

// Check state of an element of a TreeWidget; the values are those of Qt::CheckState.
enum BOX_STATE : int { BS_UNCHECKED = 0, BS_PARTIALLY_CHECKED = 1, BS_CHECKED = 2 };

// The two-pane form with a list of checkable elements.
class TreeWidget : public TwoWindowWidget
{
    Q_OBJECT

public:
    explicit TreeWidget(QWidget *parent = nullptr);

    void selectElement(int index) override;
    int selectedElement() const override;

public Q_SLOTS:
    void setEnabledElement(int index, bool enabled);
    void setCheckedElement(int index, BOX_STATE state);

Q_SIGNALS:
    // The user changed the check box of an element (not emitted for setCheckedElement).
    void elementChecked(int _nIdx, BOX_STATE _state);

protected:
    void removeEntries() override;
    void appendEntry(int index, const QString &displayText) override;

private:
    TreeWidget(QTreeWidget *tree, QWidget *parent);

    QTreeWidgetItem *itemOf(int index) const;
    QTreeWidget *m_tree;
};
