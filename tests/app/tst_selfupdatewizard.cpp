// The wizard's self-update steps: the warning, the download on the stages page, the installation stage whose
// "Cancel" cannot be pressed, the program ending with 0 once the setup runs, and the error pages with only "Retry"
// and "Exit". First through scripted services, then against the stand-in server.

#include "appsettings.h"
#include "errorwidget.h"
#include "mainwindow.h"
#include "networkservices.h"
#include "packageservices.h"
#include "scriptedservices.h"
#include "selfupdatefixture.h"
#include "sharedtypes.h"
#include "standinserverprocess.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QString archiveName = SelfUpdateFixture::archiveName();
const QString warning = "You need to update Korwind Navigator update center. Press \"Next\" to continue.";

template <typename Widget = QWidget>
Widget *child(const QWidget &window, const char *name)
{
    Widget *widget = window.findChild<Widget *>(QLatin1String(name));
    Q_ASSERT(widget);
    return widget;
}

QString currentPage(const QWidget &window)
{
    return child<QStackedWidget>(window, "stackedWidget")->currentWidget()->objectName();
}

// What the error page shows, without its markup.
QString errorText(const QWidget &window)
{
    return QTextDocumentFragment::fromHtml(child<ErrorWidget>(window, "errorPage")->text()).toPlainText();
}

// The texts of the buttons shown (without the mnemonics), in the order Back, Next, Cancel.
QStringList buttons(const QWidget &window)
{
    QStringList texts;
    for (const char *name : {"backButton", "updateButton", "cancelButton"}) {
        const auto *button = child<QPushButton>(window, name);
        if (button->isVisible())
            texts.append(button->text().remove('&'));
    }
    return texts;
}

void click(const QWidget &window, const char *name)
{
    child<QPushButton>(window, name)->click();
}

// Runs the application's event loop as the program does, until the window ends it; -1 when it does not.
int runUntilTheProgramEnds()
{
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    guard.start(30000);
    return QCoreApplication::exec();
}

} // namespace

class TestSelfUpdateWizard : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    std::unique_ptr<SelfUpdateFixture> m_fixture;
    QString m_marker;
    ScriptedDeviceServices m_device;
    ScriptedNetworkServices m_network;
    ScriptedPackageServices m_packages;

    // A window of the scripted services that has asked for the self-update and shows the warning.
    std::unique_ptr<MainWindow> windowOnTheWarning()
    {
        auto window = std::make_unique<MainWindow>(&m_device, &m_network, &m_packages);
        window->show();
        m_network.finishCheck();
        return window;
    }

private Q_SLOTS:
    void initTestCase()
    {
        registerSharedTypes();
        QVERIFY(m_home.isValid());
        SelfUpdateFixture::useSettingsBelow(m_home.path());
    }

    void init()
    {
        QSettings().clear();
        qunsetenv("http_proxy");
        qunsetenv("HTTP_PROXY");
        m_fixture = std::make_unique<SelfUpdateFixture>();
        QVERIFY(m_fixture->isValid());
        m_marker = m_fixture->path("marker");

        m_device.calls.clear();
        m_network.calls.clear();
        m_packages.hasSelfUpdate = true;
        m_packages.selfUpdatePackage = ProductInfo();
        m_packages.selfUpdatePackage.kind = ProductInfo::SelfUpdatePackage;
        m_packages.selfUpdatePackage.file.fileName = archiveName;
    }

    void cleanup() { m_fixture.reset(); }

    void installThenEnd()
    {
        auto window = windowOnTheWarning();
        QCOMPARE(currentPage(*window), "errorPage");
        QCOMPARE(errorText(*window), warning);
        QCOMPARE(buttons(*window), QStringList({"Next", "Exit"}));

        click(*window, "updateButton");
        QCOMPARE(m_network.calls, QStringList({"checkSelfUpdate", "startDownload " + archiveName}));
        QCOMPARE(currentPage(*window), "updatesStagesPage");
        QCOMPARE(child<QLabel>(*window, "titleLabel")->text(), "Updating Korwind Navigator update center");

        QVERIFY(SelfUpdateFixture::write(m_fixture->archivePath(), SelfUpdateFixture::archive(m_marker)));
        m_network.finish();
        QCOMPARE(currentPage(*window), "updatesStagesPage");
        QCOMPARE(buttons(*window), QStringList({"Cancel"}));
        QVERIFY(!child<QPushButton>(*window, "cancelButton")->isEnabled());
        click(*window, "cancelButton");
        QCOMPARE(currentPage(*window), "updatesStagesPage");
        QCOMPARE(buttons(*window), QStringList({"Cancel"}));

        QCOMPARE(runUntilTheProgramEnds(), 0);
        QTRY_COMPARE(SelfUpdateFixture::record(m_marker).value(1), "0");
        QVERIFY(!QFileInfo::exists(m_fixture->archivePath()));
        QCOMPARE(m_network.calls.size(), 2);
        QVERIFY(m_device.calls.isEmpty());
    }

    void installationRetriedWithoutDownloading()
    {
        auto window = windowOnTheWarning();
        click(*window, "updateButton");
        const QByteArray withoutSetup = SelfUpdateFixture::archive(m_marker, "Setup.exe");
        QVERIFY(SelfUpdateFixture::write(m_fixture->archivePath(), withoutSetup));
        m_network.finish();
        QTRY_COMPARE(currentPage(*window), "errorPage");
        QCOMPARE(errorText(*window), "Update installation error.");
        QCOMPARE(buttons(*window), QStringList({"Retry", "Exit"}));
        QVERIFY(QFileInfo::exists(m_fixture->archivePath()));

        // The download stays; a retry installs what is there now.
        QVERIFY(SelfUpdateFixture::write(m_fixture->archivePath(), SelfUpdateFixture::archive(m_marker)));
        click(*window, "updateButton");
        QCOMPARE(currentPage(*window), "updatesStagesPage");
        QCOMPARE(runUntilTheProgramEnds(), 0);
        QTRY_COMPARE(SelfUpdateFixture::record(m_marker).size(), 2);
        QCOMPARE(m_network.calls, QStringList({"checkSelfUpdate", "startDownload " + archiveName}));
    }

    void downloadRetried()
    {
        auto window = windowOnTheWarning();
        click(*window, "updateButton");
        m_network.finish("Connection error.");
        QCOMPARE(currentPage(*window), "errorPage");
        QCOMPARE(errorText(*window), "Connection error.");
        QCOMPARE(buttons(*window), QStringList({"Retry", "Exit"}));
        click(*window, "updateButton");
        QCOMPARE(m_network.calls.filter("startDownload").size(), 2);
        QCOMPARE(currentPage(*window), "updatesStagesPage");
    }

    void againstTheStandInServer()
    {
#ifndef VKT_DEMO_SERVER_KEY
        QSKIP("The stand-in server needs a build with the demo key.");
#endif
        QTemporaryDir catalogue;
        QVERIFY(writeCatalogueFile(catalogue.path(), "files/" + archiveName, SelfUpdateFixture::archive(m_marker)));
        QVERIFY(writeCatalogueFile(catalogue.path(), "selfupdate.txt",
                                   "name: Korwind Navigator update center\ndescription: Faster\n"
                                   "version: 2.0.0.0\nfile: " + archiveName.toUtf8() + "\n"));
        StandInServerProcess server;
        QVERIFY2(server.start(catalogue.path()), qPrintable(server.errorText()));

        NetworkServices network([] { return AppSettings::networkSettings("en_US"); });
        network.setServerBaseUrl(server.baseUrl());
        PackageServices packages;
        QSignalSpy fetching(&network, &AbstractNetworkServices::updateDownloadStarted);
        MainWindow window(&m_device, &network, &packages);
        window.show();

        QTRY_COMPARE(currentPage(window), "errorPage");
        QCOMPARE(errorText(window), warning);
        click(window, "updateButton");
        QCOMPARE(currentPage(window), "updatesStagesPage");
        QCOMPARE(child<QLabel>(window, "titleLabel")->text(), "Updating Korwind Navigator update center");

        QCOMPARE(runUntilTheProgramEnds(), 0);
        QCOMPARE(fetching.size(), 1);
        QTRY_COMPARE(SelfUpdateFixture::record(m_marker).value(1), "0");
        QVERIFY(QFileInfo(SelfUpdateFixture::record(m_marker).value(0)).path().startsWith(m_fixture->temporary() + "/korwind-update-"));
        QVERIFY(QDir(m_fixture->downloads()).isEmpty());
        QVERIFY(m_device.calls.isEmpty());
    }
};

QTEST_MAIN(TestSelfUpdateWizard)
#include "tst_selfupdatewizard.moc"
