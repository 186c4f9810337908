#include "removablevolumes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

// sysfs layout of a USB disk (the fixture generator writes the same):
//   <sys>/block/sdb -> ../devices/.../usb1/1-2/1-2:1.0/host6/target6:0:0/6:0:0:0/block/sdb
//   sdb/{dev,removable,size}, sdb/sdb1/{dev,partition}, sdb/device -> the SCSI device 6:0:0:0 {vendor,model}
//   1-2 is the USB device {idVendor,idProduct,serial}, 1-2:1.0 its interface {bInterfaceClass}.
// and of an SD card in a built-in slot:
//   <sys>/block/mmcblk0 -> ../devices/pci0000:00/0000:00:1e.6/mmc_host/mmc0/mmc0:aaaa/block/mmcblk0
//   mmcblk0/device -> the card mmc0:aaaa {type,name,serial,manfid,oemid}; mmc0 is the slot.

struct RemovableVolumes::BlockDevice
{
    QString diskFolder; // canonical sysfs folder of the whole disk
    QString folder;     // the partition's folder, or the disk's
    int partition = 0;  // 0: the file system sits on the whole disk
    quint64 number = 0; // of the partition (or the disk)
};

struct RemovableVolumes::Disk
{
    enum Bus { OtherBus, UsbMassStorage, CardSlot };

    quint64 number = 0;
    bool removable = false;
    bool hasMedia = false;
    bool writeProtected = false;
    QString devicePath;   // the disk's device folder relative to <sys>/devices
    QString lun;          // the last field of the SCSI address "host:channel:target:lun"
    QString vendor;
    QString model;
    Bus bus = OtherBus;
    QString parentIdentity; // the USB device's or the card slot's folder relative to <sys>/devices:
                            // unique while it is plugged in
    QString usbVendorId;
    QString usbProductId;
    QString serial;         // the USB device's, or the SD card's
    QString cardMaker;      // an SD card's manufacturer and OEM identifiers
};

namespace {

constexpr char massStorageClass[] = "08";
// A built-in card slot is a folder "mmcN" in the class folder "mmc_host"; eMMC chips soldered on the board
// sit there too, but call themselves "MMC", so only "SD" cards count as removable.
constexpr char cardSlotClass[] = "mmc_host";
constexpr char removableCardType[] = "SD";

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

bool RemovableVolumes::isRemovableVolume(const MountEntry &mount, quint64 &diskNumber) const
{
    BlockDevice device;
    Disk disk;
    if (!findBlockDevice(mount, device) || !readDisk(device.diskFolder, disk) || !isRemovable(disk))
        return false;
    diskNumber = disk.number;
    return true;
}

bool RemovableVolumes::isRemovable(const Disk &disk) const
{
    // The removable bit alone also marks optical and internal card drives; the USB interface alone also
    // USB hard disks, which the program never treats as a navigation device. A card slot's disk often has
    // the bit clear although its card comes and goes.
    switch (disk.bus) {
    case Disk::UsbMassStorage:
        return disk.removable && disk.hasMedia;
    case Disk::CardSlot:
        return disk.hasMedia;
    case Disk::OtherBus:
        break;
    }
    return false;
}

QMap<quint64, QString> RemovableVolumes::removableDiskParents() const
{
    QMap<quint64, QString> parents;
    const QString blockFolder = m_roots.sysfs + QStringLiteral("/block");
    for (const QString &name : subfolders(blockFolder)) {
        Disk disk;
        if (readDisk(QFileInfo(blockFolder + QLatin1Char('/') + name).canonicalFilePath(), disk)
            && disk.bus != Disk::OtherBus)
            parents.insert(disk.number, disk.parentIdentity);
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
        const QString names = QString(disk.vendor + QLatin1Char(' ') + disk.model).simplified();
        const QString partition = QString::number(device.partition);
        identity.readOnly = mount.readOnly || disk.writeProtected
                            || attribute(device.folder, QStringLiteral("ro")) == QLatin1String("1");
        const QString uuid = udev.value(QStringLiteral("ID_FS_UUID"));
        switch (disk.bus) {
        case Disk::UsbMassStorage:
            identity.diskCaption = names.isEmpty() ? names : names + QStringLiteral(" USB Device");
            // Without a UUID: the same stick in any port gives the same text; the serial tells sticks apart.
            identity.identity = QStringLiteral("usb:") + disk.usbVendorId + QLatin1Char(':') + disk.usbProductId
                                + QLatin1Char(':') + disk.serial + QLatin1Char(':') + disk.lun + QLatin1Char(':')
                                + partition;
            identity.isCard = disk.lun != QLatin1String("0");
            break;
        case Disk::CardSlot:
            identity.diskCaption = QString(names + QStringLiteral(" SD Card")).trimmed();
            // The card's own identification, so that it is the same card in any slot or reader.
            identity.identity = QStringLiteral("sd:") + disk.cardMaker + QLatin1Char(':') + disk.model
                                + QLatin1Char(':') + disk.serial + QLatin1Char(':') + partition;
            identity.isCard = true;
            break;
        case Disk::OtherBus:
            identity.diskCaption = names;
            identity.identity = QStringLiteral("disk:") + disk.devicePath + QLatin1Char(':') + partition;
            break;
        }
        if (!uuid.isEmpty())
            identity.identity = QStringLiteral("uuid:") + uuid;
        identity.identity = withoutBars(identity.identity);
        return true;
    }
    return false;
}

bool RemovableVolumes::findBlockDevice(const MountEntry &mount, BlockDevice &device) const
{
    // A file system in user space (ntfs-3g) has no device number of its own; its source names the device,
    // by its name in /dev or by a link that udev made from the file system's UUID or label.
    quint64 wanted = blockDeviceNumber(mount.major, mount.minor);
    QString wantedName;
    if (mount.major == 0) {
        wanted = 0;
        // udev names these links with the encoded texts of its data.
        const QString byUuid = QStringLiteral("/dev/disk/by-uuid/");
        const QString byLabel = QStringLiteral("/dev/disk/by-label/");
        if (mount.source.startsWith(byUuid))
            wanted = numberByUdevProperty({QStringLiteral("ID_FS_UUID_ENC"), QStringLiteral("ID_FS_UUID")},
                                          mount.source.mid(byUuid.size()));
        else if (mount.source.startsWith(byLabel))
            wanted = numberByUdevProperty({QStringLiteral("ID_FS_LABEL_ENC")}, mount.source.mid(byLabel.size()));
        else if (mount.source.startsWith(QLatin1String("/dev/")))
            wantedName = QFileInfo(mount.source).fileName();
        if (wanted == 0 && wantedName.isEmpty())
            return false;
    }
    const bool byName = !wantedName.isEmpty();

    const QString blockFolder = m_roots.sysfs + QStringLiteral("/block");
    for (const QString &diskName : subfolders(blockFolder)) {
        const QString diskFolder = QFileInfo(blockFolder + QLatin1Char('/') + diskName).canonicalFilePath();
        quint64 number = 0;
        if (diskFolder.isEmpty() || !parseDeviceNumber(attribute(diskFolder, QStringLiteral("dev")), number))
            continue;
        if (byName ? diskName == wantedName : number == wanted) {
            device = {diskFolder, diskFolder, 0, number};
            return true;
        }
        for (const QString &partitionName : subfolders(diskFolder)) {
            const QString folder = diskFolder + QLatin1Char('/') + partitionName;
            if (!hasAttribute(folder, QStringLiteral("partition"))
                || !parseDeviceNumber(attribute(folder, QStringLiteral("dev")), number))
                continue;
            if (byName ? partitionName == wantedName : number == wanted) {
                device = {diskFolder, folder, attribute(folder, QStringLiteral("partition")).toInt(), number};
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
    disk.writeProtected = attribute(folder, QStringLiteral("ro")) == QLatin1String("1");

    const QString device = QFileInfo(folder + QStringLiteral("/device")).canonicalFilePath();
    if (device.isEmpty())
        return true;
    const QString devicesRoot = QFileInfo(m_roots.sysfs + QStringLiteral("/devices")).canonicalFilePath();
    if (devicesRoot.isEmpty() || !device.startsWith(devicesRoot + QLatin1Char('/')))
        return true;
    disk.devicePath = device.mid(devicesRoot.size() + 1);

    const QString slot = QFileInfo(device).path();
    if (QFileInfo(slot).path().endsWith(QLatin1Char('/') + QLatin1String(cardSlotClass))) {
        if (attribute(device, QStringLiteral("type")) == QLatin1String(removableCardType)) {
            disk.bus = Disk::CardSlot;
            disk.parentIdentity = slot.mid(devicesRoot.size() + 1);
            disk.model = attribute(device, QStringLiteral("name"));
            disk.serial = attribute(device, QStringLiteral("serial"));
            disk.cardMaker = attribute(device, QStringLiteral("manfid")) + QLatin1Char(':')
                             + attribute(device, QStringLiteral("oemid"));
        }
        return true;
    }

    disk.lun = QFileInfo(device).fileName().section(QLatin1Char(':'), -1);
    disk.vendor = attribute(device, QStringLiteral("vendor"));
    disk.model = attribute(device, QStringLiteral("model"));
    // Up from the SCSI device to the first folder that is a USB device; the folder passed on the way
    // there is the interface the disk hangs off.
    QString below;
    for (QString current = device; current.startsWith(devicesRoot + QLatin1Char('/'));
         current = QFileInfo(current).path()) {
        if (hasAttribute(current, QStringLiteral("idVendor"))) {
            if (!below.isEmpty() && attribute(below, QStringLiteral("bInterfaceClass")) == QLatin1String(massStorageClass)) {
                disk.bus = Disk::UsbMassStorage;
                disk.parentIdentity = current.mid(devicesRoot.size() + 1);
                disk.usbVendorId = attribute(current, QStringLiteral("idVendor"));
                disk.usbProductId = attribute(current, QStringLiteral("idProduct"));
                disk.serial = attribute(current, QStringLiteral("serial"));
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

quint64 RemovableVolumes::numberByUdevProperty(const QStringList &keys, const QString &value) const
{
    if (value.isEmpty())
        return 0;
    // Data files are named "b<major>:<minor>".
    const QStringList files = QDir(m_roots.udevData).entryList({QStringLiteral("b*:*")}, QDir::Files, QDir::Name);
    for (const QString &name : files) {
        quint64 number = 0;
        if (!parseDeviceNumber(name.mid(1), number))
            continue;
        const QMap<QString, QString> properties = udevProperties(number);
        for (const QString &key : keys) {
            if (properties.value(key) == value)
                return number;
        }
    }
    return 0;
}
