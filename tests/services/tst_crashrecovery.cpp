// A whole update cut off at every operation in turn: the navigator swapped in as a folder, one map replaced
// under its own name, one replaced by a map of another name, the old map data. After each cut (with or
// without a power loss that drops what was not flushed) the device holds no partly written file under a
// final name, each map old or new (or, where the card had no room for both, recorded as removed ahead of
// its replacement), and the old program or the new one. Then the device is searched and the job finished,
// as a user would, and the device holds exactly the new set.

#include "crashingdisk.h"
#include "deviceservices.h"
#include "devicemanager.h"
#include "mapfilewriter.h"
#include "storagecarddevicessearcher.h"
#include "storagefixture.h"
#include "updatejobfile.h"
#include "updatejobrecord.h"
#include "zipforge.h"

#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QTimer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace vktpdl;

namespace {

struct Scenario
{
    bool backup = true;
    bool roomForBoth = true;   // else the card cannot hold old and new maps together
    bool exchange = true;      // the file system can swap two folders in one step
};

QByteArray mapBytes(const QByteArray &code, quint32 version, int size)
{
    MapFileRecipe recipe;
    recipe.packageCode = code;
    recipe.firstVersion = version;
    recipe.titles = {{1033, code}};
    recipe.versionTexts = {{1033, "v" + QByteArray::number(version)}};
    QByteArray bytes = writeMapFile(recipe);
    // Different contents all through, so that a half or a zeroed copy never passes for another.
    for (qsizetype i = bytes.size(); i < size; ++i)
        bytes.append(char((i * 7 + version * 13 + code.size()) & 0xff));
    return bytes;
}

QByteArray sha1(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

MapInfo serverMap(const QString &fileName, const QByteArray &code, qint32 version, const QByteArray &content)
{
    MapInfo map;
    map.kind = ProductInfo::MapPackage;
    map.code = QString::fromLatin1(code);
    map.majorVersion = version;
    map.file.fileName = fileName;
    map.file.size = quint64(content.size());
    map.file.extraBytes = sha1(content);
    return map;
}

QList<const MapInfo *> pointers(const QList<MapInfo> &maps)
{
    QList<const MapInfo *> list;
    for (const MapInfo &map : maps)
        list.append(&map);
    return list;
}

bool isOurs(const QString &path)
{
    return path.endsWith(".kwpart") || path.contains(".kwnew/") || path.contains(".kwold/")
           || path.endsWith("KorwindUpdateJob.xml") || path.endsWith("KorwindInstalledMaps.xml")
           || path.endsWith("KorwindProgramStage.kwdone");
}

} // namespace

Q_DECLARE_METATYPE(Scenario)

class TestCrashRecovery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void everyCut_data();
    void everyCut();
    void successOnlyAfterTheDeviceHoldsIt();
    void counterfeitCardIsCaught();

private:
    // The downloads as the downloads left them, no backups.
    bool resetPc();
    // A fresh program over the disk: its services, the device found and chosen.
    bool startProgram(CrashingDisk &disk);
    template <typename Start>
    QString run(Start start);
    // The wizard's two jobs, as far as the device goes; empty on success.
    QString navigatorJob(bool backup);
    QString mapJob(bool backup);
    QString chooseNavigatorAndContent();
    // The search, then the unfinished job and whatever of the update was not begun.
    QString recover(CrashingDisk &disk);
    void checkCut(const QMap<QString, QByteArray> &files, qint64 cut, bool exchange);

    QString volume() const { return m_machine->volume("NAVI"); }

    std::unique_ptr<StorageMachine> m_machine;
    QTemporaryDir m_pc;
    QMap<QString, QByteArray> m_before;
    QMap<QString, QByteArray> m_after;
    QMap<QString, QByteArray> m_downloads;
    ProductInfo m_package;
    QList<MapInfo> m_newMaps;
    QList<MapInfo> m_oldMaps;
    std::unique_ptr<DeviceServices> m_services;
};

void TestCrashRecovery::initTestCase()
{
    QVERIFY(m_pc.isValid());
}

void TestCrashRecovery::init()
{
    m_services.reset();
    m_machine = std::make_unique<StorageMachine>();
    FixtureMachine machine;
    machine.usbDevices.append(StorageMachine::stick("S1", {volume()}));
    QVERIFY(m_machine->write(machine));

    const QByteArray oldNavigator = navigatorBytes("korwind", {5, 1, 0, 0});
    const QByteArray newNavigator = navigatorBytes("korwind", {5, 2, 0, 0});
    m_before = {
        {"/Korwind/Korwind.exe", oldNavigator},
        {"/Korwind/settings.ini", "Path=..\\KorwindContent\n"},
        {"/Korwind/data/ui.dat", "old interface"},
        {"/KorwindContent/KorwindContentInfo.xml",
         "<?xml version=\"1.0\"?><KorwindContentInfo><Version>1</Version><UID>{card}</UID></KorwindContentInfo>"},
        {"/KorwindContent/Maps/A.NM3", mapBytes("korwind.a", 1, 200 * 1024)},
        {"/KorwindContent/Maps/B.NM3", mapBytes("korwind.b", 1, 200 * 1024)},
        {"/KorwindContent/Maps/old/data.bin", QByteArray(10 * 1024, 'o')},
    };
    m_after = m_before;
    m_after.remove("/KorwindContent/Maps/B.NM3");
    m_after.remove("/KorwindContent/Maps/old/data.bin");
    m_after.insert("/Korwind/Korwind.exe", newNavigator);
    m_after.insert("/Korwind/data/ui.dat", "new interface");
    m_after.insert("/Korwind/data/voices.dat", "new voices");
    const QByteArray newA = mapBytes("korwind.a", 2, 240 * 1024);
    const QByteArray newC = mapBytes("korwind.c", 2, 240 * 1024);
    m_after.insert("/KorwindContent/Maps/A.NM3", newA);
    m_after.insert("/KorwindContent/Maps/C.NM3", newC);
    for (auto file = m_before.cbegin(); file != m_before.cend(); ++file)
        QVERIFY(writeFile(volume() + file.key(), file.value()));

    ZipForge forge;
    forge.add({"Korwind/Korwind.exe", newNavigator});
    forge.add({"Korwind/data/ui.dat", "new interface"});
    forge.add({"Korwind/data/voices.dat", "new voices"});
    m_downloads = {{"Navigator.zip", forge.build()}, {"A.NM3", newA}, {"C.NM3", newC}};
    const QByteArray package = m_downloads.value("Navigator.zip");
    m_package = ProductInfo();
    m_package.kind = ProductInfo::NavigatorPackage;
    m_package.version = "5.2.0.0";
    m_package.file.fileName = "Navigator.zip";
    m_package.file.size = quint64(package.size());
    m_package.file.extraBytes = sha1(package);
    // C first: where the card is short of room it takes the place of B, then A that of the old A.
    m_newMaps = {serverMap("C.NM3", "korwind.c", 2, newC), serverMap("A.NM3", "korwind.a", 2, newA)};
    QVERIFY(resetPc());
}

bool TestCrashRecovery::resetPc()
{
    // An installed navigator package leaves the downloads folder.
    QDir downloads(m_pc.filePath("downloads"));
    QDir(m_pc.filePath("backups")).removeRecursively();
    if (!downloads.removeRecursively() || !downloads.mkpath("."))
        return false;
    for (auto file = m_downloads.cbegin(); file != m_downloads.cend(); ++file) {
        if (!writeFile(downloads.filePath(file.key()), file.value()))
            return false;
    }
    return true;
}

bool TestCrashRecovery::startProgram(CrashingDisk &disk)
{
    m_services.reset();
    std::vector<std::unique_ptr<DeviceSearcher>> searchers;
    searchers.push_back(std::make_unique<StorageCardDevicesSearcher>(
        m_machine->roots(), [&disk](const QStringList &) { return disk.fileSystem(); }));
    DeviceServices::Settings settings;
    const QString downloads = m_pc.filePath("downloads");
    const QString backups = m_pc.filePath("backups");
    settings.downloadsFolder = [downloads] { return downloads; };
    settings.backupsFolder = [backups] { return backups; };
    settings.languageName = "en_US";
    m_services = std::make_unique<DeviceServices>(settings, std::make_unique<DeviceManager>(std::move(searchers)));
    if (!run([&] { m_services->searchDevices(); }).isEmpty())
        return false;
    m_services->deviceSelected(0);
    return true;
}

template <typename Start>
QString TestCrashRecovery::run(Start start)
{
    // Whichever form of taskFinished the operation ends with.
    QString result = "<no taskFinished>";
    QEventLoop loop;
    const auto done = [&](const QString &error) {
        result = error;
        loop.quit();
    };
    const QMetaObject::Connection text =
        connect(m_services.get(), qOverload<QString>(&AbstractDeviceServices::taskFinished), &loop, done);
    const QMetaObject::Connection checked =
        connect(m_services.get(), qOverload<QString, bool>(&AbstractDeviceServices::taskFinished), &loop,
                [&](const QString &error, bool) { done(error); });
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    start();
    loop.exec();
    disconnect(text);
    disconnect(checked);
    return result;
}

QString TestCrashRecovery::chooseNavigatorAndContent()
{
    QString error = run([&] { m_services->searchNavigatorInstallations(); });
    if (error.isEmpty())
        error = run([&] { m_services->selectNavigatorExecutable(volume() + "/Korwind/Korwind.exe"); });
    if (error.isEmpty())
        error = run([&] { m_services->searchContents(true); });
    m_services->contentSelected(0);
    if (error.isEmpty() && !m_services->selectedContent())
        error = "<no content folder>";
    return error;
}

QString TestCrashRecovery::navigatorJob(bool backup)
{
    QString error;
    if (backup)
        error = run([&] { m_services->createBackup(BT_PROGRAM_AND_MAPS); });
    if (error.isEmpty())
        error = run([&] { m_services->checkPackage(m_package); });
    if (error.isEmpty())
        error = run([&] { m_services->installPackage(m_package); });
    return error;
}

QString TestCrashRecovery::mapJob(bool backup)
{
    // The installed maps the selection deletes, as the content search listed them.
    QList<MapInfo> doomed;
    for (const MapInfo &map : m_services->selectedContent()->maps) {
        if (map.file.fileName.endsWith("/B.NM3"))
            doomed.append(map);
    }
    QString error;
    if (backup)
        error = run([&] { m_services->createBackup(BT_MAPS_ONLY); });
    if (error.isEmpty())
        error = run([&] { m_services->installMaps(pointers(m_newMaps), pointers(doomed), true); });
    if (error.isEmpty())
        error = run([&] { m_services->deleteOtherMapFiles(); });
    return error;
}

QString TestCrashRecovery::recover(CrashingDisk &disk)
{
    if (!startProgram(disk))
        return "<device search failed>";
    bool navigatorDone = false;
    if (const UpdateJobRecord *record = m_services->unfinishedUpdate()) {
        const UpdateJobRecord job = *record;
        QString error = run([&] { m_services->resumeUnfinishedUpdate(); });
        if (!error.isEmpty())
            return "resume: " + error;
        if (job.kind == UpdateJobRecord::NavigatorJob) {
            error = run([&] { m_services->checkPackage(job.navigatorPackage); });
            if (error.isEmpty())
                error = run([&] { m_services->installPackage(job.navigatorPackage); });
            navigatorDone = true;
        } else {
            const QList<MapInfo> left = job.mapsLeft();
            error = run([&] { m_services->installMaps(pointers(left), {}, job.deleteOldMapData); });
            if (error.isEmpty() && job.deleteOldMapData)
                error = run([&] { m_services->deleteOtherMapFiles(); });
            return error.isEmpty() ? QString() : "finishing the maps: " + error;
        }
        if (!error.isEmpty())
            return "finishing the navigator: " + error;
    }
    // What was not begun is begun again: the device is then as before that job.
    const QMap<QString, QByteArray> files = disk.files(volume());
    const bool navigatorNew = files.value("/Korwind/Korwind.exe") == m_after.value("/Korwind/Korwind.exe");
    if (!startProgram(disk))
        return "<device search failed>";
    QString error = chooseNavigatorAndContent();
    if (error.isEmpty() && !navigatorNew && !navigatorDone)
        error = navigatorJob(false);
    if (error.isEmpty() && files.value("/KorwindContent/Maps/C.NM3") != m_after.value("/KorwindContent/Maps/C.NM3"))
        error = mapJob(false);
    return error;
}

void TestCrashRecovery::checkCut(const QMap<QString, QByteArray> &files, qint64 cut, bool exchange)
{
    const QString at = QString(" (cut at operation %1)").arg(cut);
    const auto file = [&files](const QString &path) { return files.value(path, "<missing>"); };
    for (auto entry = files.cbegin(); entry != files.cend(); ++entry) {
        if (isOurs(entry.key()))
            continue;
        QVERIFY2(entry.value() == m_before.value(entry.key(), "<none>") || entry.value() == m_after.value(entry.key(), "<none>"),
                 qPrintable("partly written or unknown: " + entry.key() + at));
    }
    // A map that is gone is either replaced already or recorded as removed for room, so that the job can
    // be finished; the old map data goes only once the new maps are in place, or for room.
    UpdateJobRecord job;
    const bool recorded = UpdateJobFile::fromDocument(files.value("/KorwindContent/KorwindUpdateJob.xml"), job);
    const auto isNew = [&](const QString &name) {
        return file("/KorwindContent/Maps/" + name) == m_after.value("/KorwindContent/Maps/" + name);
    };
    const bool newMapsInPlace = isNew("A.NM3") && isNew("C.NM3");
    const auto removedForRoom = [&](const QString &name) { return recorded && job.removedEarly.contains(name); };
    if (!files.contains("/KorwindContent/Maps/A.NM3"))
        QVERIFY2(removedForRoom("A.NM3"), qPrintable("A gone unrecorded" + at));
    if (!files.contains("/KorwindContent/Maps/B.NM3"))
        QVERIFY2(isNew("C.NM3") || removedForRoom("B.NM3"), qPrintable("B gone before C came" + at));
    if (!files.contains("/KorwindContent/Maps/old/data.bin"))
        QVERIFY2(newMapsInPlace || (recorded && job.deleteOldMapData), qPrintable("old map data gone early" + at));
    // The old program or the new one, whole; between the two renames of a swap without an exchange, the
    // new one whole beside the old one (the next search gives it its name).
    QStringList program;
    for (const QString &path : m_before.keys() + m_after.keys()) {
        if (path.startsWith("/Korwind/") && !program.contains(path))
            program.append(path);
    }
    const auto holds = [&](const QMap<QString, QByteArray> &set, const QString &folder) {
        for (const QString &path : program) {
            const QString there = folder + path.mid(QString("/Korwind").size());
            if (file(there) != set.value(path, "<missing>"))
                return false;
        }
        return true;
    };
    const bool whole = holds(m_before, "/Korwind") || holds(m_after, "/Korwind")
                       || (!exchange && !files.contains("/Korwind/Korwind.exe") && holds(m_after, "/Korwind.kwnew"));
    QVERIFY2(whole, qPrintable("neither the old nor the new program" + at));
}

void TestCrashRecovery::everyCut_data()
{
    QTest::addColumn<Scenario>("scenario");
    QTest::addColumn<bool>("powerLoss");
    QTest::newRow("backup, room for both, killed") << Scenario{true, true, true} << false;
    QTest::newRow("backup, room for both, power lost") << Scenario{true, true, true} << true;
    QTest::newRow("no backup, power lost") << Scenario{false, true, true} << true;
    QTest::newRow("no room for old and new maps together, power lost") << Scenario{true, false, true} << true;
    QTest::newRow("no folder exchange, power lost") << Scenario{true, true, false} << true;
}

void TestCrashRecovery::everyCut()
{
    QFETCH(Scenario, scenario);
    QFETCH(bool, powerLoss);
    // A clean run first: how many operations the whole update takes.
    qint64 total = 0;
    qint64 capacity = qint64(1) << 40;
    {
        CrashingDisk disk({volume()});
        disk.setExchangeSupported(scenario.exchange);
        qint64 used = 0;
        for (const QByteArray &bytes : std::as_const(m_before))
            used += bytes.size();
        // Room for the staged program and one map beside the rest, not for old and new maps together.
        if (!scenario.roomForBoth)
            capacity = used + 1024 * 1024 + 100 * 1024;
        disk.setCapacity(capacity);
        QVERIFY(startProgram(disk));
        QCOMPARE(chooseNavigatorAndContent(), QString());
        QCOMPARE(navigatorJob(scenario.backup), QString());
        QVERIFY(startProgram(disk));
        QCOMPARE(chooseNavigatorAndContent(), QString());
        QCOMPARE(mapJob(scenario.backup), QString());
        total = disk.operations();
        QMap<QString, QByteArray> files = disk.files(volume());
        QVERIFY(!files.take("/KorwindContent/KorwindInstalledMaps.xml").isEmpty());
        QCOMPARE(files, m_after);
    }
    qInfo("%lld cut points", total);

    for (qint64 cut = 1; cut <= total; ++cut) {
        QVERIFY(resetPc());
        CrashingDisk disk({volume()});
        disk.setExchangeSupported(scenario.exchange);
        disk.setCapacity(capacity);
        disk.failFrom(cut);
        if (startProgram(disk) && chooseNavigatorAndContent().isEmpty() && navigatorJob(scenario.backup).isEmpty()
            && startProgram(disk) && chooseNavigatorAndContent().isEmpty())
            mapJob(scenario.backup);
        m_services.reset();
        QVERIFY2(disk.failed(), qPrintable(QString("the update ended before operation %1").arg(cut)));
        if (powerLoss)
            disk.powerLoss();
        disk.reconnect();
        checkCut(disk.files(volume()), cut, scenario.exchange);
        if (QTest::currentTestFailed())
            return;
        // The PC side is kept for the recovery: the maps' downloads (the navigator's package goes only once
        // it is installed).
        for (const QString &map : {QString("A.NM3"), QString("C.NM3")})
            QVERIFY2(QFile::exists(m_pc.filePath("downloads/" + map)), qPrintable(map + " download gone"));

        const QString error = recover(disk);
        QVERIFY2(error.isEmpty(), qPrintable(QString("cut at %1: %2").arg(cut).arg(error)));
        QMap<QString, QByteArray> files = disk.files(volume());
        files.remove("/KorwindContent/KorwindInstalledMaps.xml");
        QVERIFY2(files == m_after, qPrintable(QString("cut at %1: not the new set: %2")
                                                  .arg(cut)
                                                  .arg(QStringList(files.keys()).join(", "))));
    }
}

// The job's last word comes after the device holds everything: the volume synced, the record removed
// and the volume synced again.
void TestCrashRecovery::successOnlyAfterTheDeviceHoldsIt()
{
    CrashingDisk disk({volume()});
    QVERIFY(startProgram(disk));
    QCOMPARE(chooseNavigatorAndContent(), QString());
    disk.log.clear();
    bool finishedAfterSync = false;
    connect(m_services.get(), qOverload<QString>(&AbstractDeviceServices::taskFinished), this, [&](const QString &) {
        finishedAfterSync = !disk.log.isEmpty() && disk.log.last().startsWith("syncVolume");
    });
    QCOMPARE(mapJob(false), QString());
    QVERIFY(finishedAfterSync);
    // Whole lines: the list's search matches a line as a whole.
    const auto at = [&disk](const QString &pattern) { return disk.log.indexOf(QRegularExpression(pattern)); };
    const qsizetype lastMap = at("rename .*/A\\.NM3\\.kwpart -> .*");
    const qsizetype removed = at("deleteFile .*/KorwindUpdateJob\\.xml");
    QVERIFY2(lastMap >= 0 && removed > lastMap, qPrintable(disk.log.join("\n")));
    QCOMPARE(disk.log.mid(lastMap, removed - lastMap).filter(QRegularExpression("^syncVolume")).size(), 1);
    QVERIFY(disk.log.last().startsWith("syncVolume"));
    // Every map went in under a temporary name and was flushed before it took its own.
    for (const QString &map : {QString("A.NM3"), QString("C.NM3")}) {
        const QString path = volume() + "/KorwindContent/Maps/" + map;
        const qsizetype put = disk.log.indexOf("putFile " + path + ".kwpart");
        const qsizetype flushed = disk.log.indexOf("flushFile " + path + ".kwpart");
        const qsizetype renamed = disk.log.indexOf("rename " + path + ".kwpart -> " + path);
        QVERIFY2(put >= 0 && put < flushed && flushed < renamed, qPrintable(map));
    }
}

// A card that keeps only part of what it claims: the read-back sees the zeros, the job stops with the
// device's text and stays recorded, and no damaged map takes the name of a sound one.
void TestCrashRecovery::counterfeitCardIsCaught()
{
    CrashingDisk disk({volume()});
    qint64 used = 0;
    for (const QByteArray &bytes : std::as_const(m_before))
        used += bytes.size();
    disk.setRealCapacity(used + 100 * 1024);
    QVERIFY(startProgram(disk));
    QCOMPARE(chooseNavigatorAndContent(), QString());
    QCOMPARE(mapJob(false), QString("The device gave back other data than was written to it: its memory card is "
                                    "failing, or holds less than it claims.\nThe update was stopped; it can be "
                                    "finished on a sound card."));
    const QMap<QString, QByteArray> files = disk.files(volume());
    QCOMPARE(files.value("/KorwindContent/Maps/A.NM3"), m_before.value("/KorwindContent/Maps/A.NM3"));
    QVERIFY(!files.contains("/KorwindContent/Maps/C.NM3"));
    QVERIFY(files.contains("/KorwindContent/KorwindUpdateJob.xml"));
    QVERIFY(startProgram(disk));
    QVERIFY(m_services->unfinishedUpdate());
}

QTEST_MAIN(TestCrashRecovery)
#include "tst_crashrecovery.moc"
