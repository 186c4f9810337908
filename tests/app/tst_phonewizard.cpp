// A Symbian phone through the whole program: found by the real phone searcher over the emulated
// connectivity library, its navigator read from the phone's applications, the update offered only as
// information, its content folder made on the memory card through block transfers, and the maps reached
// once the same card comes back as USB storage.

#include "demoprogram.h"
#include "fixturemachine.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QListWidget>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestPhoneWizard : public QObject
{
    Q_OBJECT

private:
    DemoSession m_session;
    QTemporaryDir m_machine;

private Q_SLOTS:
    void initTestCase()
    {
        QString error;
        QVERIFY2(m_session.start(&error), qPrintable(error));
        QVERIFY(m_machine.isValid());
        // At first only the phone is connected: a machine without USB storage.
        QVERIFY2(writeFixtureMachine(m_machine.path(), FixtureMachine(), &error), qPrintable(error));
        qputenv("VKT_MACHINE_ROOT", QFile::encodeName(m_machine.path()));
        qputenv("VKT_PHONE_LIBRARY_CONFIG", QFile::encodeName(m_session.world().phoneLibraryConfiguration()));
        qputenv("VKT_EMULATED_PHONES", QFile::encodeName(m_session.world().phones()));
    }

    void phoneFoundThenReconnectedAsStorage()
    {
        const DemoWorld &world = m_session.world();
        DemoProgram program(m_session.serverUrl());

        REACH(program, "selectDevicePage");
        const auto *devices =
            program.window->findChild<QWidget *>(QStringLiteral("selectDevicePage"))->findChild<QListWidget *>();
        QCOMPARE(devices->count(), 1);
        QVERIFY(devices->item(0)->text().startsWith(QStringLiteral("Korwind Phone K-95")));
        QVERIFY(program.click(QStringLiteral("updateButton")));

        // The navigator's version comes from the phone's applications; the update is only offered as information.
        REACH(program, "successPage");
        QCOMPARE(program.devices.navigatorInstallation()->version.toString(), QStringLiteral("5.1.1234.0"));
        const QString information = program.pageText(QStringLiteral("successPage"));
        QVERIFY2(information.contains(QStringLiteral("New Korwind Navigator version available: 5.2.0.0")),
                 qPrintable(information));
        QVERIFY2(information.contains(QStringLiteral("Visit market to download it.")), qPrintable(information));
        // The server was asked about the phone's navigator by its version.
        QJsonArray question;
        for (const QJsonValue request : m_session.serverRequests()) {
            if (request[QStringLiteral("path")] == QStringLiteral("/productsInfo/"))
                question = request[QStringLiteral("fields")].toArray();
        }
        const auto asked = [&](const QString &name, const QString &value) {
            return question.contains(QJsonArray{name, value});
        };
        QVERIFY(asked(QStringLiteral("typefile"), QStringLiteral("sis")));
        QVERIFY(asked(QStringLiteral("devicename"), QStringLiteral("SYMBIAN")));
        QVERIFY(asked(QStringLiteral("korwindVer"), QStringLiteral("5.1.1234.0")));
        // The content folder was made on the phone's card and its identity written there in blocks.
        QFile identity(world.phoneCard() + QStringLiteral("/KorwindContent/KorwindContentInfo.xml"));
        QVERIFY(identity.open(QIODevice::ReadOnly));
        const QRegularExpressionMatch uid =
            QRegularExpression(QStringLiteral("<UID>(\\{[^<]+\\})</UID>")).match(QString::fromUtf8(identity.readAll()));
        QVERIFY(uid.hasMatch());
        QVERIFY(QFileInfo(world.phoneCard() + QStringLiteral("/KorwindContent/Maps")).isDir());

        // Maps need the card as USB storage: as long as the phone is connected as a phone, it is the wrong way.
        QVERIFY(program.click(QStringLiteral("updateButton")));
        REACH(program, "errorPage");
        const QString reconnect = program.pageText(QStringLiteral("errorPage"));
        QVERIFY2(reconnect.contains(QStringLiteral("USB storage")), qPrintable(reconnect));
        QVERIFY(program.click(QStringLiteral("updateButton")));
        const QString wrongWay = QStringLiteral("Your device is still connected in the wrong way.");
        QVERIFY(QTest::qWaitFor([&] { return program.pageText(QStringLiteral("errorPage")).contains(wrongWay); }, 60000));

        // Switched to USB storage: the phone is gone and its card is a volume of the PC.
        QTemporaryDir noPhones;
        qputenv("VKT_EMULATED_PHONES", QFile::encodeName(noPhones.path()));
        FixtureUsbDevice phoneAsStorage;
        FixtureDisk card;
        FixtureVolume volume;
        volume.mountPoint = world.phoneCard();
        volume.label = QStringLiteral("PHONE_CARD");
        card.volumes.append(volume);
        phoneAsStorage.luns.append(card);
        FixtureMachine machine;
        machine.usbDevices.append(phoneAsStorage);
        QString error;
        QVERIFY2(writeFixtureMachine(m_machine.path(), machine, &error), qPrintable(error));
        QVERIFY(program.click(QStringLiteral("updateButton")));
        REACH(program, "selectMapUpdatePage");
        // The same content folder, known by the identity written through the phone.
        QVERIFY(program.devices.selectedContent());
        QCOMPARE(program.devices.selectedContent()->uid, uid.captured(1));
    }
};

QTEST_MAIN(TestPhoneWizard)
#include "tst_phonewizard.moc"
