#include "deviceprobe.h"
#include "emulateddevice.h"
#include "hostceplatform.h"

#include <QTest>

#include <functional>

using Setup = std::function<void(EmulatedDevice &)>;
Q_DECLARE_METATYPE(Setup)

namespace {

const QString DEFAULT_FOLDER = QStringLiteral("\\Program files\\DRQ\\Korwind Navigator");
const QString NAVIGATOR_KEY = QStringLiteral("\\Software\\Apps\\DRQ Korwind Navigator");
const QString EXE = QStringLiteral("\\Korwind.exe");

void addNavigator(EmulatedDevice &device, const QString &folder)
{
    device.addFile(folder + EXE, "navigator");
}

void setInstallDir(EmulatedDevice &device, const QString &folder)
{
    device.setRegistryText(NAVIGATOR_KEY, QStringLiteral("InstallDir"), folder);
}

} // namespace

class TestDeviceProbe : public QObject
{
    Q_OBJECT

private slots:
    void findsNavigator_data();
    void findsNavigator();
};

void TestDeviceProbe::findsNavigator_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QString>("expected"); // empty: not found

    QTest::newRow("nothing anywhere") << Setup([](EmulatedDevice &d) { d.addFolder(DEFAULT_FOLDER); }) << QString();
    QTest::newRow("recorded folder before the default") << Setup([](EmulatedDevice &d) {
        setInstallDir(d, QStringLiteral("\\Storage Card\\Nav"));
        addNavigator(d, QStringLiteral("\\Storage Card\\Nav"));
        addNavigator(d, DEFAULT_FOLDER);
    }) << QStringLiteral("\\Storage Card\\Nav\\Korwind.exe");
    QTest::newRow("recorded folder without it: the default folder") << Setup([](EmulatedDevice &d) {
        setInstallDir(d, QStringLiteral("\\Storage Card\\Nav"));
        d.addFile(QStringLiteral("\\Storage Card\\Nav\\Other.exe"), "x");
        addNavigator(d, DEFAULT_FOLDER);
    }) << DEFAULT_FOLDER + EXE;
    QTest::newRow("recorded folder without it, no default: the cards in order") << Setup([](EmulatedDevice &d) {
        setInstallDir(d, QStringLiteral("\\Storage Card\\Nav"));
        d.addFolder(QStringLiteral("\\Storage Card\\Nav"));
        d.addStorageCard(QStringLiteral("A Card"));
        d.addFile(QStringLiteral("\\A Card\\readme.txt"), "x");
        d.addStorageCard(QStringLiteral("B Card"));
        addNavigator(d, QStringLiteral("\\B Card") + DEFAULT_FOLDER);
        d.addStorageCard(QStringLiteral("C Card"));
        addNavigator(d, QStringLiteral("\\C Card") + DEFAULT_FOLDER);
    }) << QStringLiteral("\\B Card") + DEFAULT_FOLDER + EXE;
    QTest::newRow("a folder that is not a card is not searched") << Setup([](EmulatedDevice &d) {
        addNavigator(d, QStringLiteral("\\Backup") + DEFAULT_FOLDER);
    }) << QString();
    QTest::newRow("key without the value") << Setup([](EmulatedDevice &d) {
        d.setRegistryText(NAVIGATOR_KEY, QStringLiteral("Version"), QStringLiteral("1"));
        addNavigator(d, DEFAULT_FOLDER);
    }) << DEFAULT_FOLDER + EXE;
    QTest::newRow("value longer than its buffer is ignored") << Setup([](EmulatedDevice &d) {
        const QString longFolder = QStringLiteral("\\Storage Card\\") + QString(260, QLatin1Char('n'));
        setInstallDir(d, longFolder);
        addNavigator(d, DEFAULT_FOLDER);
    }) << DEFAULT_FOLDER + EXE;
    QTest::newRow("value with a trailing backslash") << Setup([](EmulatedDevice &d) {
        setInstallDir(d, QStringLiteral("\\Storage Card\\Nav\\"));
        addNavigator(d, QStringLiteral("\\Storage Card\\Nav"));
    }) << QStringLiteral("\\Storage Card\\Nav\\Korwind.exe");
    QTest::newRow("sub-folder copy wins over the folder's own") << Setup([](EmulatedDevice &d) {
        addNavigator(d, DEFAULT_FOLDER);
        addNavigator(d, DEFAULT_FOLDER + QStringLiteral("\\Old\\Deeper"));
    }) << DEFAULT_FOLDER + QStringLiteral("\\Old\\Deeper") + EXE;
    QTest::newRow("first branch listed wins") << Setup([](EmulatedDevice &d) {
        addNavigator(d, DEFAULT_FOLDER + QStringLiteral("\\b"));
        addNavigator(d, DEFAULT_FOLDER + QStringLiteral("\\a\\x"));
        addNavigator(d, DEFAULT_FOLDER + QStringLiteral("\\a"));
    }) << DEFAULT_FOLDER + QStringLiteral("\\a\\x") + EXE;
    QTest::newRow("hidden sub-folder is not searched") << Setup([](EmulatedDevice &d) {
        addNavigator(d, DEFAULT_FOLDER);
        addNavigator(d, DEFAULT_FOLDER + QStringLiteral("\\Hidden"));
        d.setAttributes(DEFAULT_FOLDER + QStringLiteral("\\Hidden"), QStringLiteral("2"));
    }) << DEFAULT_FOLDER + EXE;
    QTest::newRow("read-only sub-folder is not searched") << Setup([](EmulatedDevice &d) {
        addNavigator(d, DEFAULT_FOLDER);
        addNavigator(d, DEFAULT_FOLDER + QStringLiteral("\\Locked"));
        d.setAttributes(DEFAULT_FOLDER + QStringLiteral("\\Locked"), QStringLiteral("1"));
    }) << DEFAULT_FOLDER + EXE;
    QTest::newRow("name matched without regard to case") << Setup([](EmulatedDevice &d) {
        d.addFile(DEFAULT_FOLDER + QStringLiteral("\\KORWIND.EXE"), "x");
    }) << DEFAULT_FOLDER + QStringLiteral("\\KORWIND.EXE");
    QTest::newRow("loop through a link ends") << Setup([](EmulatedDevice &d) {
        addNavigator(d, DEFAULT_FOLDER);
        d.addLink(DEFAULT_FOLDER + QStringLiteral("\\Loop"), d.hostPath(DEFAULT_FOLDER));
    }) << DEFAULT_FOLDER + EXE;
    QTest::newRow("deeper than a device path can be") << Setup([](EmulatedDevice &d) {
        QString folder = DEFAULT_FOLDER;
        while (folder.size() < 300)
            folder += QStringLiteral("\\deep");
        addNavigator(d, folder);
    }) << QString();
}

void TestDeviceProbe::findsNavigator()
{
    QFETCH(Setup, setup);
    QFETCH(QString, expected);
    EmulatedDevice device;
    setup(device);
    HostCePlatform platform(device.folder());
    std::u16string path;
    const bool found = DeviceProbe(platform).findNavigator(path);
    QCOMPARE(found, !expected.isEmpty());
    QCOMPARE(QString::fromStdU16String(path), expected);
}

QTEST_APPLESS_MAIN(TestDeviceProbe)
#include "tst_deviceprobe.moc"
