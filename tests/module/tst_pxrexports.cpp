#include "emulateddevice.h"
#include "pxrexports.h"

#include <QLibrary>
#include <QTest>

#include <cstdlib>

using InstallInit = int (*)(void *, int, int, const char16_t *);

// The host build of the module loaded as a shared library, the way the emulated device calls it.
class TestPxrExports : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void callsWorkOnTheNamedDevice();
    void withoutDeviceEverythingIsNotFound();

private:
    QByteArray invoke(const char *name, std::int32_t &result);

    QLibrary m_library{QStringLiteral(PXR_LIBRARY)};
};

void TestPxrExports::initTestCase()
{
    QVERIFY2(m_library.load(), qPrintable(m_library.errorString()));
}

QByteArray TestPxrExports::invoke(const char *name, std::int32_t &result)
{
    const auto function = reinterpret_cast<PxrRemoteCall>(m_library.resolve(name));
    if (!function)
        return "missing export";
    std::uint32_t size = 0;
    unsigned char *output = nullptr;
    result = function(0, nullptr, &size, &output, nullptr);
    const QByteArray reply(reinterpret_cast<const char *>(output), qsizetype(size));
    std::free(output);
    return reply;
}

void TestPxrExports::callsWorkOnTheNamedDevice()
{
    EmulatedDevice device;
    device.addStorageCard(QStringLiteral("Storage Card"));
    device.addFile(QStringLiteral("\\Storage Card\\a"), "x");
    qputenv("VKT_CE_DEVICE", QByteArray::fromStdString(device.folder()));

    std::int32_t result = 0;
    QCOMPARE(invoke("getPXRVersion", result).toHex(), QByteArray("01000000"));
    QCOMPARE(result, 1);
    QCOMPARE(invoke("getRootInfo", result), QByteArray::fromHex("00000e000000") + QByteArray("\\Storage Card\0", 14));
    QCOMPARE(result, 1);

    const auto installInit = reinterpret_cast<InstallInit>(m_library.resolve("Install_Init"));
    QVERIFY(installInit);
    QCOMPARE(installInit(nullptr, 1, 0, u"\\Program Files\\DRQ\\KorwindUpdaterModule"), 0);
    QCOMPARE(device.configurationDocuments().size(), 1);
    qunsetenv("VKT_CE_DEVICE");
}

void TestPxrExports::withoutDeviceEverythingIsNotFound()
{
    qunsetenv("VKT_CE_DEVICE");
    std::int32_t result = 0;
    QCOMPARE(invoke("getVersionInfo", result).toHex(), QByteArray("0100"));
    QCOMPARE(result, 1);
    QCOMPARE(invoke("getRootInfo", result).toHex(), QByteArray("000000000000"));
    QCOMPARE(result, 1);
}

QTEST_APPLESS_MAIN(TestPxrExports)
#include "tst_pxrexports.moc"
