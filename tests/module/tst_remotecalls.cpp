#include "emulateddevice.h"
#include "hostceplatform.h"
#include "pefixture.h"
#include "remotecalls.h"

#include <QCryptographicHash>
#include <QTest>
#include <QtEndian>

#include <functional>

using Setup = std::function<void(EmulatedDevice &)>;
using Call = std::int32_t (RemoteCalls::*)(std::uint32_t *, unsigned char **);
Q_DECLARE_METATYPE(Setup)

namespace {

const QString DEFAULT_FOLDER = QStringLiteral("\\Program files\\DRQ\\Korwind Navigator");
const QString NAVIGATOR_KEY = QStringLiteral("\\Software\\Apps\\DRQ Korwind Navigator");

QByteArray navigatorExecutable(std::uint16_t major, std::uint16_t minor, std::uint16_t build, std::uint16_t revision)
{
    PeFixture fixture;
    fixture.fileVersion[0] = major;
    fixture.fileVersion[1] = minor;
    fixture.fileVersion[2] = build;
    fixture.fileVersion[3] = revision;
    fixture.internalName = u"korwind";
    const std::vector<unsigned char> bytes = writePeFixture(fixture);
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

QByteArray le16(quint16 value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray le32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// The found-navigator reply, written out from its layout.
QByteArray foundReply(const quint16 parts[4], const QString &folder, const QByteArray &executable)
{
    const QByteArray folderBytes = folder.toUtf8() + '\0';
    QByteArray reply = le16(0);
    for (int i = 0; i < 4; ++i)
        reply += le16(parts[i]);
    return reply + le32(quint32(folderBytes.size())) + folderBytes
        + QCryptographicHash::hash(executable, QCryptographicHash::Sha1).toHex();
}

// Runs one remote call and returns its reply, freed again through the platform's heap.
QByteArray call(EmulatedDevice &device, Call member, std::int32_t &result)
{
    HostCePlatform platform(device.folder());
    RemoteCalls calls(platform);
    std::uint32_t size = 0xDEAD;
    unsigned char *output = reinterpret_cast<unsigned char *>(&size);
    result = (calls.*member)(&size, &output);
    if (size == 0)
        return output ? QByteArray("buffer without bytes") : QByteArray();
    const QByteArray reply(reinterpret_cast<const char *>(output), qsizetype(size));
    platform.localFree(output);
    return reply;
}

} // namespace

class TestRemoteCalls : public QObject
{
    Q_OBJECT

private slots:
    void moduleVersion();
    void rootInfo_data();
    void rootInfo();
    void versionInfo_data();
    void versionInfo();
    void unreadableNavigatorGivesNoReply_data();
    void unreadableNavigatorGivesNoReply();
    void missingOutputPointers();
};

void TestRemoteCalls::moduleVersion()
{
    EmulatedDevice device;
    std::int32_t result = 0;
    QCOMPARE(call(device, &RemoteCalls::getPXRVersion, result).toHex(), QByteArray("01000000"));
    QCOMPARE(result, 1);
}

void TestRemoteCalls::rootInfo_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("no card") << Setup([](EmulatedDevice &d) {
        d.addFile(QStringLiteral("\\Windows\\shell.exe"), "x");
        d.addFile(QStringLiteral("\\My Documents\\note.txt"), "x");
    }) << QByteArray::fromHex("000000000000");
    QTest::newRow("empty card left out") << Setup([](EmulatedDevice &d) {
        d.addStorageCard(QStringLiteral("Storage Card"));
    }) << QByteArray::fromHex("000000000000");
    QTest::newRow("two cards") << Setup([](EmulatedDevice &d) {
        d.addStorageCard(QStringLiteral("Storage Card"));
        d.addFile(QStringLiteral("\\Storage Card\\map.nm3"), "x");
        d.addStorageCard(QStringLiteral("SD Card"));
        d.addFolder(QStringLiteral("\\SD Card\\Empty folder"));
        d.addFile(QStringLiteral("\\Windows\\shell.exe"), "x");
    }) << QByteArray::fromHex("0000" "17000000") + QByteArray("\\SD Card\0\\Storage Card\0", 23);
    QTest::newRow("non-ASCII card, n counts bytes") << Setup([](EmulatedDevice &d) {
        d.addStorageCard(QStringLiteral("Карта"));
        d.addFile(QStringLiteral("\\Карта\\a"), "x");
    }) << QByteArray::fromHex("0000" "0c000000") + QByteArray("\\\xD0\x9A\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0\0", 12);
    QTest::newRow("hidden card is still a card") << Setup([](EmulatedDevice &d) {
        d.addFolder(QStringLiteral("\\Internal"));
        d.addFile(QStringLiteral("\\Internal\\a"), "x");
        d.setAttributes(QStringLiteral("\\Internal"), QStringLiteral("102"));
    }) << QByteArray::fromHex("0000" "0a000000") + QByteArray("\\Internal\0", 10);
}

void TestRemoteCalls::rootInfo()
{
    QFETCH(Setup, setup);
    QFETCH(QByteArray, expected);
    EmulatedDevice device;
    setup(device);
    std::int32_t result = 0;
    QCOMPARE(call(device, &RemoteCalls::getRootInfo, result).toHex(), expected.toHex());
    QCOMPARE(result, 1);
}

void TestRemoteCalls::versionInfo_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("no navigator") << Setup([](EmulatedDevice &d) {
        d.addFile(DEFAULT_FOLDER + QStringLiteral("\\Other.exe"), navigatorExecutable(1, 0, 0, 0));
    }) << QByteArray::fromHex("0100");

    const QByteArray executable = navigatorExecutable(3, 1, 65535, 7);
    const quint16 version[4] = {3, 1, 65535, 7};
    QTest::newRow("found in the default folder") << Setup([executable](EmulatedDevice &d) {
        d.addFile(DEFAULT_FOLDER + QStringLiteral("\\Korwind.exe"), executable);
    }) << foundReply(version, DEFAULT_FOLDER, executable);

    const QString cyrillic = QStringLiteral("\\Storage Card\\Навигатор");
    QTest::newRow("non-ASCII folder in UTF-8") << Setup([executable, cyrillic](EmulatedDevice &d) {
        d.setRegistryText(NAVIGATOR_KEY, QStringLiteral("InstallDir"), cyrillic);
        d.addFile(cyrillic + QStringLiteral("\\Korwind.exe"), executable);
    }) << foundReply(version, cyrillic, executable);

    const QByteArray notExecutable("not a program at all");
    const quint16 zeros[4] = {0, 0, 0, 0};
    QTest::newRow("no version resource gives 0.0.0.0") << Setup([notExecutable](EmulatedDevice &d) {
        d.addFile(DEFAULT_FOLDER + QStringLiteral("\\Korwind.exe"), notExecutable);
    }) << foundReply(zeros, DEFAULT_FOLDER, notExecutable);
}

void TestRemoteCalls::versionInfo()
{
    QFETCH(Setup, setup);
    QFETCH(QByteArray, expected);
    EmulatedDevice device;
    setup(device);
    std::int32_t result = 0;
    const QByteArray reply = call(device, &RemoteCalls::getVersionInfo, result);
    QCOMPARE(reply.toHex(), expected.toHex());
    QCOMPARE(result, 1);
}

void TestRemoteCalls::unreadableNavigatorGivesNoReply_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::newRow("link to nowhere") << Setup([](EmulatedDevice &d) {
        d.addLink(DEFAULT_FOLDER + QStringLiteral("\\Korwind.exe"), QStringLiteral("/nonexistent/Korwind.exe"));
    });
    QTest::newRow("a folder named like it") << Setup([](EmulatedDevice &d) {
        d.addFolder(DEFAULT_FOLDER + QStringLiteral("\\Korwind.exe"));
    });
}

void TestRemoteCalls::unreadableNavigatorGivesNoReply()
{
    QFETCH(Setup, setup);
    EmulatedDevice device;
    setup(device);
    std::int32_t result = 0;
    QCOMPARE(call(device, &RemoteCalls::getVersionInfo, result), QByteArray());
    QCOMPARE(result, 1);
}

void TestRemoteCalls::missingOutputPointers()
{
    EmulatedDevice device;
    HostCePlatform platform(device.folder());
    RemoteCalls calls(platform);
    std::uint32_t size = 0;
    QCOMPARE(calls.getRootInfo(nullptr, nullptr), 1);
    QCOMPARE(calls.getVersionInfo(&size, nullptr), 1);
}

QTEST_APPLESS_MAIN(TestRemoteCalls)
#include "tst_remotecalls.moc"
