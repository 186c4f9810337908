// The progress page, the update stages page and the launcher-entry progress they drive, observed on a
// private bus daemon that the test starts.

#include "nativeprogressbarhandler.h"
#include "privatebus.h"
#include "progressbarwidget.h"
#include "progresswidget.h"
#include "updateprogressentrywidget.h"
#include "updatestageswidget.h"

#include <QDBusConnection>
#include <QLabel>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

namespace {

const QString desktopId = QStringLiteral("example.korwind.UpdateCenter");
const QString progressKey = QStringLiteral("progress");
const QString visibleKey = QStringLiteral("progress-visible");
const QString urgentKey = QStringLiteral("urgent");

} // namespace

// Collects the launcher signals that reach its connection.
class LauncherListener : public QObject
{
    Q_OBJECT

public:
    QStringList appUris;
    QList<QVariantMap> updates;

signals:
    void received();

public slots:
    void onUpdate(const QString &appUri, const QVariantMap &properties)
    {
        appUris.append(appUri);
        updates.append(properties);
        emit received();
    }
};

// A source of progress signals, as a service is for the progress page.
class ProgressSource : public QObject
{
    Q_OBJECT

signals:
    void showProgress(int _nPercent);
};

class ProgressTest : public QObject
{
    Q_OBJECT

private:
    PrivateBus m_bus;
    std::unique_ptr<NativeProgressBarHandler> m_handler;
    LauncherListener m_listener;

    // Every update up to and including the next error state, which the test sends as a marker: what
    // arrives before it is all that the actions before it caused.
    QList<QVariantMap> updatesUntilMarker()
    {
        m_handler->setError(0);
        QList<QVariantMap> updates;
        while (true) {
            if (m_listener.updates.isEmpty() && !QSignalSpy(&m_listener, &LauncherListener::received).wait(5000))
                return updates << QVariantMap{{QStringLiteral("timed out"), true}};
            const QVariantMap update = m_listener.updates.takeFirst();
            if (update.value(urgentKey).toBool())
                return updates;
            updates.append(update);
        }
    }

    static QVariantMap busyOrStopped() { return {{visibleKey, false}, {urgentKey, false}}; }
    static QVariantMap preparedPercent() { return {{progressKey, 0.0}, {visibleKey, true}, {urgentKey, false}}; }
    static QVariantMap atPercent(int percent) { return {{progressKey, percent / 100.0}, {visibleKey, true}}; }

    template <typename T>
    static T *child(const QWidget *parent, const char *name)
    {
        T *found = parent->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no child %s", name);
        return found;
    }

    static void prepareJob(UpdateStagesWidget &page, const QString &job, bool first, bool second)
    {
        if (job == QLatin1String("self"))
            page.prepareSelfUpdate();
        else if (job == QLatin1String("maps"))
            page.prepareMapUpdate(first, second);
        else
            page.prepareKorwindUpdate(first, second);
    }

    static QList<UpdateProgressEntryWidget *> entriesInUse(const UpdateStagesWidget &page)
    {
        QList<UpdateProgressEntryWidget *> entries;
        for (int i = 1; i <= 7; ++i) {
            const QByteArray name = "stageWidget" + QByteArray::number(i);
            auto *entry = child<UpdateProgressEntryWidget>(&page, name.constData());
            if (entry->isVisibleTo(&page))
                entries.append(entry);
        }
        return entries;
    }

    static UpdateProgressEntryWidget *currentEntry(const UpdateStagesWidget &page)
    {
        for (UpdateProgressEntryWidget *entry : entriesInUse(page)) {
            if (entry->state() == UpdateProgressEntryWidget::Current)
                return entry;
        }
        qFatal("no current stage");
    }

private slots:
    void initTestCase()
    {
        QString error;
        QVERIFY2(m_bus.start(&error), qPrintable(error));
        const QString address = m_bus.address();
        QDBusConnection sender = QDBusConnection::connectToBus(address, QStringLiteral("progress-sender"));
        QDBusConnection listener = QDBusConnection::connectToBus(address, QStringLiteral("progress-listener"));
        QVERIFY(sender.isConnected() && listener.isConnected());
        QVERIFY(listener.connect(QString(), QString(), QStringLiteral("com.canonical.Unity.LauncherEntry"),
                                 QStringLiteral("Update"), &m_listener,
                                 SLOT(onUpdate(QString, QVariantMap))));
        m_handler = std::make_unique<NativeProgressBarHandler>(desktopId, sender);
        QCOMPARE(NativeProgressBarHandler::instance(), m_handler.get());
        QCOMPARE(updatesUntilMarker(), QList<QVariantMap>());
    }

    void init()
    {
        updatesUntilMarker(); // whatever the test before caused
        m_listener.appUris.clear();
    }

    void cleanupTestCase()
    {
        m_handler.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("progress-sender"));
        QDBusConnection::disconnectFromBus(QStringLiteral("progress-listener"));
    }

    void launcherSignal_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("argument");
        QTest::addColumn<QVariantMap>("expected");
        QTest::newRow("prepare percent") << "prepare" << int(PT_PERCENT) << preparedPercent();
        QTest::newRow("prepare busy: the entry has no busy state") << "prepare" << int(PT_BUSY) << busyOrStopped();
        QTest::newRow("progress") << "progress" << 42 << atPercent(42);
        QTest::newRow("progress beyond 100") << "progress" << 150 << atPercent(100);
        QTest::newRow("stop") << "stop" << 0 << busyOrStopped();
        QTest::newRow("error: full bar asking for attention")
            << "error" << 0 << QVariantMap{{progressKey, 1.0}, {visibleKey, true}, {urgentKey, true}};
    }
    void launcherSignal()
    {
        QFETCH(QString, operation);
        QFETCH(int, argument);
        QFETCH(QVariantMap, expected);
        QSignalSpy received(&m_listener, &LauncherListener::received);
        if (operation == QLatin1String("prepare"))
            m_handler->prepare(1, PROGRESS_TYPE(argument));
        else if (operation == QLatin1String("progress"))
            m_handler->progress(1, argument);
        else if (operation == QLatin1String("stop"))
            m_handler->stopProgress(1);
        else
            m_handler->setError(1);
        QVERIFY(received.wait(5000));
        QCOMPARE(m_listener.appUris, QStringList{QStringLiteral("application://example.korwind.UpdateCenter.desktop")});
        QCOMPARE(m_listener.updates.takeFirst(), expected);
    }

    void repeatedPercentageIsSentOnce()
    {
        m_handler->prepare(1, PT_PERCENT);
        m_handler->progress(1, 10);
        m_handler->progress(1, 10);
        m_handler->progress(1, 11);
        QCOMPARE(updatesUntilMarker(), (QList<QVariantMap>{preparedPercent(), atPercent(10), atPercent(11)}));
    }

    void busyBarIgnoresProgress()
    {
        ProgressBarWidget bar;
        QSignalSpy prepared(&bar, &ProgressBarWidget::gotPrepared);
        QSignalSpy progressed(&bar, &ProgressBarWidget::gotProgress);

        bar.prepare(PT_BUSY);
        bar.setProgress(50);
        QVERIFY(bar.isBusy());
        QCOMPARE(bar.maximum(), 0);
        QCOMPARE(progressed.count(), 0);
        QCOMPARE(prepared.count(), 1);
        QCOMPARE(prepared.at(0).at(1).value<PROGRESS_TYPE>(), PT_BUSY);

        bar.prepare(PT_PERCENT);
        bar.setProgress(50);
        QCOMPARE(bar.value(), 50);
        QCOMPARE(progressed.count(), 1);
        QCOMPARE(progressed.at(0).at(1).toInt(), 50);
        QCOMPARE(updatesUntilMarker(), (QList<QVariantMap>{busyOrStopped(), preparedPercent(), atPercent(50)}));
    }

    // Leaving the progress page ends the launcher progress; minimising or destroying the window does not.
    void hidingProgressPageStopsLauncherProgress()
    {
        auto *window = new QWidget;
        auto *pages = new QStackedWidget(window);
        (new QVBoxLayout(window))->addWidget(pages);
        auto *progressPage = new ProgressWidget;
        pages->addWidget(progressPage);
        pages->addWidget(new QWidget);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto *bar = child<ProgressBarWidget>(progressPage, "progressBar");
        QSignalSpy hidden(bar, &ProgressBarWidget::gotHidden);

        progressPage->prepare(PT_PERCENT);
        progressPage->setProgress(30);
        QCOMPARE(updatesUntilMarker(), (QList<QVariantMap>{preparedPercent(), atPercent(30)}));

        window->showMinimized();
        QCoreApplication::processEvents();
        window->showNormal();
        QCoreApplication::processEvents();
        QCOMPARE(hidden.count(), 0);

        pages->setCurrentIndex(1);
        QCOMPARE(hidden.count(), 1);
        QCOMPARE(hidden.at(0).at(0).value<WId>(), window->winId());
        QCOMPARE(updatesUntilMarker(), QList<QVariantMap>{busyOrStopped()});

        pages->setCurrentIndex(0);
        delete window;
        QCOMPARE(updatesUntilMarker(), QList<QVariantMap>());
    }

    void connectSourceTakesOverProgressSignal()
    {
        ProgressWidget earlier;
        ProgressWidget later;
        ProgressSource source;
        earlier.prepare(PT_PERCENT);
        later.prepare(PT_PERCENT);
        earlier.connectSource(&source, &ProgressSource::showProgress);
        later.connectSource(&source, &ProgressSource::showProgress);
        emit source.showProgress(40);
        QCOMPARE(child<ProgressBarWidget>(&later, "progressBar")->value(), 40);
        QCOMPARE(child<ProgressBarWidget>(&earlier, "progressBar")->value(), -1);
    }

    void stages_data()
    {
        QTest::addColumn<QString>("job");
        QTest::addColumn<bool>("first");
        QTest::addColumn<bool>("second");
        QTest::addColumn<int>("stage");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<int>("current");

        const QString prepareDownload = QStringLiteral("Preparing for download");
        const QString check = QStringLiteral("Checking files");
        const QString download = QStringLiteral("Downloading files");
        const QString verify = QStringLiteral("Verifying files");
        const QString backup = QStringLiteral("Creating backup");
        const QString prepare = QStringLiteral("Preparing for update installation");
        const QString deleteMaps = QStringLiteral("Deleting old maps");
        const QString install = QStringLiteral("Installing update");
        const QStringList always{prepareDownload, check, download, verify};
        const QString self = QStringLiteral("Updating Korwind Navigator update center");
        const QString maps = QStringLiteral("Updating maps");
        const QString navigator = QStringLiteral("Updating Korwind Navigator");

        QTest::newRow("self-update installing") << "self" << false << false << 7 << self
                                                << always + QStringList{install} << 4;
        QTest::newRow("self-update has no backup stage") << "self" << false << false << 4 << self
                                                         << always + QStringList{install} << 0;
        QTest::newRow("maps with backup and deletion, deleting after installing")
            << "maps" << true << true << 6 << maps << always + QStringList{backup, install, deleteMaps} << 6;
        QTest::newRow("maps: preparation not in the list") << "maps" << true << false << 5 << maps
                                                           << always + QStringList{backup, install} << 0;
        QTest::newRow("maps without options, verifying") << "maps" << false << false << 3 << maps
                                                         << always + QStringList{install} << 3;
        QTest::newRow("navigator with backup and preparation, installing")
            << "navigator" << true << true << 7 << navigator << always + QStringList{backup, prepare, install} << 6;
        QTest::newRow("navigator without backup, backup selected")
            << "navigator" << false << true << 4 << navigator << always + QStringList{prepare, install} << 0;
        QTest::newRow("navigator: deletion not in the list")
            << "navigator" << true << true << 6 << navigator << always + QStringList{backup, prepare, install} << 0;
        QTest::newRow("negative number") << "maps" << true << true << -1 << maps
                                         << always + QStringList{backup, install, deleteMaps} << 0;
        QTest::newRow("number past the last") << "navigator" << false << false << 8 << navigator
                                              << always + QStringList{install} << 0;
    }
    void stages()
    {
        QFETCH(QString, job);
        QFETCH(bool, first);
        QFETCH(bool, second);
        QFETCH(int, stage);
        QFETCH(QString, title);
        QFETCH(QStringList, headers);
        QFETCH(int, current);

        UpdateStagesWidget page;
        page.setCurrentStage(2); // before any job: nothing to select
        prepareJob(page, job, first, second);
        page.setCurrentStage(stage);

        QCOMPARE(child<QLabel>(&page, "titleLabel")->text(), title);
        const QList<UpdateProgressEntryWidget *> entries = entriesInUse(page);
        QStringList shownHeaders;
        for (int i = 0; i < entries.size(); ++i) {
            const UpdateProgressEntryWidget *entry = entries.at(i);
            const auto *header = child<QLabel>(entry, "headerLabel");
            shownHeaders.append(header->text());
            const bool isCurrent = i == current;
            QCOMPARE(entry->state(), isCurrent ? UpdateProgressEntryWidget::Current
                                     : i < current ? UpdateProgressEntryWidget::Done
                                                   : UpdateProgressEntryWidget::Waiting);
            QCOMPARE(header->font().bold(), isCurrent);
            QCOMPARE(child<QWidget>(entry, "progressPart")->isVisibleTo(entry), isCurrent);
            QCOMPARE(child<QLabel>(entry, "currentArrow")->isVisibleTo(entry), isCurrent);
            QCOMPARE(child<QLabel>(entry, "otherArrow")->isVisibleTo(entry), !isCurrent);
            // The icon tells a screen reader what the picture shows.
            const QLabel *icon = child<QLabel>(entry, isCurrent ? "currentArrow" : "otherArrow");
            QCOMPARE(icon->accessibleName(), isCurrent ? QStringLiteral("Running")
                                             : i < current ? QStringLiteral("Done") : QStringLiteral("Waiting"));
        }
        QCOMPARE(shownHeaders, headers);
    }

    // A new job leaves no stage current: progress and texts go nowhere until a stage is selected.
    void newJobHasNoCurrentStage()
    {
        UpdateStagesWidget page;
        page.prepareMapUpdate(false, false);
        page.setCurrentStage(2);
        page.setProgress(40);
        page.prepareKorwindUpdate(false, false);
        page.setProgress(60);
        page.setInfo(QStringLiteral("(keep connected)"));
        page.setExtraInfo(TransferStatusInfo{QStringLiteral("a.zip"), 1, 2, 3, 4});

        for (const UpdateProgressEntryWidget *entry : entriesInUse(page)) {
            QCOMPARE(entry->state(), UpdateProgressEntryWidget::Waiting);
            QVERIFY(!child<QLabel>(entry, "headerLabel")->text().contains(QLatin1String("a.zip")));
            QVERIFY(!child<QLabel>(entry, "headerLabel")->text().contains(QLatin1String("keep")));
        }
        page.setCurrentStage(2);
        QCOMPARE(child<ProgressBarWidget>(entriesInUse(page).at(2), "progressBar")->value(), -1);
    }

    void extraInfo_data()
    {
        QTest::addColumn<QString>("job");
        QTest::addColumn<int>("stage");
        QTest::addColumn<QString>("info");
        QTest::addColumn<TransferStatusInfo>("figures");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("speed");
        QTest::addColumn<QString>("done");
        QTest::addColumn<QString>("timeLeft");

        const quint64 mebi = 1 << 20;
        const quint64 unknown = TransferStatusInfo::unknownBytes;
        const QString map = QStringLiteral("Europe.nm3");
        QTest::newRow("every figure known") << "maps" << 7 << QString()
                                            << TransferStatusInfo{map, 512 * mebi, 2048 * mebi, 5 * int(mebi), 90}
                                            << "Installing file: Europe.nm3"
                                            << "Speed: 5,00 MB/s;" << "done: 512MB from 2,00GB (25%);"
                                            << "time left: 1m 30s";
        QTest::newRow("download with unknown speed and time")
            << "navigator" << 2 << QString() << TransferStatusInfo{QStringLiteral("navi.zip"), 0, 30 * mebi, -1, -1}
            << "Downloading file: navi.zip" << "Speed: -;" << "done: 0MB from 30MB (0%);" << "time left: -";
        QTest::newRow("sizes not told yet") << "maps" << 7 << QString()
                                            << TransferStatusInfo{map, unknown, unknown, -1, -1}
                                            << "Installing file: Europe.nm3" << "Speed: -;" << "done: - from - (-%);"
                                            << "time left: -";
        QTest::newRow("nothing to transfer") << "maps" << 7 << QString() << TransferStatusInfo{map, 0, 0, 512, 0}
                                             << "Installing file: Europe.nm3" << "Speed: 512 B/s;"
                                             << "done: 0MB from 0MB (-%);" << "time left: 00s";
        QTest::newRow("stage not item by item keeps its header")
            << "navigator" << 7 << QString() << TransferStatusInfo{QStringLiteral("navi.zip"), mebi, 2 * mebi, 2048, 1}
            << "Installing update" << "Speed: 2,00 KB/s;" << "done: 1MB from 2MB (50%);" << "time left: 01s";
        QTest::newRow("no item name keeps the header") << "maps" << 7 << QString()
                                                       << TransferStatusInfo{QString(), 0, mebi, 20 * int(mebi), 0}
                                                       << "Installing update" << "Speed: 20 MB/s;"
                                                       << "done: 0MB from 1MB (0%);" << "time left: 00s";
        QTest::newRow("information follows the item")
            << "maps" << 7 << QStringLiteral("(don't unplug device until operation is completed)")
            << TransferStatusInfo{map, 0, mebi, -1, -1}
            << "Installing file: Europe.nm3 (don't unplug device until operation is completed)" << "Speed: -;"
            << "done: 0MB from 1MB (0%);" << "time left: -";
    }
    void extraInfo()
    {
        QFETCH(QString, job);
        QFETCH(int, stage);
        QFETCH(QString, info);
        QFETCH(TransferStatusInfo, figures);

        UpdateStagesWidget page;
        prepareJob(page, job, false, false);
        page.setCurrentStage(stage);
        UpdateProgressEntryWidget *entry = currentEntry(page);
        auto *header = child<QLabel>(entry, "headerLabel");
        const QString ownHeader = header->text();
        auto *figuresLine = child<QWidget>(entry, "extraInfo");
        QVERIFY(!figuresLine->isVisibleTo(entry));

        if (!info.isEmpty())
            page.setInfo(info);
        page.setExtraInfo(figures);
        QVERIFY(figuresLine->isVisibleTo(entry));
        QTEST(header->text(), "header");
        QTEST(child<QLabel>(entry, "speedLabel")->text(), "speed");
        QTEST(child<QLabel>(entry, "doneLabel")->text(), "done");
        QTEST(child<QLabel>(entry, "timeLeftLabel")->text(), "timeLeft");

        // Once the stage is left it shows its own header again.
        page.setCurrentStage(0);
        QCOMPARE(header->text(), ownHeader);
    }
};

QTEST_MAIN(ProgressTest)
#include "tst_progress.moc"
