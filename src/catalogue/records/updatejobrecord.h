#pragma once

#include "mapinfo.h"
#include "productinfo.h"

#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

// An update of one device as the device itself keeps it, from before the job's first change until after
// its last, so that a job cut short (a pulled cable, a crash, a power loss) can be finished or undone.
struct UpdateJobRecord
{
    enum Kind : int { NavigatorJob = 0, MapJob = 1 };

    Kind kind = MapJob;
    QDateTime started;
    QString backupId;              // the backup made before the job; empty when the user chose none
    QString contentUid;            // the content folder that keeps the record; a map job changes its maps
    ProductInfo navigatorPackage;  // navigator job: the package being installed
    QString navigatorPath;         // navigator job: the executable it replaces, as a portable path
    QList<MapInfo> mapsToInstall;  // map job: the server's records of the new maps
    QList<MapInfo> mapsToDelete;   // map job: installed maps that go; file name below the Maps folder
    bool deleteOldMapData = false; // map job: the old map data goes once the new maps are in place
    QStringList installed;         // file names of the maps to install that are in place
    QStringList removedEarly;      // file names of installed maps removed ahead of time for room

    // The maps still to install, in the order of the job.
    QList<MapInfo> mapsLeft() const;
};

Q_DECLARE_METATYPE(UpdateJobRecord)
