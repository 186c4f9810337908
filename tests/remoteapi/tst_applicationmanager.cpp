#include "applicationmanager.h"
#include "cabinetfile.h"
#include "cedevicefixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray fileContent(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

// Every file below the folder, by its path relative to it.
QStringList filesBelow(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(folder).relativeFilePath(it.next()));
    files.sort();
    return files;
}

QByteArray description(const QString &cabs)
{
    return "[CEAppManager]\r\nVersion =1.0\r\n\r\nComponent =UpdateApplication\r\n\r\n\r\n[UpdateApplication]\r\n\r\n"
           "Description =UpdateApplication\r\n\r\nCabFiles ="
           + cabs.toUtf8() + "\r\n";
}

const QByteArray navigatorSetup =
    "<setup application=\"DRQ Korwind Navigator\" folder=\"\\Program files\\DRQ\\Korwind Navigator\">"
    "<file name=\"Korwind.exe\" source=\"korwind.001\"/>"
    "<file name=\"readme.txt\" folder=\"\\Storage Card\\Korwind\"/>"
    "<registry key=\"\\Software\\Apps\\DRQ Korwind Navigator\" name=\"InstallDir\" "
    "value=\"\\Program files\\DRQ\\Korwind Navigator\"/></setup>";

} // namespace

// The emulated application manager: the description file the update center writes, the real pxr.cab with
// its setup hooks, and cabs it must refuse whole.
class TestApplicationManager : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void installsTheModuleCab();
    void installsFilesAndRegistryValues();
    void refusesWhatItCannotInstallWhole_data();
    void refusesWhatItCannotInstallWhole();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<CeDeviceFixture> m_device;
};

void TestApplicationManager::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    m_device = std::make_unique<CeDeviceFixture>(m_folder->filePath("device"));
    qputenv("VKT_CE_DEVICE", QFile::encodeName(m_device->folder()));
}

void TestApplicationManager::installsTheModuleCab()
{
    // The description names the cab relative to itself, in upper case, as the update center writes it.
    const QString cab = m_folder->filePath("Cabs/pxr.cab");
    QVERIFY(QDir().mkpath(m_folder->filePath("Cabs")));
    QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + "/pxr.cab", cab));
    const QString ini = m_folder->filePath("downloads/ApplicationUpdate.ini");
    QVERIFY(writeFile(ini, description("..\\CABS\\PXR.CAB")));

    QString error;
    QVERIFY2(ApplicationManager(m_device->folder()).installDescription(ini, error), qPrintable(error));
    CabinetFile::Entries entries;
    QVERIFY2(CabinetFile::read(cab, entries, error), qPrintable(error));
    QVERIFY(CabinetFile::find(entries, "pxr.dll"));
    QCOMPARE(fileContent(m_device->hostPath("\\Program files\\DRQ\\KorwindUpdaterModule\\pxr.dll")),
             *CabinetFile::find(entries, "pxr.dll"));
    QVERIFY(fileContent(m_device->folder() + "/registry.txt")
                .contains("[HKEY_LOCAL_MACHINE\\Software\\Apps\\DRQ KorwindUpdaterModule]\n"
                          "InstlDir=\\Program files\\DRQ\\KorwindUpdaterModule\n"));
    const QString grant = QStringDecoder(QStringDecoder::Utf16LE)(fileContent(m_device->folder() + "/configuration/0001.xml"));
    QVERIFY2(grant.contains("type=\"RAPI\\Program Files\\DRQ\\KorwindUpdaterModule\\pxr.dll\\*\""), qPrintable(grant));
}

void TestApplicationManager::installsFilesAndRegistryValues()
{
    QVERIFY(m_device->setRegistryText("\\Software\\Other", "Kept", "yes"));
    QString error;
    QVERIFY(CabinetFile::write(m_folder->filePath("nav.cab"),
                               {{"_setup.xml", navigatorSetup}, {"korwind.001", "exe"}, {"readme.txt", "read me"}},
                               error));
    QVERIFY2(ApplicationManager(m_device->folder()).installCab(m_folder->filePath("nav.cab"), error), qPrintable(error));
    QCOMPARE(fileContent(m_device->hostPath("\\Program files\\DRQ\\Korwind Navigator\\Korwind.exe")), QByteArray("exe"));
    QCOMPARE(fileContent(m_device->hostPath("\\Storage Card\\Korwind\\readme.txt")), QByteArray("read me"));
    const QByteArray registry = fileContent(m_device->folder() + "/registry.txt");
    QVERIFY(registry.contains("Kept=yes"));
    QVERIFY(registry.contains("InstallDir=\\Program files\\DRQ\\Korwind Navigator"));
    QVERIFY(registry.contains("InstlDir=\\Program files\\DRQ\\Korwind Navigator"));
}

void TestApplicationManager::refusesWhatItCannotInstallWhole_data()
{
    QTest::addColumn<QByteArray>("setup"); // empty: no _setup.xml in the cab
    QTest::addColumn<bool>("withHooks");   // the real module as the setup library
    QTest::addColumn<bool>("refuseGrant");
    QTest::newRow("file name that climbs") << QByteArray(navigatorSetup).replace("readme.txt\" folder", "..\\readme.txt\" folder")
                                           << false << false;
    QTest::newRow("folder that is not a device path")
        << QByteArray(navigatorSetup).replace("folder=\"\\Storage Card\\Korwind\"", "folder=\"Storage Card\"") << false << false;
    QTest::newRow("file not in the cab") << QByteArray(navigatorSetup).replace("korwind.001", "korwind.002") << false << false;
    QTest::newRow("no setup description") << QByteArray() << false << false;
    QTest::newRow("damaged setup description") << navigatorSetup.left(120) << false << false;
    QTest::newRow("setup hooks cancel") << QByteArray(navigatorSetup).replace("<setup ", "<setup hooks=\"pxr.dll\" ")
                                        << true << true;
}

void TestApplicationManager::refusesWhatItCannotInstallWhole()
{
    QFETCH(QByteArray, setup);
    QFETCH(bool, withHooks);
    QFETCH(bool, refuseGrant);
    CabinetFile::Entries entries = {{"korwind.001", "exe"}, {"readme.txt", "read me"}};
    if (!setup.isEmpty())
        entries.append({"_setup.xml", setup});
    if (withHooks)
        entries.append({"pxr.dll", fileContent(PXR_LIBRARY)});
    if (refuseGrant)
        QVERIFY(writeFile(m_device->folder() + "/configuration-fails", QByteArray()));
    QString error;
    QVERIFY(CabinetFile::write(m_folder->filePath("nav.cab"), entries, error));
    QVERIFY(!ApplicationManager(m_device->folder()).installCab(m_folder->filePath("nav.cab"), error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(filesBelow(m_device->folder() + "/files"), QStringList());
    QVERIFY(!QFileInfo::exists(m_device->folder() + "/registry.txt"));
}

QTEST_GUILESS_MAIN(TestApplicationManager)
#include "tst_applicationmanager.moc"
