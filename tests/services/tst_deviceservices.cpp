#include "deviceservices.h"
#include "backup.h"
#include "devicedescription.h"
#include "devicehandler.h"
#include "devicemanager.h"
#include "devicesearcher.h"
#include "devicesearchlistener.h"
#include "localfilesystem.h"
#include "navigatorinfo.h"
#include "storagecarddevicessearcher.h"
#include "storagefixture.h"
#include "transferstatistics.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace vktpdl;

namespace {

const QString internalError = "Internal application error.";
const QString transferError =
    "File transfer error. Check if the device is connected and it has enough free space on the flash card.";

// A device of any kind over a folder of the PC, with the answers of its installation operations set by
// the test.
struct FakeDeviceSetup
{
    int kind = DK_ACTIVESYNC;
    QString root;
    int checkResult = DE_NO_ERROR;
    int installResult = DE_NO_ERROR;
    int moduleResult = DE_NO_ERROR;
    bool moduleNeeded = false;
};

class FakeDevice final : public DeviceHandler
{
public:
    explicit FakeDevice(const FakeDeviceSetup &setup) : m_setup(setup) {}

    int putFile(const QString &d, const QString &s, vktcommon::ProgressListener *p,
                vktcommon::ContinueListener *c) override { return m_files.putFile(d, s, p, c); }
    int getFile(const QString &d, const QString &s, vktcommon::ProgressListener *p,
                vktcommon::ContinueListener *c) override { return m_files.getFile(d, s, p, c); }
    int deleteFile(const QString &path) override { return m_files.deleteFile(path); }
    int createFolder(const QString &parent, const QString &name) override { return m_files.createFolder(parent, name); }
    int createDirectory(const QString &path) override { return m_files.createDirectory(path); }
    int removeDirectory(const QString &path, bool recursive) override { return m_files.removeDirectory(path, recursive); }
    int listFolders(const QString &f, const QString &p, QStringList &n) override { return m_files.listFolders(f, p, n); }
    int listFiles(const QString &f, const QString &p, QStringList &n) override { return m_files.listFiles(f, p, n); }
    int openFile(const QString &path, QIODevice *&device) override { return m_files.openFile(path, device); }
    int freeSpace(const QString &path, quint64 &bytes) override { return m_files.freeSpace(path, bytes); }
    QChar separator() const override { return m_files.separator(); }

    int kind() const override { return m_setup.kind; }
    int getDeviceDescription(DeviceDescription &description) override
    {
        description.name = "Fake device";
        description.supported = 1;
        return DE_NO_ERROR;
    }
    int getNavigatorInfo(NavigatorInfo &info, vktcommon::ProgressListener *, vktcommon::ContinueListener *) override
    {
        info.version = DottedVersion(1, 0, 0, 0);
        info.identifier = QByteArray(40, 'a');
        info.folder = m_setup.root + "/Navigator";
        return DE_NO_ERROR;
    }
    int checkModule(bool &mustInstall) override
    {
        mustInstall = m_setup.moduleNeeded;
        return m_setup.moduleResult;
    }
    int checkPackage(const QString &, qint64, vktcommon::ProgressListener *, vktcommon::ContinueListener *) override
    {
        return m_setup.checkResult;
    }
    int installPackage(const QString &, qint64, vktcommon::ProgressListener *, vktcommon::ContinueListener *) override
    {
        return m_setup.installResult;
    }
    int listRoots(QStringList &roots) override
    {
        roots = QStringList{m_setup.root};
        return DE_NO_ERROR;
    }
    int pathFlags() const override { return PF_EXECUTABLE_PATHS; }

private:
    FakeDeviceSetup m_setup;
    LocalFileSystem m_files;
};

// Reports one fresh fake device per setup at every search.
class FakeSearcher final : public DeviceSearcher
{
public:
    explicit FakeSearcher(QList<FakeDeviceSetup> setups) : m_setups(std::move(setups)) {}
    void initialize() override {}
    void search(DeviceSearchListener &listener, vktcommon::ProgressListener *, vktcommon::ContinueListener *) override
    {
        for (const FakeDeviceSetup &setup : m_setups)
            listener.deviceFound(std::make_unique<FakeDevice>(setup));
    }
    void shutdown() override {}

private:
    QList<FakeDeviceSetup> m_setups;
};

// A map of the server whose download holds content.
MapInfo serverMap(const QString &fileName, const QByteArray &content)
{
    MapInfo map;
    map.kind = ProductInfo::MapPackage;
    map.file.fileName = fileName;
    map.file.size = quint64(content.size());
    map.file.extraBytes = QCryptographicHash::hash(content, QCryptographicHash::Sha1).toHex();
    return map;
}

QList<const MapInfo *> pointers(const QList<MapInfo> &maps)
{
    QList<const MapInfo *> list;
    for (const MapInfo &map : maps)
        list.append(&map);
    return list;
}

QByteArray identityFile(const QString &uid)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<KorwindContentInfo><Version>1</Version><UID>"
        + uid.toUtf8() + "</UID></KorwindContentInfo>\n";
}

} // namespace

// The device services over fixture storage devices (and fake devices for the other kinds): the device
// search's progress, reconnection, the program package and the copying of maps.
class TestDeviceServices : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void deviceSearchProgress_data();
    void deviceSearchProgress();
    void reconnection_data();
    void reconnection();
    void rescanKeepsTheChosenCopy();
    void listsDescribeTheStorages();

    void checkModule_data();
    void checkModule();
    void checkPackage_data();
    void checkPackage();
    void installPackage_data();
    void installPackage();
    void programBackupWithoutAContentFolder_data();
    void programBackupWithoutAContentFolder();

    void copiesMapsWithProgressRanges();
    void onlyDeletionsLeaveTheStatisticsAlone();
    void refusedMapLists_data();
    void refusedMapLists();
    void interruptedCopy_data();
    void interruptedCopy();
    void damagedDownloadIsNotInstalled();

    void statistics_data();
    void statistics();

private:
    // Services over the fakes and the sticks (one volume each, named CARD1, CARD2, ...).
    void makeServices(const QList<FakeDeviceSetup> &fakes, int sticks);
    QString card(int stick = 1, const QString &path = QString()) const
    {
        return m_machine->volume(QString("CARD%1").arg(stick)) + path;
    }
    QString download(const QString &name) const { return m_downloads.filePath(name); }
    // Runs an operation that ends with taskFinished(QString) and returns its text.
    template <typename Start>
    QString run(Start start);
    // Only a fake device over a folder of its own, searched and selected.
    bool selectFakeDevice(FakeDeviceSetup fake);
    // One stick, selected, with its content folder searched (and created) and selected.
    bool prepareStick();

    std::unique_ptr<StorageMachine> m_machine;
    QTemporaryDir m_downloadsFolder;
    QDir m_downloads;
    QTemporaryDir m_fakeRoot;
    std::unique_ptr<DeviceServices> m_services;
};

void TestDeviceServices::init()
{
    m_machine = std::make_unique<StorageMachine>();
    QVERIFY(m_machine->isValid());
    QVERIFY(m_downloadsFolder.isValid());
    // One level down, so that a name leading out of the downloads folder stays in the test's folder.
    m_downloads = QDir(m_downloadsFolder.filePath("downloads"));
    QVERIFY(m_downloads.mkpath("."));
}

void TestDeviceServices::cleanup()
{
    m_services.reset();
    m_downloads.removeRecursively();
    m_downloads.mkpath(".");
}

void TestDeviceServices::makeServices(const QList<FakeDeviceSetup> &fakes, int sticks)
{
    FixtureMachine machine;
    for (int i = 1; i <= sticks; ++i)
        machine.usbDevices.append(StorageMachine::stick(QString("S%1").arg(i), {card(i)}));
    QVERIFY(m_machine->write(machine));
    std::vector<std::unique_ptr<DeviceSearcher>> searchers;
    searchers.push_back(std::make_unique<FakeSearcher>(fakes));
    searchers.push_back(std::make_unique<StorageCardDevicesSearcher>(m_machine->roots()));
    DeviceServices::Settings settings;
    const QString downloads = m_downloads.absolutePath();
    const QString backups = m_downloadsFolder.filePath("backups");
    settings.downloadsFolder = [downloads] { return downloads; };
    settings.backupsFolder = [backups] { return backups; };
    settings.languageName = "en_US";
    m_services = std::make_unique<DeviceServices>(settings,
                                                  std::make_unique<DeviceManager>(std::move(searchers)));
}

template <typename Start>
QString TestDeviceServices::run(Start start)
{
    QSignalSpy finished(m_services.get(), qOverload<QString>(&AbstractDeviceServices::taskFinished));
    start();
    if (!finished.wait(10000))
        return "<no taskFinished>";
    return finished.first().first().toString();
}

bool TestDeviceServices::prepareStick()
{
    makeServices({}, 1);
    if (!run([&] { m_services->searchDevices(); }).isEmpty())
        return false;
    m_services->deviceSelected(0);
    if (!run([&] { m_services->searchContents(true); }).isEmpty())
        return false;
    m_services->contentSelected(0);
    return m_services->selectedContent() != nullptr;
}

bool TestDeviceServices::selectFakeDevice(FakeDeviceSetup fake)
{
    fake.root = m_fakeRoot.path();
    makeServices({fake}, 0);
    if (!run([&] { m_services->searchDevices(); }).isEmpty())
        return false;
    m_services->deviceSelected(0);
    return true;
}

void TestDeviceServices::deviceSearchProgress_data()
{
    QTest::addColumn<int>("sticks");
    QTest::addColumn<QList<int>>("marks"); // ends of the devices' shares after the search's 90
    QTest::addColumn<QString>("error");
    QTest::newRow("no device") << 0 << QList<int>{90}
                               << QString::fromUtf8("Device wasn\u2019t found.\nPlease check, if it was correctly "
                                                    "connected, or if you need extra installation software.");
    QTest::newRow("one device") << 1 << QList<int>{90, 100} << QString();
    QTest::newRow("two devices") << 2 << QList<int>{90, 95, 100} << QString();
    QTest::newRow("three devices, shares of 3") << 3 << QList<int>{90, 93, 96, 99} << QString();
}

void TestDeviceServices::deviceSearchProgress()
{
    QFETCH(int, sticks);
    QFETCH(QList<int>, marks);
    QFETCH(QString, error);
    makeServices({}, sticks);
    QList<int> progress;
    connect(m_services.get(), &AbstractDeviceServices::showProgress, this,
            [&](int percent) { progress.append(percent); }, Qt::DirectConnection);
    QCOMPARE(run([&] { m_services->searchDevices(); }), error);
    QCOMPARE(m_services->lastError(), error);
    QVERIFY(!progress.isEmpty());
    QCOMPARE(progress.first(), 0);
    QCOMPARE(progress.last(), marks.last());
    for (qsizetype i = 1; i < progress.size(); ++i)
        QVERIFY2(progress.at(i - 1) <= progress.at(i), "progress went back");
    for (const int mark : marks)
        QVERIFY2(progress.contains(mark), qPrintable(QString("no %1 in the progress").arg(mark)));
}

void TestDeviceServices::reconnection_data()
{
    QTest::addColumn<QString>("fakeUid");  // on the device of kind 1, listed first
    QTest::addColumn<QString>("stickUid"); // on the storage device
    QTest::addColumn<QString>("error");
    QTest::newRow("found on the device of kind 1") << "{uid}" << "{uid}"
                                                   << "Your device is still connected in the wrong way.";
    QTest::newRow("found on the storage device") << "{other}" << "{uid}" << QString();
    QTest::newRow("found nowhere") << "{other}" << "{another}" << "Cannot find the device.";
}

void TestDeviceServices::reconnection()
{
    QFETCH(QString, fakeUid);
    QFETCH(QString, stickUid);
    QFETCH(QString, error);
    QTemporaryDir fakeRoot;
    QVERIFY(writeFile(fakeRoot.path() + "/KorwindContent/KorwindContentInfo.xml", identityFile(fakeUid)));
    QVERIFY(writeFile(card(1, "/KorwindContent/KorwindContentInfo.xml"), identityFile(stickUid)));
    FakeDeviceSetup fake;
    fake.root = fakeRoot.path();
    makeServices({fake}, 1);

    QCOMPARE(run([&] { m_services->reconnectDevice("{uid}"); }), error);
    if (error.isEmpty()) {
        QVERIFY(m_services->selectedContent());
        QCOMPARE(m_services->selectedContent()->uid, QString("{uid}"));
        QCOMPARE(m_services->selectedDevice()->kind, int(DK_STORAGE));
    }
}

// The lists get each storage described; a storage device's title leaves out the volumes its name lists.
void TestDeviceServices::listsDescribeTheStorages()
{
    FakeDeviceSetup fake;
    fake.root = m_fakeRoot.path();
    makeServices({fake}, 1);
    QSignalSpy found(m_services.get(), &AbstractDeviceServices::foundDevices);
    QCOMPARE(run([&] { m_services->searchDevices(); }), QString());
    const QList<DeviceInfo> devices = found.first().first().value<QList<DeviceInfo>>();
    QCOMPARE(devices.size(), 2);

    const DeviceInfo &other = devices.at(0);
    QCOMPARE(other.title, QString());
    QCOMPARE(other.storages.size(), 1);
    QCOMPARE(other.storages.first().root, m_fakeRoot.path());
    QCOMPARE(other.storages.first().kind, int(StorageInfo::Unknown));
    QVERIFY(other.storages.first().freeBytes > 0);

    const DeviceInfo &stick = devices.at(1);
    QCOMPARE(stick.name, "Generic Flash Disk USB Device (CARD1 " + card() + ")");
    QCOMPARE(stick.title, QString("Generic Flash Disk USB Device"));
    QCOMPARE(stick.storages.size(), 1);
    QCOMPARE(stick.storages.first().label, QString("CARD1"));
    QCOMPARE(stick.storages.first().kind, int(StorageInfo::Memory));
    QVERIFY(stick.storages.first().totalBytes > 0);

    m_services->deviceSelected(1);
    QCOMPARE(run([&] { m_services->searchContents(true); }), QString());
    m_services->contentSelected(0);
    QCOMPARE(m_services->selectedContent()->storage.root, card());
    QCOMPARE(m_services->selectedContent()->storage.label, QString("CARD1"));
}

// A content folder copied to the device's second card carries the same identity: the rescan keeps the
// one the user chose, and when that one is gone it does not take the copy instead.
void TestDeviceServices::rescanKeepsTheChosenCopy()
{
    QVERIFY(writeFile(card(1, "/KorwindContent/KorwindContentInfo.xml"), identityFile("{copied}")));
    QVERIFY(writeFile(card(2, "/KorwindContent/KorwindContentInfo.xml"), identityFile("{copied}")));
    makeServices({}, 0);
    FixtureMachine machine;
    machine.usbDevices.append(StorageMachine::stick("S1", {card(1), card(2)}));
    QVERIFY(m_machine->write(machine));
    QCOMPARE(run([&] { m_services->searchDevices(); }), QString());
    m_services->deviceSelected(0);
    QCOMPARE(run([&] { m_services->searchContents(false); }), QString());
    QCOMPARE(m_services->selectedContent(), nullptr);
    // The chosen copy is the second in the list.
    m_services->contentSelected(1);
    QCOMPARE(m_services->selectedContent()->path, card(1, "/KorwindContent"));
    QCOMPARE(run([&] { m_services->researchContents(); }), QString());
    QCOMPARE(m_services->selectedContent()->path, card(1, "/KorwindContent"));

    QVERIFY(QDir(card(1, "/KorwindContent")).removeRecursively());
    QCOMPARE(run([&] { m_services->researchContents(); }),
             QString("Korwind Navigator content folder was not found on your device."));
    QCOMPARE(m_services->selectedContent(), nullptr);
}

void TestDeviceServices::checkModule_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("deviceNeeds");
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("needed");
    QTest::newRow("in place") << 0 << false << QString() << false;
    QTest::newRow("missing") << 0 << true << QString() << true;
    QTest::newRow("not answering") << 4 << true << QString() << true;
    QTest::newRow("outdated: installed anew") << 23 << true << QString() << true;
    QTest::newRow("unreadable reply") << 6 << true
                                      << "Wrong device response. Please, install new version of Korwind Navigator "
                                         "update center."
                                      << true;
}

void TestDeviceServices::checkModule()
{
    QFETCH(int, result);
    QFETCH(bool, deviceNeeds);
    QFETCH(QString, error);
    QFETCH(bool, needed);
    FakeDeviceSetup fake;
    fake.moduleResult = result;
    fake.moduleNeeded = deviceNeeds;
    QVERIFY(selectFakeDevice(fake));
    QString text = "<unset>";
    bool isNeeded = !needed;
    m_services->checkModule(text, isNeeded);
    QCOMPARE(text, error);
    QCOMPARE(isNeeded, needed);
}

void TestDeviceServices::checkPackage_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("deviceAnswer");
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("critical");
    QTest::newRow("fits") << int(ProductInfo::NavigatorPackage) << int(DE_NO_ERROR) << QString() << false;
    QTest::newRow("may not fit: a warning")
        << int(ProductInfo::NavigatorPackage) << int(DE_PACKAGE_MAY_BE_INCOMPATIBLE)
        << "Installation package chosen may not be compatible with your device.\n"
           "Updating without backup may result in data loss." << false;
    QTest::newRow("broken package") << int(ProductInfo::NavigatorPackage) << int(DE_INSTALLATION_FAILED)
                                    << "Installation failed." << true;
    QTest::newRow("not a program package") << int(ProductInfo::MapPackage) << int(DE_NO_ERROR) << internalError
                                           << true;
}

void TestDeviceServices::checkPackage()
{
    QFETCH(int, kind);
    QFETCH(int, deviceAnswer);
    QFETCH(QString, error);
    QFETCH(bool, critical);
    FakeDeviceSetup fake;
    fake.checkResult = deviceAnswer;
    QVERIFY(selectFakeDevice(fake));

    ProductInfo package;
    package.kind = kind;
    package.file.fileName = "navigator.zip";
    QSignalSpy finished(m_services.get(), qOverload<QString, bool>(&AbstractDeviceServices::taskFinished));
    m_services->checkPackage(package);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.first().at(0).toString(), error);
    QCOMPARE(finished.first().at(1).toBool(), critical);
}

void TestDeviceServices::installPackage_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("deviceAnswer");
    QTest::addColumn<QString>("error");
    QTest::newRow("installed") << "navigator.zip" << int(DE_NO_ERROR) << QString();
    QTest::newRow("installation failed") << "navigator.zip" << int(DE_INSTALLATION_FAILED)
                                         << "Installation failed.";
    QTest::newRow("name with a path") << "../navigator.zip" << int(DE_NO_ERROR) << internalError;
}

void TestDeviceServices::installPackage()
{
    QFETCH(QString, fileName);
    QFETCH(int, deviceAnswer);
    QFETCH(QString, error);
    FakeDeviceSetup fake;
    fake.installResult = deviceAnswer;
    QVERIFY(selectFakeDevice(fake));
    QCOMPARE(run([&] { m_services->findNavigator(); }), QString());
    QCOMPARE(m_services->navigatorInstallation()->checksum, QByteArray(40, 'a'));
    const QString packagePath = m_downloads.absoluteFilePath(fileName);
    QVERIFY(writeFile(packagePath, "zip"));

    ProductInfo package;
    package.kind = ProductInfo::NavigatorPackage;
    package.version = "2.1.0.7";
    package.file.fileName = fileName;
    package.file.size = 3;
    QCOMPARE(run([&] { m_services->installPackage(package); }), error);

    const NavigatorInstallation *navigator = m_services->navigatorInstallation();
    QCOMPARE(QFile::exists(packagePath), !error.isEmpty());
    QCOMPARE(navigator->version, error.isEmpty() ? DottedVersion(2, 1, 0, 7) : DottedVersion(1, 0, 0, 0));
    QCOMPARE(navigator->checksum.isEmpty(), error.isEmpty());
    QFile::remove(packagePath);
}

void TestDeviceServices::programBackupWithoutAContentFolder_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("error");
    QTest::newRow("navigator update: the program alone") << int(BT_PROGRAM_AND_MAPS) << QString();
    QTest::newRow("maps update: nothing to back up") << int(BT_MAPS_ONLY) << internalError;
}

// A navigator is updated on a device whose cards hold no content folder; the backup asked for then holds
// the program, and a maps-only backup has nothing to stand on.
void TestDeviceServices::programBackupWithoutAContentFolder()
{
    QFETCH(int, type);
    QFETCH(QString, error);
    const QString backupsFolder = m_downloadsFolder.filePath("backups");
    QVERIFY(QDir(backupsFolder).removeRecursively());
    QVERIFY(writeFile(card(1, "/Navi/MobileNavigator.exe"), navigatorBytes("korwind", {2, 0, 0, 0})));
    QVERIFY(writeFile(card(1, "/Navi/voice.dat"), "voice"));
    makeServices({}, 1);
    QCOMPARE(run([&] { m_services->searchDevices(); }), QString());
    m_services->deviceSelected(0);
    QCOMPARE(run([&] { m_services->searchNavigatorInstallations(); }), QString());
    QCOMPARE(run([&] { m_services->selectNavigatorExecutable(card(1, "/Navi/MobileNavigator.exe")); }), QString());
    QCOMPARE(run([&] { m_services->searchContents(false); }), QString());
    QCOMPARE(m_services->selectedContent(), nullptr);

    QCOMPARE(run([&] { m_services->createBackup(BACKUP_TYPE(type)); }), error);
    const QList<Backup> backups = Backup::list(backupsFolder);
    QCOMPARE(backups.size(), error.isEmpty() ? 1 : 0);
    if (error.isEmpty()) {
        QCOMPARE(backups.first().folders().size(), 1);
        QCOMPARE(backups.first().files().size(), 2);
        QCOMPARE(backups.first().description(), QString("Korwind Navigator 2.0.0.0\n"));
    }
}

void TestDeviceServices::copiesMapsWithProgressRanges()
{
    QVERIFY(prepareStick());
    const QString maps = m_services->selectedContent()->contentText;
    QCOMPARE(maps, card(1, "/KorwindContent/Maps"));
    QVERIFY(writeFile(download("a.NM3"), QByteArray(100, 'a')));
    QVERIFY(writeFile(download("b.NM3"), QByteArray(300, 'b')));
    QVERIFY(writeFile(maps + "/b.NM3", "an older map of the same name"));

    QList<int> progress;
    connect(m_services.get(), &AbstractDeviceServices::showProgress, this,
            [&](int percent) { progress.append(percent); }, Qt::DirectConnection);
    const QList<MapInfo> install = {serverMap("a.NM3", QByteArray(100, 'a')), serverMap("b.NM3", QByteArray(300, 'b'))};
    QCOMPARE(run([&] { m_services->installMaps(pointers(install), {}, false); }), QString());

    // Each map's share holds its copy and then its read-back from the device (the last quarter).
    QCOMPARE(progress, (QList<int>{0, 18, 25, 25, 81, 100}));
    QCOMPARE(readFile(maps + "/a.NM3"), QByteArray(100, 'a'));
    QCOMPARE(readFile(maps + "/b.NM3"), QByteArray(300, 'b'));
    QVERIFY(QFile::exists(download("a.NM3")));
    QVERIFY(QFile::exists(download("b.NM3")));
    const TransferStatusInfo status = m_services->transferStatus();
    QCOMPARE(status.total, quint64(400));
    QCOMPARE(status.done, quint64(400));
    QCOMPARE(status.fileName, QString("b.NM3"));
}

void TestDeviceServices::onlyDeletionsLeaveTheStatisticsAlone()
{
    QVERIFY(prepareStick());
    const QString installed = m_services->selectedContent()->contentText + "/old.NM3";
    QVERIFY(writeFile(installed, "old map"));
    MapInfo old;
    old.kind = ProductInfo::InstalledMap;
    old.file.fileName = installed;

    QCOMPARE(run([&] { m_services->installMaps({}, {&old}, false); }), QString());
    QVERIFY(!QFile::exists(installed));
    QCOMPARE(m_services->transferStatus().total, TransferStatistics::unknownBytes);
    QCOMPARE(m_services->transferStatus().done, TransferStatistics::unknownBytes);
}

void TestDeviceServices::refusedMapLists_data()
{
    QTest::addColumn<MapInfo>("bad");
    MapInfo installed = serverMap("c.NM3", QByteArray(100, 'c'));
    installed.kind = ProductInfo::InstalledMap;
    QTest::newRow("name with a path") << serverMap("../c.NM3", QByteArray(100, 'c'));
    QTest::newRow("name with a backslash") << serverMap("..\\c.NM3", QByteArray(100, 'c'));
    QTest::newRow("empty map") << serverMap("c.NM3", QByteArray());
    QTest::newRow("not a server map") << installed;
    MapInfo undigested = serverMap("c.NM3", QByteArray(100, 'c'));
    undigested.file.extraBytes.clear();
    QTest::newRow("no digest to check") << undigested;
}

void TestDeviceServices::refusedMapLists()
{
    QFETCH(MapInfo, bad);
    QVERIFY(prepareStick());
    const QString maps = m_services->selectedContent()->contentText;
    QVERIFY(writeFile(download("a.NM3"), QByteArray(100, 'a')));
    QVERIFY(writeFile(download("c.NM3"), QByteArray(100, 'c')));

    const QList<MapInfo> install = {serverMap("a.NM3", QByteArray(100, 'a')), bad};
    QCOMPARE(run([&] { m_services->installMaps(pointers(install), {}, false); }), internalError);
    QCOMPARE(QDir(maps).entryList(QDir::Files), QStringList());
    QVERIFY(!QFile::exists(card(1, "/KorwindContent/c.NM3")));
}

void TestDeviceServices::interruptedCopy_data()
{
    QTest::addColumn<bool>("unplug"); // else cancel
    QTest::addColumn<QString>("error");
    QTest::newRow("device unplugged") << true << transferError;
    QTest::newRow("cancelled") << false << QString("Last operation was cancelled.");
}

void TestDeviceServices::interruptedCopy()
{
    QFETCH(bool, unplug);
    QFETCH(QString, error);
    QVERIFY(prepareStick());
    QVERIFY(writeFile(download("a.NM3"), QByteArray(100, 'a')));
    QVERIFY(writeFile(download("b.NM3"), QByteArray(300, 'b')));
    // The volume goes away (or the user cancels) while the first map is being written.
    bool interrupted = false;
    connect(m_services.get(), &AbstractDeviceServices::showProgress, this, [&](int) {
        if (interrupted)
            return;
        if (unplug) {
            interrupted = QDir(card(1)).removeRecursively();
        } else {
            m_services->cancelDeviceOperation();
            interrupted = true;
        }
    }, Qt::DirectConnection);
    const QList<MapInfo> install = {serverMap("a.NM3", QByteArray(100, 'a')), serverMap("b.NM3", QByteArray(300, 'b'))};
    QCOMPARE(run([&] { m_services->installMaps(pointers(install), {}, false); }), error);
    QVERIFY(interrupted);
    QCOMPARE(m_services->lastError(), error);
    QVERIFY(!QFile::exists(card(1, "/KorwindContent/Maps/b.NM3")));
}

// A stale file of the right size under a map's name in the downloads folder: its digest, taken while it
// is copied, is not the record's, so no copy of it stays on the device, the installed map of that name
// stays as it was, and the download goes.
void TestDeviceServices::damagedDownloadIsNotInstalled()
{
    QVERIFY(prepareStick());
    const QString maps = m_services->selectedContent()->contentText;
    QVERIFY(writeFile(download("a.NM3"), QByteArray(100, 'a')));
    QVERIFY(writeFile(download("b.NM3"), QByteArray(300, 'x')));
    QVERIFY(writeFile(maps + "/b.NM3", "the installed map"));
    const QList<MapInfo> install = {serverMap("a.NM3", QByteArray(100, 'a')), serverMap("b.NM3", QByteArray(300, 'b'))};
    QCOMPARE(run([&] { m_services->installMaps(pointers(install), {}, false); }),
             QString("A downloaded map file is damaged and was not installed; it has been removed.\n"
                     "Please download the maps again."));
    QCOMPARE(readFile(maps + "/a.NM3"), QByteArray(100, 'a'));
    QCOMPARE(readFile(maps + "/b.NM3"), QByteArray("the installed map"));
    QCOMPARE(QDir(maps).entryList(QDir::Files), (QStringList{"a.NM3", "b.NM3"}));
    QVERIFY(!QFile::exists(download("b.NM3")));
    QVERIFY(QFile::exists(download("a.NM3")));
}

void TestDeviceServices::statistics_data()
{
    QTest::addColumn<quint64>("total");
    QTest::addColumn<int>("percent");
    QTest::addColumn<qint64>("elapsed");
    QTest::addColumn<quint64>("done");
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("secondsLeft");
    QTest::newRow("total of 0 bytes") << quint64(0) << 50 << qint64(1000) << quint64(0) << -1 << -1;
    QTest::newRow("no time elapsed") << quint64(1000) << 50 << qint64(0) << quint64(500) << -1 << -1;
    QTest::newRow("nothing done yet") << quint64(1000) << 0 << qint64(1000) << quint64(0) << -1 << -1;
    QTest::newRow("half in a second") << quint64(1000) << 50 << qint64(1000) << quint64(500) << 500 << 1;
    QTest::newRow("speed beyond 31 bits")
        << quint64(4000000000) << 100 << qint64(1000) << quint64(4000000000) << -1 << -1;
    QTest::newRow("time left beyond 31 bits")
        << quint64(10000000000) << 1 << qint64(100000000000) << quint64(100000000) << 1 << -1;
}

void TestDeviceServices::statistics()
{
    QFETCH(quint64, total);
    QFETCH(int, percent);
    QFETCH(qint64, elapsed);
    QFETCH(quint64, done);
    QFETCH(int, speed);
    QFETCH(int, secondsLeft);
    TransferStatistics statistics;
    statistics.recordProgressAt(50, 1000);
    QCOMPARE(statistics.snapshot().total, quint64(0)); // not started: nothing recorded
    statistics.start();
    statistics.recordProgressAt(50, 1000);
    QCOMPARE(statistics.snapshot().done, TransferStatistics::unknownBytes); // no total yet
    statistics.setTotal(total);
    statistics.recordProgressAt(percent, elapsed);
    const TransferStatusInfo info = statistics.snapshot();
    QCOMPARE(info.done, done);
    QCOMPARE(info.speed, speed);
    QCOMPARE(info.secondsLeft, secondsLeft);
}

QTEST_GUILESS_MAIN(TestDeviceServices)
#include "tst_deviceservices.moc"
