// The whole program at work, with no doubles: the demo world's navigation device found by the real
// storage searcher, the stand-in update server on loopback, the real services, and the real window
// clicked through a navigator update, a map update and the restoration of the backup; then the world's
// emulated Windows Mobile device through the module's installation and a navigator update.

#include "cabinetfile.h"
#include "demoprogram.h"
#include "errorwidget.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestEndToEnd : public QObject
{
    Q_OBJECT

private:
    DemoSession m_session;
    const DemoWorld *m_world = nullptr;

private Q_SLOTS:
    void initTestCase()
    {
        QString error;
        QVERIFY2(m_session.start(&error), qPrintable(error));
        m_world = &m_session.world();
    }

    void navigatorAndMapsUpdatedThenRestored()
    {
        const QString memory = m_world->deviceMemory();
        const QMap<QString, QByteArray> memoryBefore = fileDigests(memory);
        const QMap<QString, QByteArray> cardBefore = fileDigests(m_world->memoryCard());
        DemoProgram program(m_session.serverUrl());

        // Device search, then the navigator executable.
        REACH(program, "selectDevicePage");
        QVERIFY(program.click(QStringLiteral("updateButton")));
        REACH(program, "selectKorwindPage");
        QVERIFY(program.click(QStringLiteral("updateButton")));

        // The navigator update, with a backup; it runs once the maps are chosen, before them.
        REACH(program, "selectNaviUpdatePage");
        QVERIFY(program.click(QStringLiteral("updateButton")));

        // The maps: on the device's own memory, not on its card; the list names both by label and kind.
        REACH(program, "selectContentPage");
        QVERIFY(program.chooseEntry(QStringLiteral("selectContentPage"), QStringLiteral("NAVI: device memory, ")));
        QVERIFY(program.chooseEntry(QStringLiteral("selectContentPage"), QStringLiteral("NAVI_SD: memory card, ")));
        QVERIFY(program.chooseEntry(QStringLiteral("selectContentPage"), QStringLiteral("NAVI: device memory, ")));
        QVERIFY(program.click(QStringLiteral("updateButton")));
        REACH(program, "selectMapUpdatePage");
        // Russia, Central brings Russia and the base map with it; Belarus replaces the map of Minsk.
        QVERIFY(program.clickMap(QStringLiteral("Russia, Central")));
        QVERIFY(program.clickMap(QStringLiteral("Belarus")));
        QVERIFY(program.click(QStringLiteral("updateButton")));
        REACH(program, "deletionWarningPage");
        QVERIFY(program.click(QStringLiteral("updateButton")));
        REACH(program, "successPage");

        // The navigator's files come from the package, the chosen maps from the server, the rest stays.
        QTemporaryDir unpacked;
        QCOMPARE(QProcess::execute(QStringLiteral("unzip"),
                                   {QStringLiteral("-q"),
                                    m_world->catalogue() + QStringLiteral("/files/KorwindNavigator_5.2.0.0.zip"),
                                    QStringLiteral("-d"), unpacked.path()}),
                 0);
        QMap<QString, QByteArray> expected = fileDigests(unpacked.path());
        for (const QString &kept : {QStringLiteral("Korwind/settings.ini"),
                                    QStringLiteral("KorwindContent/KorwindContentInfo.xml")})
            expected.insert(kept, memoryBefore.value(kept));
        const QMap<QString, QByteArray> maps = demoUpdateMaps(*m_world);
        for (auto map = maps.cbegin(); map != maps.cend(); ++map)
            expected.insert(QStringLiteral("KorwindContent/Maps/") + map.key(), map.value());
        QMap<QString, QByteArray> found = fileDigests(memory);
        // The device keeps what was installed, so that a map cut short later is seen.
        QCOMPARE(found.take(QStringLiteral("KorwindContent/KorwindInstalledMaps.xml")).size(), 40);
        QCOMPARE(found, expected);
        QCOMPARE(fileDigests(m_world->memoryCard()), cardBefore);
        QCOMPARE(QDir(m_world->backups()).entryList({QStringLiteral("backup_*.xml")}, QDir::Files).size(), 1);

        // Search again and put the backup back: the device is as it was, byte for byte.
        QVERIFY(program.click(QStringLiteral("backButton")));
        REACH(program, "selectDevicePage");
        QVERIFY(program.click(QStringLiteral("updateButton")));
        REACH(program, "selectKorwindPage");
        QVERIFY(program.click(QStringLiteral("restoreBackups")));
        REACH(program, "backupRestorePage");
        QVERIFY(program.click(QStringLiteral("updateButton")));
        REACH(program, "errorPage"); // what the restoration will delete
        QVERIFY(program.click(QStringLiteral("updateButton")));
        REACH(program, "successPage");
        QCOMPARE(fileDigests(memory), memoryBefore);
        QCOMPARE(fileDigests(m_world->memoryCard()), cardBefore);
    }

    // A map update stopped while the first map goes to the device leaves its job on the device: the next
    // device search shows it, and "Finish the update" ends it with the downloads already on the PC.
    void mapUpdateStoppedThenFinished()
    {
        const QString maps = m_world->deviceMemory() + QStringLiteral("/KorwindContent/Maps");
        DemoProgram program(m_session.serverUrl());
        REACH(program, "selectDevicePage");
        QVERIFY(program.click(QStringLiteral("updateButton")));
        REACH(program, "selectKorwindPage");
        QVERIFY(program.click(QStringLiteral("updateButton")));
        REACH(program, "selectNaviUpdatePage");
        QVERIFY(program.chooseEntry(QStringLiteral("selectNaviUpdatePage"), QStringLiteral("Don't update the program")));
        QVERIFY(program.click(QStringLiteral("updateButton")));
        REACH(program, "selectContentPage");
        QVERIFY(program.chooseEntry(QStringLiteral("selectContentPage"), QStringLiteral("NAVI: device memory, ")));
        QVERIFY(program.click(QStringLiteral("updateButton")));
        REACH(program, "selectMapUpdatePage");
        QVERIFY(program.clickMap(QStringLiteral("Belarus")));
        QVERIFY(program.click(QStringLiteral("updateButton")));
        REACH(program, "deletionWarningPage");
        // The backup announces itself first, then the installation: that is stopped before its first copy.
        int announcements = 0;
        connect(&program.devices, &AbstractDeviceServices::setCurrentOperationInfo, &program.devices, [&](const QString &) {
            if (++announcements == 2)
                program.devices.cancelDeviceOperation();
        }, Qt::DirectConnection);
        QVERIFY(program.click(QStringLiteral("updateButton")));
        REACH(program, "errorPage");
        QCOMPARE(announcements, 2);
        QVERIFY(QFile::exists(m_world->deviceMemory() + QStringLiteral("/KorwindContent/KorwindUpdateJob.xml")));
        QVERIFY(QFile::exists(maps + QStringLiteral("/BLR_Minsk.nm3")));

        QVERIFY(program.click(QStringLiteral("backButton"))); // "Select device": the device is searched again
        REACH(program, "selectDevicePage");
        QVERIFY(program.click(QStringLiteral("updateButton")));
        REACH(program, "unfinishedUpdatePage");
        QVERIFY(program.click(QStringLiteral("updateButton"))); // "Finish the update"
        REACH(program, "successPage");
        QVERIFY(program.pageText(QStringLiteral("successPage")).startsWith(QStringLiteral("The update is finished.")));
        QCOMPARE(fileDigest(maps + QStringLiteral("/BLR.nm3")),
                 fileDigest(m_world->catalogue() + QStringLiteral("/files/BLR.nm3")));
        QVERIFY(!QFile::exists(maps + QStringLiteral("/BLR_Minsk.nm3")));
        QVERIFY(!QFile::exists(m_world->deviceMemory() + QStringLiteral("/KorwindContent/KorwindUpdateJob.xml")));
    }

    // The Windows Mobile device is connected for this run only. It has no module and an older navigator:
    // the module is installed, the navigator found through it and updated through the application manager,
    // and the maps wait for the device to come back as USB storage.
    void windowsMobileDeviceUpdatedUntilTheReconnection()
    {
        const QString device = m_world->activeSyncDevice();
        qputenv("VKT_CE_DEVICE", QFile::encodeName(device));
        const QString navigator = device + QStringLiteral("/files/Program files/DRQ/Korwind Navigator/Korwind.exe");
        CabinetFile::Entries cab;
        QString error;
        QVERIFY2(CabinetFile::read(m_world->catalogue() + QStringLiteral("/files/KorwindNavigator_5.2.0.0.cab"), cab, error),
                 qPrintable(error));
        QCOMPARE(cab.last().first, QStringLiteral("Korwind.exe"));
        const QByteArray newNavigator = QCryptographicHash::hash(cab.last().second, QCryptographicHash::Sha1).toHex();
        DemoProgram program(m_session.serverUrl());

        REACH(program, "selectDevicePage");
        QVERIFY(program.chooseEntry(QStringLiteral("selectDevicePage"), QStringLiteral("Korwind PNA")));
        QVERIFY(program.click(QStringLiteral("updateButton")));
        REACH(program, "errorPage");
        const auto *notice = program.window->findChild<ErrorWidget *>(QStringLiteral("errorPage"));
        QCOMPARE(notice->text(), QStringLiteral("You need to install additional software on your device to continue."));
        QVERIFY(program.click(QStringLiteral("updateButton")));

        REACH(program, "selectNaviUpdatePage");
        QVERIFY(QFileInfo::exists(device + QStringLiteral("/files/Program files/DRQ/KorwindUpdaterModule/pxr.dll")));
        QVERIFY(fileDigest(navigator) != newNavigator);
        QVERIFY(program.click(QStringLiteral("updateButton")));

        REACH(program, "selectMapUpdatePage");
        QCOMPARE(fileDigest(navigator), newNavigator);
        QVERIFY(program.clickMap(QStringLiteral("Kazakhstan")));
        QVERIFY(program.click(QStringLiteral("updateButton")));
        if (program.waitFor(QStringLiteral("deletionWarningPage")).isEmpty())
            QVERIFY(program.click(QStringLiteral("updateButton")));
        REACH(program, "errorPage");
        // The page shows its text as rich text.
        QVERIFY2(notice->text().startsWith(QStringLiteral("You need to reconnect your device in &quot;USB storage&quot; mode")),
                 qPrintable(notice->text()));
        qunsetenv("VKT_CE_DEVICE");
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
