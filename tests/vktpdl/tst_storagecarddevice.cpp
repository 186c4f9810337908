#include "devicedescription.h"
#include "localfilesystem.h"
#include "navigatorrecord.h"
#include "packagecompatibility.h"
#include "storagecarddevice.h"
#include "safewritecases.h"
#include "storagefixture.h"
#include "testlisteners.h"
#include "zipforge.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <QTest>

#include <unistd.h>

using namespace vktpdl;

Q_DECLARE_METATYPE(NavigatorRecord)

// Storage devices on fixture machines: discovery and grouping, navigators, portable paths, packages.
class TestStorageCardDevice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void cardReaderWithTwoCardsIsOneDevice();
    void partitionsOfOneStickAreOneDevice();
    void fixedDiskIsNeverReported();
    void standardManagerReadsTheMachineNamedByTheEnvironment();
    void scanProgressAndCancellation();
    void unreadableMountTableFindsNothing();
    void vanishedVolumeKeepsTheSearcherName();
    void cardsInBuiltInSlots();
    void storagesDescribed();
    void userSpaceMountsByUuidAndLabel();

    void findsNavigatorsByTablesAndInternalName();
    void listsNavigatorsWithIdentifiers();
    void inspectsAPickedExecutable();
    void cancelledNavigatorSearch();
    void writeProtectedVolume();
    void rootOwnedTopFolderIsNotReadOnly();

    void portablePathFollowsTheVolume();
    void dataPath_data();
    void dataPath();

    void packageTarget_data();
    void packageTarget();
    void checkPackage_data();
    void checkPackage();
    void installsPackage();
    void installWithoutNavigatorFolderDeletesNothing();
    void cancelledInstallation();
    void packageCheckWorksInAFolderOfItsOwn_data();
    void packageCheckWorksInAFolderOfItsOwn();
    void installationNeverWritesThroughALink();

    void checkedCopyEndsUnderItsName_data();
    void checkedCopyEndsUnderItsName();
    void failedCheckedCopyChangesNothing_data();
    void failedCheckedCopyChangesNothing();
    void renameReplaces_data();
    void renameReplaces();

private:
    // Writes the machine and searches it; the number of devices found, -1 when the search failed.
    int searchMachine(const FixtureMachine &machine);
    // One stick with the volume "CARD", navigators written by the test before the search.
    StorageCardDevice *searchOneStick();
    // The same with /Navi/MobileNavigator.exe and its launcher /Navi/Start.exe, chosen when select is true.
    StorageCardDevice *searchWithNavigator(bool select = true);
    QString card(const QString &path = QString()) const { return m_machine->volume("CARD") + path; }
    QString writePackage(const QString &name, const QList<QPair<QByteArray, QByteArray>> &entries);

    QTemporaryDir m_temporary;
    std::unique_ptr<StorageMachine> m_machine;
    std::unique_ptr<DeviceManager> m_manager;
};

namespace {

NavigatorRecord navigator(const QString &executable, const QString &launcher)
{
    NavigatorRecord record;
    record.executablePath = executable;
    record.launcherPath = launcher;
    return record;
}

QByteArray sha1(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

} // namespace

void TestStorageCardDevice::initTestCase()
{
    // The package check works below the temporary folder.
    QVERIFY(m_temporary.isValid());
    qputenv("TMPDIR", QFile::encodeName(m_temporary.path()));
}

void TestStorageCardDevice::init()
{
    m_manager.reset();
    m_machine = std::make_unique<StorageMachine>();
    QVERIFY(m_machine->isValid());
}

int TestStorageCardDevice::searchMachine(const FixtureMachine &machine)
{
    if (!m_machine->write(machine))
        return -1;
    m_manager = m_machine->manager();
    return m_manager->searchDevices(nullptr, nullptr) == 0 ? m_manager->deviceCount() : -1;
}

StorageCardDevice *TestStorageCardDevice::searchOneStick()
{
    FixtureMachine machine;
    machine.usbDevices.append(StorageMachine::stick("S1", {card()}));
    if (searchMachine(machine) != 1)
        return nullptr;
    auto *device = static_cast<StorageCardDevice *>(m_manager->storageDevice(0));
    return device->findNavigators(nullptr, nullptr) == DE_NO_ERROR ? device : nullptr;
}

StorageCardDevice *TestStorageCardDevice::searchWithNavigator(bool select)
{
    if (!writeFile(card("/Navi/MobileNavigator.exe"), navigatorBytes("korwind", {1, 0, 0, 0}))
        || !writeFile(card("/Navi/Start.exe"), navigatorBytes("")))
        return nullptr;
    StorageCardDevice *device = searchOneStick();
    QList<NavigatorRecord> found;
    if (!device || device->listNavigators(found, nullptr, nullptr) != DE_NO_ERROR || found.size() != 1)
        return nullptr;
    if (select)
        device->selectNavigator(found.first());
    return device;
}

QString TestStorageCardDevice::writePackage(const QString &name, const QList<QPair<QByteArray, QByteArray>> &entries)
{
    ZipForge forge;
    for (const auto &entry : entries) {
        ZipForge::Entry zipEntry;
        zipEntry.name = entry.first;
        zipEntry.data = entry.second;
        forge.add(zipEntry);
    }
    const QString path = m_machine->path() + "/" + name;
    return writeFile(path, forge.build()) ? path : QString();
}

void TestStorageCardDevice::cardReaderWithTwoCardsIsOneDevice()
{
    FixtureMachine machine;
    FixtureDisk system;
    system.removable = false;
    system.volumes.append({m_machine->volume("system"), "SYSTEM", "sys-1"});
    machine.fixedDisks.append(system);
    FixtureUsbDevice reader;
    reader.serial = "READER";
    FixtureDisk lowerSlot;
    lowerSlot.vendor = "Generic";
    lowerSlot.model = "STORAGE DEVICE";
    lowerSlot.volumes.append({m_machine->volume("E"), "MAPS", "aaaa-1111"});
    FixtureDisk emptySlot;
    emptySlot.hasMedia = false;
    FixtureDisk higherSlot;
    higherSlot.volumes.append({m_machine->volume("F"), "", "bbbb-2222"});
    reader.luns = {lowerSlot, emptySlot, higherSlot};
    machine.usbDevices.append(reader);
    machine.usbDevices.append(StorageMachine::stick("STICK", {m_machine->volume("G")}));
    QCOMPARE(searchMachine(machine), 2);

    auto *reading = static_cast<StorageCardDevice *>(m_manager->storageDevice(0));
    QStringList roots;
    QCOMPARE(reading->listRoots(roots), 0);
    QCOMPARE(roots, QStringList({m_machine->volume("F"), m_machine->volume("E")}));
    QCOMPARE(reading->displayName(), "(MAPS " + m_machine->volume("E") + " + " + m_machine->volume("F") + ")");
    DeviceDescription description;
    QCOMPARE(reading->getDeviceDescription(description), 0);
    QCOMPARE(description.name, QString("Generic STORAGE DEVICE USB Device"));
    QCOMPARE(description.secondName, reading->displayName());
    QCOMPARE(description.thirdText, QString());
    QCOMPARE(description.supported, 1);
    QCOMPARE(description.platform, 2);
    QVERIFY(!description.allRootsReadOnly);
    QCOMPARE(QDir(m_machine->volume("E")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    QCOMPARE(reading->kind(), int(DK_STORAGE));
    QCOMPARE(reading->pathFlags(), int(PF_EXECUTABLE_PATHS));

    auto *stick = static_cast<StorageCardDevice *>(m_manager->storageDevice(1));
    QCOMPARE(stick->displayName(), "(G " + m_machine->volume("G") + ")");
    QCOMPARE(stick->modelText(), QString("Generic Flash Disk USB Device"));
}

void TestStorageCardDevice::partitionsOfOneStickAreOneDevice()
{
    FixtureMachine machine;
    machine.usbDevices.append(StorageMachine::stick("S1", {m_machine->volume("P1"), m_machine->volume("P2"),
                                                          m_machine->volume("P3")}));
    machine.usbDevices.first().luns.first().vendor.clear();
    machine.usbDevices.first().luns.first().model.clear();
    QVERIFY(m_machine->write(machine));
    m_manager = m_machine->manager();
    QCOMPARE(m_manager->searchDevices(nullptr, nullptr), 0);
    QCOMPARE(m_manager->deviceCount(), 1);
    QStringList roots;
    m_manager->storageDevice(0)->listRoots(roots);
    QCOMPARE(roots, QStringList({m_machine->volume("P2"), m_machine->volume("P3"), m_machine->volume("P1")}));
    QCOMPARE(static_cast<StorageCardDevice *>(m_manager->storageDevice(0))->modelText(),
             QString("Flash Disk Drive USB Device"));
}

void TestStorageCardDevice::fixedDiskIsNeverReported()
{
    FixtureMachine machine;
    FixtureDisk fixed; // even one that calls itself removable
    fixed.volumes.append({m_machine->volume("fixed"), "DATA", "f-1"});
    machine.fixedDisks.append(fixed);
    QVERIFY(m_machine->write(machine));
    m_manager = m_machine->manager();
    QCOMPARE(m_manager->searchDevices(nullptr, nullptr), 0);
    QCOMPARE(m_manager->deviceCount(), 0);
}

void TestStorageCardDevice::standardManagerReadsTheMachineNamedByTheEnvironment()
{
    FixtureMachine machine;
    machine.usbDevices.append(StorageMachine::stick("S1", {card()}));
    QVERIFY(m_machine->write(machine));
    qputenv("VKT_MACHINE_ROOT", QFile::encodeName(m_machine->path()));
    DeviceManager manager([] { return QDir::tempPath(); });
    qunsetenv("VKT_MACHINE_ROOT");
    QCOMPARE(manager.searchDevices(nullptr, nullptr), 0);
    QCOMPARE(manager.deviceCount(), 1);
    QStringList roots;
    manager.storageDevice(0)->listRoots(roots);
    QCOMPARE(roots, QStringList(card()));
}

void TestStorageCardDevice::scanProgressAndCancellation()
{
    FixtureMachine machine;
    machine.usbDevices.append(StorageMachine::stick("S1", {m_machine->volume("A")}));
    machine.usbDevices.append(StorageMachine::stick("S2", {m_machine->volume("B")}));
    machine.usbDevices.append(StorageMachine::stick("S3", {m_machine->volume("C")}));
    QVERIFY(m_machine->write(machine));
    m_manager = m_machine->manager();

    RecordingProgress progress;
    QCOMPARE(m_manager->searchDevices(&progress, nullptr), 0);
    QCOMPARE(m_manager->deviceCount(), 3);
    QCOMPARE(progress.values, QList<int>({0, 0, 10, 55, 100, 100, 100}));

    // Stopped at the third volume: the first two are not reported either.
    StopAfter stop(3);
    QCOMPARE(m_manager->searchDevices(nullptr, &stop), 1);
    QCOMPARE(m_manager->deviceCount(), 0);
    QCOMPARE(m_manager->storageDevice(0), nullptr);
}

void TestStorageCardDevice::unreadableMountTableFindsNothing()
{
    FixtureMachine machine;
    machine.usbDevices.append(StorageMachine::stick("S1", {m_machine->volume("A")}));
    QVERIFY(m_machine->write(machine));
    QVERIFY(QFile::remove(m_machine->path() + "/proc/self/mountinfo"));
    m_manager = m_machine->manager();
    RecordingProgress progress;
    QCOMPARE(m_manager->searchDevices(&progress, nullptr), 0);
    QCOMPARE(m_manager->deviceCount(), 0);
    QCOMPARE(progress.values.last(), 100);
}

void TestStorageCardDevice::vanishedVolumeKeepsTheSearcherName()
{
    FixtureMachine machine;
    machine.usbDevices.append(StorageMachine::stick("S1", {m_machine->volume("A")}));
    QVERIFY(m_machine->write(machine));
    // Listed by the searcher, gone before the device identifies it.
    StorageCardDevice device("A + B", {m_machine->volume("A"), m_machine->volume("B")}, m_machine->roots());
    QCOMPARE(device.displayName(), QString("A + B"));
    QCOMPARE(device.modelText(), QString());
    QCOMPARE(device.toPortablePath(m_machine->volume("B") + "/x"), QString());
    QCOMPARE(device.toPortablePath(m_machine->volume("A") + "/x"), QString("uuid:S1-1|/x"));
}

// An SD card in the computer's own slot is a device of its own; an empty slot and a soldered eMMC chip
// (which sits in a slot as well) are none.
void TestStorageCardDevice::cardsInBuiltInSlots()
{
    FixtureMachine machine;
    FixtureCardSlot soldered;
    soldered.cardType = "MMC";
    soldered.card.volumes.append({m_machine->volume("emmc"), "SYSTEM", "e-1"});
    FixtureCardSlot empty;
    empty.hasCard = false;
    FixtureCardSlot sd;
    sd.card.volumes.append({m_machine->volume("SD"), "NAVI", "5D-1"});
    machine.cardSlots = {soldered, empty, sd};
    machine.usbDevices.append(StorageMachine::stick("S1", {card()}));
    QCOMPARE(searchMachine(machine), 2);
    auto *slot = static_cast<StorageCardDevice *>(m_manager->storageDevice(1));
    QStringList roots;
    QCOMPARE(slot->listRoots(roots), 0);
    QCOMPARE(roots, QStringList(m_machine->volume("SD")));
    QCOMPARE(slot->displayName(), "(NAVI " + m_machine->volume("SD") + ")");
    QCOMPARE(slot->modelText(), QString("SD16G SD Card"));
    QCOMPARE(slot->toPortablePath(m_machine->volume("SD") + "/x"), QString("uuid:5D-1|/x"));
}

// File systems in user space (ntfs-3g, exfat-fuse) have no device number; their source may name the
// disk by the links udev made from the UUID or the label.
// A navigation device shows its memory as its first unit and its card slot after it; the sizes are the
// file system's.
void TestStorageCardDevice::storagesDescribed()
{
    FixtureMachine machine;
    FixtureUsbDevice navigator;
    FixtureDisk memory;
    memory.volumes.append({m_machine->volume("NAVI"), "NAVI", "4e41-5649"});
    FixtureDisk slot;
    slot.volumes.append({m_machine->volume("CARD"), "NAVI_SD", "5344-0001"});
    navigator.luns = {memory, slot};
    machine.usbDevices.append(navigator);
    QCOMPARE(searchMachine(machine), 1);
    auto *device = static_cast<StorageCardDevice *>(m_manager->storageDevice(0));

    const QStorageInfo volume(m_machine->volume("NAVI"));
    StorageInfo storage;
    QCOMPARE(device->describeStorage(m_machine->volume("NAVI"), storage), int(DE_NO_ERROR));
    QCOMPARE(storage.root, m_machine->volume("NAVI"));
    QCOMPARE(storage.label, QString("NAVI"));
    QCOMPARE(storage.kind, int(StorageInfo::Memory));
    QCOMPARE(storage.totalBytes, volume.bytesTotal());
    QVERIFY(storage.freeBytes > 0 && storage.freeBytes <= storage.totalBytes);
    QCOMPARE(device->describeStorage(m_machine->volume("CARD"), storage), int(DE_NO_ERROR));
    QCOMPARE(storage.label, QString("NAVI_SD"));
    QCOMPARE(storage.kind, int(StorageInfo::Card));
}

void TestStorageCardDevice::userSpaceMountsByUuidAndLabel()
{
    FixtureMachine machine;
    machine.usbDevices.append(StorageMachine::stick("S1", {m_machine->volume("A"), m_machine->volume("B")}));
    QList<FixtureVolume> &volumes = machine.usbDevices.first().luns.first().volumes;
    volumes[0].fileSystemType = volumes[1].fileSystemType = "fuseblk";
    volumes[0].source = "uuid";
    volumes[1].source = "label";
    volumes[1].label = "MY CARD";
    QCOMPARE(searchMachine(machine), 1);
    QStringList roots;
    m_manager->storageDevice(0)->listRoots(roots);
    QCOMPARE(roots, QStringList({m_machine->volume("B"), m_machine->volume("A")}));
    QCOMPARE(m_manager->storageDevice(0)->toPortablePath(m_machine->volume("B")), QString("uuid:S1-2|"));
}

void TestStorageCardDevice::findsNavigatorsByTablesAndInternalName()
{
    QVERIFY(writeFile(card("/NAVI/MobileNavigator.exe"), navigatorBytes("korwind", {2, 1, 0, 5})));
    QVERIFY(writeFile(card("/NAVI/Start.exe"), navigatorBytes("")));
    QVERIFY(writeFile(card("/Data/Navi.dat"), navigatorBytes("KORWIND", {1, 0, 0, 0})));
    QVERIFY(writeFile(card("/Text/Navi.txt"), navigatorBytes("korwind", {9, 0, 0, 0})));
    QVERIFY(writeFile(card("/Lone/Navigator.exe"), navigatorBytes("other")));
    QVERIFY(writeFile(card("/Lone/Navi.ex_"), "not an executable"));
    QVERIFY(writeFile(card("/Deep/a/b/c/Korwind.exe"), navigatorBytes("inavi", {3, 0, 0, 0})));
    QVERIFY(writeFile(card("/Launch/Autorun.exe"), navigatorBytes("")));
    QVERIFY(writeFile(card("/Launch/core.bin"), navigatorBytes("Russa", {1, 2, 3, 4})));
    StorageCardDevice *device = searchOneStick();
    QVERIFY(device);

    QList<NavigatorRecord> found;
    QCOMPARE(device->listNavigators(found, nullptr, nullptr), 0);
    QStringList seen;
    for (const NavigatorRecord &record : found)
        seen << record.executablePath.mid(card().size()) + " | " + record.launcherPath.mid(card().size()) + " | "
                    + record.version.toString();
    // Both MobileNavigator.exe and Start.exe's folder lead to the same pair once; Navi.txt is never read.
    QCOMPARE(seen, QStringList({"/Data/Navi.dat |  | 1.0.0.0",
                                "/Deep/a/b/c/Korwind.exe | /Deep/a/b/c/Korwind.exe | 3.0.0.0",
                                "/Launch/core.bin | /Launch/Autorun.exe | 1.2.3.4",
                                "/NAVI/MobileNavigator.exe | /NAVI/Start.exe | 2.1.0.5"}));
    DeviceDescription description;
    device->getDeviceDescription(description);
    QCOMPARE(description.thirdText, QString("3.0.0.0"));
}

void TestStorageCardDevice::listsNavigatorsWithIdentifiers()
{
    const QByteArray first = navigatorBytes("korwind", {1, 0, 0, 0});
    const QByteArray second = navigatorBytes("korwind", {2, 0, 0, 0}) + QByteArray(200000, 'x');
    QVERIFY(writeFile(card("/A/Navi.exe"), first));
    QVERIFY(writeFile(card("/B/Navi.exe"), second));
    StorageCardDevice *device = searchOneStick();
    QVERIFY(device);
    QList<NavigatorRecord> found;
    RecordingProgress progress;
    QCOMPARE(device->listNavigators(found, &progress, nullptr), 0);
    QCOMPARE(found.size(), 2);
    QCOMPARE(found[0].identifier, sha1(first));
    QCOMPARE(found[1].identifier, sha1(second));
    QCOMPARE(progress.values.first(), 50);
    QCOMPARE(progress.values.last(), 100);

    // A navigator that vanished since the search is left out.
    QVERIFY(QFile::remove(card("/A/Navi.exe")));
    found.clear();
    QCOMPARE(device->listNavigators(found, nullptr, nullptr), 0);
    QCOMPARE(found.size(), 1);
    StopAfter stop(0);
    QCOMPARE(device->listNavigators(found, nullptr, &stop), int(DE_CANCELLED));
}

void TestStorageCardDevice::inspectsAPickedExecutable()
{
    const QByteArray navigatorFile = navigatorBytes("korwind", {4, 3, 2, 1});
    QVERIFY(writeFile(card("/N/MobileNavigator.exe"), navigatorFile));
    QVERIFY(writeFile(card("/N/go.exe"), navigatorBytes("")));
    QVERIFY(writeFile(card("/N/readme.exe"), "text"));
    QVERIFY(writeFile(card("/X/tool.exe"), navigatorBytes("tool")));
    StorageCardDevice *device = searchOneStick();
    QVERIFY(device);

    NavigatorRecord record;
    RecordingProgress progress;
    // Picking a launcher gives the navigator beside it; two other executables: the navigator starts itself.
    QCOMPARE(device->inspectExecutable(card("/N/go.exe"), record, &progress, nullptr), 0);
    QCOMPARE(record.executablePath, card("/N/MobileNavigator.exe"));
    QCOMPARE(record.launcherPath, card("/N/go.exe"));
    QCOMPARE(record.identifier, sha1(navigatorFile));
    QCOMPARE(record.version.toString(), QString("4.3.2.1"));
    QCOMPARE(progress.values.first(), 10);
    QCOMPARE(progress.values.last(), 100);
    QCOMPARE(device->inspectExecutable(card("/N/MobileNavigator.exe"), record, nullptr, nullptr), 0);
    QCOMPARE(record.launcherPath, card("/N/MobileNavigator.exe"));

    QCOMPARE(device->inspectExecutable(card("/X/tool.exe"), record, nullptr, nullptr), int(DE_NOT_NAVIGATOR_EXECUTABLE));
    QCOMPARE(device->inspectExecutable(card("/X/missing.exe"), record, nullptr, nullptr), int(DE_NOT_NAVIGATOR_EXECUTABLE));
    QCOMPARE(record.executablePath, card("/N/MobileNavigator.exe"));
}

void TestStorageCardDevice::cancelledNavigatorSearch()
{
    QVERIFY(writeFile(card("/A/Navi.exe"), navigatorBytes("korwind")));
    StorageCardDevice *device = searchOneStick();
    QVERIFY(device);
    for (int answers = 0; answers < 4; ++answers) {
        StopAfter stop(answers);
        QCOMPARE(device->findNavigators(nullptr, &stop), int(DE_CANCELLED));
        QList<NavigatorRecord> found;
        QCOMPARE(device->listNavigators(found, nullptr, nullptr), 0);
        QCOMPARE(found.size(), 0);
    }
}

void TestStorageCardDevice::writeProtectedVolume()
{
    // A card with its lock switch set: the disk is read-only and mounted so.
    QVERIFY(writeFile(card("/A/Navi.exe"), navigatorBytes("korwind")));
    FixtureMachine machine;
    machine.usbDevices.append(StorageMachine::stick("S1", {card()}));
    machine.usbDevices.first().luns.first().writeProtected = true;
    QCOMPARE(searchMachine(machine), 1);
    auto *device = static_cast<StorageCardDevice *>(m_manager->storageDevice(0));
    QVERIFY(device->findNavigators(nullptr, nullptr) == DE_NO_ERROR);
    QList<NavigatorRecord> found;
    device->listNavigators(found, nullptr, nullptr);
    DeviceDescription description;
    device->getDeviceDescription(description);
    QCOMPARE(found.size(), 1);
    QVERIFY(found.first().isReadOnly);
    QVERIFY(description.allRootsReadOnly);
    QVERIFY(device->isReadOnly(card("/KorwindContent")));
}

// A stick whose top folder belongs to another user (root) while its folders are the user's own: only
// the folders that cannot be written are read-only, and the device is not.
void TestStorageCardDevice::rootOwnedTopFolderIsNotReadOnly()
{
    if (::geteuid() == 0)
        QSKIP("permissions do not bind the super-user");
    QVERIFY(writeFile(card("/Navi/Navi.exe"), navigatorBytes("korwind")));
    QVERIFY(QDir().mkpath(card("/KorwindContent/Maps")));
    StorageCardDevice *device = searchOneStick();
    QVERIFY(device);
    QVERIFY(QFile::setPermissions(card(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    QVERIFY(device->findNavigators(nullptr, nullptr) == DE_NO_ERROR);
    QList<NavigatorRecord> found;
    device->listNavigators(found, nullptr, nullptr);
    DeviceDescription description;
    device->getDeviceDescription(description);
    const bool contentReadOnly = device->isReadOnly(card("/KorwindContent"));
    const bool rootReadOnly = device->isReadOnly(card());
    QFile::setPermissions(card(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(found.size(), 1);
    QVERIFY(!found.first().isReadOnly);
    QVERIFY(!description.allRootsReadOnly);
    QVERIFY(!contentReadOnly);
    QVERIFY(rootReadOnly);
}

void TestStorageCardDevice::portablePathFollowsTheVolume()
{
    FixtureMachine machine;
    machine.usbDevices.append(StorageMachine::stick("S1", {m_machine->volume("first"), m_machine->volume("data")}));
    QVERIFY(m_machine->write(machine));
    m_manager = m_machine->manager();
    m_manager->searchDevices(nullptr, nullptr);
    MIDeviceHandler *before = m_manager->storageDevice(0);
    const QString file = m_machine->volume("first") + "/Maps/a|b.nm3";
    const QString portable = before->toPortablePath(file);
    QCOMPARE(portable, QString("uuid:S1-1|/Maps/a|b.nm3"));
    QCOMPARE(before->fromPortablePath(portable), file);
    QCOMPARE(before->toPortablePath(m_machine->volume("first")), QString("uuid:S1-1|"));
    QCOMPARE(before->toPortablePath(m_machine->volume("firstborn") + "/x"), QString());
    QCOMPARE(before->toPortablePath(QString()), QString());

    // Plugged in again: the same volume under another mount point, in another port.
    machine.usbDevices.first().luns.first().volumes.first().mountPoint = m_machine->volume("second");
    machine.usbDevices.prepend(StorageMachine::stick("S0", {m_machine->volume("other")}));
    QVERIFY(m_machine->write(machine));
    m_manager->searchDevices(nullptr, nullptr);
    QCOMPARE(m_manager->deviceCount(), 2);
    MIDeviceHandler *after = m_manager->storageDevice(1);
    QCOMPARE(after->fromPortablePath(portable), m_machine->volume("second") + "/Maps/a|b.nm3");
    QCOMPARE(m_manager->storageDevice(0)->fromPortablePath(portable), QString());
    QCOMPARE(after->fromPortablePath("uuid:S1-1|/Maps/../../escape"), QString());
    QCOMPARE(after->fromPortablePath("uuid:S1-1|relative"), QString());
    QCOMPARE(after->fromPortablePath("no bar at all"), QString());
}

void TestStorageCardDevice::dataPath_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("secondSettings");
    QTest::addColumn<QString>("expected");

    QTest::newRow("content folder beside the navigator folder") << "[Main]\nPath=..\\KorwindContent\n" << "" << "";
    QTest::newRow("map file inside a content folder")
        << "Path = Data\r\nMapFileName = \"KorwindContent\\Maps\\world.nm3\"\r\n" << "" << "/Navi/Data";
    QTest::newRow("absolute folder on the volume") << "Path=@/Cards/KorwindContent/Maps" << "" << "/Cards";
    QTest::newRow("folder without a content folder") << "path=Maps" << "" << "/Navi/Maps";
    QTest::newRow("neither value") << "Other=1" << "" << "-";
    QTest::newRow("leaves the volume") << "Path=..\\..\\..\\KorwindContent" << "" << "-";
    QTest::newRow("drive letter of another machine") << "Path=E:\\KorwindContent" << "" << "-";
    QTest::newRow("two settings files") << "Path=..\\KorwindContent" << "Path=x" << "-";
}

void TestStorageCardDevice::dataPath()
{
    QFETCH(QString, settings);
    QFETCH(QString, secondSettings);
    QFETCH(QString, expected);
    QVERIFY(writeFile(card("/Navi/Navi.exe"), navigatorBytes("korwind")));
    QVERIFY(writeFile(card("/Navi/conf/Settings.INI"), settings.replace("@", card()).toUtf8()));
    if (!secondSettings.isEmpty())
        QVERIFY(writeFile(card("/Navi/more/settings.ini"), secondSettings.toUtf8()));
    StorageCardDevice *device = searchOneStick();
    QVERIFY(device);
    QCOMPARE(device->dataPathFor(card("/Navi/Navi.exe")), expected == "-" ? QString() : card(expected));
    QCOMPARE(device->navigatorDataPath(), QString()); // no navigator chosen yet
    device->selectNavigator(navigator(card("/Navi/Navi.exe"), QString()));
    QCOMPARE(device->navigatorDataPath(), device->dataPathFor(card("/Navi/Navi.exe")));
}

void TestStorageCardDevice::packageTarget_data()
{
    QTest::addColumn<NavigatorRecord>("current");
    QTest::addColumn<NavigatorRecord>("package");
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("launcher");
    QTest::addColumn<bool>("compatible");

    const QString exe = "/c/Navi/MobileNavigator.exe";
    const QString launcher = "/c/Navi/Start.exe";
    QTest::newRow("package brings a launcher the device lacks")
        << navigator(exe, "") << navigator("N/MobileNavigator.exe", "N/Start.exe") << exe << "" << false;
    QTest::newRow("no package launcher, same name in other case")
        << navigator(exe, launcher) << navigator("N/mobilenavigator.EXE", "") << exe << "" << true;
    QTest::newRow("no package launcher, other name")
        << navigator(exe, "") << navigator("N/Navi.exe", "") << exe << "" << false;
    QTest::newRow("both with separate launchers, same names")
        << navigator(exe, launcher) << navigator("N/MobileNavigator.exe", "N/start.exe") << exe << launcher << true;
    QTest::newRow("both with separate launchers, other launcher")
        << navigator(exe, launcher) << navigator("N/MobileNavigator.exe", "N/Go.exe") << exe << launcher << false;
    QTest::newRow("both start themselves, same name")
        << navigator(exe, exe) << navigator("N/MobileNavigator.exe", "N/MobileNavigator.exe") << exe << exe << true;
    QTest::newRow("device navigator starts itself, package has a launcher")
        << navigator(exe, exe) << navigator("N/core.bin", "N/MobileNavigator.exe") << "/c/Navi/core.bin" << exe << false;
    QTest::newRow("device has a launcher, package starts itself")
        << navigator(exe, launcher) << navigator("N/Start.exe", "N/Start.exe") << launcher << launcher << true;
    QTest::newRow("device has a launcher, package starts itself under another name")
        << navigator(exe, launcher) << navigator("N/Other.exe", "N/Other.exe") << launcher << launcher << false;
}

void TestStorageCardDevice::packageTarget()
{
    QFETCH(NavigatorRecord, current);
    QFETCH(NavigatorRecord, package);
    QFETCH(QString, executable);
    QFETCH(QString, launcher);
    QFETCH(bool, compatible);
    const PackageTarget target = vktpdl::packageTarget(current, package, LocalFileSystem());
    QCOMPARE(target.executablePath, executable);
    QCOMPARE(target.launcherPath, launcher);
    QCOMPARE(target.compatible, compatible);
}

void TestStorageCardDevice::checkPackage_data()
{
    QTest::addColumn<QByteArray>("packageExecutable");
    QTest::addColumn<bool>("selectNavigator");
    QTest::addColumn<int>("result");

    QTest::newRow("same navigator and launcher") << QByteArray("pkg/Navi/MobileNavigator.exe") << true << 0;
    QTest::newRow("renamed navigator") << QByteArray("pkg/Navi/Korwind.exe") << true << 24;
    QTest::newRow("no navigator in the package") << QByteArray() << true << 14;
    QTest::newRow("not an archive") << QByteArray("-") << true << 14;
    QTest::newRow("no navigator chosen") << QByteArray("pkg/Navi/MobileNavigator.exe") << false << 8;
}

void TestStorageCardDevice::checkPackage()
{
    QFETCH(QByteArray, packageExecutable);
    QFETCH(bool, selectNavigator);
    QFETCH(int, result);
    StorageCardDevice *device = searchWithNavigator(selectNavigator);
    QVERIFY(device);

    QList<QPair<QByteArray, QByteArray>> entries = {{"pkg/Navi/Start.exe", navigatorBytes("")},
                                                    {"pkg/Navi/data.bin", "data"}};
    if (!packageExecutable.isEmpty() && packageExecutable != "-")
        entries.append({packageExecutable, navigatorBytes("korwind", {2, 0, 0, 0})});
    QString package = writePackage("package.zip", entries);
    if (packageExecutable == "-")
        QVERIFY(writeFile(package, "not a zip archive"));
    QCOMPARE(device->checkPackage(package, QFileInfo(package).size(), nullptr, nullptr), result);
    // The extracted copy is removed again.
    QCOMPARE(QDir(m_temporary.path()).entryList({"KorwindNavigator*"}, QDir::AllEntries | QDir::Hidden), QStringList());
}

void TestStorageCardDevice::installsPackage()
{
    StorageCardDevice *device = searchWithNavigator();
    QVERIFY(device);
    QVERIFY(writeFile(card("/Navi/old.bin"), "old"));

    // A package whose navigator starts itself under a new name, with a content file beside its folder.
    const QByteArray newNavigator = navigatorBytes("korwind", {2, 0, 0, 0});
    const QString package = writePackage("package.zip", {{"Release/Navigator/Navi.exe", newNavigator},
                                                         {"Release/Navigator/lib/data.bin", "new data"},
                                                         {"Release/KorwindContent/info.txt", "info"}});
    const qint64 size = QFileInfo(package).size();
    QCOMPARE(device->checkPackage(package, size, nullptr, nullptr), int(DE_PACKAGE_MAY_BE_INCOMPATIBLE));
    RecordingProgress progress;
    QCOMPARE(device->installPackage(package, size, &progress, nullptr), 0);

    // The package's navigator took the place of the device's launcher, which the device starts.
    QCOMPARE(readFile(card("/Navi/Start.exe")), newNavigator);
    QVERIFY(!QFileInfo::exists(card("/Navi/MobileNavigator.exe")));
    QVERIFY(!QFileInfo::exists(card("/Navi/Navi.exe")));
    QCOMPARE(readFile(card("/Navi/lib/data.bin")), QByteArray("new data"));
    QCOMPARE(readFile(card("/Navi/old.bin")), QByteArray("old"));
    QCOMPARE(readFile(card("/Release/KorwindContent/info.txt")), QByteArray("info"));
    QCOMPARE(progress.values.last(), 100);
}

void TestStorageCardDevice::installWithoutNavigatorFolderDeletesNothing()
{
    StorageCardDevice *device = searchWithNavigator();
    QVERIFY(device);
    const QString package = writePackage("package.zip", {{"pkg/Navi/MobileNavigator.exe", navigatorBytes("korwind")},
                                                         {"pkg/Navi/Start.exe", navigatorBytes("")}});
    QCOMPARE(device->checkPackage(package, QFileInfo(package).size(), nullptr, nullptr), 0);

    // The downloaded file changed since the check: its navigator folder is gone.
    const QString changed = writePackage("package.zip", {{"other/MobileNavigator.exe", navigatorBytes("korwind")}});
    QCOMPARE(device->installPackage(changed, QFileInfo(changed).size(), nullptr, nullptr), int(DE_INSTALLATION_FAILED));
    QVERIFY(QFileInfo::exists(card("/Navi/MobileNavigator.exe")));
    QVERIFY(QFileInfo::exists(card("/Navi/Start.exe")));

    StorageCardDevice unchecked("x", {card()}, m_machine->roots());
    QCOMPARE(unchecked.installPackage(package, QFileInfo(package).size(), nullptr, nullptr), int(DE_INSTALLATION_FAILED));
}

void TestStorageCardDevice::cancelledInstallation()
{
    StorageCardDevice *device = searchWithNavigator();
    QVERIFY(device);
    const QString package = writePackage("package.zip", {{"Navi/MobileNavigator.exe", navigatorBytes("korwind")},
                                                         {"Navi/Start.exe", navigatorBytes("")},
                                                         {"Navi/big.bin", QByteArray(1 << 20, 'b')}});
    QCOMPARE(device->checkPackage(package, QFileInfo(package).size(), nullptr, nullptr), 0);
    StopAfter stop(0);
    QCOMPARE(device->installPackage(package, QFileInfo(package).size(), nullptr, &stop), int(DE_CANCELLED));
}

void TestStorageCardDevice::packageCheckWorksInAFolderOfItsOwn_data()
{
    QTest::addColumn<QString>("planted"); // a link in the shared temporary folder, leading to the victim's folder
    QTest::newRow("the program's folder") << "KorwindNavigatorUpdateCenter";
    QTest::newRow("the archive's folder") << "KorwindNavigatorUpdateCenter/TEMP_ZIP_ARCHIVE";
}

// Another user of the machine plants links where a fixed work folder would be: nothing of theirs goes.
void TestStorageCardDevice::packageCheckWorksInAFolderOfItsOwn()
{
    QFETCH(QString, planted);
    StorageCardDevice *device = searchWithNavigator();
    QVERIFY(device);
    const QString victim = m_machine->path() + "/victim";
    QVERIFY(writeFile(victim + "/letter.txt", "mine"));
    QVERIFY(writeFile(victim + "/TEMP_ZIP_ARCHIVE/notes.txt", "mine too"));
    const QString link = m_temporary.path() + "/" + planted;
    const auto removePlanted = [&] {
        QFile::remove(link); // the link itself, before the real folder around it
        QDir(m_temporary.path() + "/KorwindNavigatorUpdateCenter").removeRecursively();
    };
    QVERIFY(QDir().mkpath(QFileInfo(link).path()));
    QVERIFY(QFile::link(victim, link));

    const QString package = writePackage("package.zip", {{"pkg/Navi/MobileNavigator.exe", navigatorBytes("korwind")},
                                                         {"pkg/Navi/Start.exe", navigatorBytes("")}});
    QCOMPARE(device->checkPackage(package, QFileInfo(package).size(), nullptr, nullptr), 0);
    QCOMPARE(readFile(victim + "/letter.txt"), QByteArray("mine"));
    QCOMPARE(readFile(victim + "/TEMP_ZIP_ARCHIVE/notes.txt"), QByteArray("mine too"));
    const QStringList victimEntries = QDir(victim).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    removePlanted();
    QCOMPARE(victimEntries, QStringList({"letter.txt", "TEMP_ZIP_ARCHIVE"}));
}

// Links on the stick (a folder named like the package's, leading off the volume) are never entered.
void TestStorageCardDevice::installationNeverWritesThroughALink()
{
    StorageCardDevice *device = searchWithNavigator();
    QVERIFY(device);
    const QString elsewhere = m_machine->path() + "/elsewhere";
    QVERIFY(QDir().mkpath(elsewhere));
    QVERIFY(QFile::link(elsewhere, card("/KorwindContent")));
    const QString package = writePackage("package.zip", {{"Release/Navi/MobileNavigator.exe", navigatorBytes("korwind")},
                                                         {"Release/Navi/Start.exe", navigatorBytes("")},
                                                         {"KorwindContent/info.txt", "info"}});
    const qint64 size = QFileInfo(package).size();
    QCOMPARE(device->checkPackage(package, size, nullptr, nullptr), 0);
    QCOMPARE(device->installPackage(package, size, nullptr, nullptr), int(DE_CANNOT_CREATE_FOLDER));
    QVERIFY(QDir(elsewhere).isEmpty());
    QCOMPARE(device->createDirectory(card("/KorwindContent/Maps")), int(DE_CANNOT_CREATE_FOLDER));
    QCOMPARE(device->putFile(card("/KorwindContent/x.nm3"), package, nullptr, nullptr), int(DE_TRANSFER_ERROR));
    QVERIFY(QDir(elsewhere).isEmpty());
}

// The cases every transport passes, on the PC's own file system under the stick's mount point.
void TestStorageCardDevice::checkedCopyEndsUnderItsName_data()
{
    SafeWriteCases::addCheckedCopyRows();
}

void TestStorageCardDevice::checkedCopyEndsUnderItsName()
{
    QVERIFY(QDir().mkpath(card("/Maps")));
    StorageCardDevice *device = searchOneStick();
    QVERIFY(device);
    SafeWriteCases::checkCheckedCopy(*device, card("/Maps"), card("/Maps"));
}

void TestStorageCardDevice::failedCheckedCopyChangesNothing_data()
{
    SafeWriteCases::addFailedCopyRows(DE_TRANSFER_ERROR);
}

void TestStorageCardDevice::failedCheckedCopyChangesNothing()
{
    QVERIFY(QDir().mkpath(card("/Maps")));
    StorageCardDevice *device = searchOneStick();
    QVERIFY(device);
    SafeWriteCases::checkFailedCopy(*device, card("/Maps"), card("/Maps"));
}

void TestStorageCardDevice::renameReplaces_data()
{
    SafeWriteCases::addRenameRows();
}

void TestStorageCardDevice::renameReplaces()
{
    QVERIFY(QDir().mkpath(card("/Maps")));
    StorageCardDevice *device = searchOneStick();
    QVERIFY(device);
    SafeWriteCases::checkRename(*device, card("/Maps"), card("/Maps"));
}

QTEST_GUILESS_MAIN(TestStorageCardDevice)
#include "tst_storagecarddevice.moc"
