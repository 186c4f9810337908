#include "activesyncdevice.h"
#include "cabinetfile.h"
#include "cedevicefixture.h"
#include "checkedcopy.h"
#include "devicedescription.h"
#include "devicemanager.h"
#include "emulatedremoteapi.h"
#include "navigatorinfo.h"
#include "pefixture.h"
#include "safewritecases.h"
#include "testlisteners.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace vktpdl;

namespace {

const QString navigatorFolder = QStringLiteral("\\Program files\\DRQ\\Korwind Navigator");

QByteArray fileContent(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeHostFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QByteArray navigatorExecutable()
{
    PeFixture fixture;
    fixture.fileVersion[0] = 5;
    fixture.fileVersion[1] = 1;
    fixture.fileVersion[2] = 7;
    fixture.internalName = u"korwind";
    const std::vector<unsigned char> bytes = writePeFixture(fixture);
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

QByteArray pseudoRandom(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 state = 2463534242u;
    for (char &byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = char(state);
    }
    return bytes;
}

// An emulated Windows Mobile device with the sync software on the PC, the remote API over it and the
// device on that API; the programs folder is where pxr.cab and the application manager are built.
class Emulation
{
public:
    explicit Emulation(const QString &programFolder = QCoreApplication::applicationDirPath())
        : fixture(m_folder.filePath(QStringLiteral("device"))), api(fixture.folder()),
          device(api, [this] { return downloads; }, programFolder)
    {
        downloads = m_folder.filePath(QStringLiteral("downloads"));
        QDir().mkpath(downloads);
        qputenv("VKT_CE_DEVICE", QFile::encodeName(fixture.folder()));
        fixture.makeWindowsMobile(QStringLiteral("Korwind PNA"));
        fixture.installSyncSoftware(QCoreApplication::applicationDirPath() + QStringLiteral("/vkt-ceappmgr"));
    }

    QString pcPath(const QString &name) const { return m_folder.filePath(name); }
    bool connect() { return device.connect(nullptr, nullptr) == DE_NO_ERROR; }

    bool installRealModule() { return installModuleFile(QStringLiteral(PXR_LIBRARY)); }
    // The forged module answers call with reply and result.
    bool installForgedModule(const QString &call, const QByteArray &reply, int result = 1)
    {
        const QString forged = fixture.folder() + QStringLiteral("/forged/");
        return installModuleFile(QStringLiteral(FORGED_MODULE)) && QDir().mkpath(forged)
               && writeHostFile(forged + call + QStringLiteral(".reply"), reply)
               && writeHostFile(forged + call + QStringLiteral(".result"), QByteArray::number(result));
    }

private:
    bool installModuleFile(const QString &library)
    {
        return fixture.addFile(ActiveSyncDevice::moduleFile, fileContent(library))
               && fixture.setRegistryText(ActiveSyncDevice::moduleKey, ActiveSyncDevice::moduleMarker,
                                          QStringLiteral("\\Program files\\DRQ\\KorwindUpdaterModule"));
    }

    QTemporaryDir m_folder;

public:
    QString downloads;
    CeDeviceFixture fixture;
    EmulatedRemoteApi api;
    ActiveSyncDevice device;
};

} // namespace

// A Windows CE device over the emulated remote API, with the real device-side module, the real
// application manager and pxr.cab, and a forged module for the replies the real one never gives.
class TestActiveSyncDevice : public QObject
{
    Q_OBJECT

private slots:
    void connects_data();
    void connects();
    void operationsWaitForTheConnection();
    void describesThePlatform_data();
    void describesThePlatform();

    void createsEveryLevelOfAFolder();
    void listsFoldersAndFilesByKind();
    void removesWithoutFollowingLinks();
    void copiesBothWays();
    void failedCopiesTouchNothing();
    void checkedCopyEndsUnderItsName_data();
    void checkedCopyEndsUnderItsName();
    void failedCheckedCopyChangesNothing_data();
    void failedCheckedCopyChangesNothing();
    void renameReplaces_data();
    void renameReplaces();
    void vanishedDeviceFailsEveryOperation();
    void opensInEveryMode_data();
    void opensInEveryMode();
    void seeksPastTwoGiB();

    void checksTheModule_data();
    void checksTheModule();
    void readsTheNavigator_data();
    void readsTheNavigator();
    void readsTheStorageRoots();
    void installsTheModuleFromItsCab();
    void moduleInstallationFaults_data();
    void moduleInstallationFaults();
    void writesTheInstallationDescription();
    void limitsTheCommandLine_data();
    void limitsTheCommandLine();
    void relativeCabPaths_data();
    void relativeCabPaths();

    void foundOnlyWhereTheRemoteApiIs();
};

void TestActiveSyncDevice::connects_data()
{
    QTest::addColumn<QString>("syncSoftware"); // its "MajorVersion" as written, or empty: not installed
    QTest::addColumn<QString>("init");
    QTest::addColumn<int>("initDelayMs");
    QTest::addColumn<int>("continueAnswers"); // -1: always
    QTest::addColumn<int>("result");
    QTest::addColumn<QList<int>>("progress");
    const QString installed = QStringLiteral("dword:00000004");
    QTest::newRow("answers at once") << installed << "answers" << 0 << -1 << 0 << QList<int>{0, 20};
    QTest::newRow("answers in the third second") << installed << "answers" << 2300 << -1 << 0 << QList<int>{0, 20, 40, 60};
    QTest::newRow("no sync software") << QString() << "answers" << 0 << -1 << 18 << QList<int>{0};
    QTest::newRow("MajorVersion not a number") << "4" << "answers" << 0 << -1 << 18 << QList<int>{0};
    QTest::newRow("remote API does not start") << installed << "refused" << 0 << -1 << 1 << QList<int>{0};
    QTest::newRow("connection fails") << installed << "fails" << 0 << -1 << 2 << QList<int>{0, 20};
    QTest::newRow("device never answers") << installed << "never" << 0 << -1 << 3 << QList<int>{0, 20, 40, 60, 80, 100};
    QTest::newRow("cancelled while waiting") << installed << "never" << 0 << 2 << 16 << QList<int>{0, 20, 40};
    QTest::newRow("cancelled at once") << installed << "answers" << 0 << 0 << 16 << QList<int>{0};
}

void TestActiveSyncDevice::connects()
{
    QFETCH(QString, syncSoftware);
    QFETCH(QString, init);
    QFETCH(int, initDelayMs);
    QFETCH(int, continueAnswers);
    QFETCH(int, result);
    QFETCH(QList<int>, progress);
    Emulation emulation;
    QFile::remove(emulation.fixture.folder() + "/desktop-registry.txt");
    if (!syncSoftware.isEmpty())
        QVERIFY(emulation.fixture.setDesktopValue("SOFTWARE\\Microsoft\\Windows CE Services", "MajorVersion", syncSoftware));
    QVERIFY(emulation.fixture.setConnection("init", init));
    QVERIFY(emulation.fixture.setConnection("init-delay-ms", QString::number(initDelayMs)));

    RecordingProgress recorded;
    StopAfter stop(continueAnswers);
    QCOMPARE(emulation.device.connect(&recorded, continueAnswers < 0 ? nullptr : &stop), result);
    QCOMPARE(recorded.values, progress);
    // A failed or cancelled connection leaves the remote API uninitialised.
    QCOMPARE(emulation.api.isConnected(), result == DE_NO_ERROR);
}

void TestActiveSyncDevice::operationsWaitForTheConnection()
{
    Emulation emulation;
    QVERIFY(emulation.fixture.addFile("\\a.txt", "a"));
    ActiveSyncDevice &device = emulation.device;
    QStringList names;
    quint64 bytes = 0;
    bool mustInstall = false;
    DeviceDescription description;
    NavigatorInfo info;
    const QList<int> results = {
        device.putFile("\\b.txt", emulation.pcPath("missing"), nullptr, nullptr),
        device.getFile(emulation.pcPath("copy"), "\\a.txt", nullptr, nullptr),
        device.deleteFile("\\a.txt"),
        device.createDirectory("\\New"),
        device.removeDirectory("\\New", false),
        device.listFolders("\\", "*", names),
        device.listFiles("\\", "*", names),
        device.getDeviceDescription(description),
        device.getNavigatorInfo(info, nullptr, nullptr),
        device.checkModule(mustInstall),
        device.listRoots(names)};
    QCOMPARE(results, QList<int>(results.size(), DE_NOT_CONNECTED));
    QCOMPARE(device.freeSpace("\\", bytes), int(DE_WRONG_REPLY));
    QVERIFY(!device.isFile("\\a.txt"));
    QCOMPARE(fileContent(emulation.fixture.hostPath("\\a.txt")), QByteArray("a"));

    QVERIFY(emulation.connect());
    QCOMPARE(device.freeSpace("\\", bytes), int(DE_NO_ERROR));
    QVERIFY(bytes > 0);
    QVERIFY(device.isFile("\\a.txt"));
    QVERIFY(!device.isFile("\\"));
}

void TestActiveSyncDevice::describesThePlatform_data()
{
    QTest::addColumn<QString>("osVersion");
    QTest::addColumn<bool>("versionsKey");
    QTest::addColumn<int>("supported");
    QTest::addColumn<int>("platform");
    QTest::newRow("Windows Mobile 6, CE 5.2") << "5.2" << true << 1 << 1;
    QTest::newRow("Windows Mobile 5, CE 5.1") << "5.1.1700" << true << 1 << 1;
    QTest::newRow("CE 5.2 without SYSTEM\\Versions") << "5.2" << false << 0 << 2;
    QTest::newRow("CE 6.0") << "6.0" << true << 0 << 2;
    QTest::newRow("version unreadable") << "none" << true << 0 << 2;
}

void TestActiveSyncDevice::describesThePlatform()
{
    QFETCH(QString, osVersion);
    QFETCH(bool, versionsKey);
    QFETCH(int, supported);
    QFETCH(int, platform);
    Emulation emulation;
    QFile::remove(emulation.fixture.folder() + "/registry.txt");
    if (versionsKey)
        QVERIFY(emulation.fixture.setRegistryText("SYSTEM\\Versions", "Aku", ".2.3"));
    QVERIFY(emulation.fixture.setConnection("os-version", osVersion));
    QVERIFY(emulation.connect());
    DeviceDescription description;
    QCOMPARE(emulation.device.getDeviceDescription(description), int(DE_NO_ERROR));
    QCOMPARE(description.name, QString("Korwind PNA"));
    QCOMPARE(description.supported, supported);
    QCOMPARE(description.platform, platform);
    QVERIFY(description.secondName.isEmpty() && description.thirdText.isEmpty() && !description.allRootsReadOnly);
}

void TestActiveSyncDevice::createsEveryLevelOfAFolder()
{
    Emulation emulation;
    QVERIFY(emulation.fixture.addStorageCard("Storage Card"));
    QVERIFY(emulation.connect());
    ActiveSyncDevice &device = emulation.device;
    QCOMPARE(device.createDirectory("\\storage card\\KorwindContent\\\\Maps\\"), int(DE_NO_ERROR));
    QVERIFY(QFileInfo(emulation.fixture.hostPath("\\Storage Card\\KorwindContent\\Maps")).isDir());
    QCOMPARE(device.createFolder("\\Storage Card\\KorwindContent", "Voices"), int(DE_NO_ERROR));
    QVERIFY(QFileInfo(emulation.fixture.hostPath("\\Storage Card\\KorwindContent\\Voices")).isDir());
    QCOMPARE(device.createDirectory("\\Storage Card\\KorwindContent"), int(DE_NO_ERROR));
    QCOMPARE(device.createDirectory("Storage Card\\Other"), int(DE_CANNOT_CREATE_FOLDER));
    QVERIFY(emulation.fixture.addFile("\\Storage Card\\file", "x"));
    QCOMPARE(device.createDirectory("\\Storage Card\\file\\below"), int(DE_CANNOT_CREATE_FOLDER));
}

void TestActiveSyncDevice::listsFoldersAndFilesByKind()
{
    Emulation emulation;
    QTemporaryDir outside;
    QVERIFY(emulation.fixture.addStorageCard("Card"));
    QVERIFY(emulation.fixture.addFolder("\\Card\\Hidden"));
    QVERIFY(emulation.fixture.setAttributes("\\Card\\Hidden", "6"));
    QVERIFY(emulation.fixture.addFolder("\\Card\\Maps"));
    QVERIFY(emulation.fixture.addFile("\\Card\\map.NM3", "m"));
    QVERIFY(emulation.fixture.addFile("\\Card\\notes.txt", "n"));
    QVERIFY(QFile::link(outside.path(), emulation.fixture.hostPath("\\Card\\link")));
    QVERIFY(emulation.connect());
    ActiveSyncDevice &device = emulation.device;

    QStringList folders{"kept"};
    QCOMPARE(device.listFolders("\\Card", "*", folders), int(DE_NO_ERROR));
    QCOMPARE(folders, QStringList({"kept", "Hidden", "Maps"}));
    QStringList files;
    QCOMPARE(device.listFiles("\\Card\\", "*", files), int(DE_NO_ERROR));
    QCOMPARE(files, QStringList({"link", "map.NM3", "notes.txt"}));
    files.clear();
    QCOMPARE(device.listFiles("\\card", "*.nm3", files), int(DE_NO_ERROR));
    QCOMPARE(files, QStringList{"map.NM3"});
    QStringList nothing;
    QCOMPARE(device.listFiles("\\Card", "*.zip", nothing), int(DE_NO_ERROR));
    QCOMPARE(device.listFiles("\\Missing", "*", nothing), int(DE_NO_ERROR));
    QCOMPARE(device.listFolders("\\Card\\link", "*", nothing), int(DE_WRONG_REPLY));
    QVERIFY(nothing.isEmpty());
}

void TestActiveSyncDevice::removesWithoutFollowingLinks()
{
    Emulation emulation;
    QTemporaryDir outside;
    QVERIFY(writeHostFile(outside.filePath("precious"), "keep"));
    QVERIFY(emulation.fixture.addFile("\\Card\\KorwindContent\\Maps\\a.NM3", "a"));
    QVERIFY(QFile::link(outside.path(), emulation.fixture.hostPath("\\Card\\KorwindContent\\link")));
    QVERIFY(emulation.connect());
    ActiveSyncDevice &device = emulation.device;

    QCOMPARE(device.deleteFile("\\Card\\missing.txt"), int(DE_NO_ERROR));
    QCOMPARE(device.deleteFile("\\Missing\\missing.txt"), int(DE_NO_ERROR));
    QCOMPARE(device.deleteFile("\\Card\\KorwindContent"), int(DE_TRANSFER_ERROR));
    QCOMPARE(device.removeDirectory("\\Card\\Missing", false), int(DE_NO_ERROR));
    QCOMPARE(device.removeDirectory("\\Card\\KorwindContent", false), int(DE_DELETE_ERROR));
    QCOMPARE(device.removeDirectory("\\Card\\KorwindContent", true), int(DE_NO_ERROR));
    QVERIFY(!QFileInfo::exists(emulation.fixture.hostPath("\\Card\\KorwindContent")));
    QCOMPARE(fileContent(outside.filePath("precious")), QByteArray("keep"));
}

void TestActiveSyncDevice::copiesBothWays()
{
    Emulation emulation;
    const QByteArray content = pseudoRandom(200 * 1024);
    QVERIFY(writeHostFile(emulation.pcPath("map.NM3"), content));
    QVERIFY(writeHostFile(emulation.pcPath("short"), "short"));
    QVERIFY(writeHostFile(emulation.pcPath("empty"), QByteArray()));
    QVERIFY(emulation.fixture.addFolder("\\Card"));
    QVERIFY(emulation.connect());
    ActiveSyncDevice &device = emulation.device;

    RecordingProgress progress;
    QCOMPARE(device.putFile("\\Card\\map.NM3", emulation.pcPath("map.NM3"), &progress, nullptr), int(DE_NO_ERROR));
    QCOMPARE(progress.values, QList<int>({32, 64, 96, 100}));
    QCOMPARE(fileContent(emulation.fixture.hostPath("\\Card\\map.NM3")), content);
    progress.values.clear();
    QCOMPARE(device.getFile(emulation.pcPath("back.NM3"), "\\Card\\map.NM3", &progress, nullptr), int(DE_NO_ERROR));
    QCOMPARE(progress.values, QList<int>({32, 64, 96, 100}));
    QCOMPARE(fileContent(emulation.pcPath("back.NM3")), content);
    qint64 size = 0;
    QCOMPARE(device.fileSize("\\Card\\map.NM3", size), int(DE_NO_ERROR));
    QCOMPARE(size, content.size());

    // A copy onto a longer file leaves nothing of it behind.
    QCOMPARE(device.putFile("\\Card\\map.NM3", emulation.pcPath("short"), nullptr, nullptr), int(DE_NO_ERROR));
    QCOMPARE(fileContent(emulation.fixture.hostPath("\\Card\\map.NM3")), QByteArray("short"));
    progress.values.clear();
    QCOMPARE(device.putFile("\\Card\\empty", emulation.pcPath("empty"), &progress, nullptr), int(DE_NO_ERROR));
    QVERIFY(progress.values.isEmpty());
    QCOMPARE(fileContent(emulation.fixture.hostPath("\\Card\\empty")), QByteArray());
}

void TestActiveSyncDevice::failedCopiesTouchNothing()
{
    Emulation emulation;
    QTemporaryDir outside;
    const QByteArray content = pseudoRandom(150 * 1024);
    QVERIFY(emulation.fixture.addFile("\\Card\\map.NM3", content));
    QVERIFY(writeHostFile(emulation.pcPath("existing"), "mine"));
    QVERIFY(QFile::link(outside.filePath("target"), emulation.pcPath("planted")));
    QVERIFY(emulation.connect());
    ActiveSyncDevice &device = emulation.device;

    QCOMPARE(device.getFile(emulation.pcPath("existing"), "\\Card\\map.NM3", nullptr, nullptr), int(DE_TRANSFER_ERROR));
    QCOMPARE(fileContent(emulation.pcPath("existing")), QByteArray("mine"));
    QCOMPARE(device.getFile(emulation.pcPath("planted"), "\\Card\\map.NM3", nullptr, nullptr), int(DE_TRANSFER_ERROR));
    QVERIFY(!QFileInfo::exists(outside.filePath("target")));

    // Reading a device file that is not there creates it on neither side.
    QCOMPARE(device.getFile(emulation.pcPath("new"), "\\Card\\missing", nullptr, nullptr), int(DE_TRANSFER_ERROR));
    QVERIFY(!QFileInfo::exists(emulation.pcPath("new")));
    QVERIFY(!QFileInfo::exists(emulation.fixture.hostPath("\\Card\\missing")));

    // A PC file that is not there leaves the device's file as it was.
    QCOMPARE(device.putFile("\\Card\\map.NM3", emulation.pcPath("missing"), nullptr, nullptr), int(DE_TRANSFER_ERROR));
    QCOMPARE(fileContent(emulation.fixture.hostPath("\\Card\\map.NM3")), content);

    // A copy cancelled after its first chunk leaves no partial file on either side.
    StopAfter stop(0);
    QCOMPARE(device.getFile(emulation.pcPath("partial"), "\\Card\\map.NM3", nullptr, &stop), int(DE_CANCELLED));
    QVERIFY(!QFileInfo::exists(emulation.pcPath("partial")));
    QVERIFY(writeHostFile(emulation.pcPath("new.NM3"), content));
    StopAfter putStop(0);
    QCOMPARE(device.putFile("\\Card\\new.NM3", emulation.pcPath("new.NM3"), nullptr, &putStop), int(DE_CANCELLED));
    QCOMPARE(entries(emulation.fixture.hostPath("\\Card")), QStringList{"map.NM3"});
}

void TestActiveSyncDevice::checkedCopyEndsUnderItsName_data()
{
    SafeWriteCases::addCheckedCopyRows();
}

void TestActiveSyncDevice::checkedCopyEndsUnderItsName()
{
    Emulation emulation;
    QVERIFY(emulation.fixture.addFolder("\\Card\\Maps"));
    QVERIFY(emulation.connect());
    SafeWriteCases::checkCheckedCopy(emulation.device, "\\Card\\Maps", emulation.fixture.hostPath("\\Card\\Maps"));
}

void TestActiveSyncDevice::failedCheckedCopyChangesNothing_data()
{
    SafeWriteCases::addFailedCopyRows(DE_TRANSFER_ERROR);
}

void TestActiveSyncDevice::failedCheckedCopyChangesNothing()
{
    Emulation emulation;
    QVERIFY(emulation.fixture.addFolder("\\Card\\Maps"));
    QVERIFY(emulation.connect());
    SafeWriteCases::checkFailedCopy(emulation.device, "\\Card\\Maps", emulation.fixture.hostPath("\\Card\\Maps"));
}

void TestActiveSyncDevice::renameReplaces_data()
{
    SafeWriteCases::addRenameRows();
}

void TestActiveSyncDevice::renameReplaces()
{
    Emulation emulation;
    QVERIFY(emulation.fixture.addFolder("\\Card"));
    QVERIFY(emulation.connect());
    SafeWriteCases::checkRename(emulation.device, "\\Card", emulation.fixture.hostPath("\\Card"));
}

void TestActiveSyncDevice::vanishedDeviceFailsEveryOperation()
{
    Emulation emulation;
    QVERIFY(emulation.fixture.addFile("\\Card\\Maps\\europe.NM3", "old map"));
    const QByteArray data = pseudoRandom(600 * 1024);
    QVERIFY(writeHostFile(emulation.pcPath("europe.NM3"), data));
    QVERIFY(emulation.installRealModule());
    QVERIFY(emulation.connect());
    ActiveSyncDevice &device = emulation.device;
    const QString map = "\\Card\\Maps\\europe.NM3";
    const QString maps = emulation.fixture.hostPath("\\Card\\Maps");

    // Unplugged in the middle of the copy: the map stays as it was.
    SafeWriteCases::UnplugAt unplug(emulation.fixture.folder() + "/disconnected", 20);
    QCOMPARE(putFileChecked(device, map, emulation.pcPath("europe.NM3"), QString(), &unplug, nullptr),
             int(DE_TRANSFER_ERROR));
    QCOMPARE(fileContent(maps + "/europe.NM3"), QByteArray("old map"));
    QCOMPARE(entries(maps), QStringList({"europe.NM3", "europe.NM3.kwpart"}));

    QStringList names;
    quint64 bytes = 0;
    bool mustInstall = false;
    DeviceDescription description;
    NavigatorInfo info;
    const QList<std::pair<const char *, std::function<int()>>> operations = {
        {"putFile", [&] { return device.putFile(map, emulation.pcPath("europe.NM3"), nullptr, nullptr); }},
        {"getFile", [&] { return device.getFile(emulation.pcPath("back.NM3"), map, nullptr, nullptr); }},
        {"deleteFile", [&] { return device.deleteFile(map); }},
        {"createDirectory", [&] { return device.createDirectory("\\Card\\New"); }},
        {"removeDirectory", [&] { return device.removeDirectory("\\Card\\Maps", true); }},
        {"listFolders", [&] { return device.listFolders("\\Card", "*", names); }},
        {"listFiles", [&] { return device.listFiles("\\Card\\Maps", "*", names); }},
        {"freeSpace", [&] { return device.freeSpace("\\Card", bytes); }},
        {"renameFile", [&] { return device.renameFile(map, map + ".old"); }},
        {"flushFile", [&] { return device.flushFile(map); }},
        {"flushFolder", [&] { return device.flushFolder("\\Card\\Maps"); }},
        {"syncVolume", [&] { return device.syncVolume("\\Card"); }},
        {"getDeviceDescription", [&] { return device.getDeviceDescription(description); }},
        {"getNavigatorInfo", [&] { return device.getNavigatorInfo(info, nullptr, nullptr); }},
        {"checkModule", [&] { return device.checkModule(mustInstall); }},
        {"listRoots", [&] { return device.listRoots(names); }},
        {"installPackage", [&] { return device.installPackage(emulation.downloads + "/a.cab", 0, nullptr, nullptr); }},
    };
    for (const auto &[name, operation] : operations)
        QVERIFY2(operation() == DE_TRANSFER_ERROR, name);
    QVERIFY(names.isEmpty());
    QVERIFY(!device.isFile(map));

    // Plugged in again, the broken connection stays broken until the device is connected anew; then the
    // map is copied, and the temporary file the unplugging left goes.
    QVERIFY(QFile::remove(emulation.fixture.folder() + "/disconnected"));
    QCOMPARE(device.listFiles("\\Card\\Maps", "*", names), int(DE_TRANSFER_ERROR));
    QVERIFY(emulation.connect());
    QCOMPARE(putFileChecked(device, map, emulation.pcPath("europe.NM3"), QString(), nullptr, nullptr), int(DE_NO_ERROR));
    QCOMPARE(fileContent(maps + "/europe.NM3"), data);
    QCOMPARE(entries(maps), QStringList{"europe.NM3"});
}

void TestActiveSyncDevice::opensInEveryMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("existing"); // "0123456789" before
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QByteArray>("after"); // after writing "ab" where the mode writes; "<missing>": no file
    const int read = QIODevice::ReadOnly;
    const int write = QIODevice::WriteOnly;
    const int truncate = QIODevice::Truncate;
    QTest::newRow("no mode: position and size only") << 0 << true << true << QByteArray("0123456789");
    QTest::newRow("read-only") << read << true << true << QByteArray("0123456789");
    QTest::newRow("read-only, missing: nothing created") << read << false << false << QByteArray("<missing>");
    QTest::newRow("write-only keeps the rest") << write << true << true << QByteArray("ab23456789");
    QTest::newRow("write-only creates") << write << false << true << QByteArray("ab");
    QTest::newRow("read-write") << int(QIODevice::ReadWrite) << true << true << QByteArray("ab23456789");
    QTest::newRow("truncate") << truncate << true << true << QByteArray("ab");
    QTest::newRow("truncate, missing") << truncate << false << false << QByteArray("<missing>");
    QTest::newRow("write-only truncating") << (write | truncate) << true << true << QByteArray("ab");
    QTest::newRow("write-only truncating creates") << (write | truncate) << false << true << QByteArray("ab");
    QTest::newRow("text") << (read | int(QIODevice::Text)) << true << false << QByteArray("0123456789");
    QTest::newRow("append") << (write | int(QIODevice::Append)) << true << false << QByteArray("0123456789");
}

void TestActiveSyncDevice::opensInEveryMode()
{
    QFETCH(int, mode);
    QFETCH(bool, existing);
    QFETCH(bool, opens);
    QFETCH(QByteArray, after);
    Emulation emulation;
    QVERIFY(emulation.fixture.addFolder("\\Card"));
    if (existing)
        QVERIFY(emulation.fixture.addFile("\\Card\\f.txt", "0123456789"));
    QVERIFY(emulation.connect());
    QIODevice *opened = nullptr;
    QCOMPARE(emulation.device.openFile("\\Card\\f.txt", opened), int(DE_NO_ERROR));
    std::unique_ptr<QIODevice> file(opened);
    QCOMPARE(file->open(QIODevice::OpenMode(mode)), opens);
    if (opens && file->isWritable())
        QCOMPARE(file->write("ab"), qint64(2));
    if (opens && file->isReadable() && !file->isWritable())
        QCOMPARE(file->readAll(), QByteArray("0123456789"));
    if (opens)
        QCOMPARE(file->size(), qint64(after.size()));
    file.reset();
    QCOMPARE(fileContent(emulation.fixture.hostPath("\\Card\\f.txt")), after);
}

void TestActiveSyncDevice::seeksPastTwoGiB()
{
    Emulation emulation;
    const qint64 size = 3LL << 30;
    const qint64 marked = (5LL << 30) / 2;
    QVERIFY(emulation.fixture.addFile("\\big.bin", QByteArray()));
    {
        // Sparse: only the marker takes room on the disk.
        QFile big(emulation.fixture.hostPath("\\big.bin"));
        QVERIFY(big.open(QIODevice::ReadWrite) && big.resize(size) && big.seek(marked) && big.write("MARK") == 4);
    }
    QVERIFY(emulation.connect());
    QIODevice *opened = nullptr;
    QCOMPARE(emulation.device.openFile("\\big.bin", opened), int(DE_NO_ERROR));
    std::unique_ptr<QIODevice> file(opened);
    QVERIFY(file->open(QIODevice::ReadOnly));
    QVERIFY(!file->open(QIODevice::ReadOnly));
    QCOMPARE(file->size(), size);
    QVERIFY(file->seek(marked));
    QCOMPARE(file->pos(), marked);
    QCOMPARE(file->read(4), QByteArray("MARK"));
    QCOMPARE(file->pos(), marked + 4);
    QVERIFY(file->seek(0x7FFFFFFF));
    QVERIFY(file->seek(0x80000000LL));
    QCOMPARE(file->pos(), 0x80000000LL);
    QVERIFY(!file->seek(0xFFFFFFFFLL));
    QVERIFY(!file->seek(1LL << 32));
    QVERIFY(!file->seek(-1));
    QCOMPARE(file->pos(), 0x80000000LL);
}

void TestActiveSyncDevice::checksTheModule_data()
{
    QTest::addColumn<QString>("installed"); // "nothing", "marker only", "real", "forged", "marker a number"
    QTest::addColumn<QByteArray>("versionReply");
    QTest::addColumn<int>("callResult");
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("mustInstall");
    QTest::newRow("nothing installed") << "nothing" << QByteArray() << 1 << 0 << true;
    QTest::newRow("marker without the module") << "marker only" << QByteArray() << 1 << 4 << true;
    QTest::newRow("marker that is not a text") << "marker a number" << QByteArray() << 1 << 0 << true;
    QTest::newRow("the real module") << "real" << QByteArray() << 1 << 0 << false;
    QTest::newRow("module of version 2") << "forged" << QByteArray::fromHex("02000000") << 1 << 23 << true;
    QTest::newRow("reply of three bytes") << "forged" << QByteArray::fromHex("010000") << 1 << 6 << true;
    QTest::newRow("call fails") << "forged" << QByteArray::fromHex("01000000") << 0 << 4 << true;
}

void TestActiveSyncDevice::checksTheModule()
{
    QFETCH(QString, installed);
    QFETCH(QByteArray, versionReply);
    QFETCH(int, callResult);
    QFETCH(int, result);
    QFETCH(bool, mustInstall);
    Emulation emulation;
    const QString folder = "\\Program files\\DRQ\\KorwindUpdaterModule";
    if (installed == "marker only")
        QVERIFY(emulation.fixture.setRegistryText(ActiveSyncDevice::moduleKey, "InstlDir", folder));
    if (installed == "marker a number")
        QVERIFY(emulation.installRealModule() && emulation.fixture.setRegistryText(ActiveSyncDevice::moduleKey, "InstlDir", "dword:1"));
    if (installed == "real")
        QVERIFY(emulation.installRealModule());
    if (installed == "forged")
        QVERIFY(emulation.installForgedModule("getPXRVersion", versionReply, callResult));
    QVERIFY(emulation.connect());
    bool need = !mustInstall;
    QCOMPARE(emulation.device.checkModule(need), result);
    QCOMPARE(need, mustInstall);
}

void TestActiveSyncDevice::readsTheNavigator_data()
{
    QTest::addColumn<QString>("module"); // "real" or "forged"
    QTest::addColumn<bool>("navigator"); // Korwind.exe in the default folder
    QTest::addColumn<QByteArray>("reply"); // of the forged module
    QTest::addColumn<int>("callResult");
    QTest::addColumn<int>("result");
    QTest::newRow("found") << "real" << true << QByteArray() << 1 << 0;
    QTest::newRow("not on the device") << "real" << false << QByteArray() << 1 << 8;
    QTest::newRow("status 1") << "forged" << true << QByteArray::fromHex("0100") << 1 << 8;
    QTest::newRow("folder longer than the reply")
        << "forged" << true << QByteArray::fromHex("0000050001000000000064000000") + QByteArray("\\Folder") << 1 << 8;
    QTest::newRow("call fails") << "forged" << true << QByteArray::fromHex("0100") << 0 << 2;
}

void TestActiveSyncDevice::readsTheNavigator()
{
    QFETCH(QString, module);
    QFETCH(bool, navigator);
    QFETCH(QByteArray, reply);
    QFETCH(int, callResult);
    QFETCH(int, result);
    Emulation emulation;
    const QByteArray executable = navigatorExecutable();
    if (navigator)
        QVERIFY(emulation.fixture.addFile(navigatorFolder + "\\Korwind.exe", executable));
    QVERIFY(module == "real" ? emulation.installRealModule()
                             : emulation.installForgedModule("getVersionInfo", reply, callResult));
    QVERIFY(emulation.connect());
    NavigatorInfo info;
    RecordingProgress progress;
    QCOMPARE(emulation.device.getNavigatorInfo(info, &progress, nullptr), result);
    QCOMPARE(progress.values, result == 0 ? QList<int>({5, 65, 100}) : QList<int>({5, 65}));
    if (result != DE_NO_ERROR) {
        QVERIFY(info.folder.isEmpty());
        return;
    }
    QCOMPARE(info.version, DottedVersion(5, 1, 7, 0));
    QCOMPARE(info.folder, navigatorFolder);
    QCOMPARE(info.identifier, QCryptographicHash::hash(executable, QCryptographicHash::Sha1).toHex());

    StopAfter stop(1);
    QCOMPARE(emulation.device.getNavigatorInfo(info, nullptr, &stop), int(DE_CANCELLED));
}

void TestActiveSyncDevice::readsTheStorageRoots()
{
    Emulation emulation;
    for (const QString card : {"Storage Card", "SD-Karte", "Empty Card"})
        QVERIFY(emulation.fixture.addStorageCard(card));
    QVERIFY(emulation.fixture.addFile("\\Storage Card\\a", "a"));
    QVERIFY(emulation.fixture.addFile("\\SD-Karte\\b", "b"));
    QVERIFY(emulation.fixture.addFile("\\Windows\\c", "c"));
    QVERIFY(emulation.installRealModule());
    QVERIFY(emulation.connect());
    QStringList roots{"kept"};
    QCOMPARE(emulation.device.listRoots(roots), int(DE_NO_ERROR));
    QCOMPARE(roots, QStringList({"kept", "\\SD-Karte", "\\Storage Card"}));

    QVERIFY(emulation.installForgedModule("getRootInfo", QByteArray::fromHex("00000a000000") + QByteArray("\\Card\0", 6)));
    roots.clear();
    QCOMPARE(emulation.device.listRoots(roots), int(DE_WRONG_REPLY));
    QVERIFY(roots.isEmpty());
}

void TestActiveSyncDevice::installsTheModuleFromItsCab()
{
    Emulation emulation;
    QVERIFY(emulation.connect());
    bool mustInstall = false;
    QCOMPARE(emulation.device.checkModule(mustInstall), int(DE_NO_ERROR));
    QVERIFY(mustInstall);

    RecordingProgress progress;
    QCOMPARE(emulation.device.installModule(&progress, nullptr), int(DE_NO_ERROR));
    QCOMPARE(progress.values, QList<int>({5, 30, 70, 100}));
    QCOMPARE(fileContent(emulation.downloads + "/pxr.cab"), fileContent(QCoreApplication::applicationDirPath() + "/pxr.cab"));
    CabinetFile::Entries cab;
    QString error;
    QVERIFY2(CabinetFile::read(emulation.downloads + "/pxr.cab", cab, error), qPrintable(error));
    QVERIFY(CabinetFile::find(cab, "pxr.dll"));
    QCOMPARE(fileContent(emulation.fixture.hostPath(ActiveSyncDevice::moduleFile)), *CabinetFile::find(cab, "pxr.dll"));
    // The module's setup hook granted the remote API access to it.
    QCOMPARE(QDir(emulation.fixture.folder() + "/configuration").entryList(QDir::Files), QStringList{"0001.xml"});
    QCOMPARE(emulation.device.checkModule(mustInstall), int(DE_NO_ERROR));
    QVERIFY(!mustInstall);

    // A module of another version is installed anew.
    QVERIFY(emulation.installForgedModule("getPXRVersion", QByteArray::fromHex("02000000")));
    QCOMPARE(emulation.device.checkModule(mustInstall), int(DE_MODULE_TOO_OLD));
    QCOMPARE(emulation.device.installModule(nullptr, nullptr), int(DE_NO_ERROR));
    QCOMPARE(emulation.device.checkModule(mustInstall), int(DE_NO_ERROR));
    QVERIFY(!mustInstall);
}

void TestActiveSyncDevice::moduleInstallationFaults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("result");
    QTest::newRow("no pxr.cab beside the program") << "no cab" << 17;
    QTest::newRow("downloads folder missing") << "no downloads" << 17;
    QTest::newRow("description file is a planted link") << "planted link" << 17;
    QTest::newRow("no application manager registered") << "unregistered" << 18;
    QTest::newRow("application manager not there") << "not there" << 19;
    QTest::newRow("device refuses the remote access") << "grant refused" << 4;
}

void TestActiveSyncDevice::moduleInstallationFaults()
{
    QFETCH(QString, fault);
    QFETCH(int, result);
    QTemporaryDir emptyFolder;
    QTemporaryDir outside;
    Emulation emulation(fault == "no cab" ? emptyFolder.path() : QCoreApplication::applicationDirPath());
    if (fault == "no downloads")
        QVERIFY(QDir(emulation.downloads).removeRecursively());
    if (fault == "planted link")
        QVERIFY(QFile::link(outside.filePath("target"), emulation.downloads + "/ApplicationUpdate.ini"));
    if (fault == "unregistered" || fault == "not there") {
        QFile::remove(emulation.fixture.folder() + "/desktop-registry.txt");
        QVERIFY(emulation.fixture.setDesktopValue("SOFTWARE\\Microsoft\\Windows CE Services", "MajorVersion", "dword:4"));
    }
    if (fault == "not there")
        QVERIFY(emulation.fixture.setDesktopValue("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE",
                                                  "@", outside.filePath("ceappmgr")));
    if (fault == "grant refused")
        QVERIFY(writeHostFile(emulation.fixture.folder() + "/configuration-fails", QByteArray()));
    QVERIFY(emulation.connect());

    QCOMPARE(emulation.device.installModule(nullptr, nullptr), result);
    QVERIFY(!QFileInfo::exists(emulation.fixture.hostPath(ActiveSyncDevice::moduleFile)));
    QVERIFY(!QFileInfo::exists(outside.filePath("target")));
    bool mustInstall = false;
    QCOMPARE(emulation.device.checkModule(mustInstall), int(DE_NO_ERROR));
    QVERIFY(mustInstall);
}

void TestActiveSyncDevice::writesTheInstallationDescription()
{
    Emulation emulation;
    QVERIFY(emulation.fixture.setDesktopValue("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE",
                                              "@", "/bin/true"));
    QVERIFY(emulation.connect());
    QCOMPARE(emulation.device.installPackage(emulation.downloads + "/KorwindNavigator_5.2.0.0.cab", 0, nullptr, nullptr),
             int(DE_NO_ERROR));
    QCOMPARE(fileContent(emulation.downloads + "/ApplicationUpdate.ini"),
             QByteArray("[CEAppManager]\r\nVersion =1.0\r\n\r\nComponent =UpdateApplication\r\n\r\n\r\n"
                        "[UpdateApplication]\r\n\r\nDescription =UpdateApplication\r\n\r\n"
                        "CabFiles =KORWINDNAVIGATOR_5.2.0.0.CAB\r\n"));
    QCOMPARE(emulation.device.installPackage(QString(), 0, nullptr, nullptr), int(DE_NOT_SUPPORTED));
    StopAfter stop(1);
    QCOMPARE(emulation.device.installPackage(emulation.downloads + "/a.cab", 0, nullptr, &stop), int(DE_CANCELLED));
}

void TestActiveSyncDevice::limitsTheCommandLine_data()
{
    QTest::addColumn<int>("length"); // of the command line
    QTest::addColumn<int>("result");
    QTest::newRow("259 characters: started") << 259 << 19;
    QTest::newRow("260 characters: refused") << 260 << 20;
}

void TestActiveSyncDevice::limitsTheCommandLine()
{
    QFETCH(int, length);
    QFETCH(int, result);
    Emulation emulation;
    const QString description = emulation.downloads + "/ApplicationUpdate.ini";
    // The quoted manager, a space, the quoted description file.
    const QString manager = "/missing/" + QString(length - 5 - description.size() - 9, QLatin1Char('m'));
    QVERIFY(emulation.fixture.setDesktopValue("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE",
                                              "@", manager));
    QVERIFY(emulation.connect());
    QCOMPARE(emulation.device.installPackage(emulation.downloads + "/a.cab", 0, nullptr, nullptr), result);
}

void TestActiveSyncDevice::relativeCabPaths_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("cab");
    QTest::addColumn<QString>("relative");
    QTest::newRow("same folder") << "/home/anna/Downloads/ApplicationUpdate.ini" << "/home/anna/Downloads/pxr.cab"
                                 << "PXR.CAB";
    QTest::newRow("sub-folder") << "C:\\dl\\ApplicationUpdate.ini" << "C:\\dl\\new\\nav.cab" << "NEW\\NAV.CAB";
    QTest::newRow("sibling folder") << "C:\\a\\b\\ApplicationUpdate.ini" << "C:\\a\\c\\nav.cab" << "..\\C\\NAV.CAB";
    QTest::newRow("names that start alike") << "\\A\\BC\\x.ini" << "\\A\\BD\\y.cab" << "..\\BD\\Y.CAB";
    QTest::newRow("letter case differs") << "/Home/x.ini" << "/home/y.cab" << "Y.CAB";
    QTest::newRow("nothing shared") << "C:\\x.ini" << "D:\\y.cab" << "";
}

void TestActiveSyncDevice::relativeCabPaths()
{
    QFETCH(QString, description);
    QFETCH(QString, cab);
    QFETCH(QString, relative);
    QCOMPARE(ActiveSyncDevice::relativeCabPath(description, cab), relative);
}

void TestActiveSyncDevice::foundOnlyWhereTheRemoteApiIs()
{
    QTemporaryDir noMachine;
    qputenv("VKT_MACHINE_ROOT", QFile::encodeName(noMachine.path()));
    const auto downloads = [] { return QDir::tempPath(); };
    qunsetenv("VKT_CE_DEVICE");
    {
        DeviceManager manager(downloads);
        RecordingProgress progress;
        QCOMPARE(manager.searchDevices(&progress, nullptr), 0);
        QCOMPARE(manager.deviceCount(), 0);
        QCOMPARE(progress.values.last(), 100);
    }
    Emulation emulation;
    DeviceManager manager(downloads);
    RecordingProgress progress;
    QCOMPARE(manager.searchDevices(&progress, nullptr), 0);
    QCOMPARE(manager.deviceCount(), 1);
    QCOMPARE(manager.device(0)->kind(), int(DK_ACTIVESYNC));
    QCOMPARE(progress.values.last(), 100);
    DeviceDescription description;
    QCOMPARE(manager.device(0)->getDeviceDescription(description), int(DE_NO_ERROR));
    QCOMPARE(description.name, QString("Korwind PNA"));
    qunsetenv("VKT_MACHINE_ROOT");
}

QTEST_GUILESS_MAIN(TestActiveSyncDevice)
#include "tst_activesyncdevice.moc"
