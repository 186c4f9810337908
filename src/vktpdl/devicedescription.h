#pragma once

#include <QString>

namespace vktpdl {

// How a device describes itself for the device list.
struct DeviceDescription
{
    QString name;
    QString secondName;
    QString thirdText;
    int supported = 0;             // 1: the program can update this device
    int platform = 0;              // 1 Windows Mobile, 2 Windows CE or storage, 3 Symbian
    bool allRootsReadOnly = false; // every storage root is write-protected
};

} // namespace vktpdl
