#include "maptreeaccessible.h"

#include "checkabletreeelement.h"
#include "maptree.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QWidget>
#include <QWindow>

const QString MapRowAccessible::expandAction = QStringLiteral("expand");
const QString MapRowAccessible::collapseAction = QStringLiteral("collapse");

MapTreeAccessible::MapTreeAccessible(MapTree *tree) : QAccessibleWidget(tree, QAccessible::Tree)
{
}

QAccessibleInterface *MapTreeAccessible::create(const QString &className, QObject *object)
{
    if (className == QLatin1String("MapTree") && object && object->isWidgetType())
        return new MapTreeAccessible(static_cast<MapTree *>(object));
    return nullptr;
}

MapTree *MapTreeAccessible::tree() const
{
    return static_cast<MapTree *>(widget());
}

int MapTreeAccessible::childCount() const
{
    return int(tree()->shownRows().size()) + 1;
}

QAccessibleInterface *MapTreeAccessible::child(int index) const
{
    if (index == 0)
        return QAccessible::queryAccessibleInterface(tree()->header());
    const QList<QTreeWidgetItem *> rows = tree()->shownRows();
    return index > 0 && index <= rows.size() ? tree()->rowInterface(rows.at(index - 1)) : nullptr;
}

int MapTreeAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    if (child->object() == tree()->header())
        return 0;
    const auto *row = dynamic_cast<const MapRowAccessible *>(child);
    const int position = row ? int(tree()->shownRows().indexOf(row->item())) : -1;
    return position < 0 ? -1 : position + 1;
}

QAccessibleInterface *MapTreeAccessible::childAt(int x, int y) const
{
    QTreeWidgetItem *item = tree()->itemAt(tree()->viewport()->mapFromGlobal(QPoint(x, y)));
    return item ? tree()->rowInterface(item) : nullptr;
}

QAccessibleInterface *MapTreeAccessible::focusChild() const
{
    QTreeWidgetItem *item = tree()->currentItem();
    return item && tree()->shownRows().contains(item) ? tree()->rowInterface(item) : nullptr;
}

MapRowAccessible::MapRowAccessible(MapTree *tree, QTreeWidgetItem *item) : m_tree(tree), m_item(item)
{
}

bool MapRowAccessible::isValid() const
{
    return !m_tree.isNull();
}

QObject *MapRowAccessible::object() const
{
    return nullptr;
}

QWindow *MapRowAccessible::window() const
{
    return m_tree ? m_tree->window()->windowHandle() : nullptr;
}

QAccessibleInterface *MapRowAccessible::parent() const
{
    return m_tree ? QAccessible::queryAccessibleInterface(m_tree.data()) : nullptr;
}

QAccessibleInterface *MapRowAccessible::child(int) const
{
    return nullptr;
}

int MapRowAccessible::childCount() const
{
    return 0;
}

int MapRowAccessible::indexOfChild(const QAccessibleInterface *) const
{
    return -1;
}

QAccessibleInterface *MapRowAccessible::childAt(int, int) const
{
    return nullptr;
}

QString MapRowAccessible::text(QAccessible::Text t) const
{
    if (!isValid())
        return QString();
    if (t == QAccessible::Name) {
        const QString name = m_item->data(0, Qt::AccessibleTextRole).toString();
        return name.isEmpty() ? m_item->text(0) : name;
    }
    if (t == QAccessible::Description)
        return m_item->data(0, Qt::AccessibleDescriptionRole).toString();
    return QString();
}

void MapRowAccessible::setText(QAccessible::Text, const QString &)
{
}

QRect MapRowAccessible::rect() const
{
    if (!isValid())
        return QRect();
    const QRect shown = m_tree->visualItemRect(m_item);
    return shown.isEmpty() ? QRect() : QRect(m_tree->viewport()->mapToGlobal(shown.topLeft()), shown.size());
}

QAccessible::Role MapRowAccessible::role() const
{
    return QAccessible::TreeItem;
}

QAccessible::State MapRowAccessible::state() const
{
    QAccessible::State state;
    if (!isValid())
        return state;
    const bool shown = m_tree->shownRows().contains(m_item);
    state.invisible = !shown;
    state.offscreen = !shown || !m_tree->viewport()->rect().intersects(m_tree->visualItemRect(m_item));
    state.disabled = m_item->isDisabled();
    state.focusable = true;
    state.focused = m_tree->hasFocus() && m_tree->currentItem() == m_item;
    state.selectable = true;
    state.selected = m_item->isSelected();
    state.expandable = m_item->childCount() > 0;
    state.expanded = state.expandable && m_item->isExpanded();
    state.collapsed = state.expandable && !m_item->isExpanded();
    return state;
}

void *MapRowAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
}

QStringList MapRowAccessible::actionNames() const
{
    QStringList names;
    if (!isValid())
        return names;
    if (const auto *element = dynamic_cast<const CheckableTreeElement *>(m_item); element && element->isCheckable())
        names.append(toggleAction());
    if (m_item->childCount() > 0)
        names.append(m_item->isExpanded() ? collapseAction : expandAction);
    return names;
}

QString MapRowAccessible::localizedActionName(const QString &name) const
{
    if (name == toggleAction())
        return QCoreApplication::translate("MapTree", "Choose what happens");
    if (name == expandAction)
        return QCoreApplication::translate("MapTree", "Expand");
    if (name == collapseAction)
        return QCoreApplication::translate("MapTree", "Collapse");
    return QString();
}

QString MapRowAccessible::localizedActionDescription(const QString &name) const
{
    if (name == toggleAction())
        return QCoreApplication::translate("MapTree", "Changes what happens to the map, as a click on its icon does.");
    if (name == expandAction)
        return QCoreApplication::translate("MapTree", "Shows the regional maps.");
    if (name == collapseAction)
        return QCoreApplication::translate("MapTree", "Hides the regional maps.");
    return QString();
}

void MapRowAccessible::doAction(const QString &name)
{
    if (!actionNames().contains(name))
        return;
    if (name == toggleAction())
        m_tree->requestChange(m_item);
    else
        m_item->setExpanded(name == expandAction);
}

QStringList MapRowAccessible::keyBindingsForAction(const QString &name) const
{
    if (name == toggleAction())
        return {QStringLiteral("Space")};
    if (name == expandAction)
        return {QStringLiteral("Right")};
    if (name == collapseAction)
        return {QStringLiteral("Left")};
    return {};
}

QTreeWidgetItem *MapRowAccessible::item() const
{
    return m_item;
}
