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
    int nextMountId = 100;
};

void writeDisk(TreeWriter &tree, MachineState &state, const QString &scsiFolder, const FixtureDisk &disk, bool withUdev)
{
    const QString name = "sd" + QString(QChar('a' + state.nextDisk));
    const int minor = 16 * state.nextDisk++;
    tree.attribute(scsiFolder, "vendor", disk.vendor.leftJustified(8));
    tree.attribute(scsiFolder, "model", disk.model.leftJustified(16));
    tree.attribute(scsiFolder, "type", "0");

    const QString diskFolder = scsiFolder + "/block/" + name;
    tree.attribute(diskFolder, "dev", QString("8:%1").arg(minor));
    tree.attribute(diskFolder, "removable", disk.removable ? "1" : "0");
    tree.attribute(diskFolder, "ro", "0");
    tree.attribute(diskFolder, "size", disk.hasMedia ? "7831552" : "0");
    // The kernel's own spelling of this link.
    tree.relativeLink("../../../" + QFileInfo(scsiFolder).fileName(), diskFolder + "/device");
    tree.link(diskFolder, state.sys + "/block/" + name);
    tree.link(diskFolder, state.sys + QString("/dev/block/8:%1").arg(minor));

    for (const FixtureVolume &volume : disk.volumes) {
        const int volumeMinor = minor + volume.partition;
        QString volumeName = name;
        if (volume.partition > 0) {
            volumeName += QString::number(volume.partition);
            const QString partitionFolder = diskFolder + '/' + volumeName;
            tree.attribute(partitionFolder, "dev", QString("8:%1").arg(volumeMinor));
            tree.attribute(partitionFolder, "partition", QString::number(volume.partition));
            tree.attribute(partitionFolder, "start", "2048");
            tree.attribute(partitionFolder, "size", "7829504");
            tree.attribute(partitionFolder, "ro", "0");
            tree.link(partitionFolder, state.sys + QString("/dev/block/8:%1").arg(volumeMinor));
        }
        if (withUdev && disk.hasMedia) {
            QByteArray data = "I:1730000000\n";
            if (!volume.uuid.isEmpty())
                data += "S:disk/by-uuid/" + volume.uuid.toUtf8() + "\nE:ID_FS_UUID=" + volume.uuid.toUtf8()
                        + "\nE:ID_FS_UUID_ENC=" + volume.uuid.toUtf8() + '\n';
            if (!volume.label.isEmpty()) {
                QByteArray safe = volume.label.toUtf8();
                safe.replace(' ', '_');
                data += "E:ID_FS_LABEL=" + safe + "\nE:ID_FS_LABEL_ENC=" + udevEncode(volume.label) + '\n';
            }
            data += "E:ID_FS_TYPE=" + volume.fileSystemType.toUtf8() + "\nG:systemd\n";
            tree.file(state.udev + QString("/b8:%1").arg(volumeMinor), data);
        }
        if (volume.mounted && disk.hasMedia) {
            tree.folder(volume.mountPoint);
            const QByteArray mountId = QByteArray::number(state.nextMountId++);
            state.mountInfo += mountId + " 28 8:" + QByteArray::number(volumeMinor)
                               + " / " + escapeMountPath(volume.mountPoint)
                               + " rw,nosuid,nodev,relatime shared:" + mountId
                               + " - " + volume.fileSystemType.toUtf8() + " /dev/" + volumeName.toUtf8()
                               + " rw,uid=1000,gid=1000\n";
        }
    }
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
        writeDisk(tree, state, scsi, machine.fixedDisks.at(i), machine.withUdev);
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
            writeDisk(tree, state, scsi, usb.luns.at(lun), machine.withUdev);
        }
    }
    tree.file(root + "/proc/self/mountinfo", state.mountInfo);
    if (!tree.ok() && error)
        *error = tree.error();
    return tree.ok();
}
