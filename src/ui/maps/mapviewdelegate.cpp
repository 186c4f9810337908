#include "mapviewdelegate.h"

#include "maptree.h"
#include "mapviewelement.h"
#include "treeitemdelegate.h"
#include "treewidgetcheckwrapper.h"

#include <QMenu>

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

MapViewDelegate::MapViewDelegate(MapTree *tree, QObject *parent)
    : QObject(parent), m_tree(tree), m_itemDelegate(new TreeItemDelegate(tree))
{
    m_tree->setItemDelegate(m_itemDelegate);
    m_tree->setColumnCount(1);
    m_tree->setHeaderHidden(true);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    auto *wrapper = new TreeWidgetCheckWrapper(m_tree, m_itemDelegate, this);
    connect(wrapper, &TreeWidgetCheckWrapper::iconClicked, this, &MapViewDelegate::_onIconClicked);
    connect(m_tree, &MapTree::changeRequested, this, [this](QTreeWidgetItem *item) {
        if (auto *element = dynamic_cast<CheckableTreeElement *>(item); element && element->isCheckable())
            _onIconClicked(element);
    });
    connect(m_tree, &QTreeWidget::customContextMenuRequested, this, &MapViewDelegate::_onContextMenuRequested);
}

void MapViewDelegate::build(const QList<const MapDisplayInfo *> &newTopLevelMaps,
                            const QList<const MapDisplayInfo *> &existingMaps)
{
    m_tree->clear();
    m_elements.clear();
    m_elementOfEntry.clear();

    // An offer shares the row of the installed map with its code: its update or the same version
    // (also the reinstallation of a damaged map).
    QHash<QString, const MapDisplayInfo *> installedByCode;
    for (const MapDisplayInfo *installed : existingMaps) {
        if (!installedByCode.contains(installed->map->code))
            installedByCode.insert(installed->map->code, installed);
    }
    const auto offerElement = [&](const MapDisplayInfo *offer) {
        const MapDisplayInfo *installed = nullptr;
        if (offer->kind == MapDisplayInfo::UpdateOrReplacement || offer->kind == MapDisplayInfo::SameVersion
            || offer->kind == MapDisplayInfo::Reinstallation)
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
    // A new tree is read as a whole; only later changes of a row are announced.
    for (MapViewElement *element : std::as_const(m_elements)) {
        element->refresh();
        element->takeTextChange();
    }
}

void MapViewDelegate::addElement(MapViewElement *element)
{
    m_elements.append(element);
    for (const MapDisplayInfo *entry : {element->newEntry(), element->installedEntry()}) {
        if (entry)
            m_elementOfEntry.insert(entry, element);
    }
}

bool MapViewDelegate::setNewMapState(const MapDisplayInfo *newMap, PACKAGE_STATE state)
{
    MapViewElement *row = rowOfOffer(newMap);
    if (!row)
        return false;
    row->setNewState(state);
    redraw(row);
    return true;
}

void MapViewDelegate::setNewMapEnabled(const MapDisplayInfo *newMap, bool enabled)
{
    if (MapViewElement *row = rowOfOffer(newMap)) {
        row->setMapEnabled(enabled);
        redraw(row);
    }
}

bool MapViewDelegate::setExistingMapState(const MapDisplayInfo *existingMap, PACKAGE_STATE state)
{
    MapViewElement *row = elementOf(existingMap);
    if (!row || row->installedEntry() != existingMap)
        return false;
    // The services mark an installed map that the selection deletes with state 2.
    row->setInstalledDeleted(state == PS_GROUP_PARTLY_SELECTED);
    redraw(row);
    return true;
}

void MapViewDelegate::reset()
{
    for (MapViewElement *element : std::as_const(m_elements))
        element->reset();
}

void MapViewDelegate::refresh()
{
    for (MapViewElement *element : std::as_const(m_elements)) {
        element->refresh();
        if (element->takeTextChange())
            m_tree->announceChange(element);
    }
}

PACKAGE_STATE MapViewDelegate::shownState(const MapDisplayInfo *newMap) const
{
    const MapViewElement *element = elementOf(newMap);
    return element ? element->state() : PS_NEW_AVAILABLE;
}

void MapViewDelegate::chooseGroup(const MapDisplayInfo *group, bool install)
{
    MapViewElement *groupElement = rowOfOffer(group);
    if (!groupElement)
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

MapViewElement *MapViewDelegate::rowOfOffer(const MapDisplayInfo *newMap) const
{
    MapViewElement *row = elementOf(newMap);
    return row && row->newEntry() == newMap ? row : nullptr;
}

// A group row shows whether any of its maps is chosen.
void MapViewDelegate::redraw(MapViewElement *row)
{
    row->refresh();
    if (QTreeWidgetItem *group = row->parent())
        static_cast<MapViewElement *>(group)->refresh();
}
