#pragma once

#include "dottedversion.h"
#include "freespacechecker.h"
#include "mapinfo.h"
#include "packagefile.h"

#include <QList>

// The rules of a map update that the wizard and the command-line program share: for which navigators
// maps exist, what is downloaded, whether the folder's old map data goes first, and what room the new
// maps have.
namespace MapUpdateRules {

// Maps are offered for navigators of this version and later.
DottedVersion lowestNavigatorWithMaps();

// One file per map to install, in the order of the maps.
QList<PackageFile> downloads(const QList<const MapInfo *> &mapsToInstall);

// The folder's other (old) map data is deleted before new maps are copied; an unknown size (-1)
// counts as some.
bool deletesOldMaps(const FreeSpaceChecker &folder);

// Free space plus the old map data deleted first; -1 when either is unknown.
qint64 room(const FreeSpaceChecker &folder);

// What the new maps may take: the room plus the installed maps the selection deletes, which go before
// the new ones are copied. An unknown room counts as none.
quint64 available(qint64 room, quint64 freedByDeletedMaps);

quint64 totalSize(const QList<const MapInfo *> &maps);

} // namespace MapUpdateRules
