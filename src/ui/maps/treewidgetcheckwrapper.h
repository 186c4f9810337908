#pragma once

#include <QObject>

class CheckableTreeElement;
class QTreeWidget;
class TreeItemDelegate;

// Watches a tree widget for clicks on an item's icon (and the space key on the current item) and
// reports them for items that are checkable; other clicks reach the tree as usual.
class TreeWidgetCheckWrapper : public QObject
{
    Q_OBJECT

public:
    TreeWidgetCheckWrapper(QTreeWidget *tree, const TreeItemDelegate *itemDelegate, QObject *parent = nullptr);

Q_SIGNALS:
    void iconClicked(CheckableTreeElement *_pElement);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    CheckableTreeElement *checkableAt(const QPoint &viewportPos) const;
    bool report(CheckableTreeElement *element);

    QTreeWidget *m_tree;
    const TreeItemDelegate *m_itemDelegate;
};
