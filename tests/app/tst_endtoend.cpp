// The whole program at work, with no doubles: the demo world's navigation device found by the real
// storage searcher, the stand-in update server on loopback, the real services, and the real window
// clicked through a navigator update, a map update and the restoration of the backup; then the world's
// emulated Windows Mobile device through the module's installation and a navigator update.

#include "applicationdata.h"
#include "appsettings.h"
#include "cabinetfile.h"
#include "demoworld.h"
#include "deviceservices.h"
#include "errorwidget.h"
#include "mainwindow.h"
#include "networkservices.h"
#include "packageservices.h"
#include "sharedtypes.h"
#include "standinserverprocess.h"
#include "treeitemdelegate.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace {

constexpr int stepTimeoutMs = 120000;
const QString language = QStringLiteral("en_US");

QByteArray fileDigest(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    return file.open(QIODevice::ReadOnly) && hash.addData(&file) ? hash.result().toHex() : "<unreadable>";
}

// Relative path -> SHA-1 of every file below the folder.
QMap<QString, QByteArray> fileDigests(const QString &folder)
{
    QMap<QString, QByteArray> digests;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        digests.insert(QDir(folder).relativeFilePath(path), fileDigest(path));
    }
    return digests;
}

// The program's services and window over the demo world, and what a person does with the mouse.
class Program
{
public:
    explicit Program(const QString &serverUrl)
        : devices({[] { return AppSettings::downloadsDirectory(); }, [] { return AppSettings::backupsDirectory(); },
                   language})
        , network([] { return AppSettings::networkSettings(language); })
    {
        network.setServerBaseUrl(serverUrl);
        window = std::make_unique<MainWindow>(&devices, &network, &packages);
        window->resize(820, 600);
        window->show();
    }

    QString page() const
    {
        return window->findChild<QStackedWidget *>(QStringLiteral("stackedWidget"))->currentWidget()->objectName();
    }

    // Waits for the page; empty when it came, else what the window shows instead.
    QString waitFor(const QString &name) const
    {
        const QStringList failures = {QStringLiteral("errorPage"), QStringLiteral("deviceNotFoundPage")};
        if (QTest::qWaitFor([&] { return page() == name || (failures.contains(page()) && !failures.contains(name)); },
                            stepTimeoutMs)
            && page() == name)
            return QString();
        const auto *error = window->findChild<ErrorWidget *>(QStringLiteral("errorPage"));
        return QStringLiteral("waiting for %1, the window shows %2: %3").arg(name, page(), error->text());
    }

    // Clicks a button of the bar ("updateButton", "backButton", "cancelButton") or of a page, once it
    // can be clicked.
    bool click(const QString &name) const
    {
        auto *button = window->findChild<QPushButton *>(name);
        if (!button || !QTest::qWaitFor([button] { return button->isVisible() && button->isEnabled(); }))
            return false;
        QTest::mouseClick(button, Qt::LeftButton);
        return true;
    }

    // Clicks the entry of the page's list that shows the text.
    bool chooseEntry(const QString &pageName, const QString &text) const
    {
        auto *list = window->findChild<QWidget *>(pageName)->findChild<QListWidget *>();
        const QList<QListWidgetItem *> items = list->findItems(text, Qt::MatchExactly);
        if (items.size() != 1)
            return false;
        list->scrollToItem(items.first());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.first()).center());
        return list->currentItem() == items.first();
    }

    // Clicks the state icon of the map's row.
    bool clickMap(const QString &name) const
    {
        auto *tree = window->findChild<QTreeWidget *>(QStringLiteral("mapTree"));
        tree->expandAll();
        const QList<QTreeWidgetItem *> items =
            tree->findItems(name + QStringLiteral(", version"), Qt::MatchStartsWith | Qt::MatchRecursive);
        const auto *delegate = dynamic_cast<TreeItemDelegate *>(tree->itemDelegate());
        if (items.size() != 1 || !delegate)
            return false;
        tree->scrollToItem(items.first());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          delegate->iconRect(tree->visualItemRect(items.first())).center());
        return true;
    }

    DeviceServices devices;
    NetworkServices network;
    PackageServices packages;
    std::unique_ptr<MainWindow> window;
};

#define REACH(program, name)                                                                                          \
    do {                                                                                                              \
        const QString problem = (program).waitFor(QStringLiteral(name));                                              \
        QVERIFY2(problem.isEmpty(), qPrintable(problem));                                                             \
    } while (false)

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    std::unique_ptr<DemoWorld> m_world;
    StandInServerProcess m_server;
    std::unique_ptr<ApplicationData> m_data;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        m_world = std::make_unique<DemoWorld>(m_folder.filePath(QStringLiteral("world")));
        QString error;
        QVERIFY2(m_world->write(&error), qPrintable(error));
        // The program finds the device and its settings where tools/demo points it.
        qputenv("VKT_MACHINE_ROOT", QFile::encodeName(m_world->machine()));
        QCoreApplication::setOrganizationName(QStringLiteral("DRQ"));
        QCoreApplication::setApplicationName(QStringLiteral("Korwind Navigator update center"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_world->configuration());
        registerSharedTypes();
        m_data = std::make_unique<ApplicationData>(m_folder.path());
        QVERIFY2(m_server.start(m_world->catalogue()), qPrintable(m_server.errorText()));
    }

    void navigatorAndMapsUpdatedThenRestored()
    {
        const QString memory = m_world->deviceMemory();
        const QMap<QString, QByteArray> memoryBefore = fileDigests(memory);
        const QMap<QString, QByteArray> cardBefore = fileDigests(m_world->memoryCard());
        Program program(m_server.baseUrl());

        // Device search, then the navigator executable.
        REACH(program, "selectDevicePage");
        QVERIFY(program.click(QStringLiteral("updateButton")));
        REACH(program, "selectKorwindPage");
        QVERIFY(program.click(QStringLiteral("updateButton")));

        // The navigator update, with a backup; it runs once the maps are chosen, before them.
        REACH(program, "selectNaviUpdatePage");
        QVERIFY(program.click(QStringLiteral("updateButton")));

        // The maps: on the device's own memory, not on its card.
        REACH(program, "selectContentPage");
        QVERIFY(program.chooseEntry(QStringLiteral("selectContentPage"), memory));
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
        for (const QString &map : {QStringLiteral("Base.nm3"), QStringLiteral("RUS.nm3"), QStringLiteral("RUS_Central.nm3"),
                                   QStringLiteral("BLR.nm3")})
            expected.insert(QStringLiteral("KorwindContent/Maps/") + map,
                            fileDigest(m_world->catalogue() + QStringLiteral("/files/") + map));
        QCOMPARE(fileDigests(memory), expected);
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
        Program program(m_server.baseUrl());

        REACH(program, "selectDevicePage");
        QVERIFY(program.chooseEntry(QStringLiteral("selectDevicePage"), QStringLiteral("Korwind PNA")));
        QVERIFY(program.click(QStringLiteral("updateButton")));
        REACH(program, "errorPage");
        const auto *notice = program.window->findChild<ErrorWidget *>(QStringLiteral("errorPage"));
        QCOMPARE(notice->text(), QStringLiteral("You need to install additional software on you device to continue."));
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
