#pragma once

#include "machineroots.h"
#include "mountinfo.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QtGlobal>

// What identifies one mounted volume: the names the device list shows and the identity that finds the
// volume again after it was plugged in under another mount point.
struct VolumeIdentity
{
    QString volumeName;  // the mount point
    QString label;       // the file system's label; empty when not known (no udev data)
    QString diskCaption; // vendor and model of the disk (and "USB Device" on USB); empty when it names neither
    QString identity;    // the file system's UUID where known, else the USB device (or SD card, or disk),
                         // LUN and partition; never contains '|'
    bool readOnly = false; // mounted read-only, or the disk is write-protected (an SD card's lock switch)
    // A memory card: in one of the computer's own card slots, or a later unit of a USB device (a
    // navigation device shows its own memory as the first unit and its card slot after it).
    bool isCard = false;
};

// A block device number, ordered like the pair (major, minor).
constexpr quint64 blockDeviceNumber(quint32 major, quint32 minor)
{
    return (quint64(major) << 32) | minor;
}

// The removable volumes of the machine (USB storage and cards in the computer's own SD card slots), read
// from the mount table and sysfs (and udev data where present) each time they are asked for, so a volume
// that went away is simply no longer found.
class RemovableVolumes
{
public:
    explicit RemovableVolumes(const MachineRoots &roots = MachineRoots::fromEnvironment());

    // The file systems mounted from block devices, each device once (its first whole mount), in the
    // order of the mount table. False when the mount table cannot be read.
    bool blockMounts(QList<MountEntry> &mounts) const;
    // True when the mounted volume lies on a removable disk with media behind a USB mass-storage
    // interface, or on an SD card in a built-in card slot; diskNumber is then that disk's device number.
    bool isRemovableVolume(const MountEntry &mount, quint64 &diskNumber) const;
    // Every removable disk: its device number and the identity of what it belongs to, the USB device
    // (the LUNs of one card reader share it) or the card slot.
    QMap<quint64, QString> removableDiskParents() const;
    // Identifies what is mounted at mountPoint now; false when no block device is mounted there.
    bool identify(const QString &mountPoint, VolumeIdentity &identity) const;

private:
    struct BlockDevice;
    struct Disk;

    bool findBlockDevice(const MountEntry &mount, BlockDevice &device) const;
    bool readDisk(const QString &folder, Disk &disk) const;
    bool isRemovable(const Disk &disk) const;
    QMap<QString, QString> udevProperties(quint64 number) const;
    // The block device whose udev data holds value under one of keys; 0 when none does.
    quint64 numberByUdevProperty(const QStringList &keys, const QString &value) const;

    MachineRoots m_roots;
};
