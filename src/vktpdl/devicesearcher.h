#pragma once

#include "listeners.h"

namespace vktpdl {

class DeviceSearchListener;

// Finds the connected devices of one transport. A missing transport simply finds nothing.
class DeviceSearcher
{
public:
    virtual ~DeviceSearcher() = default;
    // Called once, when the device manager is built.
    virtual void initialize() = 0;
    // Reports every device found to the listener.
    virtual void search(DeviceSearchListener &listener, vktcommon::ProgressListener *progress,
                        vktcommon::ContinueListener *cont) = 0;
    // Called once, before the searcher is deleted.
    virtual void shutdown() = 0;
};

} // namespace vktpdl
