#pragma once

#include "enums.h"
#include "mapdisplayinfo.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>

class CheckableTreeElement;
class MapTree;
class MapViewElement;
class TreeItemDelegate;

// Builds the map tree of the selection page from the package services' entries, shows the states it is
// told, and turns a click on a map's icon into the state that the click asks for. Offered maps keep the
// services' grouping (regional maps under their country); an installed map shares the row of the offer
// with its code; rows are sorted by name.
class MapViewDelegate : public QObject
{
    Q_OBJECT

public:
    explicit MapViewDelegate(MapTree *tree, QObject *parent = nullptr);

    void build(const QList<const MapDisplayInfo *> &newTopLevelMaps, const QList<const MapDisplayInfo *> &existingMaps);

    // Offered (or installed) entries that are not part of the current tree are ignored; the two states
    // tell whether they were taken.
    bool setNewMapState(const MapDisplayInfo *newMap, PACKAGE_STATE state);
    void setNewMapEnabled(const MapDisplayInfo *newMap, bool enabled);
    bool setExistingMapState(const MapDisplayInfo *existingMap, PACKAGE_STATE state);

    // Every map back to nothing chosen, before the services report the states of a new selection.
    void reset();
    // Icons and texts from the states; a screen reader hears of each row whose text changed.
    void refresh();

    // What the row of an offered map shows; PS_NEW_AVAILABLE for an entry not in the tree.
    PACKAGE_STATE shownState(const MapDisplayInfo *newMap) const;

    // Asks for every changeable map of a group (the country and its regional maps) to be installed,
    // or for none of them to be chosen, as one selection.
    void chooseGroup(const MapDisplayInfo *group, bool install);

Q_SIGNALS:
    void clickedMap(const MapDisplayInfo *_pMap, PACKAGE_STATE _state);
    void setMapsSelection(QMap<const MapDisplayInfo *, PACKAGE_STATE> _mapsSelection);

private Q_SLOTS:
    void _onIconClicked(CheckableTreeElement *_pElement);
    void _onContextMenuRequested(const QPoint &_pos);

private:
    MapViewElement *elementOf(const MapDisplayInfo *entry) const;
    MapViewElement *rowOfOffer(const MapDisplayInfo *newMap) const;
    void redraw(MapViewElement *row);
    void addElement(MapViewElement *element);

    MapTree *m_tree;
    TreeItemDelegate *m_itemDelegate;
    QList<MapViewElement *> m_elements;
    // Both the offered and the installed entry of a row lead to it.
    QHash<const MapDisplayInfo *, MapViewElement *> m_elementOfEntry;
};
