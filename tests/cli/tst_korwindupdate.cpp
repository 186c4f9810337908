// korwind-update run as a program against the stand-in server and a fixture machine whose USB stick
// is a folder: the listings, a whole update and its restoration, the choice of maps, the device's
// warning, and each kind of bad input with its exit status and an unchanged device.

#include "authproxyprocess.h"
#include "foldersnapshot.h"
#include "korwindupdateenvironment.h"
#include "mapfilewriter.h"
#include "standinserverprocess.h"
#include "storagefixture.h"
#include "zipforge.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <signal.h>

namespace {

const QString uid = "{11111111-2222-3333-4444-555555555555}";
const QByteArray launcher = navigatorBytes("");
const QByteArray oldNavigator = navigatorBytes("korwind", {5, 2, 0, 0});
const QByteArray newNavigator = navigatorBytes("korwind", {6, 0, 0, 0});

QByteArray mapBytes(const QByteArray &code, quint32 year, const QByteArray &title, quint64 size)
{
    MapFileRecipe recipe;
    recipe.packageCode = code;
    recipe.firstVersion = year;
    recipe.secondVersion = 1;
    recipe.titles = {{1033, title}};
    recipe.versionTexts = {{1033, QByteArray::number(year) + ".1"}};
    recipe.fileSize = size;
    return writeMapFile(recipe);
}

const QByteArray installedRussia = mapBytes("korwind.rus", 2012, "Russia", 100000);
const QByteArray newRussia = mapBytes("korwind.rus", 2013, "Russia", 200000);
const QByteArray newGermany = mapBytes("korwind.deu", 2013, "Germany", 150000);

QByteArray zip(const QList<QPair<QByteArray, QByteArray>> &entries)
{
    ZipForge forge;
    for (const auto &[name, data] : entries) {
        ZipForge::Entry entry;
        entry.name = name;
        entry.data = data;
        forge.add(entry);
    }
    return forge.build();
}

QString sha1(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
}

quint16 closedLoopbackPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

struct Run
{
    int status = -1;
    QString out;
    QString err;

    QJsonObject json() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }
};

QStringList keys(const QJsonArray &objects, const QString &key)
{
    QStringList values;
    for (const QJsonValue &object : objects)
        values << object[key].toString();
    return values;
}

} // namespace

class TestKorwindUpdate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void listingsAsText();
    void listingsAsJson();
    void updateAndRestore();
    void mapChoices_data();
    void mapChoices();
    void damagedMapIsReinstalled_data();
    void damagedMapIsReinstalled();
    void preparationWarning_data();
    void preparationWarning();
    void badInput_data();
    void badInput();
    void unpluggedDuringTheJob();
    void interruptCancelsTheJob();
    void secondCopyIsBusy();
    void proxyLogin_data();
    void proxyLogin();

private:
    QString volume(const QString &path = QString()) const { return m_machine->volume("NAVI") + path; }
    QString downloads() const { return m_home->filePath("downloads"); }
    QString backups() const { return m_home->filePath("backups"); }
    // Every file of the stick by its path in the volume, with its SHA-1.
    QMap<QString, QString> deviceFiles() const;
    QStringList backupDescriptors() const;
    // The program with these arguments, the test's server, folders and fixture machine.
    void prepare(QProcess &process, QStringList arguments) const;
    Run run(const QStringList &arguments) const;
    static Run finished(QProcess &process);
    // Starts an update whose map download takes about two seconds and waits until it downloads.
    bool startSlowUpdate(QProcess &process);

    QTemporaryDir m_catalogue;
    StandInServerProcess m_server;
    std::unique_ptr<StorageMachine> m_machine;
    std::unique_ptr<QTemporaryDir> m_home;
};

void TestKorwindUpdate::initTestCase()
{
    const QString catalogue = m_catalogue.path();
    QVERIFY(writeCatalogueFile(catalogue, "files/rus-2013.NM3", newRussia));
    QVERIFY(writeCatalogueFile(catalogue, "files/deu-2013.NM3", newGermany));
    QVERIFY(writeCatalogueFile(catalogue, "files/navigator-6.0.zip",
                               zip({{"Navi/MobileNavigator.exe", newNavigator}, {"Navi/Start.exe", launcher}})));
    // A navigator under another name than the installed one: the device warns that it may not fit.
    QVERIFY(writeCatalogueFile(catalogue, "files/navigator-6.1.zip",
                               zip({{"Navi/Korwind.exe", navigatorBytes("korwind", {6, 1, 0, 0})},
                                    {"Navi/Start.exe", launcher}})));
    QVERIFY(writeCatalogueFile(catalogue, "navigators.txt",
                               "name: Korwind Navigator\ndescription: New routing engine\nversion: 6.0.0.0\n"
                               "file: navigator-6.0.zip\ntypefile: zip\nchecksums: *\n\n"
                               "name: Korwind Navigator\ndescription: Renamed\nversion: 6.1.0.0\n"
                               "file: navigator-6.1.zip\ntypefile: zip\nchecksums: *\n"));
    QVERIFY(writeCatalogueFile(catalogue, "maps/default.txt",
                               "Russia\nkorwind.rus\nAll of Russia\n2013.1\n2013.1\nrus\n@file rus-2013.NM3\n\n"
                               "Germany\nkorwind.deu\nAll of Germany\n2013.1\n2013.1\ndeu\n@file deu-2013.NM3\n\n"
                               "DATAEND"));
    QVERIFY2(m_server.start(catalogue), qPrintable(m_server.errorText()));
}

void TestKorwindUpdate::init()
{
    QVERIFY(m_server.reset());
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir().mkpath(m_home->filePath("run")));
    QFile::setPermissions(m_home->filePath("run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_machine = std::make_unique<StorageMachine>();
    FixtureMachine machine;
    machine.usbDevices.append(StorageMachine::stick("S1", {volume()}));
    QVERIFY(m_machine->write(machine));
    QVERIFY(writeFile(volume("/Navi/MobileNavigator.exe"), oldNavigator));
    QVERIFY(writeFile(volume("/Navi/Start.exe"), launcher));
    QVERIFY(writeFile(volume("/KorwindContent/KorwindContentInfo.xml"),
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<KorwindContentInfo><Version>1</Version><UID>"
                          + uid.toUtf8() + "</UID></KorwindContentInfo>\n"));
    QVERIFY(writeFile(volume("/KorwindContent/Maps/rus.NM3"), installedRussia));
}

QMap<QString, QString> TestKorwindUpdate::deviceFiles() const
{
    QMap<QString, QString> files;
    const QMap<QString, QByteArray> digests = fileDigestsBelow(volume());
    for (auto file = digests.cbegin(); file != digests.cend(); ++file)
        files.insert(file.key(), QString::fromLatin1(file.value()));
    return files;
}

QStringList TestKorwindUpdate::backupDescriptors() const
{
    return QDir(backups()).entryList({"*.xml"}, QDir::Files);
}

void TestKorwindUpdate::prepare(QProcess &process, QStringList arguments) const
{
    process.setProcessEnvironment(korwindUpdateEnvironment(m_machine->path(), m_home->path(), m_home->filePath("run")));
    if (!arguments.contains("--server"))
        arguments << "--server" << m_server.baseUrl();
    arguments << "--downloads" << downloads() << "--backups" << backups();
    process.setProgram(QStringLiteral(KORWIND_UPDATE));
    process.setArguments(arguments);
}

Run TestKorwindUpdate::finished(QProcess &process)
{
    Run result;
    if (!process.waitForFinished(60000))
        process.kill();
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

Run TestKorwindUpdate::run(const QStringList &arguments) const
{
    QProcess process;
    prepare(process, arguments);
    process.start();
    return finished(process);
}

bool TestKorwindUpdate::startSlowUpdate(QProcess &process)
{
    if (!m_server.setFaults(R"([{"path": "/files/rus-2013.NM3", "rate": 100000}])"))
        return false;
    prepare(process, {"update", "--no-navigator"});
    process.setReadChannel(QProcess::StandardOutput);
    process.start();
    QByteArray seen;
    while (!seen.contains("Downloading")) {
        if (!process.waitForReadyRead(20000))
            return false;
        seen += process.peek(process.bytesAvailable());
    }
    return true;
}

void TestKorwindUpdate::listingsAsText()
{
    const Run devices = run({"devices"});
    QCOMPARE(devices.status, 0);
    QCOMPARE(devices.out, "1  USB storage  Korwind Navigator 5.2.0.0 (NAVI " + volume() + ")\n");

    const Run status = run({"status"});
    QCOMPARE(status.status, 0);
    for (const QString &line : {"  " + volume("/Navi/MobileNavigator.exe") + "  5.2.0.0",
                                QString("    update offered: 6.0.0.0  New routing engine"),
                                QString("    update offered: 6.1.0.0  Renamed"),
                                "  " + volume("/KorwindContent") + "  ID " + uid,
                                QString("      Russia (korwind.rus) 2012.1"),
                                QString("    offered for Korwind Navigator 5.2.0.0:"),
                                QString("      Russia (korwind.rus) 2013.1  196KB  update"),
                                QString("      Germany (korwind.deu) 2013.1  147KB  new")})
        QVERIFY2(status.out.split('\n').contains(line), qPrintable(line + "\nnot in\n" + status.out));
    QCOMPARE(status.err, QString());
}

void TestKorwindUpdate::listingsAsJson()
{
    const QJsonObject devices = run({"devices", "--json"}).json();
    QCOMPARE(devices["status"].toString(), "success");
    const QJsonObject device = devices["devices"][0].toObject();
    QCOMPARE(device["number"].toInt(), 1);
    QCOMPARE(device["kind"].toString(), "storage");
    QCOMPARE(device["readOnly"].toBool(), false);

    const QJsonObject status = run({"status", "--json"}).json();
    QCOMPARE(status["exitStatus"].toInt(), 0);
    const QJsonObject navigator = status["navigators"][0].toObject();
    QCOMPARE(navigator["version"].toString(), "5.2.0.0");
    QCOMPARE(keys(navigator["updates"].toArray(), "version"), QStringList({"6.0.0.0", "6.1.0.0"}));
    const QJsonObject folder = status["contentFolders"][0].toObject();
    QCOMPARE(folder["uid"].toString(), uid);
    QCOMPARE(folder["oldMapData"].toInt(), 0);
    QVERIFY(folder["freeSpace"].toDouble() > 0);
    QCOMPARE(keys(folder["installedMaps"].toArray(), "code"), QStringList{"korwind.rus"});
    const QJsonArray offered = folder["offers"][0]["maps"].toArray();
    QCOMPARE(keys(offered, "code"), QStringList({"korwind.rus", "korwind.deu"}));
    QCOMPARE(keys(offered, "state"), QStringList({"update", "new"}));
}

// The default job: the first navigator update with a backup of the program and maps, then the
// update of the installed map without a second backup; the backup brings every byte back.
void TestKorwindUpdate::updateAndRestore()
{
    const QMap<QString, QString> before = deviceFiles();
    const Run update = run({"update", "--json"});
    QVERIFY2(update.status == 0, qPrintable(update.err));
    const QJsonObject result = update.json();
    QCOMPARE(keys(result["steps"].toArray(), "step"),
             QStringList({"download", "backup", "preparation", "navigatorInstallation", "download",
                          "mapInstallation"}));
    QCOMPARE(keys(result["steps"].toArray(), "result"), QStringList(6, "done"));
    const QString backupId = result["backup"].toString();
    QVERIFY(!backupId.isEmpty());

    QMap<QString, QString> expected = before;
    expected.remove("/KorwindContent/Maps/rus.NM3");
    expected.insert("/KorwindContent/Maps/rus-2013.NM3", sha1(newRussia));
    expected.insert("/Navi/MobileNavigator.exe", sha1(newNavigator));
    QMap<QString, QString> found = deviceFiles();
    // The device keeps what was installed, so that a map cut short later is seen.
    QVERIFY(found.take("/KorwindContent/KorwindInstalledMaps.xml").size() == 40);
    QCOMPARE(found, expected);
    QCOMPARE(keys(run({"backups", "--json"}).json()["backups"].toArray(), "id"), QStringList{backupId});

    const Run restore = run({"restore", backupId});
    QVERIFY2(restore.status == 0, qPrintable(restore.err));
    QVERIFY(restore.out.contains("Your backup was successfully restored!"));
    QCOMPARE(deviceFiles(), before);

    const Run deletion = run({"delete-backup", backupId});
    QCOMPARE(deletion.status, 0);
    QCOMPARE(backupDescriptors(), QStringList());
}

void TestKorwindUpdate::mapChoices_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("maps");
    QTest::addColumn<QByteArray>("navigator");
    QTest::newRow("updates of the installed maps")
        << QStringList{"update", "--no-navigator"} << QStringList{"rus-2013.NM3"} << oldNavigator;
    QTest::newRow("all maps") << QStringList{"update", "--no-navigator", "--maps", "all"}
                              << QStringList({"deu-2013.NM3", "rus-2013.NM3"}) << oldNavigator;
    QTest::newRow("a new map by its code") << QStringList{"update", "--no-navigator", "--maps", "korwind.deu"}
                                           << QStringList({"deu-2013.NM3", "rus.NM3"}) << oldNavigator;
    QTest::newRow("the navigator alone") << QStringList{"update", "--no-maps", "--no-backup"}
                                         << QStringList{"rus.NM3"} << newNavigator;
    QTest::newRow("nothing") << QStringList{"update", "--no-maps", "--no-navigator"} << QStringList{"rus.NM3"}
                             << oldNavigator;
}

void TestKorwindUpdate::mapChoices()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, maps);
    QFETCH(QByteArray, navigator);
    const Run update = run(arguments);
    QVERIFY2(update.status == 0, qPrintable(update.err));
    QCOMPARE(QDir(volume("/KorwindContent/Maps")).entryList(QDir::Files, QDir::Name), maps);
    QCOMPARE(readFile(volume("/Navi/MobileNavigator.exe")), navigator);
}

// What an interrupted copy leaves: the map cut in half under its final name, its header still readable,
// and no record of its installation. status says so, and update puts the whole file back.
void TestKorwindUpdate::damagedMapIsReinstalled_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("repaired");
    QTest::newRow("the updates of the installed maps") << QStringList{"update", "--no-navigator"} << true;
    QTest::newRow("the map by its code") << QStringList{"update", "--no-navigator", "--maps", "korwind.deu"} << true;
    // Named maps are all that is installed.
    QTest::newRow("another map by its code") << QStringList{"update", "--no-navigator", "--maps", "korwind.rus"}
                                             << false;
}

void TestKorwindUpdate::damagedMapIsReinstalled()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, repaired);
    const QByteArray cut = newGermany.left(newGermany.size() / 2);
    QVERIFY(writeFile(volume("/KorwindContent/Maps/deu-2013.NM3"), cut));

    const Run status = run({"status"});
    QCOMPARE(status.status, 0);
    for (const QString &line : {QString("      Germany (korwind.deu) 2013.1  (damaged)"),
                                QString("      Germany (korwind.deu) 2013.1  147KB  installed, damaged")})
        QVERIFY2(status.out.split('\n').contains(line), qPrintable(line + "\nnot in\n" + status.out));
    const QJsonObject folder = run({"status", "--json"}).json()["contentFolders"][0].toObject();
    const QJsonArray installed = folder["installedMaps"].toArray();
    QCOMPARE(keys(installed, "code"), QStringList({"korwind.deu", "korwind.rus"}));
    QCOMPARE(installed[0]["damaged"].toBool(), true);
    QCOMPARE(installed[1]["damaged"].toBool(), false);
    QCOMPARE(keys(folder["offers"][0]["maps"].toArray(), "state"), QStringList({"update", "damaged"}));

    const Run update = run(arguments);
    QVERIFY2(update.status == 0, qPrintable(update.err));
    QCOMPARE(update.out.contains("install Germany (korwind.deu) 2013.1"), repaired);
    QCOMPARE(sha1(readFile(volume("/KorwindContent/Maps/deu-2013.NM3"))), sha1(repaired ? newGermany : cut));
    const QJsonArray after = run({"status", "--json"}).json()["contentFolders"][0]["installedMaps"].toArray();
    QCOMPARE(after[0]["damaged"].toBool(), !repaired);
}

// The device's warning that a package may not fit: passed after a backup or with --yes, otherwise the
// update stops and its download goes, as when the wizard's user answers No.
void TestKorwindUpdate::preparationWarning_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("status");
    QTest::newRow("declined without --yes") << QStringList{"--no-backup"} << 8;
    QTest::newRow("--yes") << QStringList{"--no-backup", "--yes"} << 0;
    QTest::newRow("after a backup") << QStringList{} << 0;
}

void TestKorwindUpdate::preparationWarning()
{
    QFETCH(QStringList, options);
    QFETCH(int, status);
    const QMap<QString, QString> before = deviceFiles();
    const Run update = run(QStringList{"update", "--navigator", "6.1.0.0", "--no-maps"} + options);
    QCOMPARE(update.status, status);
    QVERIFY2(update.err.contains("Installation package chosen may not be compatible with your device."),
             qPrintable(update.err));
    QCOMPARE(deviceFiles() == before, status != 0);
    QCOMPARE(QFile::exists(downloads() + "/navigator-6.1.zip"), false);
    if (status != 0)
        QVERIFY(update.err.contains("--yes"));
}

void TestKorwindUpdate::badInput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("faults");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    const QByteArray hugeMap =
        R"([{"path": "/productsInfoForMaps/", "plaintext": "World\nkorwind.world\nEverything\n2013.1\n2013.1\nwld\n)"
        R"(world.NM3,4000000000000000000,world.NM3,0123456789abcdef0123456789abcdef01234567,)"
        R"(http://127.0.0.1:1/world.NM3\n\nDATAEND"}])";
    QTest::newRow("no device of that number") << QStringList{"update", "--device", "2"} << QByteArray() << 3
                                              << "There is no device 2";
    QTest::newRow("a map the server does not offer") << QStringList{"update", "--maps", "korwind.xyz"} << QByteArray()
                                                     << 2 << "The update server offers no map korwind.xyz";
    QTest::newRow("maps that do not fit") << QStringList{"update", "--no-navigator", "--maps", "korwind.world"}
                                          << hugeMap << 6 << "Not enough free space";
    QTest::newRow("server away")
        << QStringList{"update", "--server", QString("http://127.0.0.1:%1").arg(closedLoopbackPort())} << QByteArray()
        << 4 << "Connection refused";
    QTest::newRow("download refused") << QStringList{"update", "--no-navigator"}
                                      << QByteArray(R"([{"path": "/files/*", "httpStatus": 404}])") << 5
                                      << "Nothing was done.";
    QTest::newRow("unknown navigator version") << QStringList{"update", "--navigator", "7.0.0.0"} << QByteArray() << 2
                                               << "offered: 6.0.0.0, 6.1.0.0";
    QTest::newRow("unknown content folder") << QStringList{"update", "--content", "{nothing}"} << QByteArray() << 2
                                            << "no content folder with the ID {nothing}";
    QTest::newRow("unknown backup") << QStringList{"restore", "backup_01.01.2000"} << QByteArray() << 2
                                    << "There is no backup backup_01.01.2000";
    QTest::newRow("unknown option") << QStringList{"update", "--force"} << QByteArray() << 2 << "Unknown option";
}

void TestKorwindUpdate::badInput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, faults);
    QFETCH(int, status);
    QFETCH(QString, message);
    if (!faults.isEmpty())
        QVERIFY(m_server.setFaults(faults));
    const QMap<QString, QString> before = deviceFiles();
    const Run failed = run(arguments);
    QCOMPARE(failed.status, status);
    QVERIFY2(failed.err.contains(message), qPrintable(failed.err));
    QCOMPARE(deviceFiles(), before);
    QCOMPARE(backupDescriptors(), QStringList());

    const QJsonObject result = run(arguments + QStringList{"--json"}).json();
    QCOMPARE(result["exitStatus"].toInt(), status);
    QVERIFY(result["message"].toString().contains(message));
}

void TestKorwindUpdate::unpluggedDuringTheJob()
{
    QProcess update;
    QVERIFY(startSlowUpdate(update));
    QVERIFY(QDir().rename(volume(), volume() + "-unplugged"));
    const Run result = finished(update);
    QCOMPARE(result.status, 3);
    QVERIFY2(result.err.contains("The device was unplugged.\nDone before: downloaded."), qPrintable(result.err));
    QCOMPARE(backupDescriptors(), QStringList());
}

void TestKorwindUpdate::interruptCancelsTheJob()
{
    const QMap<QString, QString> before = deviceFiles();
    QProcess update;
    QVERIFY(startSlowUpdate(update));
    QCOMPARE(::kill(pid_t(update.processId()), SIGINT), 0);
    const Run result = finished(update);
    QCOMPARE(result.status, 8);
    QVERIFY2(result.err.contains("Cancelling"), qPrintable(result.err));
    QCOMPARE(deviceFiles(), before);
    QCOMPARE(backupDescriptors(), QStringList());
}

void TestKorwindUpdate::secondCopyIsBusy()
{
    QProcess first;
    QVERIFY(startSlowUpdate(first));
    const Run second = run({"update", "--no-navigator"});
    QCOMPARE(second.status, 9);
    QVERIFY2(second.err.contains(QString("Another korwind-update (process %1) is working on the device")
                                     .arg(first.processId())),
             qPrintable(second.err));
    const Run firstResult = finished(first);
    QVERIFY2(firstResult.status == 0, qPrintable(firstResult.err));
    QCOMPARE(QDir(volume("/KorwindContent/Maps")).entryList(QDir::Files), QStringList{"rus-2013.NM3"});
}

// Without a terminal nobody can be asked for the proxy's login; credentials on the command line serve.
void TestKorwindUpdate::proxyLogin_data()
{
    QTest::addColumn<QString>("credentials");
    QTest::addColumn<int>("status");
    QTest::newRow("nobody to ask") << "" << 4;
    QTest::newRow("credentials given") << "anna:s3cret@" << 0;
}

void TestKorwindUpdate::proxyLogin()
{
    QFETCH(QString, credentials);
    QFETCH(int, status);
    if (AuthProxyProcess::programPath().isEmpty())
        QSKIP("squid is not installed");
    AuthProxyProcess proxy;
    QVERIFY2(proxy.start("anna", "s3cret"), qPrintable(proxy.errorText()));
    QUrl server(m_server.baseUrl());
    server.setHost(AuthProxyProcess::hostName());
    const Run result = run({"status", "--server", server.toString(), "--proxy",
                            credentials + QString("127.0.0.1:%1").arg(proxy.port())});
    QCOMPARE(result.status, status);
    if (status != 0)
        QVERIFY2(result.err.contains("Proxy requires authentication"), qPrintable(result.err));
}

QTEST_GUILESS_MAIN(TestKorwindUpdate)
#include "tst_korwindupdate.moc"
