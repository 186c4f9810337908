#include "fixturemachine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

class TreeWriter
{
public:
    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }

    void file(const QString &path, const QByteArray &contents)
    {
        if (!ok())
            return;
        QDir().mkpath(QFileInfo(path).path());
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(contents) != contents.size())
            m_error = "cannot write " + path;
    }

    void attribute(const QString &folder, const QString &name, const QString &value)
    {
        file(folder + '/' + name, value.toUtf8() + '\n');
    }

    // A relative link, as sysfs has them, so the tree can be moved.
    void link(const QString &target, const QString &linkPath)
    {
        QDir().mkpath(target);
        relativeLink(QDir(QFileInfo(linkPath).path()).relativeFilePath(target), linkPath);
    }

    void relativeLink(const QString &relative, const QString &linkPath)
    {
        if (!ok())
            return;
        QDir().mkpath(QFileInfo(linkPath).path());
        if (!QFile::link(relative, linkPath))
            m_error = "cannot link " + linkPath;
    }

    void folder(const QString &path)
    {
        if (ok() && !QDir().mkpath(path))
            m_error = "cannot create " + path;
    }

private:
    QString m_error;
};

// The kernel escapes space, tab, newline and backslash in mountinfo paths.
QByteArray escapeMountPath(const QString &path)
{
    QByteArray escaped;
    for (const char c : QFile::encodeName(path)) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\\')
            escaped += '\\' + QByteArray::number(uchar(c), 8).rightJustified(3, '0');
        else
            escaped += c;
    }
    return escaped;
}

// Udev's encoding of a label: anything but plain characters as \xNN.
QByteArray udevEncode(const QString &text)
{
    QByteArray encoded;
    for (const char c : text.toUtf8()) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.')
            encoded += c;
        else
            encoded += "\\x" + QByteArray::number(uchar(c), 16).rightJustified(2, '0');
    }
    return encoded;
}

struct MachineState
{
    QString sys;
    QString udev;
    QByteArray mountInfo;
    int nextDisk = 0;
    int nextCard = 0;
    int nextMountId = 100;
    int nextAnonymous = 60; // device numbers 0:N of file systems in user space
};

// How a disk is named: sdX with 16 minors per disk, or mmcblkN with 8 and partitions "pM".
struct DiskNaming
{
    QString name;
    int major;
    int minor;
    QString partitionPrefix;
};

// Writes the block device below deviceFolder (the SCSI device or the SD card, whose own attributes the
// caller writes), its partitions, their udev data and their mounts.
void writeDisk(TreeWriter &tree, MachineState &state, const QString &deviceFolder, const FixtureDisk &disk,
               const DiskNaming &naming, bool removable, bool withUdev)
{
    const QString &name = naming.name;
    const QString diskFolder = deviceFolder + "/block/" + name;
    const QString number = QString("%1:%2").arg(naming.major).arg(naming.minor);
    const QString readOnly = disk.writeProtected ? "1" : "0";
    tree.attribute(diskFolder, "dev", number);
    tree.attribute(diskFolder, "removable", removable ? "1" : "0");
    tree.attribute(diskFolder, "ro", readOnly);
    tree.attribute(diskFolder, "size", disk.hasMedia ? "7831552" : "0");
    // The kernel's own spelling of this link.
    tree.relativeLink("../../../" + QFileInfo(deviceFolder).fileName(), diskFolder + "/device");
    tree.link(diskFolder, state.sys + "/block/" + name);
    tree.link(diskFolder, state.sys + "/dev/block/" + number);

    for (const FixtureVolume &volume : disk.volumes) {
        const int volumeMinor = naming.minor + volume.partition;
        QString volumeName = name;
        if (volume.partition > 0) {
            volumeName += naming.partitionPrefix + QString::number(volume.partition);
            const QString partitionFolder = diskFolder + '/' + volumeName;
            tree.attribute(partitionFolder, "dev", QString("%1:%2").arg(naming.major).arg(volumeMinor));
            tree.attribute(partitionFolder, "partition", QString::number(volume.partition));
            tree.attribute(partitionFolder, "start", "2048");
            tree.attribute(partitionFolder, "size", "7829504");
            tree.attribute(partitionFolder, "ro", readOnly);
            tree.link(partitionFolder, state.sys + QString("/dev/block/%1:%2").arg(naming.major).arg(volumeMinor));
        }
        if (withUdev && disk.hasMedia) {
            QByteArray data = "I:1730000000\n";
            if (!volume.uuid.isEmpty())
                data += "S:disk/by-uuid/" + volume.uuid.toUtf8() + "\nE:ID_FS_UUID=" + volume.uuid.toUtf8()
                        + "\nE:ID_FS_UUID_ENC=" + volume.uuid.toUtf8() + '\n';
            if (!volume.label.isEmpty()) {
                QByteArray safe = volume.label.toUtf8();
                safe.replace(' ', '_');
                data += "S:disk/by-label/" + udevEncode(volume.label) + "\nE:ID_FS_LABEL=" + safe
                        + "\nE:ID_FS_LABEL_ENC=" + udevEncode(volume.label) + '\n';
            }
            data += "E:ID_FS_TYPE=" + volume.fileSystemType.toUtf8() + "\nG:systemd\n";
            tree.file(state.udev + QString("/b%1:%2").arg(naming.major).arg(volumeMinor), data);
        }
        if (volume.mounted && disk.hasMedia) {
            tree.folder(volume.mountPoint);
            const QByteArray mountId = QByteArray::number(state.nextMountId++);
            // A file system in user space gets an anonymous device number; only its source names the disk.
            const QByteArray mountNumber = volume.fileSystemType == "fuseblk"
                                               ? "0:" + QByteArray::number(state.nextAnonymous++)
                                               : QByteArray::number(naming.major) + ':' + QByteArray::number(volumeMinor);
            QByteArray source = "/dev/" + volumeName.toUtf8();
            if (volume.source == "uuid")
                source = "/dev/disk/by-uuid/" + volume.uuid.toUtf8();
            else if (volume.source == "label")
                source = "/dev/disk/by-label/" + udevEncode(volume.label);
            const QByteArray access = disk.writeProtected ? "ro" : "rw";
            state.mountInfo += mountId + " 28 " + mountNumber + " / " + escapeMountPath(volume.mountPoint) + ' '
                               + access + ",nosuid,nodev,relatime shared:" + mountId + " - "
                               + volume.fileSystemType.toUtf8() + ' ' + source + ' ' + access + ",uid=1000,gid=1000\n";
        }
    }
}

void writeScsiDisk(TreeWriter &tree, MachineState &state, const QString &scsiFolder, const FixtureDisk &disk,
                   bool withUdev)
{
    tree.attribute(scsiFolder, "vendor", disk.vendor.leftJustified(8));
    tree.attribute(scsiFolder, "model", disk.model.leftJustified(16));
    tree.attribute(scsiFolder, "type", "0");
    const int index = state.nextDisk++;
    writeDisk(tree, state, scsiFolder, disk, {"sd" + QString(QChar('a' + index)), 8, 16 * index, ""}, disk.removable,
              withUdev);
}

} // namespace

bool writeFixtureMachine(const QString &root, const FixtureMachine &machine, QString *error)
{
    for (const char *top : {"sys", "proc", "run"})
        QDir(root + '/' + top).removeRecursively();
    TreeWriter tree;
    MachineState state;
    state.sys = root + "/sys";
    state.udev = root + "/run/udev/data";
    state.mountInfo = "22 28 0:21 / /proc rw,relatime - proc proc rw\n"
                      "23 28 0:22 / /sys rw,relatime - sysfs sysfs rw\n"
                      "26 24 0:24 / /dev/shm rw,relatime - tmpfs tmpfs rw\n";
    tree.folder(state.sys + "/block");
    if (machine.withUdev)
        tree.folder(state.udev);

    int host = 0;
    for (int i = 0; i < machine.fixedDisks.size(); ++i, ++host) {
        const QString scsi = state.sys + QString("/devices/pci0000:00/0000:00:17.0/ata%1/host%2/target%2:0:0/%2:0:0:0")
                                             .arg(i + 1).arg(host);
        writeScsiDisk(tree, state, scsi, machine.fixedDisks.at(i), machine.withUdev);
    }
    const QString bus = state.sys + "/devices/pci0000:00/0000:00:14.0/usb1";
    tree.attribute(bus, "idVendor", "1d6b"); // the root hub is a USB device as well
    tree.attribute(bus, "idProduct", "0002");
    for (int i = 0; i < machine.usbDevices.size(); ++i, ++host) {
        const FixtureUsbDevice &usb = machine.usbDevices.at(i);
        const QString port = QString("1-%1").arg(i + 1);
        const QString device = bus + '/' + port;
        tree.attribute(device, "idVendor", usb.vendorId);
        tree.attribute(device, "idProduct", usb.productId);
        tree.attribute(device, "busnum", "1");
        tree.attribute(device, "devnum", QString::number(i + 2));
        if (!usb.serial.isEmpty())
            tree.attribute(device, "serial", usb.serial);
        const QString interface = device + '/' + port + ":1.0";
        tree.attribute(interface, "bInterfaceClass", usb.interfaceClass);
        tree.attribute(interface, "bInterfaceSubClass", "06");
        tree.attribute(interface, "bInterfaceProtocol", "50");
        for (int lun = 0; lun < usb.luns.size(); ++lun) {
            const QString scsi = interface + QString("/host%1/target%1:0:0/%1:0:0:%2").arg(host).arg(lun);
            writeScsiDisk(tree, state, scsi, usb.luns.at(lun), machine.withUdev);
        }
    }
    // The card reader of the computer itself, one slot per MMC host.
    const QString reader = state.sys + "/devices/pci0000:00/0000:00:1e.6/mmc_host";
    for (int i = 0; i < machine.cardSlots.size(); ++i) {
        const FixtureCardSlot &slot = machine.cardSlots.at(i);
        const QString host = reader + QString("/mmc%1").arg(i);
        tree.folder(host);
        if (!slot.hasCard)
            continue;
        const QString card = host + QString("/mmc%1:aaaa").arg(i);
        tree.attribute(card, "type", slot.cardType);
        tree.attribute(card, "name", slot.cardName);
        tree.attribute(card, "serial", slot.serial);
        tree.attribute(card, "manfid", "0x000003");
        tree.attribute(card, "oemid", "0x5344");
        const int index = state.nextCard++;
        writeDisk(tree, state, card, slot.card, {QString("mmcblk%1").arg(index), 179, 8 * index, "p"}, false,
                  machine.withUdev);
    }
    tree.file(root + "/proc/self/mountinfo", state.mountInfo);
    if (!tree.ok() && error)
        *error = tree.error();
    return tree.ok();
}
