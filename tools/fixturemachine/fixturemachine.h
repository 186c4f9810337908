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
    QString fileSystemType = QStringLiteral("vfat");
    bool mounted = true;  // false: the partition exists but is not in the mount table
};

struct FixtureDisk
{
    QString vendor = QStringLiteral("Generic");
    QString model = QStringLiteral("Flash Disk");
    bool removable = true;
    bool hasMedia = true; // false: an empty card slot (size 0)
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

struct FixtureMachine
{
    QList<FixtureDisk> fixedDisks; // on an ATA controller, named first (sda, ...)
    QList<FixtureUsbDevice> usbDevices;
    bool withUdev = true;
};

// Replaces root/sys, root/proc and root/run by the machine's description and creates the mount points.
// Disks get the names sda, sdb, ... and the numbers 8:0, 8:16, ... in the order fixed disks, then USB
// devices and their LUNs; partition p of a disk has its number + p. False (and error) on a write failure.
bool writeFixtureMachine(const QString &root, const FixtureMachine &machine, QString *error = nullptr);
