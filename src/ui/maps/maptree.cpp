#include "maptree.h"

#include "maptreeaccessible.h"

#include <QHeaderView>

MapTree::MapTree(QWidget *parent) : QTreeWidget(parent)
{
    // The accessibility layer asks every installed factory for each object it meets; once is enough.
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(&MapTreeAccessible::create);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    // The hidden header is the first of the rows' siblings for a screen reader.
    header()->setAccessibleName(tr("Map"));
    // A row's interface refers to its item, which a reset or a removal may delete.
    connect(model(), &QAbstractItemModel::modelAboutToBeReset, this, &MapTree::dropRowInterfaces);
    connect(model(), &QAbstractItemModel::rowsAboutToBeRemoved, this, &MapTree::dropRowInterfaces);
}

MapTree::~MapTree()
{
    // The model outlives this part of the tree and resets itself when it goes.
    disconnect(model(), nullptr, this, nullptr);
    dropRowInterfaces();
}

QList<QTreeWidgetItem *> MapTree::shownRows() const
{
    QList<QTreeWidgetItem *> rows;
    QList<QTreeWidgetItem *> pending;
    for (int i = topLevelItemCount() - 1; i >= 0; --i)
        pending.append(topLevelItem(i));
    while (!pending.isEmpty()) {
        QTreeWidgetItem *item = pending.takeLast();
        if (item->isHidden())
            continue;
        rows.append(item);
        if (item->isExpanded()) {
            for (int i = item->childCount() - 1; i >= 0; --i)
                pending.append(item->child(i));
        }
    }
    return rows;
}

QAccessibleInterface *MapTree::rowInterface(QTreeWidgetItem *item)
{
    if (const auto known = m_rowInterfaces.constFind(item); known != m_rowInterfaces.constEnd())
        return QAccessible::accessibleInterface(*known);
    auto *row = new MapRowAccessible(this, item);
    m_rowInterfaces.insert(item, QAccessible::registerAccessibleInterface(row));
    return row;
}

void MapTree::announceChange(QTreeWidgetItem *item)
{
    if (!shownRows().contains(item))
        return;
    QAccessibleEvent event(rowInterface(item), QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void MapTree::requestChange(QTreeWidgetItem *item)
{
    setCurrentItem(item);
    emit changeRequested(item);
}

void MapTree::dropRowInterfaces()
{
    for (const QAccessible::Id id : std::as_const(m_rowInterfaces))
        QAccessible::deleteAccessibleInterface(id);
    m_rowInterfaces.clear();
}
