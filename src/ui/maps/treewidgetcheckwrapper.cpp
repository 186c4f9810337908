#include "treewidgetcheckwrapper.h"

#include "checkabletreeelement.h"
#include "treeitemdelegate.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTreeWidget>

TreeWidgetCheckWrapper::TreeWidgetCheckWrapper(QTreeWidget *tree, const TreeItemDelegate *itemDelegate, QObject *parent)
    : QObject(parent), m_tree(tree), m_itemDelegate(itemDelegate)
{
    m_tree->installEventFilter(this);
    m_tree->viewport()->installEventFilter(this);
}

bool TreeWidgetCheckWrapper::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_tree->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            return report(checkableAt(mouse->position().toPoint()));
    } else if (watched == m_tree && event->type() == QEvent::KeyPress) {
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space)
            return report(dynamic_cast<CheckableTreeElement *>(m_tree->currentItem()));
    }
    return false;
}

CheckableTreeElement *TreeWidgetCheckWrapper::checkableAt(const QPoint &viewportPos) const
{
    QTreeWidgetItem *item = m_tree->itemAt(viewportPos);
    if (!item)
        return nullptr;
    const QRect cell = m_tree->visualItemRect(item);
    return m_itemDelegate->iconRect(cell).contains(viewportPos) ? dynamic_cast<CheckableTreeElement *>(item) : nullptr;
}

// True when the event was a click on a checkable icon, so that the tree does not handle it as well.
bool TreeWidgetCheckWrapper::report(CheckableTreeElement *element)
{
    if (!element || !element->isCheckable())
        return false;
    emit iconClicked(element);
    return true;
}
