#include "checkedcopy.h"
#include "devicedescription.h"
#include "devicesearchlistener.h"
#include "midevicehandler.h"
#include "navigatorinfo.h"
#include "phoneconnectivitylibrary.h"
#include "phonefixture.h"
#include "safewritecases.h"
#include "symbiandevicehandler.h"
#include "symbiandevicessearcher.h"
#include "symbianqiodevice.h"
#include "testlisteners.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace vktpdl;

using Applications = QList<PhoneFixture::Application>;
Q_DECLARE_METATYPE(Applications)

namespace {

class FoundDevices final : public DeviceSearchListener
{
public:
    void deviceFound(std::unique_ptr<DeviceHandler> device) override { devices.push_back(std::move(device)); }
    void storageDeviceFound(std::unique_ptr<MIDeviceHandler>) override {}
    std::vector<std::unique_ptr<DeviceHandler>> devices;
};

class RecordingInstallation final : public vktcommon::InstallationProgressListener
{
public:
    void setProgress(int percent) override { values.append(percent); }
    void waitForUserAction() override { ++waits; }
    QList<int> values;
    int waits = 0;
};

PhoneLibraryConfiguration emulatorConfiguration()
{
    PhoneLibraryConfiguration configuration;
    configuration.deviceManagementLibrary = PhoneFixture::emulatorLibrary();
    configuration.fileSystemLibrary = PhoneFixture::emulatorLibrary();
    return configuration;
}

QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(QRandomGenerator::global()->bounded(256));
    return bytes;
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

std::unique_ptr<QIODevice> openPhoneFile(DeviceHandler &phone, const QString &path, QIODevice::OpenMode mode)
{
    QIODevice *opened = nullptr;
    if (phone.openFile(path, opened) != DE_NO_ERROR)
        return nullptr;
    std::unique_ptr<QIODevice> device(opened);
    return device && device->open(mode) ? std::move(device) : nullptr;
}

} // namespace

// Phones behind the emulated connectivity library: the binding, the search, every operation of the phone,
// its block transfers, and the faults a phone can have.
class TestSymbianDevice : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void configuration_data();
    void configuration();
    void libraryPartsAreCounted();

    void search_data();
    void search();
    void unreachablePhoneIsListedAndAnswersTwo();
    void emptyPathsAndRenamingGetsAreRefused();

    void listRoots_data();
    void listRoots();
    void foldersAndFiles();
    void copiesBothWays();
    void interruptedCopyLeavesNothing_data();
    void interruptedCopyLeavesNothing();
    void linksOnThePhoneAreNeverFollowed();
    void checkedCopyEndsUnderItsName_data();
    void checkedCopyEndsUnderItsName();
    void failedCheckedCopyChangesNothing_data();
    void failedCheckedCopyChangesNothing();
    void renameReplaces_data();
    void renameReplaces();
    void vanishedPhoneFailsEveryOperation();

    void navigatorInfo_data();
    void navigatorInfo();
    void installation_data();
    void installation();

    void blockTransferBothWays();
    void emptyFileAndEarlyClose();
    void transferEndingEarly();
    void abandonedWriteLeavesNothing_data();
    void abandonedWriteLeavesNothing();

private:
    // Writes the phones and searches them through the emulated library.
    void searchPhones(const QList<PhoneFixture> &phones, vktcommon::ProgressListener *progress = nullptr,
                      vktcommon::ContinueListener *cont = nullptr);
    // Writes the one phone and finds it.
    DeviceHandler *connectPhone(const PhoneFixture &phone);
    // As connectPhone, with an empty folder Maps on its card (phoneMaps on the phone, maps() on the PC).
    DeviceHandler *connectPhoneWithMaps(const PhoneFixture &phone);
    QString maps(const PhoneFixture &phone) const { return drive(phone) + QStringLiteral("/Maps"); }
    const QString phoneMaps = QStringLiteral("\\\\E:\\Maps");
    QString phones() const { return m_folder->filePath(QStringLiteral("phones")); }
    QString drive(const PhoneFixture &phone, const QString &letter = QStringLiteral("E")) const
    {
        return phone.drive(phones(), letter);
    }
    QString pc(const QString &name = QString()) const
    {
        return m_folder->filePath(QStringLiteral("pc")) + (name.isEmpty() ? QString() : QLatin1Char('/') + name);
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<SymbianDevicesSearcher> m_searcher;
    FoundDevices m_found;
};

void TestSymbianDevice::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    QVERIFY(QDir().mkpath(phones()) && QDir().mkpath(pc()));
    qputenv("VKT_EMULATED_PHONES", QFile::encodeName(phones()));
}

void TestSymbianDevice::cleanup()
{
    m_found.devices.clear();
    if (m_searcher)
        m_searcher->shutdown();
    m_searcher.reset();
    m_folder.reset();
}

void TestSymbianDevice::searchPhones(const QList<PhoneFixture> &phoneList, vktcommon::ProgressListener *progress,
                                     vktcommon::ContinueListener *cont)
{
    for (const PhoneFixture &phone : phoneList) {
        QString error;
        QVERIFY2(phone.write(phones(), &error), qPrintable(error));
    }
    m_searcher = std::make_unique<SymbianDevicesSearcher>(emulatorConfiguration());
    m_searcher->initialize();
    m_searcher->search(m_found, progress, cont);
}

DeviceHandler *TestSymbianDevice::connectPhone(const PhoneFixture &phone)
{
    searchPhones({phone});
    return m_found.devices.size() == 1 ? m_found.devices.front().get() : nullptr;
}

DeviceHandler *TestSymbianDevice::connectPhoneWithMaps(const PhoneFixture &phone)
{
    DeviceHandler *device = connectPhone(phone);
    return device && QDir().mkdir(maps(phone)) ? device : nullptr;
}

// --- the library binding ---

void TestSymbianDevice::configuration_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("deviceManagement");
    QTest::addColumn<QString>("fileSystem");
    QTest::addColumn<uint>("options");

    const QString standard = PhoneLibraryConfiguration::defaultLibraryName();
    QTest::newRow("no file") << QByteArray() << standard << standard << 0u;
    QTest::newRow("both parts, options in hexadecimal")
        << QByteArray("[API]\nDeviceManagement=/opt/phone/dm.so\nFileSystem=/opt/phone/fs.so\nOptions=0x70010\n")
        << "/opt/phone/dm.so" << "/opt/phone/fs.so" << 0x70010u;
    QTest::newRow("one part, options not a number")
        << QByteArray("[API]\nFileSystem=/opt/phone/fs.so\nOptions=many\n") << standard << "/opt/phone/fs.so" << 0u;
}

void TestSymbianDevice::configuration()
{
    QFETCH(QByteArray, content);
    const QString file = m_folder->filePath(QStringLiteral("api.conf"));
    if (!content.isEmpty())
        QVERIFY(writeFile(file, content));
    qputenv("VKT_PHONE_LIBRARY_CONFIG", QFile::encodeName(file));
    const PhoneLibraryConfiguration configuration = PhoneLibraryConfiguration::fromEnvironment();
    qunsetenv("VKT_PHONE_LIBRARY_CONFIG");
    QTEST(configuration.deviceManagementLibrary, "deviceManagement");
    QTEST(configuration.fileSystemLibrary, "fileSystem");
    QTEST(uint(configuration.options), "options");
}

void TestSymbianDevice::libraryPartsAreCounted()
{
    PhoneLibraryConfiguration missing;
    missing.deviceManagementLibrary = m_folder->filePath(QStringLiteral("nothing-here.so"));
    PhoneConnectivityLibrary absent(missing);
    QCOMPARE(absent.initialize(PhoneConnectivityLibrary::DeviceManagement), PCL_E_LIBRARY_NOT_LOADED);
    PclHandle handle = 0;
    QCOMPARE(absent.openDeviceManagement(handle), PCL_E_LIBRARY_NOT_LOADED);

    // A library that loads but is another one.
    PhoneLibraryConfiguration other;
    other.fileSystemLibrary = QStringLiteral("libz.so.1");
    QCOMPARE(PhoneConnectivityLibrary(other).initialize(PhoneConnectivityLibrary::FileSystem),
             PCL_E_LIBRARY_NOT_LOADED);

    PhoneConnectivityLibrary library(emulatorConfiguration());
    QCOMPARE(library.initialize(PhoneConnectivityLibrary::DeviceManagement), PCL_OK);
    QCOMPARE(library.initialize(PhoneConnectivityLibrary::DeviceManagement), PCL_OK);
    QCOMPARE(library.terminate(PhoneConnectivityLibrary::DeviceManagement), PCL_OK);
    QCOMPARE(library.openDeviceManagement(handle), PCL_OK);
    QCOMPARE(library.closeDeviceManagement(handle), PCL_OK);
    QCOMPARE(library.terminate(PhoneConnectivityLibrary::DeviceManagement), PCL_OK);
    QCOMPARE(library.openDeviceManagement(handle), PCL_E_LIBRARY_NOT_LOADED);
    QCOMPARE(library.terminate(PhoneConnectivityLibrary::DeviceManagement), PCL_E_NOT_INITIALIZED);
}

// --- the search ---

void TestSymbianDevice::search_data()
{
    QTest::addColumn<bool>("libraryPresent");
    QTest::addColumn<QStringList>("models"); // one phone per model; an empty model is a phone that gives none
    QTest::addColumn<int>("continueAnswers"); // -1: no continue listener
    QTest::addColumn<QStringList>("found");
    QTest::addColumn<QList<int>>("progress");

    QTest::newRow("no library") << false << QStringList({"K-95"}) << -1 << QStringList() << QList<int>({100});
    QTest::newRow("no phone") << true << QStringList() << -1 << QStringList() << QList<int>({50, 100});
    QTest::newRow("two phones and one without a model")
        << true << QStringList({"K-95", "", "K-71"}) << -1 << QStringList({"K-95", "K-71"})
        << QList<int>({20, 40, 60, 80, 100});
    QTest::newRow("cancelled after the first phone")
        << true << QStringList({"K-95", "K-71"}) << 1 << QStringList({"K-95"}) << QList<int>({25});
}

void TestSymbianDevice::search()
{
    QFETCH(bool, libraryPresent);
    QFETCH(QStringList, models);
    QFETCH(int, continueAnswers);

    for (qsizetype i = 0; i < models.size(); ++i) {
        PhoneFixture phone;
        phone.serialNumber = QStringLiteral("35432100000000%1").arg(i);
        phone.model = models.at(i);
        QVERIFY(phone.write(phones()));
    }
    PhoneLibraryConfiguration configuration = emulatorConfiguration();
    if (!libraryPresent)
        configuration.deviceManagementLibrary = configuration.fileSystemLibrary =
            m_folder->filePath(QStringLiteral("nothing-here.so"));
    m_searcher = std::make_unique<SymbianDevicesSearcher>(configuration);
    m_searcher->initialize();
    RecordingProgress progress;
    StopAfter stop(continueAnswers);
    m_searcher->search(m_found, &progress, continueAnswers < 0 ? nullptr : &stop);

    QStringList found;
    for (const auto &device : m_found.devices) {
        DeviceDescription description;
        QCOMPARE(device->getDeviceDescription(description), DE_NO_ERROR);
        QCOMPARE(description.name, QStringLiteral("Korwind Phone"));
        QCOMPARE(description.supported, 1);
        QCOMPARE(description.platform, 3);
        QCOMPARE(device->kind(), int(DK_SYMBIAN));
        QCOMPARE(device->pathFlags(), int(PF_NO_MAP_HEADERS));
        QCOMPARE(device->separator(), QLatin1Char('\\'));
        found.append(description.secondName);
    }
    QTEST(found, "found");
    QTEST(progress.values, "progress");
}

void TestSymbianDevice::unreachablePhoneIsListedAndAnswersTwo()
{
    PhoneFixture phone;
    phone.fileSystemUnavailable = true;
    DeviceHandler *device = connectPhone(phone);
    QVERIFY(device);
    DeviceDescription description;
    QCOMPARE(device->getDeviceDescription(description), DE_NO_ERROR);
    QCOMPARE(description.secondName, QStringLiteral("K-95"));

    QVERIFY(writeFile(pc(QStringLiteral("a.bin")), "a"));
    const QString file = QStringLiteral("\\\\E:\\a.bin");
    QStringList names;
    quint64 bytes = 0;
    QIODevice *opened = nullptr;
    NavigatorInfo info;
    const QList<std::pair<const char *, std::function<int()>>> operations = {
        {"putFile", [&] { return device->putFile(file, pc(QStringLiteral("a.bin")), nullptr, nullptr); }},
        {"getFile", [&] { return device->getFile(pc(QStringLiteral("a.bin")), file, nullptr, nullptr); }},
        {"deleteFile", [&] { return device->deleteFile(file); }},
        {"createFolder", [&] { return device->createFolder(QStringLiteral("\\\\E:"), QStringLiteral("A")); }},
        {"createDirectory", [&] { return device->createDirectory(QStringLiteral("\\\\E:\\A\\B")); }},
        {"removeDirectory", [&] { return device->removeDirectory(QStringLiteral("\\\\E:\\A"), true); }},
        {"listFolders", [&] { return device->listFolders(QStringLiteral("\\\\E:"), QStringLiteral("*"), names); }},
        {"listFiles", [&] { return device->listFiles(QStringLiteral("\\\\E:"), QStringLiteral("*"), names); }},
        {"openFile", [&] { return device->openFile(file, opened); }},
        {"freeSpace", [&] { return device->freeSpace(QStringLiteral("\\\\E:"), bytes); }},
        {"getNavigatorInfo", [&] { return device->getNavigatorInfo(info, nullptr, nullptr); }},
        {"installPackage", [&] { return device->installPackage(pc(QStringLiteral("a.bin")), 1, nullptr, nullptr); }},
        {"listRoots", [&] { return device->listRoots(names); }},
    };
    for (const auto &[name, operation] : operations)
        QVERIFY2(operation() == DE_WAIT_ERROR, name);
    QVERIFY(!opened);
}

void TestSymbianDevice::emptyPathsAndRenamingGetsAreRefused()
{
    PhoneFixture phone;
    DeviceHandler *device = connectPhone(phone);
    QVERIFY(device);
    const QString pcMap = pc(QStringLiteral("map.nm3"));
    const QString phoneMap = QStringLiteral("\\\\E:\\map.nm3");
    QVERIFY(writeFile(pcMap, "map"));
    QStringList names;
    quint64 bytes = 0;
    QIODevice *opened = nullptr;
    RecordingProgress progress;
    const QList<std::pair<const char *, std::function<int()>>> operations = {
        {"putFile, no phone path", [&] { return device->putFile(QString(), pcMap, &progress, nullptr); }},
        {"getFile, no PC path", [&] { return device->getFile(QString(), phoneMap, &progress, nullptr); }},
        {"getFile renaming", [&] { return device->getFile(pc(QStringLiteral("other.nm3")), phoneMap, &progress, nullptr); }},
        {"putFile into a folder name", [&] { return device->putFile(QStringLiteral("\\\\E:\\"), pcMap, &progress, nullptr); }},
        {"putFile from a relative PC path", [&] { return device->putFile(phoneMap, QStringLiteral("map.nm3"), &progress, nullptr); }},
        {"deleteFile", [&] { return device->deleteFile(QString()); }},
        {"createFolder", [&] { return device->createFolder(QStringLiteral("\\\\E:"), QString()); }},
        {"createDirectory", [&] { return device->createDirectory(QString()); }},
        {"removeDirectory", [&] { return device->removeDirectory(QString(), true); }},
        {"listFolders", [&] { return device->listFolders(QString(), QStringLiteral("*"), names); }},
        {"listFiles", [&] { return device->listFiles(QString(), QStringLiteral("*"), names); }},
        {"openFile", [&] { return device->openFile(QString(), opened); }},
        {"freeSpace", [&] { return device->freeSpace(QString(), bytes); }},
        {"installPackage", [&] { return device->installPackage(QString(), 0, &progress, nullptr); }},
    };
    for (const auto &[name, operation] : operations)
        QVERIFY2(operation() == DE_TRANSPORT_ERROR, name);
    // Refused before the library was asked: no progress, nothing copied.
    QVERIFY(progress.values.isEmpty());
    QVERIFY(entries(drive(phone)).isEmpty());
    QCOMPARE(entries(pc()), QStringList({"map.nm3"}));
}

// --- drives, folders and copies ---

void TestSymbianDevice::listRoots_data()
{
    QTest::addColumn<QStringList>("drives");
    QTest::addColumn<QStringList>("roots");
    QTest::newRow("phone memory and card") << QStringList({"C", "E"}) << QStringList({"\\\\E:"});
    QTest::newRow("phone memory only") << QStringList({"C"}) << QStringList();
    QTest::newRow("two cards") << QStringList({"C", "E", "F"}) << QStringList({"\\\\E:", "\\\\F:"});
}

void TestSymbianDevice::listRoots()
{
    QFETCH(QStringList, drives);
    PhoneFixture phone;
    phone.drives = drives;
    DeviceHandler *device = connectPhone(phone);
    QVERIFY(device);
    QStringList roots = {QStringLiteral("left over")};
    QCOMPARE(device->listRoots(roots), DE_NO_ERROR);
    QTEST(roots, "roots");
}

void TestSymbianDevice::foldersAndFiles()
{
    PhoneFixture phone;
    DeviceHandler *device = connectPhone(phone);
    QVERIFY(device);
    const QString maps = QStringLiteral("\\\\E:\\KorwindContent\\Maps");
    QCOMPARE(device->createDirectory(maps), DE_NO_ERROR);
    QCOMPARE(device->createDirectory(maps), DE_NO_ERROR);
    const QString hostMaps = drive(phone) + QStringLiteral("/KorwindContent/Maps");
    QVERIFY(QFileInfo(hostMaps).isDir());
    for (const char *name : {"a.nm3", "B.NM3", "readme.txt"})
        QVERIFY(writeFile(hostMaps + QLatin1Char('/') + QLatin1String(name), name));
    QVERIFY(QDir().mkdir(hostMaps + QStringLiteral("/old")));

    // The phone finds names without regard to letter case.
    QStringList names;
    QCOMPARE(device->listFiles(QStringLiteral("\\\\e:\\korwindcontent\\MAPS"), QStringLiteral("*.nm3"), names),
             DE_NO_ERROR);
    QCOMPARE(names, QStringList({"a.nm3", "B.NM3"}));
    names.clear();
    QCOMPARE(device->listFolders(maps, QStringLiteral("*"), names), DE_NO_ERROR);
    QCOMPARE(names, QStringList({"old"}));
    QCOMPARE(device->listFiles(maps + QStringLiteral("\\missing"), QStringLiteral("*"), names), DE_WRONG_REPLY);
    QCOMPARE(names, QStringList({"old"}));

    qint64 size = 0;
    QCOMPARE(device->fileSize(maps + QStringLiteral("\\readme.txt"), size), DE_NO_ERROR);
    QCOMPARE(size, qint64(10));
    QCOMPARE(device->deleteFile(maps + QStringLiteral("\\README.TXT")), DE_NO_ERROR);
    QVERIFY(!QFile::exists(hostMaps + QStringLiteral("/readme.txt")));
    QCOMPARE(device->deleteFile(maps + QStringLiteral("\\readme.txt")), DE_NO_ERROR);
    QCOMPARE(device->deleteFile(maps + QStringLiteral("\\old")), DE_DELETE_ERROR);

    const QString content = QStringLiteral("\\\\E:\\KorwindContent");
    QCOMPARE(device->removeDirectory(content, false), DE_DELETE_ERROR);
    QCOMPARE(device->removeDirectory(content, true), DE_NO_ERROR);
    QVERIFY(entries(drive(phone)).isEmpty());

    quint64 bytes = 0;
    QCOMPARE(device->freeSpace(QStringLiteral("\\\\E:"), bytes), DE_NO_ERROR);
    const qint64 expected = QStorageInfo(drive(phone)).bytesAvailable();
    QVERIFY2(qAbs(qint64(bytes) - expected) < 256 * 1024 * 1024, qPrintable(QString::number(bytes)));
    QCOMPARE(device->freeSpace(QStringLiteral("\\\\G:"), bytes), DE_WRONG_REPLY);
}

void TestSymbianDevice::copiesBothWays()
{
    PhoneFixture phone;
    DeviceHandler *device = connectPhone(phone);
    QVERIFY(device);
    const QByteArray data = randomBytes(300000);
    QVERIFY(writeFile(pc(QStringLiteral("data.bin")), data));

    RecordingProgress toPhone;
    QCOMPARE(device->putFile(QStringLiteral("\\\\E:\\data.bin"), pc(QStringLiteral("data.bin")), &toPhone, nullptr),
             DE_NO_ERROR);
    QCOMPARE(readFile(drive(phone) + QStringLiteral("/data.bin")), data);
    QCOMPARE(toPhone.values.first(), 0);
    QCOMPARE(toPhone.values.last(), 100);
    QVERIFY(std::is_sorted(toPhone.values.cbegin(), toPhone.values.cend()));
    QVERIFY(toPhone.values.size() > 3);

    // The PC keeps the name it asked for; the phone finds the file whatever the case.
    QVERIFY(QDir().mkdir(pc(QStringLiteral("back"))));
    RecordingProgress toPc;
    QCOMPARE(device->getFile(pc(QStringLiteral("back/Data.bin")), QStringLiteral("\\\\E:\\DATA.BIN"), &toPc, nullptr),
             DE_NO_ERROR);
    QCOMPARE(readFile(pc(QStringLiteral("back/Data.bin"))), data);
    QCOMPARE(toPc.values.last(), 100);

    // Neither side's existing file is replaced.
    QVERIFY(writeFile(pc(QStringLiteral("back/kept.bin")), "kept"));
    QVERIFY(writeFile(drive(phone) + QStringLiteral("/kept.bin"), "on the phone"));
    QCOMPARE(device->getFile(pc(QStringLiteral("back/kept.bin")), QStringLiteral("\\\\E:\\kept.bin"), nullptr, nullptr),
             DE_TRANSFER_ERROR_2);
    QCOMPARE(readFile(pc(QStringLiteral("back/kept.bin"))), QByteArray("kept"));
    QCOMPARE(device->putFile(QStringLiteral("\\\\E:\\kept.bin"), pc(QStringLiteral("back/kept.bin")), nullptr, nullptr),
             DE_TRANSFER_ERROR_2);
    QCOMPARE(readFile(drive(phone) + QStringLiteral("/kept.bin")), QByteArray("on the phone"));
}

void TestSymbianDevice::interruptedCopyLeavesNothing_data()
{
    QTest::addColumn<bool>("toPhone");
    QTest::addColumn<QString>("cause");
    QTest::addColumn<int>("code");
    for (const bool toPhone : {true, false}) {
        const char *direction = toPhone ? "to the phone" : "to the PC";
        QTest::addRow("%s, cancelled by the user", direction) << toPhone << "user" << int(DE_CANCELLED);
        QTest::addRow("%s, card taken out of the phone", direction) << toPhone << "card" << int(DE_TRANSFER_ERROR);
        QTest::addRow("%s, connection lost", direction) << toPhone << "connection" << int(DE_TRANSFER_ERROR);
    }
}

void TestSymbianDevice::interruptedCopyLeavesNothing()
{
    QFETCH(bool, toPhone);
    QFETCH(QString, cause);
    PhoneFixture phone;
    phone.copyCancelledByPhone = cause == QLatin1String("card");
    phone.transfersBreakAfter = cause == QLatin1String("connection") ? 200000 : 0;
    DeviceHandler *device = connectPhone(phone);
    QVERIFY(device);
    const QByteArray data = randomBytes(600000);
    QVERIFY(writeFile(toPhone ? pc(QStringLiteral("data.bin")) : drive(phone) + QStringLiteral("/data.bin"), data));
    const QString target = toPhone ? QStringLiteral("\\\\E:\\Maps") : pc(QStringLiteral("back"));
    QVERIFY(QDir().mkdir(toPhone ? drive(phone) + QStringLiteral("/Maps") : target));

    StopAfter stop(3);
    vktcommon::ContinueListener *cont = cause == QLatin1String("user") ? &stop : nullptr;
    const QString onPhone = QStringLiteral("\\\\E:\\data.bin");
    const int result = toPhone ? device->putFile(target + QStringLiteral("\\data.bin"), pc(QStringLiteral("data.bin")), nullptr, cont)
                               : device->getFile(target + QStringLiteral("/data.bin"), onPhone, nullptr, cont);
    QTEST(result, "code");
    const QString written = toPhone ? drive(phone) + QStringLiteral("/Maps") : target;
    QCOMPARE(entries(written), QStringList());
    QCOMPARE(entries(phone.folder(phones()) + QStringLiteral("/pending")), QStringList());
}

void TestSymbianDevice::linksOnThePhoneAreNeverFollowed()
{
    PhoneFixture phone;
    DeviceHandler *device = connectPhone(phone);
    QVERIFY(device);
    const QString outside = m_folder->filePath(QStringLiteral("outside"));
    QVERIFY(QDir().mkdir(outside));
    QVERIFY(writeFile(outside + QStringLiteral("/secret.txt"), "secret"));
    QVERIFY(QFile::link(outside, drive(phone) + QStringLiteral("/planted")));
    QVERIFY(QFile::link(outside + QStringLiteral("/secret.txt"), drive(phone) + QStringLiteral("/secret.txt")));
    QVERIFY(writeFile(pc(QStringLiteral("x.bin")), "x"));

    QStringList names;
    QCOMPARE(device->listFolders(QStringLiteral("\\\\E:"), QStringLiteral("*"), names), DE_NO_ERROR);
    QCOMPARE(device->listFiles(QStringLiteral("\\\\E:"), QStringLiteral("*"), names), DE_NO_ERROR);
    QCOMPARE(names, QStringList());
    QCOMPARE(device->putFile(QStringLiteral("\\\\E:\\planted\\x.bin"), pc(QStringLiteral("x.bin")), nullptr, nullptr),
             DE_TRANSFER_ERROR_2);
    QCOMPARE(device->getFile(pc(QStringLiteral("secret.txt")), QStringLiteral("\\\\E:\\secret.txt"), nullptr, nullptr),
             DE_TRANSFER_ERROR_2);
    QCOMPARE(device->deleteFile(QStringLiteral("\\\\E:\\secret.txt")), DE_DELETE_ERROR);
    QVERIFY(!openPhoneFile(*device, QStringLiteral("\\\\E:\\secret.txt"), QIODevice::ReadOnly));

    // Written over, the link itself is replaced.
    std::unique_ptr<QIODevice> file = openPhoneFile(*device, QStringLiteral("\\\\E:\\secret.txt"), QIODevice::WriteOnly);
    QVERIFY(file);
    QCOMPARE(file->write("new"), qint64(3));
    file->close();
    QVERIFY(!QFileInfo(drive(phone) + QStringLiteral("/secret.txt")).isSymLink());
    QCOMPARE(entries(outside), QStringList({"secret.txt"}));
    QCOMPARE(readFile(outside + QStringLiteral("/secret.txt")), QByteArray("secret"));

    // A link planted where the PC receives a copy is left alone as well.
    QVERIFY(writeFile(drive(phone) + QStringLiteral("/a.bin"), "phone"));
    QVERIFY(QFile::link(outside + QStringLiteral("/made.bin"), pc(QStringLiteral("a.bin"))));
    QCOMPARE(device->getFile(pc(QStringLiteral("a.bin")), QStringLiteral("\\\\E:\\a.bin"), nullptr, nullptr),
             DE_TRANSFER_ERROR_2);
    QVERIFY(!QFile::exists(outside + QStringLiteral("/made.bin")));
}

void TestSymbianDevice::checkedCopyEndsUnderItsName_data()
{
    SafeWriteCases::addCheckedCopyRows();
}

void TestSymbianDevice::checkedCopyEndsUnderItsName()
{
    PhoneFixture phone;
    DeviceHandler *device = connectPhoneWithMaps(phone);
    QVERIFY(device);
    // The download's name is not the map's: the copy is written in blocks.
    SafeWriteCases::checkCheckedCopy(*device, phoneMaps, maps(phone));
    QCOMPARE(entries(phone.folder(phones()) + QStringLiteral("/pending")), QStringList());
}

void TestSymbianDevice::failedCheckedCopyChangesNothing_data()
{
    SafeWriteCases::addFailedCopyRows(DE_TRANSFER_ERROR_2);
    QTest::newRow("connection breaks") << "connection" << int(DE_TRANSFER_ERROR);
}

void TestSymbianDevice::failedCheckedCopyChangesNothing()
{
    QFETCH(QString, fault);
    PhoneFixture phone;
    phone.transfersBreakAfter = fault == QLatin1String("connection") ? 200000 : 0;
    DeviceHandler *device = connectPhoneWithMaps(phone);
    QVERIFY(device);
    SafeWriteCases::checkFailedCopy(*device, phoneMaps, maps(phone));
    QCOMPARE(entries(phone.folder(phones()) + QStringLiteral("/pending")), QStringList());
}

void TestSymbianDevice::renameReplaces_data()
{
    SafeWriteCases::addRenameRows();
    QTest::newRow("to another drive") << "new.part" << "\\\\C:\\europe.nm3" << "" << int(DE_TRANSFER_ERROR)
                                      << QStringList{"new.part"};
}

void TestSymbianDevice::renameReplaces()
{
    PhoneFixture phone;
    DeviceHandler *device = connectPhoneWithMaps(phone);
    QVERIFY(device);
    SafeWriteCases::checkRename(*device, phoneMaps, maps(phone));
}

void TestSymbianDevice::vanishedPhoneFailsEveryOperation()
{
    PhoneFixture phone;
    DeviceHandler *device = connectPhoneWithMaps(phone);
    QVERIFY(device);
    const QString pcMaps = maps(phone);
    QVERIFY(writeFile(pcMaps + QStringLiteral("/europe.nm3"), "old map"));
    const QByteArray data = randomBytes(600000);
    QVERIFY(writeFile(pc(QStringLiteral("europe.nm3")), data));
    const QString map = QStringLiteral("\\\\E:\\Maps\\europe.nm3");

    // Gone in the middle of the copy.
    SafeWriteCases::UnplugAt unplug(phone.folder(phones()) + QStringLiteral("/disconnected"), 20);
    QCOMPARE(putFileChecked(*device, map, pc(QStringLiteral("europe.nm3")), QString(), &unplug, nullptr),
             DE_TRANSFER_ERROR);
    QCOMPARE(readFile(pcMaps + QStringLiteral("/europe.nm3")), QByteArray("old map"));
    QCOMPARE(entries(pcMaps), QStringList{"europe.nm3"});

    QStringList names;
    quint64 bytes = 0;
    NavigatorInfo info;
    const QList<std::pair<const char *, std::function<int()>>> operations = {
        {"putFile", [&] { return device->putFile(map, pc(QStringLiteral("europe.nm3")), nullptr, nullptr); }},
        {"getFile", [&] { return device->getFile(pc(QStringLiteral("back/europe.nm3")), map, nullptr, nullptr); }},
        {"deleteFile", [&] { return device->deleteFile(map); }},
        {"createDirectory", [&] { return device->createDirectory(QStringLiteral("\\\\E:\\A\\B")); }},
        {"removeDirectory", [&] { return device->removeDirectory(QStringLiteral("\\\\E:\\Maps"), true); }},
        {"listFiles", [&] { return device->listFiles(QStringLiteral("\\\\E:\\Maps"), QStringLiteral("*"), names); }},
        {"freeSpace", [&] { return device->freeSpace(QStringLiteral("\\\\E:"), bytes); }},
        {"renameFile", [&] { return device->renameFile(map, map + QStringLiteral(".old")); }},
        {"flushFile", [&] { return device->flushFile(map); }},
        {"flushFolder", [&] { return device->flushFolder(QStringLiteral("\\\\E:\\Maps")); }},
        {"syncVolume", [&] { return device->syncVolume(QStringLiteral("\\\\E:\\Maps")); }},
        {"getNavigatorInfo", [&] { return device->getNavigatorInfo(info, nullptr, nullptr); }},
        {"installPackage", [&] { return device->installPackage(pc(QStringLiteral("europe.nm3")), 1, nullptr, nullptr); }},
        {"listRoots", [&] { return device->listRoots(names); }},
    };
    for (const auto &[name, operation] : operations)
        QVERIFY2(operation() == DE_TRANSFER_ERROR, name);
    QVERIFY(!openPhoneFile(*device, map, QIODevice::ReadOnly));
    QVERIFY(names.isEmpty());

    // Plugged in again, it is found anew and takes the map.
    QVERIFY(QFile::remove(phone.folder(phones()) + QStringLiteral("/disconnected")));
    m_found.devices.clear();
    m_searcher->search(m_found, nullptr, nullptr);
    QCOMPARE(m_found.devices.size(), size_t(1));
    QCOMPARE(putFileChecked(*m_found.devices.front(), map, pc(QStringLiteral("europe.nm3")), QString(), nullptr, nullptr),
             DE_NO_ERROR);
    QCOMPARE(readFile(pcMaps + QStringLiteral("/europe.nm3")), data);
    QCOMPARE(entries(pcMaps), QStringList{"europe.nm3"});
}

// --- applications ---

void TestSymbianDevice::navigatorInfo_data()
{
    QTest::addColumn<Applications>("applications");
    QTest::addColumn<int>("continueAnswers");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QList<int>>("progress");

    const PhoneFixture::Application maps = {"10203040", "1.0(1)", "Maps"};
    const PhoneFixture::Application clock = {"abcdef01", "2.0(0)", "Clock"};
    QTest::newRow("navigator among others")
        << Applications({maps, {"2002bfb2-0000-1111", "5.1(1234)", "Korwind Navigator"}, clock}) << -1 << 0
        << "5.1.1234.0" << QList<int>({0, 30, 60, 90});
    QTest::newRow("identifier in upper case")
        << Applications({{"2002BFB2ABCD", "6.2(15)", "Korwind Navigator"}}) << -1 << 0 << "6.2.15.0"
        << QList<int>({0, 90});
    QTest::newRow("no navigator") << Applications({maps, clock}) << -1 << int(DE_NAVIGATOR_NOT_FOUND) << QString()
                                  << QList<int>({0, 45, 90});
    QTest::newRow("no applications") << Applications() << -1 << int(DE_NAVIGATOR_NOT_FOUND) << QString()
                                     << QList<int>({0});
    QTest::newRow("identifier too short") << Applications({{"2002bf", "5.1(1)", "Korwind"}}) << -1
                                          << int(DE_NAVIGATOR_NOT_FOUND) << QString() << QList<int>({0, 90});
    QTest::newRow("unreadable version") << Applications({{"2002bfb2", "5.1 beta", "Korwind"}}) << -1
                                        << int(DE_WRONG_REPLY) << QString() << QList<int>({0, 90});
    QTest::newRow("version part beyond 16 bits") << Applications({{"2002bfb2", "5.70000(1)", "Korwind"}}) << -1
                                                 << int(DE_WRONG_REPLY) << QString() << QList<int>({0, 90});
    QTest::newRow("stopped before the navigator")
        << Applications({maps, {"2002bfb2", "5.1(1234)", "Korwind"}}) << 1 << int(DE_NAVIGATOR_NOT_FOUND)
        << QString() << QList<int>({0, 45});
}

void TestSymbianDevice::navigatorInfo()
{
    QFETCH(Applications, applications);
    QFETCH(int, continueAnswers);
    QFETCH(QString, version);
    PhoneFixture phone;
    phone.applications = applications;
    DeviceHandler *device = connectPhone(phone);
    QVERIFY(device);
    RecordingProgress progress;
    StopAfter stop(continueAnswers);
    NavigatorInfo info;
    QTEST(device->getNavigatorInfo(info, &progress, continueAnswers < 0 ? nullptr : &stop), "code");
    if (!version.isEmpty())
        QCOMPARE(info.version.toString(), version);
    QTEST(progress.values, "progress");
}

void TestSymbianDevice::installation_data()
{
    QTest::addColumn<Applications>("installed");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<bool>("packageExists");
    QTest::addColumn<int>("continueAnswers");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("waits");
    QTest::addColumn<QList<int>>("progress");
    QTest::addColumn<QString>("versionAfterwards");

    // The phone's question (value 256) and what it shows on its own screen are no progress.
    const QList<int> done = {0, 0, 40, 70, 100};
    const Applications older = {{"2002BFB2-0000-1111", "5.1(1234)", "Korwind Navigator"}};
    QTest::newRow("confirmed on the phone") << Applications() << false << true << -1 << 0 << 1 << done
                                            << "5.3.100.0";
    QTest::newRow("over an older version") << older << false << true << -1 << 0 << 1 << done << "5.3.100.0";
    QTest::newRow("installation fails") << older << true << true << -1 << int(DE_INSTALLATION_FAILED) << 1
                                        << QList<int>({0, 0, 40, 70}) << "5.1.1234.0";
    QTest::newRow("no package") << older << false << false << -1 << int(DE_INSTALLATION_FAILED) << 0
                                << QList<int>({0}) << "5.1.1234.0";
    QTest::newRow("cancelled") << older << false << true << 0 << int(DE_CANCELLED) << 0 << QList<int>({0})
                               << "5.1.1234.0";
}

void TestSymbianDevice::installation()
{
    QFETCH(Applications, installed);
    QFETCH(bool, fails);
    QFETCH(bool, packageExists);
    QFETCH(int, continueAnswers);
    PhoneFixture phone;
    phone.applications = installed;
    phone.installationFails = fails;
    DeviceHandler *device = connectPhone(phone);
    QVERIFY(device);
    const QString package = pc(QStringLiteral("Korwind.sis"));
    if (packageExists)
        QVERIFY(PhoneFixture::writePackage(package, {"2002bfb2-0000-1111", "5.3(100)", "Korwind Navigator"}));

    RecordingInstallation listener;
    StopAfter stop(continueAnswers);
    QTEST(device->installPackage(package, 1, &listener, continueAnswers < 0 ? nullptr : &stop), "code");
    QTEST(listener.waits, "waits");
    QTEST(listener.values, "progress");

    NavigatorInfo info;
    QCOMPARE(device->getNavigatorInfo(info, nullptr, nullptr), DE_NO_ERROR);
    QTEST(info.version.toString(), "versionAfterwards");
}

// --- block transfers ---

void TestSymbianDevice::blockTransferBothWays()
{
    PhoneFixture phone;
    DeviceHandler *device = connectPhone(phone);
    QVERIFY(device);
    // Three and a half blocks and a few bytes, written in pieces that straddle the blocks.
    const QByteArray data = randomBytes(3 * SymbianQIODevice::blockSize + SymbianQIODevice::blockSize / 2 + 7);
    const QString path = QStringLiteral("\\\\E:\\big.bin");
    {
        std::unique_ptr<QIODevice> file = openPhoneFile(*device, path, QIODevice::WriteOnly);
        QVERIFY(file);
        for (qsizetype at = 0; at < data.size(); at += 100000)
            QCOMPARE(file->write(data.mid(at, 100000)), qint64(qMin<qsizetype>(100000, data.size() - at)));
        // Nothing is there under the name before the device is closed.
        QVERIFY(!QFile::exists(drive(phone) + QStringLiteral("/big.bin")));
        file->close();
    }
    QCOMPARE(readFile(drive(phone) + QStringLiteral("/big.bin")), data);

    std::unique_ptr<QIODevice> file = openPhoneFile(*device, path, QIODevice::ReadOnly);
    QVERIFY(file);
    QVERIFY(file->isSequential());
    QCOMPARE(file->size(), qint64(data.size()));
    QCOMPARE(file->pos(), qint64(-1));
    QVERIFY(!file->seek(0));
    QCOMPARE(file->read(1000), data.left(1000));
    QVERIFY(!file->atEnd());
    QCOMPARE(file->readAll(), data.mid(1000));
    QVERIFY(file->atEnd());
    QVERIFY(!file->open(QIODevice::ReadOnly));
    file.reset();

    // Written again, the file is replaced whole.
    file = openPhoneFile(*device, path, QIODevice::WriteOnly | QIODevice::Truncate);
    QVERIFY(file);
    QCOMPARE(file->write("short"), qint64(5));
    file->close();
    QCOMPARE(readFile(drive(phone) + QStringLiteral("/big.bin")), QByteArray("short"));
}

void TestSymbianDevice::emptyFileAndEarlyClose()
{
    PhoneFixture phone;
    DeviceHandler *device = connectPhone(phone);
    QVERIFY(device);
    QVERIFY(writeFile(drive(phone) + QStringLiteral("/empty.bin"), QByteArray()));
    const QByteArray data = randomBytes(3 * SymbianQIODevice::blockSize);
    QVERIFY(writeFile(drive(phone) + QStringLiteral("/big.bin"), data));

    std::unique_ptr<QIODevice> file = openPhoneFile(*device, QStringLiteral("\\\\E:\\empty.bin"), QIODevice::ReadOnly);
    QVERIFY(file);
    QCOMPARE(file->size(), qint64(0));
    QCOMPARE(file->readAll(), QByteArray());
    QVERIFY(file->atEnd());
    QVERIFY(!openPhoneFile(*device, QStringLiteral("\\\\E:\\missing.bin"), QIODevice::ReadOnly));
    QVERIFY(!openPhoneFile(*device, QStringLiteral("\\\\E:\\no folder\\new.bin"), QIODevice::WriteOnly));

    // Closed in the middle of a transfer, the reader stops the phone and can start anew.
    file = openPhoneFile(*device, QStringLiteral("\\\\E:\\big.bin"), QIODevice::ReadOnly);
    QVERIFY(file);
    QCOMPARE(file->read(1000), data.left(1000));
    file->close();
    QVERIFY(file->open(QIODevice::ReadOnly));
    QCOMPARE(file->readAll(), data);
    file.reset();
    QCOMPARE(readFile(drive(phone) + QStringLiteral("/big.bin")), data);
    QCOMPARE(entries(phone.folder(phones()) + QStringLiteral("/pending")), QStringList());
}

void TestSymbianDevice::transferEndingEarly()
{
    PhoneFixture phone;
    phone.transfersBreakAfter = 200000;
    DeviceHandler *device = connectPhone(phone);
    QVERIFY(device);
    const QByteArray data = randomBytes(400000);
    QVERIFY(writeFile(drive(phone) + QStringLiteral("/big.bin"), data));
    QVERIFY(writeFile(drive(phone) + QStringLiteral("/kept.bin"), "old content"));

    // The reader gets what came and sees that it is less than the file.
    std::unique_ptr<QIODevice> file = openPhoneFile(*device, QStringLiteral("\\\\E:\\big.bin"), QIODevice::ReadOnly);
    QVERIFY(file);
    const QByteArray read = file->readAll();
    QCOMPARE(read, data.left(200000));
    QVERIFY(file->atEnd());
    QCOMPARE(file->read(10), QByteArray());

    // The writer is told that not everything was taken, and the phone keeps its old file.
    file = openPhoneFile(*device, QStringLiteral("\\\\E:\\kept.bin"), QIODevice::WriteOnly);
    QVERIFY(file);
    QVERIFY(file->write(data) < data.size());
    file.reset();
    QCOMPARE(readFile(drive(phone) + QStringLiteral("/kept.bin")), QByteArray("old content"));
    QCOMPARE(entries(phone.folder(phones()) + QStringLiteral("/pending")), QStringList());
}

void TestSymbianDevice::abandonedWriteLeavesNothing_data()
{
    QTest::addColumn<bool>("existing"); // "old content" under the name before
    QTest::addColumn<bool>("breaks");   // the phone breaks off after 200000 bytes
    QTest::addColumn<bool>("closed");   // closed, or dropped without closing
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("dropped half-way, new file") << false << false << false << QByteArray("<missing>");
    QTest::newRow("dropped half-way, over an old file") << true << false << false << QByteArray("old content");
    QTest::newRow("closed after the phone broke off, new file") << false << true << true << QByteArray("<missing>");
    QTest::newRow("closed after the phone broke off, over an old file") << true << true << true
                                                                         << QByteArray("old content");
}

void TestSymbianDevice::abandonedWriteLeavesNothing()
{
    QFETCH(bool, existing);
    QFETCH(bool, breaks);
    QFETCH(bool, closed);
    PhoneFixture phone;
    phone.transfersBreakAfter = breaks ? 200000 : 0;
    DeviceHandler *device = connectPhone(phone);
    QVERIFY(device);
    if (existing)
        QVERIFY(writeFile(drive(phone) + QStringLiteral("/map.nm3"), "old content"));

    std::unique_ptr<QIODevice> file = openPhoneFile(*device, QStringLiteral("\\\\E:\\map.nm3"), QIODevice::WriteOnly);
    QVERIFY(file);
    const QByteArray data = randomBytes(2 * SymbianQIODevice::blockSize);
    QCOMPARE(file->write(data.left(SymbianQIODevice::blockSize + 1000)), qint64(SymbianQIODevice::blockSize + 1000));
    if (breaks)
        QVERIFY(file->write(data) < data.size());
    if (closed)
        file->close();
    file.reset();
    QTEST(readFile(drive(phone) + QStringLiteral("/map.nm3")), "after");
    QCOMPARE(entries(phone.folder(phones()) + QStringLiteral("/pending")), QStringList());
}

QTEST_GUILESS_MAIN(TestSymbianDevice)
#include "tst_symbiandevice.moc"
