#include "deviceinfo.h"

#include <QCoreApplication>

QString DeviceInfo::listText() const
{
    if (isReadOnly)
        return name + QCoreApplication::translate("DeviceInfo", " (device in a read only mode!)");
    if (!isConnectedProperly)
        return name + QCoreApplication::translate("DeviceInfo", " (plugged in a wrong way!)");
    return name;
}
