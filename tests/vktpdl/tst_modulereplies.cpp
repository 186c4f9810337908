#include "deviceerror.h"
#include "emulateddevice.h"
#include "hostceplatform.h"
#include "modulereplies.h"
#include "navigatorinfo.h"
#include "pefixture.h"
#include "remotecalls.h"

#include <QCryptographicHash>
#include <QtEndian>
#include <QTest>

#include <cstdlib>

using namespace vktpdl;

namespace {

using Call = std::int32_t (RemoteCalls::*)(std::uint32_t *, unsigned char **);

// What the module's host build answers on the device.
QByteArray moduleReply(const EmulatedDevice &device, Call call)
{
    HostCePlatform platform(device.folder());
    RemoteCalls calls(platform);
    std::uint32_t size = 0;
    unsigned char *output = nullptr;
    (calls.*call)(&size, &output);
    const QByteArray reply(reinterpret_cast<const char *>(output), qsizetype(size));
    std::free(output);
    return reply;
}

QByteArray executable(quint16 major, quint16 minor, quint16 build, quint16 revision)
{
    PeFixture fixture;
    fixture.fileVersion[0] = major;
    fixture.fileVersion[1] = minor;
    fixture.fileVersion[2] = build;
    fixture.fileVersion[3] = revision;
    const std::vector<unsigned char> bytes = writePeFixture(fixture);
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

QByteArray sha1(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

// A found-navigator reply: status 0, the parts, the counted folder, the digest.
QByteArray navigatorReply(const QByteArray &parts, const QByteArray &folder, const QByteArray &digest)
{
    QByteArray count(4, '\0');
    qToLittleEndian(quint32(folder.size()), count.data());
    return QByteArray(2, '\0') + parts + count + folder + digest;
}

const QByteArray digest = sha1("navigator");
const QByteArray parts = QByteArray::fromHex("0500020003000400");

} // namespace

// The replies of the device-side module read byte for byte: replies that its host build gives on emulated
// devices, and forged ones named after their defect.
class TestModuleReplies : public QObject
{
    Q_OBJECT

private slots:
    void readsTheVersion_data();
    void readsTheVersion();
    void readsRoots_data();
    void readsRoots();
    void readsTheNavigator_data();
    void readsTheNavigator();
};

void TestModuleReplies::readsTheVersion_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("result");
    QTest::addColumn<quint32>("version");
    QTest::newRow("module") << moduleReply(EmulatedDevice(), &RemoteCalls::getPXRVersion) << 0 << 1u;
    QTest::newRow("version 2") << QByteArray::fromHex("02000000") << 0 << 2u;
    QTest::newRow("three bytes") << QByteArray::fromHex("010000") << 6 << 0u;
    QTest::newRow("empty") << QByteArray() << 6 << 0u;
}

void TestModuleReplies::readsTheVersion()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, result);
    QFETCH(quint32, version);
    quint32 read = 0;
    QCOMPARE(ModuleReplies::readModuleVersion(reply, read), result);
    QCOMPARE(read, version);
}

void TestModuleReplies::readsRoots_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("roots");

    EmulatedDevice noCard;
    QTest::newRow("module: no card") << moduleReply(noCard, &RemoteCalls::getRootInfo) << 0 << QStringList();
    EmulatedDevice twoCards;
    for (const QString &card : {QStringLiteral("Storage Card"), QStringLiteral("Карта памяти")}) {
        twoCards.addStorageCard(card);
        twoCards.addFile(QLatin1Char('\\') + card + QStringLiteral("\\file"), "x");
    }
    QTest::newRow("module: two cards, one not ASCII")
        << moduleReply(twoCards, &RemoteCalls::getRootInfo) << 0
        << QStringList({QStringLiteral("\\Storage Card"), QStringLiteral("\\Карта памяти")});

    QTest::newRow("two names and a further NUL")
        << QByteArray::fromHex("000009000000") + QByteArray("\\A\0\\B\0\0\0\0", 9) << 0 << QStringList({"\\A", "\\B"});
    QTest::newRow("count beyond the reply") << QByteArray::fromHex("000009000000") + QByteArray("\\A\0", 3) << 6
                                            << QStringList();
    QTest::newRow("shorter than the header") << QByteArray::fromHex("0000000000") << 6 << QStringList();
    QTest::newRow("status 1") << QByteArray::fromHex("010000000000") << 6 << QStringList();
}

void TestModuleReplies::readsRoots()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, result);
    QFETCH(QStringList, roots);
    QStringList read;
    QCOMPARE(ModuleReplies::readRoots(reply, read), result);
    QCOMPARE(read, roots);
}

void TestModuleReplies::readsTheNavigator_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QByteArray>("identifier");

    EmulatedDevice device;
    const QString folder = QStringLiteral("\\Storage Card\\Навигатор");
    const QByteArray navigator = executable(5, 2, 3, 4);
    device.addStorageCard(QStringLiteral("Storage Card"));
    device.addFile(folder + QStringLiteral("\\Korwind.exe"), navigator);
    device.setRegistryText(QStringLiteral("\\Software\\Apps\\DRQ Korwind Navigator"), QStringLiteral("InstallDir"), folder);
    QTest::newRow("module: navigator in a folder not in ASCII")
        << moduleReply(device, &RemoteCalls::getVersionInfo) << 0 << "5.2.3.4" << folder << sha1(navigator);
    QTest::newRow("module: no navigator")
        << moduleReply(EmulatedDevice(), &RemoteCalls::getVersionInfo) << 8 << "0.0.0.0" << QString() << QByteArray();

    QTest::newRow("upper-case digest") << navigatorReply(parts, QByteArray("\\N\0", 3), digest.toUpper()) << 0
                                       << "5.2.3.4" << "\\N" << digest;
    QTest::newRow("folder without its NUL") << navigatorReply(parts, "\\N", digest) << 0 << "5.2.3.4" << "\\N" << digest;
    QTest::newRow("empty reply") << QByteArray() << 8 << "0.0.0.0" << QString() << QByteArray();
    QTest::newRow("status 1 with a whole reply") << QByteArray::fromHex("0100") + navigatorReply(parts, "\\N", digest).mid(2)
                                                 << 8 << "0.0.0.0" << QString() << QByteArray();
    QTest::newRow("header only") << navigatorReply(parts, QByteArray(), QByteArray()) << 8 << "0.0.0.0" << QString()
                                 << QByteArray();
    QTest::newRow("digest one digit short") << navigatorReply(parts, "\\N", digest.left(39)) << 8 << "0.0.0.0"
                                            << QString() << QByteArray();
    QTest::newRow("digest not hexadecimal") << navigatorReply(parts, "\\N", QByteArray(40, 'g')) << 8 << "0.0.0.0"
                                            << QString() << QByteArray();
    QTest::newRow("length beyond the reply") << navigatorReply(parts, "\\N", digest).replace(10, 4, "\xff\xff\xff\xff")
                                             << 8 << "0.0.0.0" << QString() << QByteArray();
}

void TestModuleReplies::readsTheNavigator()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, result);
    QFETCH(QString, version);
    QFETCH(QString, folder);
    QFETCH(QByteArray, identifier);
    NavigatorInfo info;
    QCOMPARE(ModuleReplies::readNavigator(reply, info), result);
    QCOMPARE(info.version.toString(), version);
    QCOMPARE(info.folder, folder);
    QCOMPARE(info.identifier, identifier);
}

QTEST_APPLESS_MAIN(TestModuleReplies)
#include "tst_modulereplies.moc"
