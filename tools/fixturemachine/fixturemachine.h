#pragma once

#include <QList>
#include <QString>

// Describes a machine's disks and writes the files the volume layer reads about them (sysfs, mountinfo,
// udev data) under one root, laid out as on a real machine, so that plain folders show up as volumes.

struct FixtureVolume
{
    QString mountPoint;   // absolute; the folder is created when missing and its contents kept
    QString label;
    QString uuid;         // written to the udev data; empty: the volume has none
    int partition = 1;    // 0: the file system fills the whole disk
    QString fileSystemType = QStringLiteral("vfat"); // "fuseblk" is mounted with a device number of its own
    bool mounted = true;  // false: the partition exists but is not in the mount table
    // How the mount table names the source: "" /dev/NAME, "uuid" /dev/disk/by-uuid/UUID, "label"
    // /dev/disk/by-label/LABEL (as udev encodes it).
    QString source{};
};

struct FixtureDisk
{
    QString vendor = QStringLiteral("Generic");
    QString model = QStringLiteral("Flash Disk");
    bool removable = true;
    bool hasMedia = true; // false: an empty card slot (size 0)
    bool writeProtected = false; // the disk and its partitions read-only, and mounted so
    QList<FixtureVolume> volumes;
};

// A USB device; each of its disks is one LUN (a card reader has several).
struct FixtureUsbDevice
{
    QString vendorId = QStringLiteral("058f");
    QString productId = QStringLiteral("6387");
    QString serial;       // empty: the device reports none
    QString interfaceClass = QStringLiteral("08"); // mass storage
    QList<FixtureDisk> luns;
};

// A card slot of the computer itself (an MMC host); an empty slot has no disk at all.
struct FixtureCardSlot
{
    QString cardType = QStringLiteral("SD"); // "MMC" for a soldered eMMC chip
    QString cardName = QStringLiteral("SD16G");
    QString serial = QStringLiteral("0x1234abcd");
    bool hasCard = true;
    FixtureDisk card; // its vendor, model and removable bit are not used
};

struct FixtureMachine
{
    QList<FixtureDisk> fixedDisks; // on an ATA controller, named first (sda, ...)
    QList<FixtureUsbDevice> usbDevices;
    QList<FixtureCardSlot> cardSlots;
    bool withUdev = true;
};

// Replaces root/sys, root/proc and root/run by the machine's description and creates the mount points.
// Disks get the names sda, sdb, ... and the numbers 8:0, 8:16, ... in the order fixed disks, then USB
// devices and their LUNs; partition p of a disk has its number + p. The cards of the slots are mmcblk0,
// mmcblk1, ... with the numbers 179:0, 179:8, ... and partitions mmcblk0p1, ... False (and error) on a
// write failure.
bool writeFixtureMachine(const QString &root, const FixtureMachine &machine, QString *error = nullptr);
