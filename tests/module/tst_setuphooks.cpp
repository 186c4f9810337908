#include "emulateddevice.h"
#include "hostceplatform.h"
#include "setuphooks.h"

#include <QTest>
#include <QXmlStreamReader>

namespace {

const QString GRANT = QStringLiteral(
    "<wap-provisioningdoc><characteristic type=\"Metabase\">"
    "<characteristic type=\"RAPI\\Program Files\\DRQ\\KorwindUpdaterModule\\pxr.dll\\*\">"
    "<parm name=\"rw-access\" value=\"3\"/><parm name=\"access-role\" value=\"152\"/>"
    "</characteristic></characteristic></wap-provisioningdoc>");
const QString REVOKE = QStringLiteral(
    "<wap-provisioningdoc><characteristic type=\"Metabase\">"
    "<nocharacteristic type=\"RAPI\\Program Files\\DRQ\\KorwindUpdaterModule\\pxr.dll\\*\"/>"
    "</characteristic></wap-provisioningdoc>");

// Element names with their attributes, one line per element, as an XML reader sees the document.
QStringList elements(const QString &document)
{
    QStringList lines;
    QXmlStreamReader reader(document);
    int depth = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            QString line = QString(depth, QLatin1Char(' ')) + reader.name().toString();
            for (const QXmlStreamAttribute &attribute : reader.attributes())
                line += QLatin1Char(' ') + attribute.name().toString() + QLatin1Char('=') + attribute.value().toString();
            lines << line;
            ++depth;
        } else if (reader.isEndElement()) {
            --depth;
        }
    }
    if (reader.hasError())
        lines << reader.errorString();
    return lines;
}

} // namespace

class TestSetupHooks : public QObject
{
    Q_OBJECT

private slots:
    void installGrantsRemoteAccess();
    void refusedGrantCancelsInstallation();
    void uninstallRevokesAndAlwaysContinues_data();
    void uninstallRevokesAndAlwaysContinues();
    void exitHooksContinue();
};

void TestSetupHooks::installGrantsRemoteAccess()
{
    EmulatedDevice device;
    HostCePlatform platform(device.folder());
    QCOMPARE(SetupHooks(platform).installInit(), SetupHooks::CONTINUE);
    QCOMPARE(device.configurationDocuments(), QStringList{GRANT});
    const QString type = QStringLiteral("type=RAPI\\Program Files\\DRQ\\KorwindUpdaterModule\\pxr.dll\\*");
    QCOMPARE(elements(GRANT),
             QStringList({QStringLiteral("wap-provisioningdoc"), QStringLiteral(" characteristic type=Metabase"),
                          QStringLiteral("  characteristic ") + type,
                          QStringLiteral("   parm name=rw-access value=3"),
                          QStringLiteral("   parm name=access-role value=152")}));
    QCOMPARE(elements(REVOKE),
             QStringList({QStringLiteral("wap-provisioningdoc"), QStringLiteral(" characteristic type=Metabase"),
                          QStringLiteral("  nocharacteristic ") + type}));
}

void TestSetupHooks::refusedGrantCancelsInstallation()
{
    EmulatedDevice device;
    QVERIFY(device.refuseConfiguration());
    HostCePlatform platform(device.folder());
    QCOMPARE(SetupHooks(platform).installInit(), SetupHooks::CANCEL);
    QVERIFY(device.configurationDocuments().isEmpty());
}

void TestSetupHooks::uninstallRevokesAndAlwaysContinues_data()
{
    QTest::addColumn<bool>("refused");
    QTest::newRow("accepted") << false;
    QTest::newRow("refused") << true;
}

void TestSetupHooks::uninstallRevokesAndAlwaysContinues()
{
    QFETCH(bool, refused);
    EmulatedDevice device;
    if (refused)
        QVERIFY(device.refuseConfiguration());
    HostCePlatform platform(device.folder());
    QCOMPARE(SetupHooks(platform).uninstallInit(), SetupHooks::CONTINUE);
    QCOMPARE(device.configurationDocuments(), refused ? QStringList() : QStringList{REVOKE});
}

void TestSetupHooks::exitHooksContinue()
{
    QCOMPARE(SetupHooks::installExit(), 0);
    QCOMPARE(SetupHooks::uninstallExit(), 0);
}

QTEST_APPLESS_MAIN(TestSetupHooks)
#include "tst_setuphooks.moc"
