#pragma once

#include "devicesearchlistener.h"
#include "listeners.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace vktpdl {

class DeviceSearcher;

// Finds the connected devices through its searchers and keeps them until the next search. Callers see
// the devices of the other searchers first, then the storage devices, each in the order found.
class DeviceManager final : public DeviceSearchListener
{
public:
    // The searchers of every transport this build has, in search order. Devices that install software
    // write their files to the folder downloadsFolder names.
    explicit DeviceManager(const std::function<QString()> &downloadsFolder);
    // Takes over the searchers and initialises each, in list order.
    explicit DeviceManager(std::vector<std::unique_ptr<DeviceSearcher>> searchers);
    ~DeviceManager() override;
    DeviceManager(const DeviceManager &) = delete;
    DeviceManager &operator=(const DeviceManager &) = delete;

    // Runs every searcher on its share of the progress; 0 when the search ran to its end, 1 when it was
    // cancelled (then no device is kept).
    int searchDevices(vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont);
    int deviceCount() const;
    // Null outside 0 .. deviceCount() - 1. Valid until the next search or clearDevices.
    DeviceHandler *device(int index) const;
    // The device at index when it is a storage device, else null.
    MIDeviceHandler *storageDevice(int index) const;
    void clearDevices();

    void deviceFound(std::unique_ptr<DeviceHandler> device) override;
    void storageDeviceFound(std::unique_ptr<MIDeviceHandler> device) override;

private:
    std::vector<std::unique_ptr<DeviceSearcher>> m_searchers;
    std::vector<std::unique_ptr<DeviceHandler>> m_devices;
    std::vector<std::unique_ptr<MIDeviceHandler>> m_storageDevices;
};

} // namespace vktpdl
