#include "updatejobrecord.h"

QList<MapInfo> UpdateJobRecord::mapsLeft() const
{
    QList<MapInfo> left;
    for (const MapInfo &map : mapsToInstall) {
        if (!installed.contains(map.file.fileName, Qt::CaseInsensitive))
            left.append(map);
    }
    return left;
}
