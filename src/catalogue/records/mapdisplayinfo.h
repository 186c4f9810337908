#pragma once

#include "mapinfo.h"

#include <QList>
#include <QMetaType>

// One entry of the map selection tree; owned by the package services, shown through const pointers.
struct MapDisplayInfo
{
    enum EntryKind : int { UpdateOrReplacement = 0, NewMap = 1, SameVersion = 2, Installed = 3 };

    const MapInfo *map = nullptr;
    int kind = UpdateOrReplacement;
    QList<const MapDisplayInfo *> children; // regional maps of a grouped country map
};

Q_DECLARE_METATYPE(const MapDisplayInfo *)
