// fixture-machine: writes a fixture machine tree from a JSON description, for the demo device.
//
//   fixture-machine ROOT DESCRIPTION.json
//
// {"udev": true,
//  "fixedDisks": [{"vendor": "ATA", "model": "Disk", "removable": false, "volumes": [...]}],
//  "usbDevices": [{"vendorId": "058f", "productId": "6387", "serial": "123", "interfaceClass": "08",
//                  "luns": [{"vendor": "Generic", "model": "Flash Disk", "removable": true, "media": true,
//                            "volumes": [{"mountPoint": "media/NAVI", "label": "NAVI", "uuid": "1234-ABCD",
//                                         "partition": 1, "type": "vfat", "mounted": true,
//                                         "source": "uuid"}], "writeProtected": false}]}],
//  "cardSlots": [{"type": "SD", "name": "SD16G", "serial": "0x1234abcd", "card": {"volumes": [...]}}]}
// A relative mount point lies below ROOT; a slot without "card" is empty.
#include "fixturemachine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

FixtureDisk readDisk(const QJsonObject &object, const QString &root)
{
    FixtureDisk disk;
    disk.vendor = object.value("vendor").toString(disk.vendor);
    disk.model = object.value("model").toString(disk.model);
    disk.removable = object.value("removable").toBool(disk.removable);
    disk.hasMedia = object.value("media").toBool(disk.hasMedia);
    disk.writeProtected = object.value("writeProtected").toBool(disk.writeProtected);
    for (const QJsonValue &value : object.value("volumes").toArray()) {
        const QJsonObject entry = value.toObject();
        FixtureVolume volume;
        volume.mountPoint = QDir(root).absoluteFilePath(entry.value("mountPoint").toString());
        volume.label = entry.value("label").toString();
        volume.uuid = entry.value("uuid").toString();
        volume.partition = entry.value("partition").toInt(volume.partition);
        volume.fileSystemType = entry.value("type").toString(volume.fileSystemType);
        volume.mounted = entry.value("mounted").toBool(volume.mounted);
        volume.source = entry.value("source").toString();
        disk.volumes.append(volume);
    }
    return disk;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 3) {
        std::fputs("usage: fixture-machine ROOT DESCRIPTION.json\n", stderr);
        return 2;
    }
    const QString root = QDir(arguments.at(1)).absolutePath();
    QFile file(arguments.at(2));
    QJsonParseError parseError;
    const QJsonDocument document = file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll(), &parseError)
                                                                   : QJsonDocument();
    if (!document.isObject()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName()));
        return 1;
    }
    const QJsonObject description = document.object();
    FixtureMachine machine;
    machine.withUdev = description.value("udev").toBool(true);
    for (const QJsonValue &value : description.value("fixedDisks").toArray())
        machine.fixedDisks.append(readDisk(value.toObject(), root));
    for (const QJsonValue &value : description.value("usbDevices").toArray()) {
        const QJsonObject object = value.toObject();
        FixtureUsbDevice usb;
        usb.vendorId = object.value("vendorId").toString(usb.vendorId);
        usb.productId = object.value("productId").toString(usb.productId);
        usb.serial = object.value("serial").toString();
        usb.interfaceClass = object.value("interfaceClass").toString(usb.interfaceClass);
        for (const QJsonValue &lun : object.value("luns").toArray())
            usb.luns.append(readDisk(lun.toObject(), root));
        machine.usbDevices.append(usb);
    }
    for (const QJsonValue &value : description.value("cardSlots").toArray()) {
        const QJsonObject object = value.toObject();
        FixtureCardSlot slot;
        slot.cardType = object.value("type").toString(slot.cardType);
        slot.cardName = object.value("name").toString(slot.cardName);
        slot.serial = object.value("serial").toString(slot.serial);
        slot.hasCard = object.contains("card");
        slot.card = readDisk(object.value("card").toObject(), root);
        machine.cardSlots.append(slot);
    }
    QString error;
    if (!writeFixtureMachine(root, machine, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
