// Walks the wizard through every page with sample data, answering for the device and the network
// through the scripted services, and saves a picture of the window at each page: one PNG a page in
// the folder given as the first argument, in the language given as the second (such as "de_DE").
// On each page no two shown controls may share a mnemonic, in whatever language.

#include "applicationdata.h"
#include "errorwidget.h"
#include "listwidget.h"
#include "mainwindow.h"
#include "mapviewdelegate.h"
#include "mapviewelement.h"
#include "packageservices.h"
#include "programfolder.h"
#include "scriptedservices.h"
#include "sharedtypes.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QToolButton>
#include <QTreeWidget>

namespace {

constexpr quint64 MiB = 1024 * 1024;

// Shown controls whose mnemonics are the same: Alt and the letter reaches only one of them.
QStringList mnemonicClashes(const QWidget &window)
{
    QHash<QKeySequence, QString> owners;
    QStringList clashes;
    const auto note = [&](const QWidget *widget, const QString &text) {
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (key.isEmpty() || !widget->isVisible())
            return;
        if (owners.contains(key))
            clashes.append(owners.value(key) + QStringLiteral(" and ") + text);
        else
            owners.insert(key, text);
    };
    for (const QAbstractButton *button : window.findChildren<QAbstractButton *>())
        note(button, button->text());
    for (const QLabel *label : window.findChildren<QLabel *>()) {
        if (label->buddy())
            note(label, label->text());
    }
    for (const QTabBar *tabs : window.findChildren<QTabBar *>()) {
        for (int i = 0; i < tabs->count(); ++i)
            note(tabs, tabs->tabText(i));
    }
    return clashes;
}

class Gallery
{
public:
    explicit Gallery(const QString &folder) : m_folder(folder) {}

    void shoot(QWidget &window, const QString &name)
    {
        // Layouts settle over several rounds of posted events, as they would in a running event loop.
        for (int round = 0; round < 5; ++round)
            QApplication::processEvents();
        const QString path = m_folder.filePath(QStringLiteral("%1-%2.png").arg(++m_count, 2, 10, QLatin1Char('0')).arg(name));
        if (!window.grab().save(path))
            m_failed = true;
        for (const QString &clash : mnemonicClashes(window)) {
            QTextStream(stderr) << name << ": one mnemonic for " << clash << '\n';
            m_failed = true;
        }
    }

    bool failed() const { return m_failed; }

private:
    QDir m_folder;
    int m_count = 0;
    bool m_failed = false;
};

template <typename Widget = QWidget>
Widget *child(const QWidget &parent, const char *name = nullptr)
{
    return name ? parent.findChild<Widget *>(QLatin1String(name)) : parent.findChild<Widget *>();
}

void click(const QWidget &window, const char *name)
{
    if (auto *button = child<QAbstractButton>(window, name))
        button->click();
    QApplication::processEvents();
}

// Chooses the next state of a map the way a person does from the keyboard: the map, then Space.
void clickMap(QTreeWidget *tree, const QString &name)
{
    const QList<QTreeWidgetItem *> items = tree->findItems(name + QLatin1Char(','), Qt::MatchStartsWith | Qt::MatchRecursive);
    if (items.isEmpty())
        return;
    tree->setCurrentItem(items.first());
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(tree, &space);
}

PackageFile file(const QString &name, quint64 size)
{
    PackageFile result;
    result.fileName = name;
    result.size = size;
    return result;
}

ProductInfo navigatorUpdate(const QString &version, const QString &description)
{
    ProductInfo update;
    update.name = QStringLiteral("Korwind Navigator");
    update.version = version;
    update.description = description;
    update.file = file(QStringLiteral("KorwindNavigator_%1.zip").arg(version), 38 * MiB);
    return update;
}

MapInfo map(const QString &code, const QString &name, int minor, quint64 size, int kind = ProductInfo::MapPackage)
{
    MapInfo result;
    result.code = code;
    result.name = name;
    result.description = name + QStringLiteral(": roads, addresses and points of interest");
    result.majorVersion = 2;
    result.minorVersion = minor;
    result.version = QStringLiteral("2.%1").arg(minor);
    result.kind = kind;
    result.file = file(code + QStringLiteral(".nm3"), size);
    return result;
}

KorwindExeInfo executable(const QString &path, const DottedVersion &version)
{
    KorwindExeInfo result;
    result.path = path;
    result.version = version;
    return result;
}

class AlwaysExists final : public FileExistingChecker
{
public:
    bool fileExists(const QString &) override { return true; }
};

class FixedSpace final : public FreeSpaceDataProvider
{
public:
    qint64 free = 0;
    qint64 freeSpace(int) override { return free; }
    qint64 otherFilesSize(int) override { return 3 * MiB; }
};

StorageInfo storage(const QString &root, const QString &label, int kind, qint64 total, qint64 free)
{
    return {root, label, kind, total, free};
}

DeviceInfo foundDevice(const QString &name, const QString &title, int kind, bool properly, int index, bool readOnly,
                  const QList<StorageInfo> &storages)
{
    DeviceInfo result;
    result.name = name;
    result.title = title;
    result.kind = kind;
    result.isConnectedProperly = properly;
    result.index = index;
    result.isReadOnly = readOnly;
    result.storages = storages;
    return result;
}

BackupInfo backup(const QString &description, const QDate &date)
{
    BackupInfo result;
    result.description = description;
    result.title = QStringLiteral("NAVI 5");
    result.date = date;
    return result;
}

TransferStatusInfo transfer(const QString &name, quint64 done, quint64 total)
{
    return {name, done, total, 2 * 1024 * 1024 + 300 * 1024, 75};
}

} // namespace

int main(int argc, char **argv)
{
    // A home of its own, so that the settings shown are the defaults and nothing of the user's changes.
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    QCoreApplication::setOrganizationName(QStringLiteral("DRQ"));
    QCoreApplication::setApplicationName(QStringLiteral("Korwind Navigator update center"));
    registerSharedTypes();
    ApplicationData data(programFolder());
    QApplication application(argc, argv);
    if (argc != 2 && argc != 3) {
        QTextStream(stderr) << "usage: vkt-page-gallery FOLDER [LANGUAGE]\n";
        return 2;
    }
    if (argc == 3)
        data.installTranslations(QLocale(QString::fromLatin1(argv[2])));
    QDir().mkpath(QString::fromLocal8Bit(argv[1]));
    Gallery gallery(QString::fromLocal8Bit(argv[1]));

    ScriptedDeviceServices device;
    ScriptedNetworkServices network;
    PackageServices packages;
    AlwaysExists checker;
    FixedSpace space;
    space.free = 100 * MiB;

    const StorageInfo memory = storage(QStringLiteral("/media/user/NAVI"), QStringLiteral("NAVI"), StorageInfo::Memory,
                                       3800 * MiB, 1250 * MiB);
    const StorageInfo card = storage(QStringLiteral("/media/user/NAVI_CARD"), QStringLiteral("NAVI_CARD"),
                                     StorageInfo::Card, 7600 * MiB, 100 * MiB);
    device.device = foundDevice(QStringLiteral("Korwind Navigator 5.1.0.0 (NAVI /media/user/NAVI + NAVI_CARD /media/user/NAVI_CARD)"),
                            QStringLiteral("Korwind Navigator 5.1.0.0"), DeviceInfo::Storage, true, 0, false,
                            {memory, card});
    device.navigator.executablePath = QStringLiteral("/media/user/NAVI/Korwind/KorwindNavigator.exe");
    device.navigator.version = DottedVersion(5, 1, 0, 0);
    device.content.path = QStringLiteral("/media/user/NAVI_CARD/KorwindContent");
    device.content.name = card.root;
    device.content.storage = card;
    device.content.uid = QStringLiteral("{5f0c0d3e-card}");
    device.content.freeSpaceChecker = FreeSpaceChecker(&space, 0);
    device.content.maps = {map(QStringLiteral("korwind.rus.central"), QStringLiteral("Russia, Central"), 1, 310 * MiB,
                               ProductInfo::InstalledMap),
                           map(QStringLiteral("korwind.blr"), QStringLiteral("Belarus"), 4, 96 * MiB, ProductInfo::InstalledMap),
                           map(QStringLiteral("korwind.ukr"), QStringLiteral("Ukraine"), 2, 140 * MiB, ProductInfo::InstalledMap)};
    device.backupFiles = {QStringLiteral("/media/user/NAVI/Korwind"), QStringLiteral("/media/user/NAVI_CARD/KorwindContent/Maps")};

    MainWindow window(&device, &network, &packages);
    window.resize(820, 600);
    window.show();
    gallery.shoot(window, QStringLiteral("checking-latest-version"));

    network.finishCheck();
    Q_EMIT device.showProgress(35);
    gallery.shoot(window, QStringLiteral("searching-devices"));

    device.finish(QStringLiteral("No supported device is connected."));
    gallery.shoot(window, QStringLiteral("device-not-found"));
    click(window, "SymbianButton");
    gallery.shoot(window, QStringLiteral("platform-help"));

    click(window, "updateButton"); // Retry: the device search runs again
    Q_EMIT device.foundDevices(
        {device.device,
         foundDevice(QStringLiteral("Generic Flash Disk USB Device (STICK /media/user/STICK)"),
                 QStringLiteral("Generic Flash Disk USB Device"), DeviceInfo::Storage, true, 1, true,
                 {storage(QStringLiteral("/media/user/STICK"), QStringLiteral("STICK"), StorageInfo::Memory, 1900 * MiB,
                          1700 * MiB)}),
         foundDevice(QStringLiteral("Handheld PC"), QString(), DeviceInfo::ActiveSync, false, 2, false, {})});
    device.finish();
    gallery.shoot(window, QStringLiteral("select-device"));

    click(window, "updateButton");
    Q_EMIT device.showProgress(60);
    gallery.shoot(window, QStringLiteral("searching-navigator"));

    const QList<KorwindExeInfo> executables = {
        executable(device.navigator.executablePath, DottedVersion(5, 1, 0, 0)),
        executable(QStringLiteral("/media/user/NAVI/Backup/Korwind/KorwindNavigator.exe"), DottedVersion(5, 2, 0, 0)),
        executable(QStringLiteral("/media/user/NAVI/Old/KorwindNavigator.exe"), DottedVersion(4, 8, 2, 0))};
    Q_EMIT device.foundPossibleKorwindInstallations(executables, {QStringLiteral("/media/user/NAVI"),
                                                                  QStringLiteral("/media/user/NAVI_CARD")},
                                                    true, &checker);
    device.finish();
    Q_EMIT network.updateFound(QList<ProductInfo>{navigatorUpdate(QStringLiteral("5.2.0.0"), QString())});
    network.finishCheck();
    Q_EMIT network.updateFound(QList<ProductInfo>{});
    network.finishCheck();
    network.finishCheck({UpdateCheckError::UnknownDevice, QStringLiteral("This navigator is not known to the update server."),
                         QString()});
    const BackupInfo navigatorAndMaps =
        backup(QStringLiteral("Korwind Navigator 5.1.0.0\nMaps for Korwind Navigator: Russia, Central(2.1) Belarus(2.4) "
                              "Ukraine(2.2)"),
               QDate(2026, 11, 2));
    const BackupInfo mapsOnly =
        backup(QStringLiteral("Maps for Korwind Navigator: Russia, Central(2.3) Belarus(2.4) Ukraine(2.5)"), QDate(2026, 12, 1));
    Q_EMIT device.foundDeviceSpecificBackups({navigatorAndMaps, mapsOnly});
    gallery.shoot(window, QStringLiteral("choose-navigator"));

    click(window, "restoreBackups");
    gallery.shoot(window, QStringLiteral("choose-backup"));
    click(window, "updateButton");
    gallery.shoot(window, QStringLiteral("restore-warning"));
    click(window, "backButton");
    click(window, "backButton");

    QWidget *navigatorPage = child(window, "selectKorwindPage");
    child<ListWidget>(*navigatorPage, "entriesList")->selectElement(2);
    click(window, "updateButton"); // the server does not know this one
    gallery.shoot(window, QStringLiteral("unknown-device"));
    Q_EMIT child<ErrorWidget>(window, "errorPage")->linkActivated(QStringLiteral("send device info"));
    child<QLineEdit>(*child(window, "sendInfoWidget"))->setText(QStringLiteral("Example Devices Trip 5"));
    gallery.shoot(window, QStringLiteral("send-device-info"));
    click(window, "backButton");

    child<ListWidget>(*navigatorPage, "entriesList")->selectElement(0);
    click(window, "updateButton"); // verify the first executable
    device.finish();
    KorwindContentInfo onMemory = device.content;
    onMemory.path = QStringLiteral("/media/user/NAVI/KorwindContent");
    onMemory.name = memory.root;
    onMemory.storage = memory;
    Q_EMIT device.foundKorwindContents({onMemory, device.content});
    device.finish();
    gallery.shoot(window, QStringLiteral("searching-navigator-updates"));

    Q_EMIT network.updateFound(QList<ProductInfo>{
        navigatorUpdate(QStringLiteral("5.2.0.0"), QStringLiteral("Faster routing, lane guidance on motorways and "
                                                                  "new speed camera warnings."))});
    network.finishCheck();
    gallery.shoot(window, QStringLiteral("choose-navigator-update"));

    click(window, "updateButton");
    device.finishChoice(false);
    child<ListWidget>(*child(window, "selectContentPage"), "entriesList")->selectElement(1);
    gallery.shoot(window, QStringLiteral("choose-storage-card"));

    click(window, "updateButton");
    // The overview cannot go with a regional map.
    MapInfo overview = map(QStringLiteral("korwind.rus.overview"), QStringLiteral("Russia, overview"), 3, 60 * MiB);
    PackageRelation regional;
    regional.code = QStringLiteral("korwind.rus.central");
    overview.conflicts.append(regional);
    Q_EMIT network.updateFound(QList<MapInfo>{
        map(QStringLiteral("korwind.rus"), QStringLiteral("Russia"), 3, 40 * MiB), overview,
        map(QStringLiteral("korwind.rus.central"), QStringLiteral("Russia, Central"), 3, 330 * MiB),
        map(QStringLiteral("korwind.rus.northwest"), QStringLiteral("Russia, North-West"), 3, 180 * MiB),
        map(QStringLiteral("korwind.rus.south"), QStringLiteral("Russia, South"), 3, 150 * MiB),
        map(QStringLiteral("korwind.rus.siberia"), QStringLiteral("Russia, Siberia"), 3, 120 * MiB),
        map(QStringLiteral("korwind.blr"), QStringLiteral("Belarus"), 4, 96 * MiB),
        map(QStringLiteral("korwind.ukr"), QStringLiteral("Ukraine"), 5, 150 * MiB),
        map(QStringLiteral("korwind.kaz"), QStringLiteral("Kazakhstan"), 1, 110 * MiB)});
    network.finishCheck();
    auto *mapTree = child<QTreeWidget>(window, "mapTree");
    clickMap(mapTree, QStringLiteral("Ukraine"));
    clickMap(mapTree, QStringLiteral("Russia, Central"));
    mapTree->expandAll();
    gallery.shoot(window, QStringLiteral("choose-maps"));

    // The whole group, from nothing chosen in it, holds the overview and a regional map.
    for (QTreeWidgetItemIterator it(mapTree); *it; ++it) {
        const MapDisplayInfo *entry = static_cast<MapViewElement *>(*it)->newEntry();
        if (entry && entry->map && entry->map->code == QLatin1String("korwind.rus")) {
            child<MapViewDelegate>(window)->chooseGroup(entry, false);
            child<MapViewDelegate>(window)->chooseGroup(entry, true);
        }
    }
    gallery.shoot(window, QStringLiteral("choose-maps-refused"));
    clickMap(mapTree, QStringLiteral("Russia, Central"));

    clickMap(mapTree, QStringLiteral("Kazakhstan"));
    gallery.shoot(window, QStringLiteral("choose-maps-not-enough-space"));
    clickMap(mapTree, QStringLiteral("Kazakhstan"));

    click(window, "updateButton");
    gallery.shoot(window, QStringLiteral("maps-to-be-removed"));

    click(window, "updateButton"); // the navigator first, with its backup
    Q_EMIT network.updateDownloadStarted();
    Q_EMIT network.downloadStatusUpdate(transfer(QStringLiteral("KorwindNavigator_5.2.0.0.zip"), 17 * MiB, 38 * MiB));
    Q_EMIT network.showProgress(45);
    gallery.shoot(window, QStringLiteral("downloading-navigator"));
    network.finish();
    Q_EMIT device.showProgress(70);
    gallery.shoot(window, QStringLiteral("creating-backup"));
    device.finish();
    device.finishPreparation(QString(), false);
    device.finish();

    network.finish(); // the maps' download
    Q_EMIT device.setCurrentOperationInfo(QStringLiteral("(don't unplug device until operation is completed)"));
    Q_EMIT device.updateOperationExtraInfo(transfer(QStringLiteral("korwind.rus.central.nm3"), 120 * MiB, 480 * MiB));
    Q_EMIT device.showProgress(25);
    gallery.shoot(window, QStringLiteral("installing-maps"));
    device.finish();  // the new maps are in place; the old map data goes
    Q_EMIT device.showProgress(60);
    gallery.shoot(window, QStringLiteral("deleting-old-maps"));
    device.finish();
    gallery.shoot(window, QStringLiteral("update-finished"));

    click(window, "updateButton"); // more updates: rescan, then the server is away
    device.finish();
    network.finishCheck({UpdateCheckError::ServerUnavailable, QStringLiteral("The update server is down for maintenance."),
                         QString()});
    gallery.shoot(window, QStringLiteral("server-unavailable"));

    click(window, "settingsButton");
    gallery.shoot(window, QStringLiteral("settings-general"));
    auto *tabs = child<QTabWidget>(window, "tabWidget");
    tabs->setCurrentIndex(1);
    Q_EMIT device.foundBackups({navigatorAndMaps, mapsOnly});
    gallery.shoot(window, QStringLiteral("settings-backups"));
    tabs->setCurrentIndex(2);
    gallery.shoot(window, QStringLiteral("settings-connection"));
    click(window, "settingsCancelButton");

    // The last update of the device did not finish: what is left, finishing it, or its backup.
    ScriptedNetworkServices unfinishedNetwork;
    PackageServices unfinishedPackages;
    device.unfinished.kind = UpdateJobRecord::MapJob;
    device.unfinished.started = QDateTime(QDate(2026, 12, 10), QTime(18, 42));
    device.unfinished.backupId = QStringLiteral("backup_10.12.2026");
    device.unfinished.mapsToInstall = {map(QStringLiteral("korwind.rus.central"), QStringLiteral("Russia, Central"), 3, 330 * MiB),
                                       map(QStringLiteral("korwind.blr"), QStringLiteral("Belarus"), 4, 96 * MiB),
                                       map(QStringLiteral("korwind.rus"), QStringLiteral("Russia"), 3, 40 * MiB)};
    device.unfinished.installed = {device.unfinished.mapsToInstall.constLast().file.fileName};
    device.unfinished.removedEarly = {QStringLiteral("RUS_Central.nm3")};
    device.hasUnfinished = true;
    MainWindow unfinishedWindow(&device, &unfinishedNetwork, &unfinishedPackages);
    unfinishedWindow.resize(820, 600);
    unfinishedWindow.show();
    unfinishedNetwork.finishCheck();
    Q_EMIT device.foundDevices({device.device});
    device.finish();
    click(unfinishedWindow, "updateButton");
    gallery.shoot(unfinishedWindow, QStringLiteral("unfinished-update"));
    device.hasUnfinished = false;

    // No update server: the check can be skipped.
    ScriptedNetworkServices offlineNetwork;
    PackageServices offlinePackages;
    MainWindow offlineWindow(&device, &offlineNetwork, &offlinePackages);
    offlineWindow.resize(820, 600);
    offlineWindow.show();
    offlineNetwork.finishCheck({UpdateCheckError::ServerUnavailable, QStringLiteral("Could not connect to the server."),
                                QString()});
    gallery.shoot(offlineWindow, QStringLiteral("self-update-check-failed"));

    // A newer update center: the user can only update or quit.
    ScriptedNetworkServices selfUpdateNetwork;
    PackageServices selfUpdatePackages;
    MainWindow selfUpdateWindow(&device, &selfUpdateNetwork, &selfUpdatePackages);
    selfUpdateWindow.resize(820, 600);
    selfUpdateWindow.show();
    ProductInfo newer = navigatorUpdate(QStringLiteral("1.0.8.0"), QString());
    newer.kind = ProductInfo::SelfUpdatePackage;
    Q_EMIT selfUpdateNetwork.updateFound(newer);
    selfUpdateNetwork.finishCheck();
    gallery.shoot(selfUpdateWindow, QStringLiteral("self-update-needed"));
    click(selfUpdateWindow, "updateButton");
    Q_EMIT selfUpdateNetwork.updateDownloadStarted();
    Q_EMIT selfUpdateNetwork.downloadStatusUpdate(transfer(QStringLiteral("UpdateCenter_1.0.8.0.zip"), 9 * MiB, 21 * MiB));
    Q_EMIT selfUpdateNetwork.showProgress(43);
    gallery.shoot(selfUpdateWindow, QStringLiteral("self-update-download"));

    data.removeTranslators();
    return gallery.failed() ? 1 : 0;
}
