#include "cedevicefixture.h"
#include "emulatedremoteapi.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray fileContent(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The emulator over a fresh device folder, connected.
struct Connected
{
    Connected() : fixture(folder.filePath("device")), api(fixture.folder())
    {
        qputenv("VKT_CE_DEVICE", QFile::encodeName(fixture.folder()));
        qint32 result = REMOTE_FAILED;
        connected = api.startInit() == REMOTE_OK && api.waitForInit(100, result) == IW_SIGNALLED && result == REMOTE_OK;
    }

    QTemporaryDir folder;
    CeDeviceFixture fixture;
    EmulatedRemoteApi api;
    bool connected = false;
};

} // namespace

// The emulated remote API itself: how it resolves device paths, what its calls report, its registries, its
// connection and its calls into device libraries.
class TestEmulatedRemoteApi : public QObject
{
    Q_OBJECT

private slots:
    void connectsAsConfigured_data();
    void connectsAsConfigured();
    void resolvesPathsLikeTheDevice();
    void neverPassesThroughLinks();
    void reportsWhyFileCallsFail();
    void readsRegistries_data();
    void readsRegistries();
    void invokesDeviceLibraries();
};

void TestEmulatedRemoteApi::connectsAsConfigured_data()
{
    QTest::addColumn<QString>("init");
    QTest::addColumn<bool>("started");
    QTest::addColumn<int>("wait");
    QTest::addColumn<bool>("connected");
    QTest::newRow("answers") << "answers" << true << int(IW_SIGNALLED) << true;
    QTest::newRow("fails") << "fails" << true << int(IW_SIGNALLED) << false;
    QTest::newRow("never") << "never" << true << int(IW_TIMED_OUT) << false;
    QTest::newRow("refused") << "refused" << false << int(IW_FAILED) << false;
}

void TestEmulatedRemoteApi::connectsAsConfigured()
{
    QFETCH(QString, init);
    QFETCH(bool, started);
    QFETCH(int, wait);
    QFETCH(bool, connected);
    QTemporaryDir folder;
    CeDeviceFixture fixture(folder.path());
    QVERIFY(fixture.setConnection("init", init));
    QVERIFY(fixture.addFile("\\a", "a"));
    EmulatedRemoteApi api(fixture.folder());
    QCOMPARE(api.fileAttributes("\\a"), REMOTE_INVALID);
    QCOMPARE(api.lastError(), quint32(RE_NOT_READY));
    QCOMPARE(api.startInit() >= 0, started);
    qint32 result = 0;
    QCOMPARE(int(api.waitForInit(20, result)), wait);
    QCOMPARE(api.isConnected(), connected);
    QCOMPARE(api.fileAttributes("\\a") == quint32(RF_ARCHIVE), connected);
    api.uninit();
    QVERIFY(!api.isConnected());
}

void TestEmulatedRemoteApi::resolvesPathsLikeTheDevice()
{
    Connected device;
    QVERIFY(device.connected);
    QVERIFY(device.fixture.addFile("\\Storage Card\\Maps\\Base.NM3", "base"));
    QVERIFY(device.fixture.setAttributes("\\storage card", "100"));
    QVERIFY(device.fixture.setAttributes("\\Storage Card\\Maps\\Base.NM3", "21"));
    EmulatedRemoteApi &api = device.api;

    QCOMPARE(api.fileAttributes("\\STORAGE CARD\\maps\\base.nm3"), quint32(RF_READONLY | RF_ARCHIVE));
    QCOMPARE(api.fileAttributes("\\Storage Card"), quint32(RF_DIRECTORY | RF_TEMPORARY));
    QCOMPARE(api.fileAttributes("\\"), quint32(RF_DIRECTORY));
    RemoteFindData data;
    const RemoteApi::Handle search = api.findFirstFile("\\storage card\\MAPS\\*.nm3", data);
    QVERIFY(search != RemoteApi::INVALID_HANDLE);
    QCOMPARE(data.name, QString("Base.NM3"));
    QCOMPARE(data.size, quint64(4));
    QVERIFY(!api.findNextFile(search, data));
    QCOMPARE(api.lastError(), quint32(RE_NO_MORE_FILES));
    QVERIFY(api.findClose(search));

    const QList<QPair<QString, quint32>> refused = {
        {"\\Storage Card\\..\\..\\outside", RE_INVALID_NAME},
        {"\\Storage Card\\.\\Maps", RE_INVALID_NAME},
        {"\\Storage Card/Maps", RE_INVALID_NAME},
        {"Storage Card\\Maps", RE_PATH_NOT_FOUND},
        {"\\Missing\\Base.NM3", RE_PATH_NOT_FOUND},
        {"\\Storage Card\\Maps\\Missing.NM3", RE_FILE_NOT_FOUND},
        {"\\" + QString(259, QLatin1Char('a')), RE_NAME_TOO_LONG}};
    for (const auto &[path, error] : refused) {
        QCOMPARE(api.fileAttributes(path), REMOTE_INVALID);
        QCOMPARE(api.lastError(), error);
    }
    QCOMPARE(api.findFirstFile("\\Storage Card\\*.zip", data), RemoteApi::INVALID_HANDLE);
    QCOMPARE(api.lastError(), quint32(RE_NO_MORE_FILES));
    QCOMPARE(api.findFirstFile("\\Missing\\*", data), RemoteApi::INVALID_HANDLE);
    QCOMPARE(api.lastError(), quint32(RE_PATH_NOT_FOUND));
}

void TestEmulatedRemoteApi::neverPassesThroughLinks()
{
    Connected device;
    QTemporaryDir outside;
    QVERIFY(QFile::link(outside.path(), device.fixture.hostPath("\\Card")));
    QVERIFY(device.fixture.addFolder("\\Files"));
    QVERIFY(QFile::link(outside.filePath("secret"), device.fixture.hostPath("\\Files\\secret")));
    QFile secret(outside.filePath("secret"));
    QVERIFY(secret.open(QIODevice::WriteOnly) && secret.write("secret") == 6);
    secret.close();
    EmulatedRemoteApi &api = device.api;

    QCOMPARE(api.fileAttributes("\\Files\\secret"), quint32(RF_ARCHIVE | RF_REPARSE_POINT));
    QCOMPARE(api.fileAttributes("\\Card"), quint32(RF_ARCHIVE | RF_REPARSE_POINT));
    QCOMPARE(api.createFile("\\Files\\secret", RA_READ, 0, RC_OPEN_EXISTING, RF_NORMAL), RemoteApi::INVALID_HANDLE);
    QCOMPARE(api.lastError(), quint32(RE_ACCESS_DENIED));
    QCOMPARE(api.createFile("\\Files\\secret", RA_WRITE, 0, RC_CREATE_ALWAYS, RF_NORMAL), RemoteApi::INVALID_HANDLE);
    QCOMPARE(api.createFile("\\Card\\new", RA_WRITE, 0, RC_CREATE_ALWAYS, RF_NORMAL), RemoteApi::INVALID_HANDLE);
    QCOMPARE(api.lastError(), quint32(RE_ACCESS_DENIED));
    QVERIFY(!api.createDirectory("\\Card\\New"));
    RemoteFindData data;
    QCOMPARE(api.findFirstFile("\\Card\\*", data), RemoteApi::INVALID_HANDLE);
    QCOMPARE(api.lastError(), quint32(RE_ACCESS_DENIED));
    QVERIFY(api.deleteFile("\\Files\\secret"));
    QCOMPARE(fileContent(outside.filePath("secret")), QByteArray("secret"));
    QCOMPARE(QDir(outside.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"secret"});
}

void TestEmulatedRemoteApi::reportsWhyFileCallsFail()
{
    Connected device;
    QVERIFY(device.fixture.addFile("\\Folder\\file", "0123456789"));
    QVERIFY(device.fixture.addFile("\\locked", "x"));
    QVERIFY(device.fixture.setAttributes("\\locked", "1"));
    EmulatedRemoteApi &api = device.api;

    QVERIFY(!api.createDirectory("\\Folder"));
    QCOMPARE(api.lastError(), quint32(RE_ALREADY_EXISTS));
    QVERIFY(!api.createDirectory("\\Missing\\Folder"));
    QCOMPARE(api.lastError(), quint32(RE_PATH_NOT_FOUND));
    QVERIFY(!api.removeDirectory("\\Folder"));
    QCOMPARE(api.lastError(), quint32(RE_DIRECTORY_NOT_EMPTY));
    QVERIFY(!api.removeDirectory("\\Folder\\file"));
    QCOMPARE(api.lastError(), quint32(RE_NOT_A_DIRECTORY));
    QVERIFY(!api.deleteFile("\\Folder"));
    QCOMPARE(api.lastError(), quint32(RE_ACCESS_DENIED));
    QCOMPARE(api.createFile("\\Folder\\file", RA_WRITE, 0, RC_CREATE_NEW, RF_NORMAL), RemoteApi::INVALID_HANDLE);
    QCOMPARE(api.lastError(), quint32(RE_FILE_EXISTS));
    QCOMPARE(api.createFile("\\locked", RA_WRITE, 0, RC_OPEN_EXISTING, RF_NORMAL), RemoteApi::INVALID_HANDLE);
    QCOMPARE(api.lastError(), quint32(RE_ACCESS_DENIED));

    const RemoteApi::Handle file = api.createFile("\\Folder\\file", RA_READ, 0, RC_OPEN_EXISTING, RF_NORMAL);
    QVERIFY(file != RemoteApi::INVALID_HANDLE);
    quint32 done = 0;
    QVERIFY(!api.writeFile(file, "ab", 2, done));
    QCOMPARE(api.lastError(), quint32(RE_ACCESS_DENIED));
    QCOMPARE(api.setFilePointer(file, -3, RM_END), 7u);
    char buffer[8] = {};
    QVERIFY(api.readFile(file, buffer, 8, done));
    QCOMPARE(QByteArray(buffer, int(done)), QByteArray("789"));
    QCOMPARE(api.setFilePointer(file, -1, RM_BEGIN), REMOTE_INVALID);
    QCOMPARE(api.fileSize(file), 10u);
    QVERIFY(api.closeHandle(file));
    QVERIFY(!api.closeHandle(file));
    QCOMPARE(api.lastError(), quint32(RE_INVALID_HANDLE));

    // The device's move never replaces.
    QVERIFY(!api.moveFile("\\Folder\\file", "\\LOCKED"));
    QCOMPARE(api.lastError(), quint32(RE_ALREADY_EXISTS));
    QVERIFY(!api.moveFile("\\Folder\\missing", "\\new"));
    QCOMPARE(api.lastError(), quint32(RE_FILE_NOT_FOUND));
    QVERIFY(api.moveFile("\\folder\\FILE", "\\moved"));
    QCOMPARE(fileContent(device.fixture.hostPath("\\moved")), QByteArray("0123456789"));
    QCOMPARE(fileContent(device.fixture.hostPath("\\locked")), QByteArray("x"));
}

void TestEmulatedRemoteApi::readsRegistries_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<quint32>("bufferSize");
    QTest::addColumn<quint32>("result");
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("text") << "\\Program files" << 520u << quint32(RE_SUCCESS) << quint32(RT_TEXT)
                          << QByteArray("\\\0P\0r\0o\0g\0r\0a\0m\0 \0f\0i\0l\0e\0s\0\0\0", 30);
    QTest::newRow("number") << "dword:0000000a" << 4u << quint32(RE_SUCCESS) << quint32(RT_NUMBER)
                            << QByteArray("\x0a\0\0\0", 4);
    QTest::newRow("too long for the buffer") << QString(260, QLatin1Char('x')) << 520u << quint32(RE_MORE_DATA) << 0u
                                             << QByteArray();
    QTest::newRow("not hexadecimal: a text") << "dword:xyz" << 520u << quint32(RE_SUCCESS) << quint32(RT_TEXT)
                                             << QByteArray("d\0w\0o\0r\0d\0:\0x\0y\0z\0\0\0", 20);
}

void TestEmulatedRemoteApi::readsRegistries()
{
    QFETCH(QString, written);
    QFETCH(quint32, bufferSize);
    QFETCH(quint32, result);
    QFETCH(quint32, type);
    QFETCH(QByteArray, data);
    Connected device;
    QVERIFY(device.fixture.setRegistryText("\\Software\\Apps\\Test", "Value", written));
    QVERIFY(device.fixture.setDesktopValue("Software\\Apps\\Test", "@", written));
    RegistryValue value;
    QCOMPARE(device.api.deviceRegistryValue("software\\apps\\test\\", "value", bufferSize, value), result);
    QCOMPARE(value.type, type);
    QCOMPARE(value.data, data);
    value = RegistryValue();
    QCOMPARE(device.api.desktopRegistryValue("\\Software\\Apps\\Test", QString(), bufferSize, value), result);
    QCOMPARE(value.data, data);
    QCOMPARE(device.api.deviceRegistryValue("Software\\Apps\\Test", "Other", bufferSize, value),
             quint32(RE_FILE_NOT_FOUND));
    QCOMPARE(device.api.openDeviceRegistryKey("SOFTWARE\\Apps\\Test"), quint32(RE_SUCCESS));
    QCOMPARE(device.api.openDeviceRegistryKey("Software\\Apps"), quint32(RE_FILE_NOT_FOUND));
}

void TestEmulatedRemoteApi::invokesDeviceLibraries()
{
    Connected device;
    QFile module(PXR_LIBRARY);
    QVERIFY(module.open(QIODevice::ReadOnly));
    QVERIFY(device.fixture.addFile("\\Windows\\pxr.dll", module.readAll()));
    EmulatedRemoteApi &api = device.api;
    quint32 size = 0;
    unsigned char *output = nullptr;

    QCOMPARE(api.invoke("\\windows\\PXR.DLL", "getPXRVersion", QByteArray(), size, output), 1);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(output), int(size)), QByteArray::fromHex("01000000"));
    api.freeReply(output);
    QCOMPARE(api.invoke("\\Windows\\pxr.dll", "noSuchCall", QByteArray(), size, output), qint32(0x8007007F));
    QCOMPARE(api.invoke("\\Windows\\other.dll", "getPXRVersion", QByteArray(), size, output), qint32(0x8007007E));
    QVERIFY(!output && size == 0);
    // The module would work on another device than this one.
    qputenv("VKT_CE_DEVICE", "/elsewhere");
    QCOMPARE(api.invoke("\\Windows\\pxr.dll", "getPXRVersion", QByteArray(), size, output), REMOTE_FAILED);
}

QTEST_GUILESS_MAIN(TestEmulatedRemoteApi)
#include "tst_emulatedremoteapi.moc"
