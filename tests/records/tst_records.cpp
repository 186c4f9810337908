#include "backupinfo.h"
#include "deviceinfo.h"
#include "dottedversion.h"
#include "enums.h"
#include "korwindcontentinfo.h"
#include "partialprogresslistener.h"
#include "sharedtypes.h"
#include "updatecheckerror.h"

#include <QTest>

namespace {

class RecordingListener : public vktcommon::ProgressListener
{
public:
    void setProgress(int percent) override { values.append(percent); }
    QList<int> values;
};

class FixedProvider : public FreeSpaceDataProvider
{
public:
    qint64 freeSpace(int index) override { return 1000 + index; }
    qint64 otherFilesSize(int index) override { return 10 + index; }
};

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { registerSharedTypes(); }

    void dottedVersionOrder_data()
    {
        QTest::addColumn<QString>("lower");
        QTest::addColumn<QString>("higher");
        QTest::newRow("first part decides") << "1.9.9.9" << "2.0.0.0";
        QTest::newRow("second part") << "1.0.9.9" << "1.1.0.0";
        QTest::newRow("third part") << "1.0.7.99" << "1.0.8.0";
        QTest::newRow("fourth part") << "1.0.7.17" << "1.0.7.18";
        QTest::newRow("numbers, not text") << "1.0.7.9" << "1.0.7.10";
        QTest::newRow("16-bit parts") << "0.0.0.65534" << "0.0.0.65535";
    }
    void dottedVersionOrder()
    {
        QFETCH(QString, lower);
        QFETCH(QString, higher);
        bool ok = false;
        const DottedVersion a = DottedVersion::fromString(lower, &ok);
        QVERIFY(ok);
        const DottedVersion b = DottedVersion::fromString(higher, &ok);
        QVERIFY(ok);
        QVERIFY(a < b);
        QVERIFY(!(b < a));
        QVERIFY(a != b);
        QCOMPARE(a.toString(), lower);
        QCOMPARE(b.toString(), higher);
    }

    void dottedVersionRejectsMalformedText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("three parts") << "1.2.3";
        QTest::newRow("five parts") << "1.2.3.4.5";
        QTest::newRow("letters") << "1.2.x.4";
        QTest::newRow("beyond 16 bits") << "1.2.3.65536";
        QTest::newRow("empty") << "";
    }
    void dottedVersionRejectsMalformedText()
    {
        QFETCH(QString, text);
        bool ok = true;
        QVERIFY(DottedVersion::fromString(text, &ok).isZero());
        QVERIFY(!ok);
    }

    void defaultUpdateCheckErrorIsMinusOne()
    {
        QCOMPARE(UpdateCheckError().code, -1);
        const QMetaType type = QMetaType::fromName("UpdateCheckError");
        QVERIFY(type.isValid());
        void *created = type.create();
        QCOMPARE(static_cast<UpdateCheckError *>(created)->code, -1);
        type.destroy(created);

        UpdateCheckError error;
        error.detail = QStringLiteral("detail");
        QCOMPARE(error.text(), QStringLiteral("detail"));
        error.message = QStringLiteral("message");
        QCOMPARE(error.text(), QStringLiteral("message"));
    }

    void sharedTypesAreRegisteredUnderTheirNames_data()
    {
        QTest::addColumn<QByteArray>("name");
        for (const char *name : {"QList<DeviceInfo>", "QList<KorwindExeInfo>", "QList<QString>",
                                 "QList<KorwindContentInfo>", "QList<BackupInfo>", "QList<ProductInfo>",
                                 "QList<MapInfo>", "QList<const ProductInfo*>", "QList<const MapDisplayInfo*>",
                                 "ProductInfo", "NETWORK_ERROR_CODE", "QVector<QByteArray>", "TransferStatusInfo",
                                 "UpdateCheckError", "QNetworkProxy", "SERVER_REPLY_STATUS_CODE"})
            QTest::newRow(name) << QByteArray(name);
    }
    void sharedTypesAreRegisteredUnderTheirNames()
    {
        QFETCH(QByteArray, name);
        QVERIFY(QMetaType::fromName(name).isValid());
    }

    void contentInfoCopyIsIndependent()
    {
        FixedProvider provider;
        KorwindContentInfo original;
        original.path = QStringLiteral("/media/card/KorwindContent");
        original.freeSpaceChecker = FreeSpaceChecker(&provider, 2);
        original.maps.append(MapInfo());
        original.maps[0].name = QStringLiteral("Estonia");

        KorwindContentInfo copy = original;
        copy.maps[0].name = QStringLiteral("Latvia");
        copy.maps.append(MapInfo());
        copy.freeSpaceChecker = FreeSpaceChecker();

        QCOMPARE(original.maps.size(), 1);
        QCOMPARE(original.maps[0].name, QStringLiteral("Estonia"));
        QCOMPARE(original.freeSpaceChecker.freeSpace(), qint64(1002));
        QCOMPARE(original.freeSpaceChecker.otherFilesSize(), qint64(12));
        QCOMPARE(copy.freeSpaceChecker.freeSpace(), qint64(-1));
        QCOMPARE(copy.freeSpaceChecker.otherFilesSize(), qint64(-1));
    }

    void mapInfoCopiesBothBases()
    {
        MapInfo map;
        map.name = QStringLiteral("Finland");
        map.code = QStringLiteral("korwind.fin");
        map.majorVersion = 3;
        map.depends.append({QStringLiteral("korwind.base"), QStringLiteral(">="), 1, 2});
        map.file.extraBytes = QByteArray(40, 'a');
        const MapInfo copy = map;
        QCOMPARE(copy.kind, int(ProductInfo::MapPackage));
        QCOMPARE(copy.name, map.name);
        QCOMPARE(copy.code, map.code);
        QCOMPARE(copy.majorVersion, 3);
        QCOMPARE(copy.depends.size(), 1);
        QCOMPARE(copy.depends[0].op, QStringLiteral(">="));
        QCOMPARE(copy.file.extraBytes, map.file.extraBytes);
    }

    void deviceListText_data()
    {
        QTest::addColumn<bool>("connectedProperly");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << true << false << "Navi";
        QTest::newRow("wrongly connected") << false << false << "Navi (plugged in a wrong way!)";
        QTest::newRow("read-only") << true << true << "Navi (device in a read only mode!)";
        QTest::newRow("read-only wins") << false << true << "Navi (device in a read only mode!)";
    }
    void deviceListText()
    {
        QFETCH(bool, connectedProperly);
        QFETCH(bool, readOnly);
        QFETCH(QString, text);
        DeviceInfo device;
        device.name = QStringLiteral("Navi");
        device.isConnectedProperly = connectedProperly;
        device.isReadOnly = readOnly;
        QCOMPARE(device.listText(), text);
    }

    void packageStateIcons()
    {
        const QString deleteIcon = QStringLiteral(":/resources/Update_delete.png");
        QCOMPARE(packageStateIcon(PS_INSTALLED_DELETE, true), deleteIcon);
        QCOMPARE(packageStateIcon(PS_UPDATE_DELETE, true), deleteIcon);
        QCOMPARE(packageStateIcon(PS_UP_TO_DATE_DELETE, true), deleteIcon);
        QCOMPARE(packageStateIcon(PS_NEW_AVAILABLE, false), QStringLiteral(":/resources/New_available_disabled.png"));
        QCOMPARE(packageStateIcon(PS_DAMAGED_REINSTALL, true), QStringLiteral(":/resources/Damaged_reinstall.png"));
        QVERIFY(packageStateIcon(PS_DAMAGED_REINSTALL + 1, true).isEmpty());
        QVERIFY(packageStateIcon(-1, true).isEmpty());
    }

    void partialProgressMapsOntoRanges()
    {
        RecordingListener parent;
        vktcommon::PartialProgressListener outer(&parent);
        outer.setRange(50, 100);
        vktcommon::PartialProgressListener inner(&outer, 0, 50);
        inner.setProgress(0);
        inner.setProgress(50);
        inner.setProgress(100);
        outer.setProgress(33);
        // 50 + trunc(0.5 * 25) = 62; 50 + trunc(0.5 * 50) = 75; 50 + trunc(0.5 * 33) = 66.
        QCOMPARE(parent.values, QList<int>({50, 62, 75, 66}));

        vktcommon::PartialProgressListener orphan(nullptr, 10, 20);
        orphan.setProgress(50); // no parent: nothing happens, nothing crashes
    }
};

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
