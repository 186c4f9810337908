#pragma once

#include "devicesearcher.h"
#include "machineroots.h"

namespace vktpdl {

// Finds the removable USB volumes and makes one StorageCardDevice of the volumes of each physical USB
// device (the partitions of a stick, the cards in the slots of a card reader).
class StorageCardDevicesSearcher final : public DeviceSearcher
{
public:
    explicit StorageCardDevicesSearcher(const MachineRoots &roots);

    void initialize() override;
    void search(DeviceSearchListener &listener, vktcommon::ProgressListener *progress,
                vktcommon::ContinueListener *cont) override;
    void shutdown() override;

private:
    MachineRoots m_roots;
};

} // namespace vktpdl
