#pragma once

#include "devicesearcher.h"
#include "machineroots.h"

#include <QStringList>

#include <functional>
#include <memory>

namespace vktpdl {

class FileSystem;

// Finds the removable USB volumes and makes one StorageCardDevice of the volumes of each physical USB
// device (the partitions of a stick, the cards in the slots of a card reader).
class StorageCardDevicesSearcher final : public DeviceSearcher
{
public:
    // Makes the file system through which a device's volumes are reached (tests put a fault-injecting one
    // there); null gives the PC's own.
    using VolumeFiles = std::function<std::unique_ptr<FileSystem>(const QStringList &volumes)>;

    explicit StorageCardDevicesSearcher(const MachineRoots &roots, VolumeFiles volumeFiles = nullptr);

    void initialize() override;
    void search(DeviceSearchListener &listener, vktcommon::ProgressListener *progress,
                vktcommon::ContinueListener *cont) override;
    void shutdown() override;

private:
    MachineRoots m_roots;
    VolumeFiles m_volumeFiles;
};

} // namespace vktpdl
