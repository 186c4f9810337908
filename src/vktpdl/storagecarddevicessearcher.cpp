#include "storagecarddevicessearcher.h"

#include "devicesearchlistener.h"
#include "listeners.h"
#include "removablevolumes.h"
#include "storagecarddevice.h"

#include <QList>
#include <QMap>

#include <algorithm>

namespace vktpdl {

namespace {

struct FoundVolume
{
    quint64 diskNumber;
    QString mountPoint;
};

} // namespace

StorageCardDevicesSearcher::StorageCardDevicesSearcher(const MachineRoots &roots, VolumeFiles volumeFiles)
    : m_roots(roots), m_volumeFiles(std::move(volumeFiles))
{
}

void StorageCardDevicesSearcher::initialize()
{
}

void StorageCardDevicesSearcher::shutdown()
{
}

void StorageCardDevicesSearcher::search(DeviceSearchListener &listener, vktcommon::ProgressListener *progress,
                                        vktcommon::ContinueListener *cont)
{
    const auto report = [progress](int percent) {
        if (progress)
            progress->setProgress(percent);
    };
    report(0);
    if (vktcommon::stopRequested(cont))
        return;
    const RemovableVolumes machine(m_roots);
    QList<MountEntry> mounts;
    if (!machine.blockMounts(mounts)) {
        report(100);
        if (cont)
            cont->shouldContinue();
        return;
    }

    QList<FoundVolume> volumes;
    const int count = int(mounts.size());
    for (int i = 0; i < count; ++i) {
        report(count == 1 ? 10 : int(10 + i * 90.0 / (count - 1)));
        if (vktcommon::stopRequested(cont))
            return;
        quint64 diskNumber = 0;
        if (machine.isRemovableVolume(mounts.at(i), diskNumber))
            volumes.append({diskNumber, mounts.at(i).mountPoint});
    }
    // Ordered by disk; the partitions of one disk keep the order of the mount table.
    std::stable_sort(volumes.begin(), volumes.end(),
                     [](const FoundVolume &a, const FoundVolume &b) { return a.diskNumber < b.diskNumber; });

    const QMap<quint64, QString> parents = machine.removableDiskParents();
    while (!volumes.isEmpty()) {
        const FoundVolume first = volumes.takeFirst();
        // Siblings: the other partitions of the same disk, then the volumes of the other disks of the
        // same USB device (or card slot), in disk order.
        QList<quint64> disks = {first.diskNumber};
        const auto parent = parents.constFind(first.diskNumber);
        if (parent != parents.constEnd()) {
            for (auto disk = parents.constBegin(); disk != parents.constEnd(); ++disk) {
                if (disk.key() != first.diskNumber && disk.value() == parent.value())
                    disks.append(disk.key());
            }
        }
        QStringList siblings;
        for (const quint64 disk : std::as_const(disks)) {
            for (auto volume = volumes.begin(); volume != volumes.end();) {
                if (volume->diskNumber == disk) {
                    siblings.append(volume->mountPoint);
                    volume = volumes.erase(volume);
                } else {
                    ++volume;
                }
            }
        }
        QString displayName = first.mountPoint;
        for (const QString &sibling : std::as_const(siblings))
            displayName += QStringLiteral(" + ") + sibling;
        const QStringList deviceVolumes = siblings + QStringList(first.mountPoint);
        listener.storageDeviceFound(std::make_unique<StorageCardDevice>(
            displayName, deviceVolumes, m_roots, m_volumeFiles ? m_volumeFiles(deviceVolumes) : nullptr));
    }
    report(100);
}

} // namespace vktpdl
