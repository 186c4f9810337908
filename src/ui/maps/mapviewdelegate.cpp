#include "mapviewdelegate.h"

#include "mapviewelement.h"
#include "treeitemdelegate.h"
#include "treewidgetcheckwrapper.h"

#include <QMenu>
#include <QTreeWidget>

#include <algorithm>

namespace {

void sortByName(QList<MapViewElement *> &elements)
{
    std::stable_sort(elements.begin(), elements.end(), [](const MapViewElement *a, const MapViewElement *b) {
        return a->name().localeAwareCompare(b->name()) < 0;
    });
}

QList<QTreeWidgetItem *> asItems(const QList<MapViewElement *> &elements)
{
    return QList<QTreeWidgetItem *>(elements.cbegin(), elements.cend());
}

} // namespace

MapViewDelegate::MapViewDelegate(QTreeWidget *tree, QObject *parent)
    : QObject(parent), m_tree(tree), m_itemDelegate(new TreeItemDelegate(tree))
{
    m_tree->setItemDelegate(m_itemDelegate);
    m_tree->setColumnCount(1);
    m_tree->setHeaderHidden(true);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    auto *wrapper = new TreeWidgetCheckWrapper(m_tree, m_itemDelegate, this);
    connect(wrapper, &TreeWidgetCheckWrapper::iconClicked, this, &MapViewDelegate::_onIconClicked);
    connect(m_tree, &QTreeWidget::customContextMenuRequested, this, &MapViewDelegate::_onContextMenuRequested);
}

void MapViewDelegate::build(const QList<const MapDisplayInfo *> &newTopLevelMaps,
                            const QList<const MapDisplayInfo *> &existingMaps)
{
    m_tree->clear();
    m_elements.clear();
    m_elementOfEntry.clear();

    // An offer shares the row of the installed map with its code: its update or the same version.
    QHash<QString, const MapDisplayInfo *> installedByCode;
    for (const MapDisplayInfo *installed : existingMaps) {
        if (!installedByCode.contains(installed->map->code))
            installedByCode.insert(installed->map->code, installed);
    }
    const auto offerElement = [&](const MapDisplayInfo *offer) {
        const MapDisplayInfo *installed = nullptr;
        if (offer->kind == MapDisplayInfo::UpdateOrReplacement || offer->kind == MapDisplayInfo::SameVersion)
            installed = installedByCode.take(offer->map->code);
        auto *element = new MapViewElement(offer, installed);
        addElement(element);
        return element;
    };

    QList<MapViewElement *> topLevel;
    for (const MapDisplayInfo *offer : newTopLevelMaps) {
        MapViewElement *group = offerElement(offer);
        QList<MapViewElement *> children;
        for (const MapDisplayInfo *child : offer->children)
            children.append(offerElement(child));
        sortByName(children);
        group->addChildren(asItems(children));
        topLevel.append(group);
    }
    for (const MapDisplayInfo *installed : existingMaps) {
        if (m_elementOfEntry.contains(installed))
            continue;
        auto *element = new MapViewElement(nullptr, installed);
        addElement(element);
        topLevel.append(element);
    }
    sortByName(topLevel);
    m_tree->addTopLevelItems(asItems(topLevel));
    refresh();
}

void MapViewDelegate::addElement(MapViewElement *element)
{
    m_elements.append(element);
    for (const MapDisplayInfo *entry : {element->newEntry(), element->installedEntry()}) {
        if (entry)
            m_elementOfEntry.insert(entry, element);
    }
}

void MapViewDelegate::setNewMapState(const MapDisplayInfo *newMap, PACKAGE_STATE state)
{
    MapViewElement *element = elementOf(newMap);
    if (!element || element->newEntry() != newMap)
        return;
    element->setNewState(state);
    element->refresh();
    if (QTreeWidgetItem *group = element->parent())
        static_cast<MapViewElement *>(group)->refresh();
}

void MapViewDelegate::setNewMapEnabled(const MapDisplayInfo *newMap, bool enabled)
{
    MapViewElement *element = elementOf(newMap);
    if (!element || element->newEntry() != newMap)
        return;
    element->setMapEnabled(enabled);
    element->refresh();
}

void MapViewDelegate::setExistingMapState(const MapDisplayInfo *existingMap, PACKAGE_STATE state)
{
    MapViewElement *element = elementOf(existingMap);
    if (!element || element->installedEntry() != existingMap)
        return;
    // The services mark an installed map that the selection deletes with state 2.
    element->setInstalledDeleted(state == PS_GROUP_PARTLY_SELECTED);
    element->refresh();
    if (QTreeWidgetItem *group = element->parent())
        static_cast<MapViewElement *>(group)->refresh();
}

bool MapViewDelegate::contains(const MapDisplayInfo *entry) const
{
    return elementOf(entry) != nullptr;
}

void MapViewDelegate::reset()
{
    for (MapViewElement *element : std::as_const(m_elements))
        element->reset();
}

void MapViewDelegate::refresh()
{
    for (MapViewElement *element : std::as_const(m_elements))
        element->refresh();
}

PACKAGE_STATE MapViewDelegate::shownState(const MapDisplayInfo *newMap) const
{
    const MapViewElement *element = elementOf(newMap);
    return element ? element->state() : PS_NEW_AVAILABLE;
}

void MapViewDelegate::chooseGroup(const MapDisplayInfo *group, bool install)
{
    MapViewElement *groupElement = elementOf(group);
    if (!groupElement || groupElement->newEntry() != group)
        return;
    QList<MapViewElement *> members = {groupElement};
    for (int i = 0; i < groupElement->childCount(); ++i)
        members.append(static_cast<MapViewElement *>(groupElement->child(i)));

    QMap<const MapDisplayInfo *, PACKAGE_STATE> selection;
    for (const MapViewElement *member : std::as_const(members)) {
        // A map installed in the offered version has nothing to install.
        if (!member->isCheckable() || (install && member->newEntry()->kind == MapDisplayInfo::SameVersion))
            continue;
        selection.insert(member->newEntry(), install ? PS_NEW_INSTALLATION : PS_NEW_AVAILABLE);
    }
    if (!selection.isEmpty())
        emit setMapsSelection(selection);
}

void MapViewDelegate::_onIconClicked(CheckableTreeElement *_pElement)
{
    const auto *element = static_cast<const MapViewElement *>(_pElement);
    emit clickedMap(element->newEntry(), element->clickedState());
}

void MapViewDelegate::_onContextMenuRequested(const QPoint &_pos)
{
    const auto *element = static_cast<const MapViewElement *>(m_tree->itemAt(_pos));
    if (!element || element->childCount() == 0 || !element->newEntry())
        return;
    const MapDisplayInfo *group = element->newEntry();
    QMenu menu(m_tree);
    connect(menu.addAction(tr("Install the whole group")), &QAction::triggered, this, [this, group] { chooseGroup(group, true); });
    connect(menu.addAction(tr("Clear the group's choices")), &QAction::triggered, this, [this, group] { chooseGroup(group, false); });
    menu.exec(m_tree->viewport()->mapToGlobal(_pos));
}

MapViewElement *MapViewDelegate::elementOf(const MapDisplayInfo *entry) const
{
    return m_elementOfEntry.value(entry, nullptr);
}
