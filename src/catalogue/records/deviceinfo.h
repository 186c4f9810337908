#pragma once

#include "storageinfo.h"

#include <QList>
#include <QMetaType>
#include <QString>

// One device found by a device search.
struct DeviceInfo
{
    enum Kind : int { ActiveSync = 1, Storage = 2, Symbian = 3, Android = 4 };

    QString name;
    int kind = 0;
    bool isConnectedProperly = true;
    int index = -1;
    bool isReadOnly = false;
    bool hasUnfinishedUpdate = false; // the device keeps the record of an update that did not finish
    // For lists that describe the storages one by one: the name without what tells the storages apart
    // in a plain list (a storage device's volumes); empty when that is the name itself.
    QString title;
    QList<StorageInfo> storages;

    // The name as the device list shows it, with at most one remark.
    QString listText() const;
};

Q_DECLARE_METATYPE(DeviceInfo)
