#include "mapupdaterules.h"

namespace MapUpdateRules {

DottedVersion lowestNavigatorWithMaps()
{
    return DottedVersion(5, 0, 0, 0);
}

QList<PackageFile> downloads(const QList<const MapInfo *> &mapsToInstall)
{
    QList<PackageFile> files;
    for (const MapInfo *map : mapsToInstall)
        files.append(map->file);
    return files;
}

bool deletesOldMaps(const FreeSpaceChecker &folder)
{
    return folder.otherFilesSize() != 0;
}

qint64 room(const FreeSpaceChecker &folder)
{
    const qint64 freeSpace = folder.freeSpace();
    const qint64 otherFiles = folder.otherFilesSize();
    return freeSpace < 0 || otherFiles < 0 ? -1 : freeSpace + otherFiles;
}

quint64 available(qint64 room, quint64 freedByDeletedMaps)
{
    return room < 0 ? 0 : quint64(room) + freedByDeletedMaps;
}

quint64 totalSize(const QList<const MapInfo *> &maps)
{
    quint64 total = 0;
    for (const MapInfo *map : maps)
        total += map->file.size;
    return total;
}

} // namespace MapUpdateRules
