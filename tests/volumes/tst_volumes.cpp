#include "fixturemachine.h"
#include "mountinfo.h"
#include "removablevolumes.h"

#include <QFile>
#include <algorithm>
#include <QTemporaryDir>
#include <QTest>

// The volume layer against fixture machine trees laid out like a real sysfs.
class TestVolumes : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void mountInfoLine_data();
    void mountInfoLine();
    void readsTheKernelsMountTable();

    void cardReaderDisksShareTheirUsbDevice();
    void onlyRemovableUsbDisksWithMediaQualify_data();
    void onlyRemovableUsbDisksWithMediaQualify();
    void missingAttributesLeaveTheVolumeOut_data();
    void missingAttributesLeaveTheVolumeOut();
    void bindMountsAndRepeatedMountsCountOnce();
    void userSpaceFileSystemIsFoundByItsSource();
    void cardSlotsAndWriteProtection();
    void unreadableMountTableIsReported();

    void identifiesLabelCaptionAndUuid();
    void identifiesAFixedDiskAsADisk();
    void identityWithoutUdevSurvivesReplugging();
    void vanishedVolumeIsNotIdentified();

private:
    QString volumePath(const QString &name) const { return m_dir->path() + "/media/" + name; }
    MachineRoots roots() const { return MachineRoots::under(m_dir->path()); }
    void write(const FixtureMachine &machine);
    QStringList removableMountPoints() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {

FixtureDisk diskWith(const QString &mountPoint, const QString &label = QString(), const QString &uuid = QString())
{
    FixtureDisk disk;
    FixtureVolume volume;
    volume.mountPoint = mountPoint;
    volume.label = label;
    volume.uuid = uuid;
    disk.volumes.append(volume);
    return disk;
}

FixtureUsbDevice usbWith(const QList<FixtureDisk> &luns, const QString &serial = "0001")
{
    FixtureUsbDevice usb;
    usb.serial = serial;
    usb.luns = luns;
    return usb;
}

} // namespace

void TestVolumes::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestVolumes::write(const FixtureMachine &machine)
{
    QString error;
    QVERIFY2(writeFixtureMachine(m_dir->path(), machine, &error), qPrintable(error));
}

QStringList TestVolumes::removableMountPoints() const
{
    RemovableVolumes volumes(roots());
    QList<MountEntry> mounts;
    if (!volumes.blockMounts(mounts))
        return {"unreadable"};
    QStringList found;
    for (const MountEntry &mount : mounts) {
        quint64 number = 0;
        if (volumes.isRemovableVolume(mount, number))
            found.append(mount.mountPoint);
    }
    return found;
}

void TestVolumes::mountInfoLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("mountPoint");
    QTest::addColumn<QString>("type");
    QTest::addColumn<quint32>("minor");

    QTest::newRow("usb stick") << QByteArray("101 28 8:17 / /media/user/NAVI rw,nosuid shared:12 - vfat /dev/sdb1 rw\n")
                               << true << "/media/user/NAVI" << "vfat" << 17u;
    QTest::newRow("no optional fields") << QByteArray("28 1 254:0 / / rw,relatime - ext4 /dev/vda rw")
                                        << true << "/" << "ext4" << 0u;
    QTest::newRow("several optional fields")
        << QByteArray("40 28 8:33 / /mnt/a rw shared:3 master:1 propagate_from:2 - exfat /dev/sdc1 rw")
        << true << "/mnt/a" << "exfat" << 33u;
    QTest::newRow("escaped space, tab and backslash")
        << QByteArray("101 28 8:17 / /media/My\\040Card\\011x\\134y rw - vfat /dev/sdb1 rw")
        << true << "/media/My Card\tx\\y" << "vfat" << 17u;
    QTest::newRow("unfinished escape") << QByteArray("101 28 8:17 / /media/a\\04 rw - vfat /dev/sdb1 rw")
                                       << true << "/media/a\\04" << "vfat" << 17u;
    QTest::newRow("no separator") << QByteArray("101 28 8:17 / /media/a rw vfat /dev/sdb1 rw") << false << "" << "" << 0u;
    QTest::newRow("nothing after separator") << QByteArray("101 28 8:17 / /media/a rw - vfat") << false << "" << "" << 0u;
    QTest::newRow("device number without colon") << QByteArray("101 28 817 / /a rw - vfat /dev/sdb1 rw") << false << "" << "" << 0u;
    QTest::newRow("device number not numeric") << QByteArray("101 28 8:x / /a rw - vfat /dev/sdb1 rw") << false << "" << "" << 0u;
    QTest::newRow("empty") << QByteArray() << false << "" << "" << 0u;
}

void TestVolumes::mountInfoLine()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, valid);
    MountEntry entry;
    QCOMPARE(parseMountInfoLine(line, entry), valid);
    if (!valid)
        return;
    QFETCH(QString, mountPoint);
    QFETCH(QString, type);
    QFETCH(quint32, minor);
    QCOMPARE(entry.mountPoint, mountPoint);
    QCOMPARE(entry.fileSystemType, type);
    QCOMPARE(entry.minor, minor);
    QCOMPARE(entry.root, QString("/"));
}

void TestVolumes::readsTheKernelsMountTable()
{
    // The kernel's file reports a size of 0; every machine has its root mounted.
    QList<MountEntry> entries;
    QVERIFY(readMountInfo("/proc/self/mountinfo", entries));
    QVERIFY(std::any_of(entries.begin(), entries.end(), [](const MountEntry &entry) { return entry.mountPoint == "/"; }));
}

void TestVolumes::cardReaderDisksShareTheirUsbDevice()
{
    FixtureMachine machine;
    machine.fixedDisks.append(diskWith(volumePath("system")));
    machine.usbDevices.append(usbWith({diskWith(volumePath("E")), diskWith(volumePath("F"))}, "READER"));
    machine.usbDevices.append(usbWith({diskWith(volumePath("G"))}, "STICK"));
    write(machine);

    QCOMPARE(removableMountPoints(), QStringList({volumePath("E"), volumePath("F"), volumePath("G")}));
    const QMap<quint64, QString> parents = RemovableVolumes(roots()).removableDiskParents();
    QCOMPARE(parents.keys(), QList<quint64>({blockDeviceNumber(8, 16), blockDeviceNumber(8, 32), blockDeviceNumber(8, 48)}));
    QCOMPARE(parents.value(blockDeviceNumber(8, 16)), parents.value(blockDeviceNumber(8, 32)));
    QVERIFY(parents.value(blockDeviceNumber(8, 16)) != parents.value(blockDeviceNumber(8, 48)));
    QCOMPARE(parents.value(blockDeviceNumber(8, 48)), QString("pci0000:00/0000:00:14.0/usb1/1-2"));
}

void TestVolumes::onlyRemovableUsbDisksWithMediaQualify_data()
{
    QTest::addColumn<bool>("usb");
    QTest::addColumn<bool>("removable");
    QTest::addColumn<bool>("media");
    QTest::addColumn<QString>("interfaceClass");
    QTest::addColumn<bool>("qualifies");

    QTest::newRow("usb stick") << true << true << true << "08" << true;
    QTest::newRow("fixed disk that says removable") << false << true << true << "08" << false;
    QTest::newRow("usb hard disk") << true << false << true << "08" << false;
    QTest::newRow("card slot without media") << true << true << false << "08" << false;
    QTest::newRow("not a mass-storage interface") << true << true << true << "ff" << false;
}

void TestVolumes::onlyRemovableUsbDisksWithMediaQualify()
{
    QFETCH(bool, usb);
    QFETCH(bool, removable);
    QFETCH(bool, media);
    QFETCH(QString, interfaceClass);
    QFETCH(bool, qualifies);

    FixtureDisk disk = diskWith(volumePath("X"));
    disk.removable = removable;
    disk.hasMedia = media;
    FixtureMachine machine;
    if (usb) {
        machine.usbDevices.append(usbWith({disk}));
        machine.usbDevices.first().interfaceClass = interfaceClass;
    } else {
        machine.fixedDisks.append(disk);
    }
    write(machine);
    if (!media) {
        // A mount that outlived its media: the disk reads as size 0.
        QFile mountInfo(m_dir->path() + "/proc/self/mountinfo");
        QVERIFY(mountInfo.open(QIODevice::Append));
        mountInfo.write("101 28 8:1 / " + QFile::encodeName(volumePath("X")) + " rw - vfat /dev/sda1 rw\n");
    }
    QCOMPARE(removableMountPoints(), qualifies ? QStringList({volumePath("X")}) : QStringList());
}

void TestVolumes::missingAttributesLeaveTheVolumeOut_data()
{
    QTest::addColumn<QString>("removed");
    const QString usb = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-1";
    const QString disk = usb + "/1-1:1.0/host0/target0:0:0/0:0:0:0/block/sda";
    QTest::newRow("disk number") << disk + "/dev";
    QTest::newRow("partition number") << disk + "/sda1/dev";
    QTest::newRow("removable bit") << disk + "/removable";
    QTest::newRow("size") << disk + "/size";
    QTest::newRow("device link") << disk + "/device";
    QTest::newRow("interface class") << usb + "/1-1:1.0/bInterfaceClass";
    QTest::newRow("usb vendor id") << usb + "/idVendor";
}

void TestVolumes::missingAttributesLeaveTheVolumeOut()
{
    QFETCH(QString, removed);
    FixtureMachine machine;
    machine.usbDevices.append(usbWith({diskWith(volumePath("X"))}));
    write(machine);
    QCOMPARE(removableMountPoints(), QStringList({volumePath("X")}));
    QVERIFY(QFile::remove(m_dir->path() + removed));
    QCOMPARE(removableMountPoints(), QStringList());
}

void TestVolumes::bindMountsAndRepeatedMountsCountOnce()
{
    FixtureMachine machine;
    machine.usbDevices.append(usbWith({diskWith(volumePath("X"))}));
    write(machine);
    QFile mountInfo(m_dir->path() + "/proc/self/mountinfo");
    QVERIFY(mountInfo.open(QIODevice::ReadWrite));
    const QByteArray original = mountInfo.readAll();
    mountInfo.seek(0);
    mountInfo.write("90 28 8:1 /sub /elsewhere rw - vfat /dev/sda1 rw\n" + original
                    + "102 28 8:1 / /again rw - vfat /dev/sda1 rw\n");
    mountInfo.close();
    QCOMPARE(removableMountPoints(), QStringList({volumePath("X")}));
}

void TestVolumes::userSpaceFileSystemIsFoundByItsSource()
{
    FixtureMachine machine;
    FixtureDisk disk = diskWith(volumePath("X"));
    disk.volumes.first().mounted = false;
    machine.usbDevices.append(usbWith({disk}));
    write(machine);
    QFile mountInfo(m_dir->path() + "/proc/self/mountinfo");
    QVERIFY(mountInfo.open(QIODevice::Append));
    mountInfo.write("101 28 0:57 / /media/ntfs rw - fuseblk /dev/sda1 rw\n"
                    "102 28 0:58 / /media/other rw - fuse.sshfs host:/ rw\n");
    mountInfo.close();
    QCOMPARE(removableMountPoints(), QStringList({"/media/ntfs"}));
}

// A card in a built-in slot counts whatever its removable bit says, the slot being its parent; a
// soldered eMMC chip does not. A write-protected disk and a read-only mount both make a read-only volume.
void TestVolumes::cardSlotsAndWriteProtection()
{
    FixtureMachine machine;
    machine.withUdev = false;
    FixtureCardSlot soldered;
    soldered.cardType = "MMC";
    soldered.card = diskWith(volumePath("emmc"));
    FixtureCardSlot sd;
    sd.card = diskWith(volumePath("SD"));
    machine.cardSlots = {soldered, sd};
    FixtureDisk locked = diskWith(volumePath("locked"));
    locked.writeProtected = true;
    machine.usbDevices.append(usbWith({locked}));
    write(machine);

    QCOMPARE(removableMountPoints(), QStringList({volumePath("locked"), volumePath("SD")}));
    const QMap<quint64, QString> parents = RemovableVolumes(roots()).removableDiskParents();
    QCOMPARE(parents.value(blockDeviceNumber(179, 8)), QString("pci0000:00/0000:00:1e.6/mmc_host/mmc1"));
    QVERIFY(!parents.contains(blockDeviceNumber(179, 0)));

    VolumeIdentity identity;
    QVERIFY(RemovableVolumes(roots()).identify(volumePath("SD"), identity));
    QCOMPARE(identity.diskCaption, QString("SD16G SD Card"));
    QCOMPARE(identity.identity, QString("sd:0x000003:0x5344:SD16G:0x1234abcd:1"));
    QVERIFY(!identity.readOnly);
    QVERIFY(identity.isCard);
    QVERIFY(RemovableVolumes(roots()).identify(volumePath("locked"), identity));
    QVERIFY(identity.readOnly);

    MountEntry entry;
    QVERIFY(parseMountInfoLine("101 28 8:17 / /media/a rw - vfat /dev/sdb1 ro,uid=1000", entry));
    QVERIFY(entry.readOnly);
    QVERIFY(parseMountInfoLine("101 28 8:17 / /media/a rw - ext4 /dev/sdb1 rw,errors=remount-ro", entry));
    QVERIFY(!entry.readOnly);
}

void TestVolumes::unreadableMountTableIsReported()
{
    MachineRoots missing = roots();
    QList<MountEntry> mounts;
    QVERIFY(!RemovableVolumes(missing).blockMounts(mounts));
    VolumeIdentity identity;
    QVERIFY(!RemovableVolumes(missing).identify("/", identity));
    QVERIFY(RemovableVolumes(missing).removableDiskParents().isEmpty());
}

void TestVolumes::identifiesLabelCaptionAndUuid()
{
    FixtureMachine machine;
    FixtureDisk named = diskWith(volumePath("A"), "NAVI CARD", "1234-ABCD");
    named.vendor = "SanDisk";
    named.model = "Cruzer Blade";
    FixtureDisk anonymous = diskWith(volumePath("B"));
    anonymous.vendor.clear();
    anonymous.model.clear();
    machine.usbDevices.append(usbWith({named, anonymous}));
    write(machine);

    RemovableVolumes volumes(roots());
    VolumeIdentity identity;
    QVERIFY(volumes.identify(volumePath("A"), identity));
    QCOMPARE(identity.volumeName, volumePath("A"));
    QCOMPARE(identity.label, QString("NAVI CARD"));
    QCOMPARE(identity.diskCaption, QString("SanDisk Cruzer Blade USB Device"));
    QCOMPARE(identity.identity, QString("uuid:1234-ABCD"));
    QVERIFY(!identity.isCard); // the first unit of the USB device: its own memory

    QVERIFY(volumes.identify(volumePath("B"), identity));
    QCOMPARE(identity.label, QString());
    QCOMPARE(identity.diskCaption, QString());
    QCOMPARE(identity.identity, QString("usb:058f:6387:0001:1:1"));
    QVERIFY(identity.isCard); // a later unit: its card slot
}

void TestVolumes::identifiesAFixedDiskAsADisk()
{
    FixtureMachine machine;
    machine.withUdev = false;
    FixtureDisk fixed = diskWith(volumePath("system"));
    fixed.vendor = "ATA";
    fixed.model = "Disk";
    machine.fixedDisks.append(fixed);
    write(machine);
    VolumeIdentity identity;
    QVERIFY(RemovableVolumes(roots()).identify(volumePath("system"), identity));
    QCOMPARE(identity.diskCaption, QString("ATA Disk"));
    QCOMPARE(identity.identity, QString("disk:pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0:1"));
}

void TestVolumes::identityWithoutUdevSurvivesReplugging()
{
    FixtureMachine machine;
    machine.withUdev = false;
    machine.usbDevices.append(usbWith({diskWith(volumePath("first"), "LABEL", "1111-2222")}, "SER|IAL"));
    write(machine);
    VolumeIdentity before;
    QVERIFY(RemovableVolumes(roots()).identify(volumePath("first"), before));
    QCOMPARE(before.label, QString());
    QCOMPARE(before.identity, QString("usb:058f:6387:SER_IAL:0:1"));

    // Plugged in again behind a hub port of its own, under another mount point.
    machine.usbDevices.prepend(usbWith({}, "OTHER"));
    machine.usbDevices[1].luns.first().volumes.first().mountPoint = volumePath("second");
    write(machine);
    VolumeIdentity after;
    QVERIFY(!RemovableVolumes(roots()).identify(volumePath("first"), after));
    QVERIFY(RemovableVolumes(roots()).identify(volumePath("second"), after));
    QCOMPARE(after.identity, before.identity);
}

void TestVolumes::vanishedVolumeIsNotIdentified()
{
    FixtureMachine machine;
    machine.usbDevices.append(usbWith({diskWith(volumePath("X"))}));
    write(machine);
    RemovableVolumes volumes(roots());
    QList<MountEntry> mounts;
    QVERIFY(volumes.blockMounts(mounts));
    QVERIFY(QFile::remove(m_dir->path() + "/sys/block/sda"));
    quint64 number = 0;
    QVERIFY(!volumes.isRemovableVolume(mounts.first(), number));
    VolumeIdentity identity;
    QVERIFY(!volumes.identify(volumePath("X"), identity));
}

QTEST_GUILESS_MAIN(TestVolumes)
#include "tst_volumes.moc"
