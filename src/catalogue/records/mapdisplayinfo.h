#pragma once

#include "mapinfo.h"

#include <QList>
#include <QMetaType>

// One entry of the map selection tree; owned by the package services, shown through const pointers.
struct MapDisplayInfo
{
    // Reinstallation: an offer in the version of an installed map that is damaged, with no newer
    // version of its code offered; installing it repairs the map.
    enum EntryKind : int { UpdateOrReplacement = 0, NewMap = 1, SameVersion = 2, Installed = 3, Reinstallation = 4 };

    const MapInfo *map = nullptr;
    int kind = UpdateOrReplacement;
    QList<const MapDisplayInfo *> children; // regional maps of a grouped country map
};

Q_DECLARE_METATYPE(const MapDisplayInfo *)
