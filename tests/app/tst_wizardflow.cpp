#include "applicationdata.h"
#include "appsettings.h"
#include "errorwidget.h"
#include "desktopnotifications.h"
#include "mainwindow.h"
#include "privatebus.h"
#include "scriptedservices.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDBusConnection>
#include <QRegularExpression>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <memory>

namespace {

// Steps that bring the wizard to a page, written once and named with "@".
const QMap<QString, QStringList> &stepGroups()
{
    static const QMap<QString, QStringList> groups = {
        {"@devices", {"net ok", "devices", "dev ok"}},
        {"@exes", {"@devices", "click next", "exes 1", "dev ok", "net ok"}},
        {"@navigator", {"@exes", "click next", "dev ok", "contents 2", "dev ok"}},
        {"@update-page", {"@navigator", "navupdates 1", "net ok"}},
        {"@maps", {"@navigator", "net ok", "dev choice yes", "maps offered", "net ok"}},
    };
    return groups;
}

QStringList expand(const QStringList &steps)
{
    QStringList result;
    for (const QString &step : steps)
        result += stepGroups().contains(step) ? expand(stepGroups().value(step)) : QStringList{step};
    return result;
}

ProductInfo product(const QString &name, const QString &version)
{
    ProductInfo result;
    result.name = name;
    result.version = version;
    result.file.fileName = name + ".zip";
    return result;
}

MapInfo map(const QString &code)
{
    MapInfo result;
    result.code = code;
    result.name = code;
    result.file.fileName = code + ".nm3";
    return result;
}

class FixedSpace final : public FreeSpaceDataProvider
{
public:
    qint64 otherFiles = 0;
    qint64 freeSpace(int) override { return 1 << 30; }
    qint64 otherFilesSize(int) override { return otherFiles; }
};

// The wizard over scripted services, driven by steps written as text.
class Wizard
{
public:
    Wizard()
    {
        device.device = {"NAVI", DeviceInfo::Storage, true, 0, false, {}, {}};
        device.navigator.executablePath = "/media/NAVI/Korwind/Korwind.exe";
        device.navigator.version = DottedVersion(5, 1, 0, 0);
        device.content.uid = "card-1";
        device.content.freeSpaceChecker = FreeSpaceChecker(&space, 0);
        entry.map = &offeredMap;
        offeredMap = map("korwind.blr");
        installedEntry.map = &installedMap;
        installedEntry.kind = MapDisplayInfo::Installed;
        installedMap = map("korwind.ukr");
        installedMap.kind = ProductInfo::InstalledMap;
    }

    void start()
    {
        window = std::make_unique<MainWindow>(&device, &network, &packages);
        QObject::connect(window->findChild<ErrorWidget *>("errorPage"), &ErrorWidget::errorHappened,
                         [this] { ++launcherErrorMarks; });
        window->show();
    }

    // Plays the steps from the start of the program: settings of the device come before the window
    // exists, the rest are played on it.
    void play(const QStringList &steps)
    {
        const QStringList expanded = expand(steps);
        int first = 0;
        while (first < expanded.size() && QStringList({"kind", "version", "readonly-navigator", "module", "selfupdate",
                                                       "old-maps"})
                                              .contains(expanded.at(first).section(' ', 0, 0)))
            run(expanded.at(first++));
        start();
        for (int i = first; i < expanded.size(); ++i) {
            const QString &step = expanded.at(i);
            if (step == "wait")
                Q_EMIT device.installWaitForUserAction();
            else if (step == "restore")
                window->findChild<QPushButton *>("restoreBackups")->click();
            else
                run(step);
        }
    }

    void run(const QString &step)
    {
        const QStringList words = step.split(' ');
        const QString verb = words.value(0);
        const QString what = words.value(1);
        const QString rest = step.section(' ', 2);
        if (verb == "net") {
            if (what == "ok")
                network.finishCheck();
            else if (what == "fail")
                network.finishCheck({words.value(2).toInt(), step.section(' ', 3), QString()});
            else if (what == "done")
                network.finish();
            else
                network.finish(rest);
        } else if (verb == "dev") {
            if (what == "ok")
                device.finish();
            else if (what == "error")
                device.finish(rest);
            else if (what == "choice")
                device.finishChoice(rest == "yes");
            else if (what == "prep")
                device.finishPreparation(step.section(' ', 3), words.value(2) == "critical");
        } else if (verb == "click") {
            const char *name = what == "cancel" ? "cancelButton" : what == "back" ? "backButton" : "updateButton";
            button(name)->click();
        } else if (verb == "devices") {
            QList<DeviceInfo> devices = {device.device};
            if (what == "readonly")
                devices = {{"RO", DeviceInfo::Storage, true, 0, true, {}, {}}};
            else if (what == "wrongway")
                devices = {{"Phone", DeviceInfo::Android, false, 0, false, {}, {}}};
            Q_EMIT device.foundDevices(devices);
        } else if (verb == "kind") {
            device.device.kind = what.toInt();
        } else if (verb == "version") {
            device.navigator.version = DottedVersion::fromString(what);
        } else if (verb == "readonly-navigator") {
            device.navigator.isReadOnly = true;
        } else if (verb == "module") {
            device.moduleNeeded = what == "needed";
            device.moduleError = what == "error" ? rest : QString();
        } else if (verb == "exes") {
            QList<KorwindExeInfo> exes;
            for (int i = 0; i < what.toInt(); ++i) {
                KorwindExeInfo exe;
                exe.path = QString("/media/NAVI/Korwind%1.exe").arg(i);
                exe.version = DottedVersion(5, 1, 0, 0);
                exes.append(exe);
            }
            Q_EMIT device.foundPossibleKorwindInstallations(exes, {"/media/NAVI"}, true, nullptr);
        } else if (verb == "contents") {
            Q_EMIT device.foundKorwindContents(QList<KorwindContentInfo>(what.toInt(), device.content));
        } else if (verb == "navupdates") {
            packages.navigatorUpdates.clear();
            for (int i = 0; i < what.toInt(); ++i)
                packages.navigatorUpdates.append(product("navi", words.value(2, "5.2.0.0")));
            packages.chosenNavigatorUpdate = packages.navigatorUpdates.isEmpty() ? -1 : 0;
        } else if (verb == "backup-off") {
            window->findChild<QCheckBox *>("createBackupsBox")->setChecked(false);
        } else if (verb == "choose-no-navigator") {
            packages.chosenNavigatorUpdate = -1;
        } else if (verb == "selfupdate") {
            packages.selfUpdatePackage = product("center", "1.0.8.0");
            packages.hasSelfUpdate = true;
        } else if (verb == "maps") {
            // "chosen" ticks a map on the page; "install" and "remove" also say what the selection holds.
            if (what == "offered") {
                packages.newMapEntries = {&entry};
                packages.existingMapEntries = {&installedEntry};
                return;
            }
            if (what == "install")
                packages.mapsToInstall = {map("korwind.blr")};
            else if (what == "remove")
                packages.mapsToRemove = {map("korwind.ukr")};
            Q_EMIT packages.setNewMapState(&entry, PS_NEW_INSTALLATION);
            Q_EMIT packages.setStatesFinished();
        } else if (verb == "old-maps") {
            space.otherFiles = what.toLongLong();
        } else if (verb == "unfinished") {
            // The device keeps the record of a job cut short: "maps", "navigator", or "maps-backup".
            UpdateJobRecord &record = device.unfinished;
            record = UpdateJobRecord();
            record.kind = what == "navigator" ? UpdateJobRecord::NavigatorJob : UpdateJobRecord::MapJob;
            record.navigatorPackage = product("navi", "5.2.0.0");
            record.mapsToInstall = {map("korwind.blr"), map("korwind.rus")};
            record.installed = {"korwind.rus.nm3"};
            record.deleteOldMapData = true;
            if (what == "maps-backup") {
                record.backupId = "backup_02.01.2026";
                device.deviceBackups = {{"Maps", "NAVI", QDate(2026, 1, 1), "backup_01.01.2026"},
                                        {"Maps", "NAVI", QDate(2026, 1, 2), "backup_02.01.2026"}};
            }
            device.hasUnfinished = true;
        } else if (verb == "restore-unfinished") {
            window->findChild<QWidget *>("unfinishedUpdatePage")->findChild<QPushButton *>("restoreButton")->click();
        } else if (verb == "backups") {
            Q_EMIT device.foundDeviceSpecificBackups({{"Maps", "NAVI", QDate(2026, 1, 2), {}}});
        } else if (verb == "answer") {
            // The question comes with the next step and waits in its own event loop, where this answers it.
            const QMessageBox::StandardButton answer = what == "yes" ? QMessageBox::Yes : QMessageBox::No;
            QTimer::singleShot(0, [answer] {
                if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                    box->button(answer)->click();
            });
            return;
        } else if (verb == "type") {
            QTest::keyClicks(window->findChild<QWidget *>("sendInfoWidget")->findChild<QLineEdit *>(), what);
        } else if (verb == "link") {
            Q_EMIT window->findChild<ErrorWidget *>("errorPage")->linkActivated(step.section(' ', 1));
        } else {
            QFAIL(qPrintable("unknown step: " + step));
        }
        QApplication::processEvents();
    }

    QPushButton *button(const char *name) const { return window->findChild<QPushButton *>(name); }

    QString page() const { return window->findChild<QStackedWidget *>("stackedWidget")->currentWidget()->objectName(); }

    // The bar as "left|middle|right" (without the mnemonics); a hidden button is "-", a disabled one ends
    // with "!".
    QString buttons() const
    {
        QStringList texts;
        for (const char *name : {"cancelButton", "backButton", "updateButton"}) {
            const QPushButton *b = button(name);
            texts.append(b->isVisible() ? b->text().remove('&') + (b->isEnabled() ? "" : "!") : "-");
        }
        return texts.join('|');
    }

    ScriptedDeviceServices device;
    ScriptedNetworkServices network;
    ScriptedPackageServices packages;
    FixedSpace space;
    MapInfo offeredMap;
    MapDisplayInfo entry;
    MapInfo installedMap;
    MapDisplayInfo installedEntry;
    std::unique_ptr<MainWindow> window;
    int launcherErrorMarks = 0; // errors the error page reported for the taskbar entry
};

} // namespace

// Stands in for the desktop's notification service and keeps what it was asked to show.
class StandInNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    QStringList shown; // "summary: body (icon)"

public Q_SLOTS:
    uint Notify(const QString &, uint, const QString &icon, const QString &summary, const QString &body,
                const QStringList &, const QVariantMap &, int)
    {
        shown.append(summary + ": " + body + " (" + icon + ")");
        return uint(shown.size());
    }
};

class TestWizardFlow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    std::unique_ptr<ApplicationData> m_data;
    PrivateBus m_bus;
    StandInNotifications m_notifications;

private Q_SLOTS:
    void initTestCase()
    {
        // The desktop's session bus is the test's own, before anything connects to it.
        QString error;
        QVERIFY2(m_bus.start(&error), qPrintable(error));
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus.address().toUtf8());
        QDBusConnection service = QDBusConnection::connectToBus(m_bus.address(), "notification-service");
        QVERIFY(service.registerObject("/org/freedesktop/Notifications", &m_notifications, QDBusConnection::ExportAllSlots));
        qputenv("HOME", m_home.path().toUtf8());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_home.filePath("config"));
        // Russian is offered besides English; the wizard runs in English.
        QFile russian(m_home.filePath("KorwindNavigatorUpdater_ru_RU.qm"));
        QVERIFY(russian.open(QIODevice::WriteOnly));
        m_data = std::make_unique<ApplicationData>(m_home.path());
    }

    void init() { QSettings().clear(); }

    void steps_data()
    {
        // Each row plays the steps from the start of the program and then looks at the page, the
        // button bar and the last call the wizard made of a service ("dev:" or "net:").
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("buttons");
        QTest::addColumn<QString>("lastCall");

        // Self-update check
        QTest::newRow("start: the self-update check") << QStringList() << "progressPage" << "Cancel|-|-" << "net:checkSelfUpdate";
        QTest::newRow("self-update check cancelled") << QStringList{"click cancel"} << "progressPage" << "Cancel|-|-"
                                                     << "net:cancelNetworkOperation";
        QTest::newRow("self-update check fails: skip or retry") << QStringList{"net fail 4 Down"} << "errorPage"
                                                                << "Exit|Skip the check|Retry" << "";
        QTest::newRow("self-update retried") << QStringList{"net fail 4 Down", "click next"} << "progressPage" << "Cancel|-|-"
                                             << "net:checkSelfUpdate";
        QTest::newRow("self-update check skipped") << QStringList{"net fail 4 Down", "click back"} << "progressPage"
                                                   << "Cancel|-|-" << "dev:searchDevices";
        // Offline, a backup is still restored; the step that needs the server says so and offers Retry.
        QTest::newRow("skipped: a backup restored offline")
            << QStringList{"net fail 4 Down", "click back", "devices", "dev ok", "click next", "exes 1", "dev ok",
                           "net fail 4 Down", "backups", "restore", "click next", "click next", "dev ok"}
            << "successPage" << "Exit|-|Search updates" << "dev:restoreBackup";
        QTest::newRow("skipped: the navigator check needs the server")
            << QStringList{"net fail 4 Down", "click back", "devices", "dev ok", "click next", "exes 1", "dev ok",
                           "net fail 4 Down", "click next", "dev ok", "contents 1", "dev ok", "net fail 4 Down"}
            << "errorPage" << "Exit|Back|Retry" << "net:checkNavigatorUpdate /media/NAVI/Korwind/Korwind.exe";
        QTest::newRow("newer update center: update or quit") << QStringList{"selfupdate", "net ok"} << "errorPage"
                                                              << "Exit|-|Next" << "";
        QTest::newRow("self-update download") << QStringList{"selfupdate", "net ok", "click next"} << "updatesStagesPage"
                                              << "Cancel|-|-" << "net:startDownload center.zip";
        QTest::newRow("self-update download fails: only Retry")
            << QStringList{"selfupdate", "net ok", "click next", "net error lost"} << "errorPage" << "Exit|-|Retry" << "";

        // Devices
        QTest::newRow("device search") << QStringList{"net ok"} << "progressPage" << "Cancel|-|-" << "dev:searchDevices";
        QTest::newRow("device search cancelled") << QStringList{"net ok", "click cancel"} << "progressPage" << "Cancel|-|-"
                                                 << "dev:cancelDeviceOperation";
        QTest::newRow("no device") << QStringList{"net ok", "dev error none"} << "deviceNotFoundPage" << "Exit|-|Retry" << "";
        QTest::newRow("no device, retried") << QStringList{"net ok", "dev error none", "click next"} << "progressPage"
                                            << "Cancel|-|-" << "dev:searchDevices";
        QTest::newRow("device list") << QStringList{"@devices"} << "selectDevicePage" << "Exit|Search device|Next" << "";
        QTest::newRow("search again from the list") << QStringList{"@devices", "click back"} << "progressPage" << "Cancel|-|-"
                                                    << "dev:searchDevices";
        QTest::newRow("read-only device") << QStringList{"net ok", "devices readonly", "dev ok", "click next"} << "errorPage"
                                          << "Exit|Back|To device search" << "";
        QTest::newRow("device plugged in the wrong way") << QStringList{"net ok", "devices wrongway", "dev ok", "click next"}
                                                         << "platformHelpPage" << "Exit|Back|Retry" << "";
        QTest::newRow("module needed") << QStringList{"kind 1", "module needed", "@devices", "click next"} << "errorPage"
                                       << "Exit|Back|Install" << "dev:checkModule";
        QTest::newRow("module installed") << QStringList{"kind 1", "module needed", "@devices", "click next", "click next"}
                                          << "progressPage" << "Cancel|-|-" << "dev:installModule";
        QTest::newRow("module installation fails") << QStringList{"kind 1", "module needed", "@devices", "click next",
                                                                  "click next", "dev error no room"}
                                                   << "errorPage" << "Exit|Back|Retry" << "";
        QTest::newRow("module check fails") << QStringList{"module error gone", "@devices", "click next"} << "errorPage"
                                            << "Exit|Back|To device search" << "dev:checkModule";
        QTest::newRow("unknown kind of device") << QStringList{"kind 7", "@devices", "click next"} << "errorPage"
                                                << "Exit|Back|-" << "dev:checkModule";

        // USB storage: executables
        QTest::newRow("executable search") << QStringList{"@devices", "click next"} << "progressPage" << "Cancel|-|-"
                                           << "dev:searchNavigatorInstallations";
        QTest::newRow("executable search fails") << QStringList{"@devices", "click next", "dev error unreadable"} << "errorPage"
                                                 << "Exit|Back|Retry" << "";
        QTest::newRow("executable search retried") << QStringList{"@devices", "click next", "dev error unreadable", "click next"}
                                                   << "progressPage" << "Cancel|-|-" << "dev:searchNavigatorInstallations";
        QTest::newRow("executable search, back to the list")
            << QStringList{"@devices", "click next", "dev error unreadable", "click back"} << "selectDevicePage"
            << "Exit|Search device|Next" << "";
        QTest::newRow("no executable: typed path only") << QStringList{"@devices", "click next", "exes 0", "dev ok"}
                                                        << "selectKorwindPage" << "Exit|Back|Next!" << "dev:findDeviceSpecificBackups";
        QTest::newRow("three executables checked in turn")
            << QStringList{"@devices", "click next", "exes 3", "dev ok", "net ok", "net fail 7 refused", "net ok"}
            << "selectKorwindPage" << "Exit|Back|Next" << "net:checkNavigatorUpdate /media/NAVI/Korwind2.exe";
        QTest::newRow("one Cancel ends the checks of all executables")
            << QStringList{"@devices", "click next", "exes 3", "dev ok", "net ok", "click cancel", "net fail -1 cancelled"}
            << "selectKorwindPage" << "Exit|Back|Next" << "net:cancelNetworkOperation";
        QTest::newRow("executable unknown to the server is not verified")
            << QStringList{"@devices", "click next", "exes 1", "dev ok", "net fail 3 unknown", "click next"} << "errorPage"
            << "Exit|Back|-" << "dev:findDeviceSpecificBackups";
        QTest::newRow("executable verified") << QStringList{"@exes", "click next"} << "progressPage" << "Cancel|-|-"
                                             << "dev:selectNavigatorExecutable /media/NAVI/Korwind0.exe";
        QTest::newRow("verification fails") << QStringList{"@exes", "click next", "dev error not a navigator"} << "errorPage"
                                            << "Exit|Back|Retry" << "";
        QTest::newRow("verification, back to the executables")
            << QStringList{"@exes", "click next", "dev error not a navigator", "click back"} << "selectKorwindPage"
            << "Exit|Back|Next" << "";
        QTest::newRow("content search") << QStringList{"@exes", "click next", "dev ok"} << "progressPage" << "Cancel|-|-"
                                        << "dev:searchContents create";
        QTest::newRow("content search fails") << QStringList{"@exes", "click next", "dev ok", "dev error card gone"}
                                              << "errorPage" << "Exit|Back|Retry" << "";

        // Navigator updates
        QTest::newRow("navigator update check") << QStringList{"@navigator"} << "progressPage" << "Cancel|-|-"
                                                << "net:checkNavigatorUpdate /media/NAVI/Korwind/Korwind.exe";
        QTest::newRow("navigator that is not updated: straight to the maps")
            << QStringList{"readonly-navigator", "@navigator"} << "progressPage" << "Cancel|-|-"
            << "dev:tryAutoSelectContentForMaps";
        QTest::newRow("navigator unknown to the server") << QStringList{"@navigator", "net fail 3 who?"} << "errorPage"
                                                         << "Exit|Back|Retry" << "";
        QTest::newRow("server away") << QStringList{"@navigator", "net fail 4 away"} << "errorPage" << "Exit|Back|Retry" << "";
        QTest::newRow("navigator update page") << QStringList{"@update-page"} << "selectNaviUpdatePage" << "Exit|Back|Update"
                                               << "";
        QTest::newRow("no updates, no cards") << QStringList{"@exes", "click next", "dev ok", "contents 0", "dev ok", "net ok"}
                                              << "successPage" << "Exit|-|Select device" << "";
        QTest::newRow("no updates: the maps' card is looked for") << QStringList{"@navigator", "net ok"} << "progressPage"
                                                                  << "Cancel|-|-" << "dev:tryAutoSelectContentForMaps";
        QTest::newRow("navigator below 5.0.0.0: no maps") << QStringList{"version 4.9.0.0", "@navigator", "net ok"}
                                                           << "errorPage" << "Exit|-|Select device" << "";
        QTest::newRow("android: the update is only shown") << QStringList{"kind 4", "@devices", "click next", "dev ok",
                                                                           "contents 1", "dev ok", "navupdates 1", "net ok"}
                                                           << "successPage" << "Exit|Back|Next" << "";
        QTest::newRow("don't update the program") << QStringList{"@update-page", "choose-no-navigator", "click next"}
                                                  << "progressPage" << "Cancel|-|-" << "dev:tryAutoSelectContentForMaps";
        QTest::newRow("given up after a \"No\", then no program update: maps for the installed version")
            << QStringList{"@update-page", "backup-off", "click next", "dev choice yes", "maps offered", "net ok",
                           "maps install", "click next", "net done", "answer no", "dev prep soft No room for logs",
                           "choose-no-navigator", "click next", "dev choice yes"}
            << "progressPage" << "Cancel|-|-" << "net:checkMapUpdates 5.1.0.0";
        QTest::newRow("update to a navigator without maps: installed at once")
            << QStringList{"version 4.0.0.0", "@navigator", "navupdates 1 4.9.5.0", "net ok", "click next"}
            << "updatesStagesPage" << "Cancel|-|-" << "net:startDownload navi.zip";
        QTest::newRow("update to a navigator without maps: done")
            << QStringList{"version 4.0.0.0", "@navigator", "navupdates 1 4.9.5.0", "net ok", "click next", "net done",
                           "dev ok", "dev prep soft ", "dev ok"}
            << "successPage" << "Exit|-|Select device" << "dev:installPackage navi";
        QTest::newRow("navigator without cards: installed at once")
            << QStringList{"@exes", "click next", "dev ok", "contents 0", "dev ok", "navupdates 1", "net ok", "click next"}
            << "updatesStagesPage" << "Cancel|-|-" << "net:startDownload navi.zip";

        // Maps
        QTest::newRow("several cards: the user chooses") << QStringList{"@navigator", "net ok", "dev choice no"}
                                                         << "selectContentPage" << "Exit|Select device|Next!" << "";
        QTest::newRow("map update check") << QStringList{"@navigator", "net ok", "dev choice yes"} << "progressPage"
                                          << "Cancel|-|-" << "net:checkMapUpdates 5.1.0.0";
        QTest::newRow("map update check fails") << QStringList{"@navigator", "net ok", "dev choice yes", "net fail 4 away"}
                                                << "errorPage" << "Exit|Select device|Retry" << "";
        QTest::newRow("maps up to date") << QStringList{"@navigator", "net ok", "dev choice yes", "net ok"} << "successPage"
                                         << "Exit|-|Search device" << "";
        QTest::newRow("map page") << QStringList{"@maps"} << "selectMapUpdatePage" << "Exit|Select device|Update!"
                                  << "dev:findDeviceSpecificBackups";
        QTest::newRow("selection with nothing to do: done without a download")
            << QStringList{"@maps", "maps chosen", "click next"} << "successPage"
                                                                 << "Exit|Search device|More updates"
                                                                 << "net:checkMapUpdates 5.1.0.0";
        QTest::newRow("maps to remove are shown first") << QStringList{"@maps", "maps install", "maps remove", "click next"}
                                                        << "deletionWarningPage" << "Exit|Back|Update" << "";
        QTest::newRow("map download") << QStringList{"@maps", "maps install", "click next"} << "updatesStagesPage"
                                      << "Cancel|-|-" << "net:startDownload korwind.blr.nm3";
        QTest::newRow("map download cancelled after the question")
            << QStringList{"@maps", "maps install", "click next", "answer yes", "click cancel"} << "updatesStagesPage"
            << "Cancel|-|-" << "net:cancelNetworkOperation";
        QTest::newRow("map download goes on when the question is answered No")
            << QStringList{"@maps", "maps install", "click next", "answer no", "click cancel"} << "updatesStagesPage"
            << "Cancel|-|-" << "net:startDownload korwind.blr.nm3";
        QTest::newRow("map download fails") << QStringList{"@maps", "maps install", "click next", "net error lost"}
                                            << "errorPage" << "Exit|Select device|Retry" << "";
        QTest::newRow("map download retried") << QStringList{"@maps", "maps install", "click next", "net error lost",
                                                             "click next"}
                                              << "updatesStagesPage" << "Cancel|-|-" << "net:startDownload korwind.blr.nm3";
        QTest::newRow("map backup on USB storage covers the program")
            << QStringList{"@maps", "maps install", "click next", "net done"} << "updatesStagesPage" << "Cancel|-|-"
            << "dev:createBackup all";
        QTest::newRow("only removals: no download")
            << QStringList{"@maps", "maps remove", "click next", "click next"} << "updatesStagesPage" << "Cancel|-|-"
            << "dev:createBackup all";
        QTest::newRow("old maps deleted once the new ones are in place")
            << QStringList{"old-maps 1000", "@maps", "maps install", "click next", "net done", "dev ok", "dev ok"}
            << "updatesStagesPage" << "Cancel|-|-" << "dev:deleteOtherMapFiles";
        QTest::newRow("unknown size of old maps counts as old maps")
            << QStringList{"old-maps -1", "@maps", "maps install", "click next", "net done", "dev ok"} << "updatesStagesPage"
            << "Cancel|-|-" << "dev:installMaps korwind.blr /  then old map data";
        QTest::newRow("maps installed after their backup") << QStringList{"@maps", "maps install", "click next", "net done", "dev ok"}
                                        << "updatesStagesPage" << "Cancel|-|-" << "dev:installMaps korwind.blr / ";
        QTest::newRow("map installation cancelled after the question")
            << QStringList{"@maps", "maps install", "click next", "net done", "dev ok", "answer yes", "click cancel"}
            << "updatesStagesPage" << "Cancel|-|-" << "dev:cancelDeviceOperation";
        QTest::newRow("map update done") << QStringList{"@maps", "maps install", "click next", "net done", "dev ok", "dev ok"}
                                         << "successPage" << "Exit|Search device|More updates" << "";
        QTest::newRow("more updates: the card is read again")
            << QStringList{"@maps", "maps install", "click next", "net done", "dev ok", "dev ok", "click next"}
            << "progressPage" << "Cancel|-|-" << "dev:researchContents";
        QTest::newRow("installation waits for the user")
            << QStringList{"@maps", "maps install", "click next", "net done", "dev ok", "wait"} << "errorPage" << "Exit|-|-"
            << "dev:installMaps korwind.blr / ";

        // A job the last run left unfinished
        QTest::newRow("unfinished update: shown once the device is chosen")
            << QStringList{"unfinished maps", "@devices", "click next"} << "unfinishedUpdatePage"
            << "Exit|Select device|Finish the update" << "";
        QTest::newRow("finishing: the job's navigator and folder chosen again")
            << QStringList{"unfinished maps", "@devices", "click next", "click next"} << "progressPage" << "Cancel|-|-"
            << "dev:resumeUnfinishedUpdate";
        QTest::newRow("finishing: what is not installed yet is downloaded")
            << QStringList{"unfinished maps", "@devices", "click next", "click next", "dev ok"} << "updatesStagesPage"
            << "Cancel|-|-" << "net:startDownload korwind.blr.nm3";
        QTest::newRow("finishing: installed without a new backup, old map data after")
            << QStringList{"unfinished maps", "@devices", "click next", "click next", "dev ok", "net done"}
            << "updatesStagesPage" << "Cancel|-|-" << "dev:installMaps korwind.blr /  then old map data";
        QTest::newRow("finishing: done")
            << QStringList{"unfinished maps", "@devices", "click next", "click next", "dev ok", "net done", "dev ok",
                           "dev ok"}
            << "successPage" << "Exit|-|Search updates" << "dev:deleteOtherMapFiles";
        QTest::newRow("finishing fails: retried or left")
            << QStringList{"unfinished maps", "@devices", "click next", "click next", "dev ok", "net done",
                           "dev error File transfer error."}
            << "errorPage" << "Exit|Select device|Retry" << "";
        QTest::newRow("finishing a navigator job: its package")
            << QStringList{"unfinished navigator", "@devices", "click next", "click next", "dev ok"}
            << "updatesStagesPage" << "Cancel|-|-" << "net:startDownload navi.zip";
        QTest::newRow("the backup made before the job restored instead")
            << QStringList{"unfinished maps-backup", "@devices", "click next", "restore-unfinished"} << "errorPage"
            << "Exit|Back|Continue" << "dev:deviceSpecificBackupSelected 1";
        QTest::newRow("restoring the backup of the unfinished job")
            << QStringList{"unfinished maps-backup", "@devices", "click next", "restore-unfinished", "click next"}
            << "progressPage" << "Cancel|-|-" << "dev:restoreBackup";

        // Backups
        QTest::newRow("backups of the device offered") << QStringList{"@exes", "backups"} << "selectKorwindPage"
                                                       << "Exit|Back|Next" << "";
        QTest::newRow("backup list") << QStringList{"@exes", "backups", "restore"} << "backupRestorePage"
                                     << "Exit|Back|Restore" << "dev:findDeviceSpecificBackups";
        QTest::newRow("restoration warning") << QStringList{"@exes", "backups", "restore", "click next"} << "errorPage"
                                             << "Exit|Back|Continue" << "";
        QTest::newRow("restoration on USB storage: no reconnection")
            << QStringList{"@exes", "backups", "restore", "click next", "click next"} << "progressPage" << "Cancel|-|-"
            << "dev:restoreBackup";
        QTest::newRow("restored") << QStringList{"@exes", "backups", "restore", "click next", "click next", "dev ok"}
                                  << "successPage" << "Exit|-|Search updates" << "";

        // Device report
        QTest::newRow("report page from the link")
            << QStringList{"@devices", "click next", "exes 1", "dev ok", "net fail 3 unknown", "click next",
                           "link send device info"}
            << "sendInfoWidget" << "Exit|Back|Send!" << "";
        QTest::newRow("report sent with the typed name")
            << QStringList{"@devices", "click next", "exes 1", "dev ok", "net fail 3 unknown", "click next",
                           "link send device info", "type Trip5", "click next"}
            << "progressPage" << "Cancel|-|-" << "net:checkNavigatorUpdate /media/NAVI/Korwind/Korwind.exe report Trip5";
        QTest::newRow("report delivered")
            << QStringList{"@devices", "click next", "exes 1", "dev ok", "net fail 3 unknown", "click next",
                           "link send device info", "type Trip5", "click next", "net fail 3 unknown"}
            << "successPage" << "Exit|-|Next" << "";
        QTest::newRow("report not delivered")
            << QStringList{"@devices", "click next", "exes 1", "dev ok", "net fail 3 unknown", "click next",
                           "link send device info", "type Trip5", "click next", "net fail -1 refused"}
            << "errorPage" << "Exit|Back|Retry" << "";
    }
    void steps()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, page);
        QFETCH(QString, buttons);
        QFETCH(QString, lastCall);

        Wizard wizard;
        wizard.play(steps);
        QCOMPARE(wizard.page(), page);
        QCOMPARE(wizard.buttons(), buttons);
        // Focus went into the page; a job's stages have no control of their own and leave it on "Cancel".
        const QWidget *focus = wizard.window->focusWidget();
        const QWidget *shown = wizard.window->findChild<QStackedWidget *>("stackedWidget")->currentWidget();
        QVERIFY2(focus && (shown->isAncestorOf(focus) || (page == "updatesStagesPage" && focus == wizard.button("cancelButton"))),
                 qPrintable(focus ? focus->objectName() : "nothing"));
        if (lastCall.startsWith("dev:"))
            QCOMPARE(wizard.device.calls.value(wizard.device.calls.size() - 1), lastCall.mid(4));
        else if (lastCall.startsWith("net:"))
            QCOMPARE(wizard.network.calls.value(wizard.network.calls.size() - 1), lastCall.mid(4));
    }

    void launcherMarkedOnlyForErrors_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("marks");
        QTest::newRow("self-update needed: a notice") << QStringList{"selfupdate", "net ok"} << 0;
        QTest::newRow("module needed: a notice") << QStringList{"kind 1", "module needed", "@devices", "click next"} << 0;
        QTest::newRow("module check fails: an error") << QStringList{"module error gone", "@devices", "click next"} << 1;
        QTest::newRow("restoration warning: a notice") << QStringList{"@exes", "backups", "restore", "click next"} << 0;
        QTest::newRow("reconnection asked: a notice")
            << QStringList{"kind 1", "@devices", "click next", "dev ok", "contents 1", "dev ok", "net ok", "dev choice yes",
                           "maps offered", "net ok", "maps install", "click next"}
            << 0;
        QTest::newRow("reconnected device not found: an error")
            << QStringList{"kind 1", "@devices", "click next", "dev ok", "contents 1", "dev ok", "net ok", "dev choice yes",
                           "maps offered", "net ok", "maps install", "click next", "click next", "dev error not found"}
            << 1;
    }
    void launcherMarkedOnlyForErrors()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, marks);
        Wizard wizard;
        wizard.play(steps);
        QCOMPARE(wizard.page(), QString("errorPage"));
        QCOMPARE(wizard.launcherErrorMarks, marks);
    }

    void notificationWhenAway_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("window"); // "minimized", "behind" another window or "in front"
        QTest::addColumn<bool>("service");   // the desktop has a notification service
        QTest::addColumn<QString>("shown");
        const QStringList mapUpdate = {"@maps", "maps install", "click next", "net done", "dev ok"};
        const QString done = "The update is finished: Update is successfully completed!\nYou need to unplug your device "
                             "before running Korwind Navigator (example.korwind.UpdateCenter)";
        QTest::newRow("maps updated, window minimized") << mapUpdate + QStringList{"dev ok"} << "minimized" << true << done;
        QTest::newRow("maps updated, window behind another") << mapUpdate + QStringList{"dev ok"} << "behind" << true << done;
        QTest::newRow("maps updated, window in front") << mapUpdate + QStringList{"dev ok"} << "in front" << true << "";
        QTest::newRow("map update failed") << mapUpdate + QStringList{"dev error Card removed"} << "minimized" << true
                                           << "The update failed: Card removed (example.korwind.UpdateCenter)";
        QTest::newRow("navigator update failed")
            << QStringList{"@exes", "click next", "dev ok", "contents 0", "dev ok", "navupdates 1", "net ok", "click next",
                           "net error Connection lost"}
            << "minimized" << true << "The update failed: Connection lost (example.korwind.UpdateCenter)";
        QTest::newRow("backup restored")
            << QStringList{"@exes", "backups", "restore", "click next", "click next", "dev ok"} << "minimized" << true
            << "The backup is restored: Your backup was successfully restored! (example.korwind.UpdateCenter)";
        QTest::newRow("no notification service") << mapUpdate + QStringList{"dev ok"} << "minimized" << false << "";
    }
    void notificationWhenAway()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, window);
        QFETCH(bool, service);
        QFETCH(QString, shown);
        QDBusConnection serviceBus = QDBusConnection::connectToBus(m_bus.address(), "notification-service");
        if (service)
            QVERIFY(serviceBus.registerService("org.freedesktop.Notifications"));
        m_notifications.shown.clear();
        Wizard wizard;
        QWidget other;
        const QString last = steps.takeLast();
        wizard.play(steps);
        if (window == "minimized") {
            wizard.window->showMinimized();
        } else {
            QWidget *front = window == "behind" ? &other : wizard.window.get();
            front->show();
            QApplication::setActiveWindow(front);
        }
        wizard.run(last);
        QVERIFY(wizard.page() == "successPage" || wizard.page() == "errorPage");

        // A message sent after the job's end arrives after whatever the job's end sent.
        DesktopNotifications(ApplicationData::desktopId()).notify("marker", "");
        const QString marker = "marker:  (example.korwind.UpdateCenter)";
        if (service) {
            QTRY_VERIFY(m_notifications.shown.contains(marker));
            m_notifications.shown.removeAll(marker);
            QVERIFY(serviceBus.unregisterService("org.freedesktop.Notifications"));
        } else {
            QTest::qWait(100); // nothing can come, the marker neither
        }
        QCOMPARE(m_notifications.shown, shown.isEmpty() ? QStringList() : QStringList{shown});
    }

    void navigatorThenMapsOnUsbStorage()
    {
        // One job for the navigator with its backup, then one for the maps without a second backup.
        Wizard wizard;
        wizard.start();
        for (const QString &step : expand({"@update-page", "click next", "dev choice yes", "maps offered", "net ok",
                                           "maps install", "click next", "net done", "dev ok", "dev prep soft ",
                                           "dev ok", "net done", "dev ok"}))
            wizard.run(step);
        QCOMPARE(wizard.page(), QString("successPage"));
        const QStringList jobCalls = wizard.device.calls.filter(QRegularExpression("^(createBackup|checkPackage|installPackage|installMaps)"));
        QCOMPARE(jobCalls, QStringList({"createBackup all", "checkPackage navi", "installPackage navi", "installMaps korwind.blr / "}));
        QCOMPARE(wizard.network.calls.filter("startDownload"), QStringList({"startDownload navi.zip", "startDownload korwind.blr.nm3"}));
    }

    void preparationQuestion_data()
    {
        QTest::addColumn<bool>("backup");
        QTest::addColumn<QString>("preparation");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("downloadKept");
        QTest::newRow("with a backup: passed over") << true << "dev prep soft No room for logs" << "" << "updatesStagesPage" << true;
        QTest::newRow("without a backup: Yes installs") << false << "dev prep soft No room for logs" << "answer yes"
                                                        << "updatesStagesPage" << true;
        QTest::newRow("without a backup: No returns to the navigator page")
            << false << "dev prep soft No room for logs" << "answer no" << "selectNaviUpdatePage" << false;
        QTest::newRow("critical: the job ends") << true << "dev prep critical Device is locked" << "" << "errorPage" << true;
    }
    void preparationQuestion()
    {
        QFETCH(bool, backup);
        QFETCH(QString, preparation);
        QFETCH(QString, answer);
        QFETCH(QString, page);
        QFETCH(bool, downloadKept);

        QFile downloaded(QDir(AppSettings::downloadsDirectory()).filePath("navi.zip"));
        QVERIFY(downloaded.open(QIODevice::WriteOnly));
        downloaded.close();
        Wizard wizard;
        wizard.start();
        // No card: the navigator is installed at once, after its download (and backup).
        for (const QString &step : expand({"@exes", "click next", "dev ok", "contents 0", "dev ok", "navupdates 1", "net ok"}))
            wizard.run(step);
        wizard.window->findChild<QCheckBox *>("createBackupsBox")->setChecked(backup);
        wizard.run("click next");
        wizard.run("net done");
        if (backup)
            wizard.run("dev ok");
        if (!answer.isEmpty())
            wizard.run(answer);
        wizard.run(preparation);
        QCOMPARE(wizard.page(), page);
        QCOMPARE(downloaded.exists(), downloadKept);
        QCOMPARE(wizard.device.calls.last().startsWith("installPackage"), page == "updatesStagesPage");
    }

    void reconnection()
    {
        // Windows CE devices install maps only as USB storage: the user is asked to reconnect, and a
        // failed search asks again with the reason above the request.
        Wizard wizard;
        wizard.device.device.kind = DeviceInfo::ActiveSync;
        wizard.start();
        for (const QString &step : expand({"@devices", "click next", "dev ok", "contents 1", "dev ok", "net ok",
                                           "dev choice yes", "maps offered", "net ok", "maps install", "click next"}))
            wizard.run(step);
        QCOMPARE(wizard.page(), QString("errorPage"));
        QCOMPARE(wizard.buttons(), QString("Exit|-|Continue"));
        wizard.run("click next");
        QCOMPARE(wizard.device.calls.last(), QString("reconnectDevice card-1"));
        wizard.run("dev error The device was not found.");
        QCOMPARE(wizard.buttons(), QString("Exit|-|Continue"));
        const QString text = wizard.window->findChild<ErrorWidget *>("errorPage")->text();
        QVERIFY2(text.startsWith("The device was not found.<br>You need to reconnect"), qPrintable(text));
        wizard.run("click next");
        wizard.run("dev ok");
        QCOMPARE(wizard.network.calls.last(), QString("startDownload korwind.blr.nm3"));
        wizard.run("net done");
        QCOMPARE(wizard.device.calls.last(), QString("createBackup maps"));
    }

    void androidReadsMapsAfterReconnection()
    {
        Wizard wizard;
        wizard.device.device.kind = DeviceInfo::Android;
        wizard.start();
        for (const QString &step : expand({"@devices", "click next", "dev ok", "contents 1", "dev ok", "net ok", "dev choice yes"}))
            wizard.run(step);
        QCOMPARE(wizard.device.calls.filter("findNavigator").size(), 1);
        QCOMPARE(wizard.buttons(), QString("Exit|-|Continue"));
        wizard.run("click next");
        wizard.run("dev ok");
        QCOMPARE(wizard.network.calls.last(), QString("checkMapUpdates 5.1.0.0"));
    }

    void restorationAsksForReconnectionOffUsbStorage()
    {
        Wizard wizard;
        wizard.device.device.kind = DeviceInfo::ActiveSync;
        wizard.device.backupFiles = {"\\Storage Card\\KorwindContent"};
        wizard.start();
        for (const QString &step : expand({"@devices", "click next", "dev ok", "contents 1", "dev ok", "net ok",
                                           "dev choice yes", "maps offered", "net ok", "backups"}))
            wizard.run(step);
        wizard.window->findChild<QPushButton *>("restoreBackupButton")->click();
        wizard.run("click next");
        QCOMPARE(wizard.window->findChild<ErrorWidget *>("errorPage")->text(),
                 QString("During that operation the content of folders \\Storage Card\\KorwindContent will be deleted."));
        wizard.run("click next");
        QCOMPARE(wizard.buttons(), QString("Exit|-|Continue"));
        wizard.run("click next");
        wizard.run("dev ok");
        QCOMPARE(wizard.device.calls.last(), QString("restoreBackup"));
    }

    void languageSaved_data()
    {
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("restartAsked");
        QTest::newRow("another language: stored, restart offered") << "" << "ru_RU" << true;
        // Russian was chosen and the restart declined; going back to the running language takes that back.
        QTest::newRow("the running language: stored, no restart") << "ru_RU" << "en_US" << false;
    }
    void languageSaved()
    {
        QFETCH(QString, saved);
        QFETCH(QString, chosen);
        QFETCH(bool, restartAsked);
        if (!saved.isEmpty())
            AppSettings::setLanguage(QLocale(saved));
        Wizard wizard;
        wizard.start();
        wizard.button("settingsButton")->click();
        auto *box = wizard.window->findChild<QComboBox *>("languageBox");
        QCOMPARE(box->currentText(), QString("English"));
        box->setCurrentIndex(box->findText(QLocale(chosen).language() == QLocale::English ? "English" : "Русский"));
        bool asked = false;
        QTimer::singleShot(0, [&asked] {
            if (auto *question = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                asked = true;
                question->button(QMessageBox::No)->click();
            }
        });
        wizard.button("settingsUpdateButton")->click();
        QApplication::processEvents();
        QCOMPARE(asked, restartAsked);
        QCOMPARE(AppSettings::language(), chosen);
    }

    void mapsJobByKeyboard()
    {
        Wizard wizard;
        wizard.start();
        QVERIFY(QTest::qWaitForWindowActive(wizard.window.get()));
        QWindow *keys = wizard.window->windowHandle();
        for (const QString &step : expand({"@maps", "maps install", "maps remove"}))
            wizard.run(step);

        // Space on "Update" brings the warning, which takes the focus: a second Space does not confirm it.
        wizard.button("updateButton")->setFocus();
        QTest::keyClick(keys, Qt::Key_Space);
        QCOMPARE(wizard.page(), QString("deletionWarningPage"));
        QVERIFY(wizard.window->findChild<QWidget *>("deletionWarningPage")->isAncestorOf(QApplication::focusWidget()));
        QTest::keyClick(keys, Qt::Key_Space);
        QCOMPARE(wizard.page(), QString("deletionWarningPage"));

        // Enter confirms; during the job the focus stays on "Cancel", from stage to stage.
        QTest::keyClick(keys, Qt::Key_Return);
        QCOMPARE(wizard.network.calls.last(), QString("startDownload korwind.blr.nm3"));
        QCOMPARE(QApplication::focusWidget(), wizard.button("cancelButton"));
        wizard.run("net done");
        QCOMPARE(wizard.device.calls.last(), QString("createBackup all"));
        QCOMPARE(QApplication::focusWidget(), wizard.button("cancelButton"));

        // Escape asks before it cancels; No goes on.
        wizard.run("answer no");
        QTest::keyClick(keys, Qt::Key_Escape);
        QCOMPARE(wizard.device.calls.last(), QString("createBackup all"));
        QCOMPARE(wizard.window->focusWidget(), wizard.button("cancelButton"));
        wizard.run("dev ok");
        wizard.run("dev ok");
        QCOMPARE(wizard.page(), QString("successPage"));
        QVERIFY(wizard.window->findChild<QWidget *>("successPage")->isAncestorOf(wizard.window->focusWidget()));
    }

    void settingsByKeyboard()
    {
        // Escape leaves the settings as they were, Enter saves them; the focus goes into each layer.
        Wizard wizard;
        wizard.start();
        QVERIFY(QTest::qWaitForWindowActive(wizard.window.get()));
        for (const QString &step : expand({"@devices"}))
            wizard.run(step);
        const auto *layers = wizard.window->findChild<QStackedWidget *>("layersWidget");
        auto *box = wizard.window->findChild<QCheckBox *>("createBackups");
        const bool before = AppSettings::createBackups();
        for (const int key : {Qt::Key_Escape, Qt::Key_Return}) {
            wizard.button("settingsButton")->click();
            QCOMPARE(layers->currentWidget()->objectName(), QString("settingsLayer"));
            QVERIFY(wizard.window->findChild<QWidget *>("mainSettingsPage")->isAncestorOf(QApplication::focusWidget()));
            box->setChecked(!before);
            QTest::keyClick(wizard.window->windowHandle(), Qt::Key(key));
            QCOMPARE(layers->currentWidget()->objectName(), QString("mainLayer"));
            QVERIFY(wizard.window->findChild<QWidget *>("selectDevicePage")->isAncestorOf(QApplication::focusWidget()));
            QCOMPARE(AppSettings::createBackups(), key == Qt::Key_Escape ? before : !before);
        }
    }

    void secretSequenceOpensTheReport()
    {
        Wizard wizard;
        wizard.start();
        for (const QString &step : expand({"@maps"}))
            wizard.run(step);
        QTest::keyClicks(QApplication::focusWidget() ? QApplication::focusWidget() : wizard.window.get(), "WAYPOINTS");
        QCOMPARE(wizard.page(), QString("sendInfoWidget"));
    }
};

QTEST_MAIN(TestWizardFlow)
#include "tst_wizardflow.moc"
