#pragma once

#include "freespacechecker.h"
#include "mapinfo.h"
#include "storageinfo.h"

#include <QList>
#include <QMetaType>
#include <QString>

// One KorwindContent folder found on a device.
struct KorwindContentInfo
{
    QString path;
    QString name;
    FreeSpaceChecker freeSpaceChecker;
    QString uid;          // the folder's identity, by which it is found again after a reconnection
    QList<MapInfo> maps;  // maps installed in the folder
    QString contentText;  // full path of the folder's Maps folder
    bool isReadOnly = false;
    StorageInfo storage;  // the storage that holds the folder
};

Q_DECLARE_METATYPE(KorwindContentInfo)
