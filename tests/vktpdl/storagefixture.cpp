#include "storagefixture.h"

#include "devicesearcher.h"
#include "pefixture.h"
#include "storagecarddevicessearcher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

StorageMachine::StorageMachine() = default;

FixtureUsbDevice StorageMachine::stick(const QString &serial, const QStringList &mountPoints)
{
    FixtureUsbDevice usb;
    usb.serial = serial;
    FixtureDisk disk;
    for (int i = 0; i < mountPoints.size(); ++i) {
        FixtureVolume volume;
        volume.mountPoint = mountPoints.at(i);
        volume.partition = i + 1;
        volume.label = QFileInfo(mountPoints.at(i)).fileName().toUpper();
        volume.uuid = QString("%1-%2").arg(serial).arg(i + 1);
        disk.volumes.append(volume);
    }
    usb.luns.append(disk);
    return usb;
}

bool StorageMachine::write(const FixtureMachine &machine)
{
    return writeFixtureMachine(m_dir.path(), machine);
}

std::unique_ptr<vktpdl::DeviceManager> StorageMachine::manager() const
{
    std::vector<std::unique_ptr<vktpdl::DeviceSearcher>> searchers;
    searchers.push_back(std::make_unique<vktpdl::StorageCardDevicesSearcher>(roots()));
    return std::make_unique<vktpdl::DeviceManager>(std::move(searchers));
}

QByteArray navigatorBytes(const QString &internalName, const QList<quint16> &version)
{
    PeFixture fixture;
    for (int i = 0; i < 4; ++i)
        fixture.fileVersion[i] = version.value(i);
    fixture.internalName = internalName.toStdU16String();
    const std::vector<unsigned char> bytes = writePeFixture(fixture);
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
