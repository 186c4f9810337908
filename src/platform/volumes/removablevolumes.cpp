#include "removablevolumes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

// sysfs layout of a USB disk (the fixture generator writes the same):
//   <sys>/block/sdb -> ../devices/.../usb1/1-2/1-2:1.0/host6/target6:0:0/6:0:0:0/block/sdb
//   sdb/{dev,removable,size}, sdb/sdb1/{dev,partition}, sdb/device -> the SCSI device 6:0:0:0 {vendor,model}
//   1-2 is the USB device {idVendor,idProduct,serial}, 1-2:1.0 its interface {bInterfaceClass}.

struct RemovableVolumes::BlockDevice
{
    QString diskFolder; // canonical sysfs folder of the whole disk
    int partition = 0;  // 0: the file system sits on the whole disk
    quint64 number = 0; // of the partition (or the disk)
};

struct RemovableVolumes::Disk
{
    quint64 number = 0;
    bool removable = false;
    bool hasMedia = false;
    QString devicePath;   // the disk's device folder relative to <sys>/devices
    QString lun;          // the last field of the SCSI address "host:channel:target:lun"
    QString vendor;
    QString model;
    QString usbFolder;    // the USB device; empty when the disk is not behind a mass-storage interface
    QString usbIdentity;  // its folder relative to <sys>/devices: unique while it is plugged in
    QString usbVendorId;
    QString usbProductId;
    QString usbSerial;
};

namespace {

constexpr char massStorageClass[] = "08";

// One sysfs attribute, trimmed; a missing one reads as empty.
QString attribute(const QString &folder, const QString &name)
{
    QFile file(folder + QLatin1Char('/') + name);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.read(4096)).trimmed();
}

bool hasAttribute(const QString &folder, const QString &name)
{
    return QFileInfo::exists(folder + QLatin1Char('/') + name);
}

// Reads "major:minor".
bool parseDeviceNumber(const QString &text, quint64 &number)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    bool majorOk = false;
    bool minorOk = false;
    if (parts.size() != 2)
        return false;
    const quint32 major = parts.at(0).toUInt(&majorOk);
    const quint32 minor = parts.at(1).toUInt(&minorOk);
    number = blockDeviceNumber(major, minor);
    return majorOk && minorOk;
}

QStringList subfolders(const QString &folder)
{
    return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

// udev writes "\x20" for characters outside its safe set.
QString decodeUdevText(const QString &text)
{
    QByteArray bytes;
    const QByteArray raw = text.toUtf8();
    for (qsizetype i = 0; i < raw.size(); ++i) {
        bool ok = false;
        if (raw.at(i) == '\\' && i + 3 < raw.size() && raw.at(i + 1) == 'x') {
            const int value = raw.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                bytes.append(char(value));
                i += 3;
                continue;
            }
        }
        bytes.append(raw.at(i));
    }
    return QString::fromUtf8(bytes);
}

QString withoutBars(QString text)
{
    return text.replace(QLatin1Char('|'), QLatin1Char('_'));
}

} // namespace

RemovableVolumes::RemovableVolumes(const MachineRoots &roots)
    : m_roots(roots)
{
}

bool RemovableVolumes::blockMounts(QList<MountEntry> &mounts) const
{
    QList<MountEntry> entries;
    if (!readMountInfo(m_roots.mountInfo, entries))
        return false;
    QSet<quint64> seen;
    for (const MountEntry &entry : entries) {
        BlockDevice device;
        // A bind mount shows a folder of a file system that is mounted whole elsewhere.
        if (entry.root != QLatin1String("/") || !findBlockDevice(entry, device) || seen.contains(device.number))
            continue;
        seen.insert(device.number);
        mounts.append(entry);
    }
    return true;
}

bool RemovableVolumes::isRemovableUsbVolume(const MountEntry &mount, quint64 &diskNumber) const
{
    BlockDevice device;
    Disk disk;
    if (!findBlockDevice(mount, device) || !readDisk(device.diskFolder, disk))
        return false;
    // The removable bit alone also marks optical and internal card drives; the USB interface alone also
    // USB hard disks, which the program never treats as a navigation device.
    if (disk.usbFolder.isEmpty() || !disk.removable || !disk.hasMedia)
        return false;
    diskNumber = disk.number;
    return true;
}

QMap<quint64, QString> RemovableVolumes::usbDiskParents() const
{
    QMap<quint64, QString> parents;
    const QString blockFolder = m_roots.sysfs + QStringLiteral("/block");
    for (const QString &name : subfolders(blockFolder)) {
        Disk disk;
        if (readDisk(QFileInfo(blockFolder + QLatin1Char('/') + name).canonicalFilePath(), disk)
            && !disk.usbFolder.isEmpty())
            parents.insert(disk.number, disk.usbIdentity);
    }
    return parents;
}

bool RemovableVolumes::identify(const QString &mountPoint, VolumeIdentity &identity) const
{
    QList<MountEntry> mounts;
    if (!blockMounts(mounts))
        return false;
    for (const MountEntry &mount : mounts) {
        BlockDevice device;
        Disk disk;
        if (mount.mountPoint != mountPoint || !findBlockDevice(mount, device) || !readDisk(device.diskFolder, disk))
            continue;
        const QMap<QString, QString> udev = udevProperties(device.number);
        identity.volumeName = mountPoint;
        identity.label = udev.contains(QStringLiteral("ID_FS_LABEL_ENC"))
                             ? decodeUdevText(udev.value(QStringLiteral("ID_FS_LABEL_ENC")))
                             : udev.value(QStringLiteral("ID_FS_LABEL"));
        const bool usb = !disk.usbFolder.isEmpty();
        const QString names = QString(disk.vendor + QLatin1Char(' ') + disk.model).simplified();
        identity.diskCaption = names.isEmpty() || !usb ? names : names + QStringLiteral(" USB Device");
        const QString uuid = udev.value(QStringLiteral("ID_FS_UUID"));
        if (!uuid.isEmpty()) {
            identity.identity = withoutBars(QStringLiteral("uuid:") + uuid);
        } else if (!usb) {
            identity.identity = withoutBars(QStringLiteral("disk:") + disk.devicePath + QLatin1Char(':')
                                            + QString::number(device.partition));
        } else {
            // Without a UUID: the same stick in any port gives the same text; the serial tells sticks apart.
            identity.identity = withoutBars(QStringLiteral("usb:") + disk.usbVendorId + QLatin1Char(':')
                                            + disk.usbProductId + QLatin1Char(':') + disk.usbSerial
                                            + QLatin1Char(':') + disk.lun + QLatin1Char(':')
                                            + QString::number(device.partition));
        }
        return true;
    }
    return false;
}

bool RemovableVolumes::findBlockDevice(const MountEntry &mount, BlockDevice &device) const
{
    // A file system in user space (ntfs-3g) has no device number of its own; its source names the device.
    const quint64 wanted = blockDeviceNumber(mount.major, mount.minor);
    const bool byName = mount.major == 0;
    const QString wantedName = QFileInfo(mount.source).fileName();
    if (byName && !mount.source.startsWith(QLatin1String("/dev/")))
        return false;

    const QString blockFolder = m_roots.sysfs + QStringLiteral("/block");
    for (const QString &diskName : subfolders(blockFolder)) {
        const QString diskFolder = QFileInfo(blockFolder + QLatin1Char('/') + diskName).canonicalFilePath();
        quint64 number = 0;
        if (diskFolder.isEmpty() || !parseDeviceNumber(attribute(diskFolder, QStringLiteral("dev")), number))
            continue;
        if (byName ? diskName == wantedName : number == wanted) {
            device = {diskFolder, 0, number};
            return true;
        }
        for (const QString &partitionName : subfolders(diskFolder)) {
            const QString folder = diskFolder + QLatin1Char('/') + partitionName;
            if (!hasAttribute(folder, QStringLiteral("partition"))
                || !parseDeviceNumber(attribute(folder, QStringLiteral("dev")), number))
                continue;
            if (byName ? partitionName == wantedName : number == wanted) {
                device = {diskFolder, attribute(folder, QStringLiteral("partition")).toInt(), number};
                return true;
            }
        }
    }
    return false;
}

bool RemovableVolumes::readDisk(const QString &folder, Disk &disk) const
{
    if (folder.isEmpty() || !parseDeviceNumber(attribute(folder, QStringLiteral("dev")), disk.number))
        return false;
    disk.removable = attribute(folder, QStringLiteral("removable")) == QLatin1String("1");
    disk.hasMedia = attribute(folder, QStringLiteral("size")).toULongLong() > 0;

    const QString scsiDevice = QFileInfo(folder + QStringLiteral("/device")).canonicalFilePath();
    if (scsiDevice.isEmpty())
        return true;
    disk.lun = QFileInfo(scsiDevice).fileName().section(QLatin1Char(':'), -1);
    disk.vendor = attribute(scsiDevice, QStringLiteral("vendor"));
    disk.model = attribute(scsiDevice, QStringLiteral("model"));

    // Up from the SCSI device to the first folder that is a USB device; the folder passed on the way
    // there is the interface the disk hangs off.
    const QString devicesRoot = QFileInfo(m_roots.sysfs + QStringLiteral("/devices")).canonicalFilePath();
    if (devicesRoot.isEmpty() || !scsiDevice.startsWith(devicesRoot + QLatin1Char('/')))
        return true;
    disk.devicePath = scsiDevice.mid(devicesRoot.size() + 1);
    QString below;
    for (QString current = scsiDevice; current.startsWith(devicesRoot + QLatin1Char('/'));
         current = QFileInfo(current).path()) {
        if (hasAttribute(current, QStringLiteral("idVendor"))) {
            if (!below.isEmpty() && attribute(below, QStringLiteral("bInterfaceClass")) == QLatin1String(massStorageClass)) {
                disk.usbFolder = current;
                disk.usbIdentity = current.mid(devicesRoot.size() + 1);
                disk.usbVendorId = attribute(current, QStringLiteral("idVendor"));
                disk.usbProductId = attribute(current, QStringLiteral("idProduct"));
                disk.usbSerial = attribute(current, QStringLiteral("serial"));
            }
            break;
        }
        below = current;
    }
    return true;
}

QMap<QString, QString> RemovableVolumes::udevProperties(quint64 number) const
{
    // "E:KEY=value" lines of <udev>/b<major>:<minor>.
    QMap<QString, QString> properties;
    QFile file(m_roots.udevData + QStringLiteral("/b") + QString::number(number >> 32) + QLatin1Char(':')
               + QString::number(number & 0xffffffffu));
    if (!file.open(QIODevice::ReadOnly))
        return properties;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (line.startsWith(QLatin1String("E:")) && equals > 2)
            properties.insert(line.mid(2, equals - 2), line.mid(equals + 1));
    }
    return properties;
}
