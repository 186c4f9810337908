// korwind-update killed (SIGKILL) at random moments of a real installation on a fixture stick: the
// navigator, seven maps replaced under their own names, one map replaced by another, the old map data.
// After each kill the stick holds no partly written file under a final name, the old or the new
// program, and each map old or new or recorded as removed for room; a second run finishes the job and
// the stick then holds exactly the new set.

#include "foldersnapshot.h"
#include "korwindupdateenvironment.h"
#include "mapfilewriter.h"
#include "standinserverprocess.h"
#include "storagefixture.h"
#include "zipforge.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <signal.h>
#include <unistd.h>

namespace {

constexpr int mapCount = 8;
constexpr quint64 mapSize = 3 * 1024 * 1024;

QByteArray mapBytes(const QByteArray &code, quint32 year)
{
    MapFileRecipe recipe;
    recipe.packageCode = code;
    recipe.firstVersion = year;
    recipe.secondVersion = 1;
    recipe.titles = {{1033, code}};
    recipe.versionTexts = {{1033, QByteArray::number(year) + ".1"}};
    QByteArray bytes = writeMapFile(recipe);
    // Contents that differ all through, so that half a copy never passes for a whole one.
    bytes.reserve(qsizetype(mapSize));
    quint32 value = qHash(code) ^ year;
    while (quint64(bytes.size()) < mapSize) {
        value = value * 1664525u + 1013904223u;
        bytes.append(char(value >> 24));
    }
    return bytes;
}

QByteArray zip(const QList<QPair<QByteArray, QByteArray>> &entries)
{
    ZipForge forge;
    for (const auto &[name, data] : entries) {
        ZipForge::Entry entry;
        entry.name = name;
        entry.data = data;
        entry.method = 0;
        forge.add(entry);
    }
    return forge.build();
}

QByteArray sha1(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

// The program's own files, which may be anything while a job runs.
bool isOurs(const QString &path)
{
    return path.endsWith(".kwpart") || path.contains(".kwnew/") || path.contains(".kwold/")
           || path.endsWith("/KorwindUpdateJob.xml") || path.endsWith("/KorwindInstalledMaps.xml")
           || path.endsWith("/KorwindProgramStage.kwdone");
}

} // namespace

class TestKilledUpdate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void killedAnywhereThenFinished();
    void killedOnARealExfatVolume();

private:
    // One whole run: how long the work on the device takes, from the navigator's installation on.
    void measureDeviceWork();
    // Kills an update at random moments of the device's work, checks the stick after each, finishes the job.
    void killRounds(int rounds);
    // A 200 MB exFAT volume mounted at the stick's mount point, where this machine allows it.
    bool mountRealVolume(QString &why);
    QString volume(const QString &path = QString()) const { return m_machine->volume("NAVI") + path; }
    void prepareDevice();
    // Path in the volume -> SHA-1 of every file.
    QMap<QString, QByteArray> deviceFiles() const;
    void prepare(QProcess &process) const;
    void checkAfterKill(const QString &when);

    QTemporaryDir m_catalogue;
    StandInServerProcess m_server;
    std::unique_ptr<StorageMachine> m_machine;
    QTemporaryDir m_home;
    QString m_loopDevice; // of the real volume, while it is mounted
    qint64 m_deviceWork = 0; // ms from the navigator's installation to the end of a whole run
    QMap<QString, QByteArray> m_before;
    QMap<QString, QByteArray> m_after;
};

void TestKilledUpdate::initTestCase()
{
    const QString catalogue = m_catalogue.path();
    const QByteArray launcher = navigatorBytes("");
    const QByteArray newNavigator = navigatorBytes("korwind", {6, 0, 0, 0});
    const QByteArray voices(2 * 1024 * 1024, 'v');
    QVERIFY(writeCatalogueFile(catalogue, "files/navigator-6.0.zip",
                               zip({{"Navi/MobileNavigator.exe", newNavigator}, {"Navi/Start.exe", launcher},
                                    {"Navi/voices.dat", voices}})));
    QVERIFY(writeCatalogueFile(catalogue, "navigators.txt",
                               "name: Korwind Navigator\ndescription: New\nversion: 6.0.0.0\n"
                               "file: navigator-6.0.zip\ntypefile: zip\nchecksums: *\n"));
    QByteArray list;
    for (int i = 1; i <= mapCount; ++i) {
        const QByteArray code = "korwind.m" + QByteArray::number(i);
        const QByteArray name = "m" + QByteArray::number(i) + ".NM3";
        QVERIFY(writeCatalogueFile(catalogue, "files/" + QString::fromLatin1(name), mapBytes(code, 2013)));
        list += code + "\n" + code + "\nMap\n2013.1\n2013.1\n" + code + "\n@file " + name + "\n";
        // The last one takes the place of an old map of another name.
        if (i == mapCount)
            list += "replaces,korwind.old\n";
        list += "\n";
    }
    QVERIFY(writeCatalogueFile(catalogue, "maps/default.txt", list + "DATAEND"));
    QVERIFY2(m_server.start(catalogue), qPrintable(m_server.errorText()));

    m_before = {{"/Navi/MobileNavigator.exe", navigatorBytes("korwind", {5, 2, 0, 0})},
                {"/Navi/Start.exe", launcher},
                {"/Navi/settings.ini", "Path=..\\KorwindContent\n"},
                {"/KorwindContent/KorwindContentInfo.xml",
                 "<?xml version=\"1.0\"?><KorwindContentInfo><Version>1</Version><UID>{stick}</UID></KorwindContentInfo>"},
                {"/KorwindContent/Maps/old.NM3", mapBytes("korwind.old", 2011)},
                {"/KorwindContent/Maps/legacy/roads.dat", QByteArray(512 * 1024, 'r')}};
    for (int i = 1; i < mapCount; ++i) {
        const QString name = QString("/KorwindContent/Maps/m%1.NM3").arg(i);
        m_before.insert(name, mapBytes("korwind.m" + QByteArray::number(i), 2012));
    }
    m_after = m_before;
    m_after.remove("/KorwindContent/Maps/old.NM3");
    m_after.remove("/KorwindContent/Maps/legacy/roads.dat");
    m_after.insert("/Navi/MobileNavigator.exe", newNavigator);
    m_after.insert("/Navi/voices.dat", voices);
    for (int i = 1; i <= mapCount; ++i)
        m_after.insert(QString("/KorwindContent/Maps/m%1.NM3").arg(i), mapBytes("korwind.m" + QByteArray::number(i), 2013));
    for (auto file = m_before.begin(); file != m_before.end(); ++file)
        file.value() = sha1(file.value());
    for (auto file = m_after.begin(); file != m_after.end(); ++file)
        file.value() = sha1(file.value());
    QVERIFY(QDir().mkpath(m_home.filePath("run")));
    QFile::setPermissions(m_home.filePath("run"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void TestKilledUpdate::cleanup()
{
    if (m_loopDevice.isEmpty())
        return;
    QProcess::execute("fusermount", {"-u", volume()});
    QProcess::execute("losetup", {"-d", m_loopDevice});
    m_loopDevice.clear();
}

void TestKilledUpdate::prepareDevice()
{
    if (m_loopDevice.isEmpty()) {
        m_machine = std::make_unique<StorageMachine>();
        FixtureMachine machine;
        machine.usbDevices.append(StorageMachine::stick("S1", {volume()}));
        QVERIFY(m_machine->write(machine));
    } else {
        // The real volume stays mounted; only what it holds starts again.
        const QDir root(volume());
        for (const QFileInfo &entry : root.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
            QVERIFY(entry.isDir() ? QDir(entry.filePath()).removeRecursively() : QFile::remove(entry.filePath()));
    }
    const QByteArray launcher = navigatorBytes("");
    QVERIFY(writeFile(volume("/Navi/MobileNavigator.exe"), navigatorBytes("korwind", {5, 2, 0, 0})));
    QVERIFY(writeFile(volume("/Navi/Start.exe"), launcher));
    QVERIFY(writeFile(volume("/Navi/settings.ini"), "Path=..\\KorwindContent\n"));
    QVERIFY(writeFile(volume("/KorwindContent/KorwindContentInfo.xml"),
                      "<?xml version=\"1.0\"?><KorwindContentInfo><Version>1</Version><UID>{stick}</UID></KorwindContentInfo>"));
    QVERIFY(writeFile(volume("/KorwindContent/Maps/old.NM3"), mapBytes("korwind.old", 2011)));
    QVERIFY(writeFile(volume("/KorwindContent/Maps/legacy/roads.dat"), QByteArray(512 * 1024, 'r')));
    for (int i = 1; i < mapCount; ++i)
        QVERIFY(writeFile(volume(QString("/KorwindContent/Maps/m%1.NM3").arg(i)),
                          mapBytes("korwind.m" + QByteArray::number(i), 2012)));
    QCOMPARE(deviceFiles(), m_before);
}

QMap<QString, QByteArray> TestKilledUpdate::deviceFiles() const
{
    return fileDigestsBelow(volume());
}

void TestKilledUpdate::prepare(QProcess &process) const
{
    process.setProcessEnvironment(korwindUpdateEnvironment(m_machine->path(), m_home.path(), m_home.filePath("run")));
    process.setProgram(QStringLiteral(KORWIND_UPDATE));
    process.setArguments({"update", "--yes", "--server", m_server.baseUrl(), "--downloads", m_home.filePath("downloads"),
                          "--backups", m_home.filePath("backups")});
    process.setReadChannel(QProcess::StandardOutput);
}

void TestKilledUpdate::checkAfterKill(const QString &when)
{
    const QMap<QString, QByteArray> files = deviceFiles();
    for (auto file = files.cbegin(); file != files.cend(); ++file) {
        if (isOurs(file.key()))
            continue;
        QVERIFY2(file.value() == m_before.value(file.key()) || file.value() == m_after.value(file.key()),
                 qPrintable("partly written or unknown: " + file.key() + when));
    }
    // The old program or the new one, whole; between the two renames of a swap on a file system that
    // cannot exchange folders, the new one whole beside the old one (the next search gives it its name).
    const auto programIs = [&](const QMap<QString, QByteArray> &set, const QString &folder) {
        for (const QString &path : m_before.keys() + m_after.keys()) {
            if (path.startsWith("/Navi/") && files.value(folder + path.mid(5)) != set.value(path))
                return false;
        }
        return true;
    };
    const bool betweenRenames = !files.contains("/Navi/MobileNavigator.exe") && programIs(m_after, "/Navi.kwnew");
    QVERIFY2(programIs(m_before, "/Navi") || programIs(m_after, "/Navi") || betweenRenames,
             qPrintable("neither the old nor the new program" + when));
    // A map that is gone is replaced already, or named in the job's record as removed for room.
    const QByteArray record = readFile(volume("/KorwindContent/KorwindUpdateJob.xml"));
    for (int i = 1; i < mapCount; ++i) {
        const QString name = QString("m%1.NM3").arg(i);
        if (!files.contains("/KorwindContent/Maps/" + name))
            QVERIFY2(record.contains("<Name>" + name.toLatin1() + "</Name>"), qPrintable(name + " gone" + when));
    }
    const bool replacementIn = files.value("/KorwindContent/Maps/m8.NM3") == m_after.value("/KorwindContent/Maps/m8.NM3");
    if (!files.contains("/KorwindContent/Maps/old.NM3"))
        QVERIFY2(replacementIn || record.contains("<Name>old.NM3</Name>"), qPrintable("old.NM3 gone early" + when));
}

void TestKilledUpdate::killedAnywhereThenFinished()
{
    measureDeviceWork();
    if (!QTest::currentTestFailed())
        killRounds(8);
}

void TestKilledUpdate::measureDeviceWork()
{
    prepareDevice();
    QDir(m_home.filePath("downloads")).removeRecursively();
    QDir(m_home.filePath("backups")).removeRecursively();
    {
        QProcess update;
        prepare(update);
        update.start();
        QByteArray seen;
        QElapsedTimer timer;
        while (update.waitForReadyRead(60000)) {
            seen += update.readAll();
            if (!timer.isValid() && seen.contains("Installing Korwind Navigator"))
                timer.start();
        }
        // The last read may have seen the end already.
        QVERIFY(update.state() == QProcess::NotRunning || update.waitForFinished(60000));
        QVERIFY2(update.exitCode() == 0, update.readAllStandardError().constData());
        m_deviceWork = timer.elapsed();
        QMap<QString, QByteArray> files = deviceFiles();
        QVERIFY(!files.take("/KorwindContent/KorwindInstalledMaps.xml").isEmpty());
        QCOMPARE(files, m_after);
    }
}

bool TestKilledUpdate::mountRealVolume(QString &why)
{
    if (::geteuid() != 0) {
        why = "needs the super-user for a loop device";
        return false;
    }
    const QString image = m_home.filePath("card.img");
    QFile::remove(image);
    if (QProcess::execute("truncate", {"-s", "200M", image}) != 0
        || QProcess::execute("mkfs.exfat", {"-n", "NAVI", image}) != 0) {
        why = "mkfs.exfat is not available";
        return false;
    }
    QProcess losetup;
    losetup.start("losetup", {"-f", "--show", image});
    if (!losetup.waitForFinished(20000) || losetup.exitCode() != 0) {
        why = "no loop device here";
        return false;
    }
    const QString loop = QString::fromUtf8(losetup.readAllStandardOutput()).trimmed();
    m_machine = std::make_unique<StorageMachine>();
    FixtureMachine machine;
    machine.usbDevices.append(StorageMachine::stick("S1", {volume()}));
    if (!m_machine->write(machine) || !QDir().mkpath(volume())
        || QProcess::execute("mount.exfat-fuse", {loop, volume()}) != 0) {
        QProcess::execute("losetup", {"-d", loop});
        why = "the exFAT volume cannot be mounted here (no FUSE)";
        return false;
    }
    m_loopDevice = loop;
    return true;
}

// The same on a real file system of a card: exFAT, which cannot exchange two folders in one step, so the
// program goes in by two renames.
void TestKilledUpdate::killedOnARealExfatVolume()
{
    QString why;
    if (!mountRealVolume(why))
        QSKIP(qPrintable(why));
    measureDeviceWork();
    if (!QTest::currentTestFailed())
        killRounds(4);
}

void TestKilledUpdate::killRounds(int rounds)
{
    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("device work %lld ms; kill delays drawn with seed %u", m_deviceWork, seed);
    QRandomGenerator random(seed);
    const qint64 deviceWork = m_deviceWork;
    for (int round = 0; round < rounds; ++round) {
        prepareDevice();
        QDir(m_home.filePath("downloads")).removeRecursively();
        QDir(m_home.filePath("backups")).removeRecursively();
        const int delay = int(random.bounded(quint32(qMax<qint64>(deviceWork, 1))));
        const QString when = QString(" (killed %1 ms into the device's work)").arg(delay);
        QProcess update;
        prepare(update);
        update.start();
        QByteArray seen;
        while (!seen.contains("Installing Korwind Navigator") && update.waitForReadyRead(60000))
            seen += update.readAll();
        QTest::qWait(delay);
        // A process that already ended has no number: kill(0) would hit this test's own process group.
        const qint64 pid = update.processId();
        if (pid > 0 && update.state() == QProcess::Running)
            ::kill(pid_t(pid), SIGKILL);
        QVERIFY(update.state() == QProcess::NotRunning || update.waitForFinished(10000));
        checkAfterKill(when);
        if (QTest::currentTestFailed())
            return;
        // What status says of it, before the second run finishes it.
        if (QFile::exists(volume("/KorwindContent/KorwindUpdateJob.xml"))) {
            QProcess status;
            prepare(status);
            status.setArguments(QStringList{"status", "--json"} + status.arguments().mid(2));
            status.start();
            QVERIFY(status.waitForFinished(60000));
            const QJsonObject unfinished =
                QJsonDocument::fromJson(status.readAllStandardOutput()).object()["unfinishedUpdate"].toObject();
            QVERIFY2(!unfinished["kind"].toString().isEmpty(), qPrintable("status says nothing" + when));
        }

        QProcess again;
        prepare(again);
        again.start();
        QVERIFY(again.waitForFinished(120000));
        QVERIFY2(again.exitCode() == 0, qPrintable(QString::fromUtf8(again.readAllStandardError()) + when));
        QMap<QString, QByteArray> files = deviceFiles();
        files.remove("/KorwindContent/KorwindInstalledMaps.xml");
        QVERIFY2(files == m_after, qPrintable("not the new set after the second run" + when + ": "
                                                + QStringList(files.keys()).join(", ")));
    }
}

QTEST_MAIN(TestKilledUpdate)
#include "tst_killedupdate.moc"
