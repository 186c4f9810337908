#pragma once

#include <memory>

namespace vktpdl {

class DeviceHandler;
class MIDeviceHandler;

// Receives the devices a searcher finds and takes them over.
class DeviceSearchListener
{
public:
    virtual ~DeviceSearchListener() = default;
    // A phone or a Windows CE device.
    virtual void deviceFound(std::unique_ptr<DeviceHandler> device) = 0;
    // A storage device.
    virtual void storageDeviceFound(std::unique_ptr<MIDeviceHandler> device) = 0;
};

} // namespace vktpdl
