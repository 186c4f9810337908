// The network facade against the stand-in server on loopback: results and errors of the checks,
// cancellation, downloads, the application-wide proxy and the proxy login on both threads.

#include "appsettings.h"
#include "authproxyprocess.h"
#include "logindialog.h"
#include "networkservices.h"
#include "sharedtypes.h"
#include "standinserverprocess.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QNetworkProxy>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

const QString language = QStringLiteral("ru_RU");
const DottedVersion navigatorVersion(5, 2, 0, 0);
const QString proxyUser = QStringLiteral("anna");
const QString proxyPassword = QStringLiteral("s3cret");
const QByteArray mapContent = QByteArray(300000, 'm');

using Services = AbstractNetworkServices;

// Every end and result of the facade, in the order it came, as short texts.
class ServicesTrace : public QObject
{
public:
    explicit ServicesTrace(NetworkServices &services)
    {
        connect(&services, qOverload<UpdateCheckError>(&Services::taskFinished), this,
                [this](const UpdateCheckError &error) {
                    checkResult = error;
                    events << QStringLiteral("check %1").arg(error.code);
                });
        connect(&services, qOverload<QString>(&Services::taskFinished), this, [this](const QString &text) {
            downloadResult = text;
            events << QStringLiteral("download ended");
        });
        connect(&services, qOverload<ProductInfo>(&Services::updateFound), this,
                [this](const ProductInfo &) { events << QStringLiteral("self-update"); });
        connect(&services, qOverload<QList<ProductInfo>>(&Services::updateFound), this,
                [this](const QList<ProductInfo> &p) { events << QStringLiteral("products %1").arg(p.size()); });
        connect(&services, qOverload<QList<MapInfo>>(&Services::updateFound), this,
                [this](const QList<MapInfo> &m) { events << QStringLiteral("maps %1").arg(m.size()); });
        connect(&services, &Services::downloadStatusUpdate, this, [this](const TransferStatusInfo &info) {
            lastStatus = info;
            if (events.isEmpty() || events.last() != QLatin1String("status"))
                events << QStringLiteral("status");
        });
        connect(&services, &Services::chunkDownloadStarted, this, [this] { events << QStringLiteral("chunks asked"); });
        connect(&services, &Services::chunksProcessingStarted, this,
                [this] { events << QStringLiteral("processing"); });
        connect(&services, &Services::updateDownloadStarted, this, [this] { events << QStringLiteral("fetching"); });
        connect(&services, &Services::updateVerificationStarted, this,
                [this] { events << QStringLiteral("verifying"); });
    }

    // Waits for the end of an operation, then a little more for anything that should not follow. A timeout
    // shows as events without their end, which the caller's comparison reports.
    QStringList waitForEnd(int timeoutMs = 10000)
    {
        (void)QTest::qWaitFor([this] { return isEnd(); }, timeoutMs);
        QTest::qWait(50);
        return events;
    }

    QStringList events;
    UpdateCheckError checkResult;
    QString downloadResult;
    TransferStatusInfo lastStatus;

private:
    bool isEnd() const
    {
        return !events.isEmpty()
               && (events.last().startsWith(QLatin1String("check")) || events.last() == QLatin1String("download ended"));
    }
};

// Answers the login dialog whenever it shows: types the credentials and presses the named button.
class LoginScript : public QObject
{
public:
    LoginScript(const QString &user, const QString &password, const QString &button)
        : m_user(user), m_password(password), m_button(button)
    {
        connect(&m_timer, &QTimer::timeout, this, &LoginScript::answer);
        m_timer.start(10);
    }

    int shown = 0;

private:
    void answer()
    {
        auto *dialog = qobject_cast<LoginDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        ++shown;
        dialog->findChild<QLineEdit *>(QStringLiteral("userName"))->setText(m_user);
        dialog->findChild<QLineEdit *>(QStringLiteral("password"))->setText(m_password);
        for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
            if (button->text() == m_button)
                button->click();
        }
    }

    QString m_user;
    QString m_password;
    QString m_button;
    QTimer m_timer;
};

QByteArray sha1Hex(const QByteArray &data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex();
}

quint16 closedLoopbackPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

class NetworkServicesTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QTemporaryDir m_catalogue;
    std::unique_ptr<QTemporaryDir> m_downloads;
    StandInServerProcess m_server;
    NetworkSettings m_settings;

    NetworkServices::SettingsSource testSettings()
    {
        return [this] { return m_settings; };
    }

    // The stand-in's address under the name only the proxy resolves.
    QString serverBehindProxy() const
    {
        QUrl url(m_server.baseUrl());
        url.setHost(AuthProxyProcess::hostName());
        return url.toString();
    }

    PackageFile mapFile(const QString &baseUrl) const
    {
        PackageFile file;
        file.fileName = QStringLiteral("map-rus.nm3");
        file.size = quint64(mapContent.size());
        file.extraText = file.fileName;
        file.extraBytes = sha1Hex(mapContent);
        file.url = QUrl(baseUrl + QStringLiteral("/files/map-rus.nm3"));
        return file;
    }

    QByteArray downloaded(const QString &name) const
    {
        QFile file(QDir(m_downloads->path()).filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void startCheck(NetworkServices &services, const QString &question)
    {
        if (question == QLatin1String("self-update")) {
            services.checkSelfUpdate();
        } else if (question == QLatin1String("maps")) {
            services.checkMapUpdates(navigatorVersion);
        } else {
            DeviceInfo device;
            device.kind = DeviceInfo::Storage;
            KorwindExeInfo navigator;
            navigator.version = navigatorVersion;
            navigator.deviceName = question.toUtf8();
            services.checkNavigatorUpdate(device, navigator, QString());
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        registerSharedTypes();
        QVERIFY(m_home.isValid());
        qputenv("HOME", m_home.path().toUtf8());
        QCoreApplication::setOrganizationName(QStringLiteral("DRQ"));
        QCoreApplication::setApplicationName(QStringLiteral("Korwind Navigator update center"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_home.filePath(QStringLiteral("config")));

        const QString folder = m_catalogue.path();
        QVERIFY(writeCatalogueFile(folder, QStringLiteral("files/updater-2.0.zip"), "new update center"));
        QVERIFY(writeCatalogueFile(folder, QStringLiteral("files/map-rus.nm3"), mapContent));
        QVERIFY(writeCatalogueFile(folder, QStringLiteral("selfupdate.txt"),
                                   "name: Korwind Navigator update center\ndescription: Faster\n"
                                   "version: 2.0.0.0\nfile: updater-2.0.zip\n"));
        QVERIFY(writeCatalogueFile(folder, QStringLiteral("maps/default.txt"),
                                   "Russia\nkorwind.rus\nAll of Russia\n2012.1\n3.1\nrus\n@file map-rus.nm3\n\nDATAEND"));
        QVERIFY2(m_server.start(folder), qPrintable(m_server.errorText()));
    }

    void init()
    {
        QNetworkProxy::setApplicationProxy(QNetworkProxy());
        QSettings().clear();
        qunsetenv("http_proxy");
        qunsetenv("HTTP_PROXY");
        m_downloads = std::make_unique<QTemporaryDir>();
        m_settings = NetworkSettings{false, QString(), QString(), language, m_downloads->path()};
        QVERIFY(m_server.reset());
    }

    void cleanupTestCase() { QNetworkProxy::setApplicationProxy(QNetworkProxy()); }

    void checkResults_data()
    {
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("message");
        QTest::newRow("self-update offered") << "self-update" << QStringList({"self-update", "check 0"}) << "";
        QTest::newRow("maps offered") << "maps" << QStringList({"maps 1", "check 0"}) << "";
        QTest::newRow("unknown device: the server's status and message")
            << "PND-999" << QStringList({"check 3"}) << "This device is not known to the update server.";
    }
    void checkResults()
    {
        QFETCH(QString, question);
        QFETCH(QStringList, events);
        QFETCH(QString, message);
        NetworkServices services(testSettings());
        services.setServerBaseUrl(m_server.baseUrl());
        ServicesTrace trace(services);
        startCheck(services, question);
        QCOMPARE(trace.waitForEnd(), events);
        QCOMPARE(trace.checkResult.message, message);
        QCOMPARE(trace.checkResult.detail, QString());
    }

    // The hint with its settings link belongs only to the self-update check, the first contact of a session.
    void failedChecks_data()
    {
        QTest::addColumn<QString>("question");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("hint");
        QTest::newRow("connection refused, self-update") << "self-update" << false << "Connection refused" << true;
        QTest::newRow("connection refused, maps") << "maps" << false << "Connection refused" << false;
        QTest::newRow("cancelled, maps") << "maps" << true << "Operation cancelled by user." << false;
        QTest::newRow("cancelled, self-update") << "self-update" << true << "Operation cancelled by user." << true;
    }
    void failedChecks()
    {
        QFETCH(QString, question);
        QFETCH(bool, cancel);
        QFETCH(QString, text);
        QFETCH(bool, hint);
        NetworkServices services(testSettings());
        if (cancel) {
            services.setServerBaseUrl(m_server.baseUrl());
            QVERIFY(m_server.setFaults(R"([{"path": "*", "stallSeconds": 3}])"));
            QTimer::singleShot(100, &services, &NetworkServices::cancelNetworkOperation);
        } else {
            services.setServerBaseUrl(QStringLiteral("http://127.0.0.1:%1").arg(closedLoopbackPort()));
        }
        ServicesTrace trace(services);
        startCheck(services, question);
        QCOMPARE(trace.waitForEnd(), QStringList{QStringLiteral("check -1")});
        QCOMPARE(trace.checkResult.message, QString());
        QCOMPARE(trace.checkResult.detail, hint ? text + NetworkServices::connectionHint() : text);
    }

    void connectionHintText()
    {
        QCOMPARE(NetworkServices::connectionHint(),
                 QStringLiteral("<br>You need to check your network connection or connection <a href=\"show settings\" "
                                "style=\"color:black\">settings</a> in order to continue updating."));
    }

    void errorTexts_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        const QString cannotCreate = QStringLiteral("Korwin Navigator update center can't create files on your system.");
        QTest::newRow("0") << 0 << "";
        QTest::newRow("1 no file name") << 1 << "";
        QTest::newRow("2") << 2 << cannotCreate;
        QTest::newRow("3") << 3 << cannotCreate;
        QTest::newRow("4") << 4 << "Can't write output, check free space.";
        QTest::newRow("5") << 5 << "Operation cancelled by user.";
        QTest::newRow("6") << 6 << "Download error.";
        QTest::newRow("7") << 7 << cannotCreate;
        QTest::newRow("8") << 8 << "Error connection to download updates.";
        QTest::newRow("9") << 9 << "Server content error. Try update later.";
        QTest::newRow("unknown") << 42 << "";
    }
    void errorTexts()
    {
        QFETCH(int, code);
        QFETCH(QString, text);
        QCOMPARE(NetworkServices::errorText(NETWORK_ERROR_CODE(code)), text);
    }

    // Complete files are neither asked about nor fetched; the fetching stage and its status never come.
    void downloadOfCompleteFiles()
    {
        QFile complete(QDir(m_downloads->path()).filePath(QStringLiteral("map-rus.nm3")));
        QVERIFY(complete.open(QIODevice::WriteOnly));
        complete.write(mapContent);
        complete.close();
        NetworkServices services(testSettings());
        services.setServerBaseUrl(m_server.baseUrl());
        ServicesTrace trace(services);
        services.startDownload({mapFile(m_server.baseUrl())});
        QCOMPARE(trace.waitForEnd(), QStringList({"chunks asked", "processing", "download ended"}));
        QCOMPARE(trace.downloadResult, QString());
        QCOMPARE(m_server.requests().size(), 0);
    }

    // A transfer of about two seconds is reported once a second while it fetches.
    void slowDownloadReportsItsStatus()
    {
        QVERIFY(m_server.setFaults(R"([{"path": "/files/map-rus.nm3", "rate": 150000}])"));
        NetworkServices services(testSettings());
        services.setServerBaseUrl(m_server.baseUrl());
        ServicesTrace trace(services);
        QSignalSpy progress(&services, &Services::showProgress);
        services.startDownload({mapFile(m_server.baseUrl())});
        QCOMPARE(trace.waitForEnd(), QStringList({"chunks asked", "processing", "fetching", "status", "verifying",
                                                  "download ended"}));
        QCOMPARE(trace.downloadResult, QString());
        QCOMPARE(trace.lastStatus.fileName, QStringLiteral("map-rus.nm3"));
        QCOMPARE(trace.lastStatus.total, quint64(mapContent.size()));
        QVERIFY(!progress.isEmpty());
        QCOMPARE(progress.last().at(0).toInt(), 100);
        QCOMPARE(downloaded(QStringLiteral("map-rus.nm3")), mapContent);
    }

    // The download thread calls back into the services, so they stop it before they go.
    void servicesDestroyedDuringADownload()
    {
        QVERIFY(m_server.setFaults(R"([{"path": "/files/map-rus.nm3", "rate": 20000}])"));
        auto services = std::make_unique<NetworkServices>(testSettings());
        services->setServerBaseUrl(m_server.baseUrl());
        QSignalSpy fetching(services.get(), &Services::updateDownloadStarted);
        services->startDownload({mapFile(m_server.baseUrl())});
        QVERIFY(fetching.wait(5000));
        QElapsedTimer clock;
        clock.start();
        services.reset();
        QVERIFY(clock.elapsed() < 4000);
        QVERIFY(downloaded(QStringLiteral("map-rus.nm3")).isEmpty());
    }

    // A download stopped by a code without a text of its own still reaches the wizard as a failure.
    void downloadFailureTexts_data()
    {
        QTest::addColumn<bool>("nameless");
        QTest::addColumn<QString>("text");
        QTest::newRow("cancelled") << false << "Operation cancelled by user.";
        QTest::newRow("record without a file name") << true << "Download error.";
    }
    void downloadFailureTexts()
    {
        QFETCH(bool, nameless);
        QFETCH(QString, text);
        NetworkServices services(testSettings());
        services.setServerBaseUrl(m_server.baseUrl());
        ServicesTrace trace(services);
        PackageFile file = mapFile(m_server.baseUrl());
        if (nameless) {
            file.fileName.clear();
        } else {
            QVERIFY(m_server.setFaults(R"([{"path": "/files/map-rus.nm3", "stallAfter": 1000, "stallSeconds": 5}])"));
            connect(&services, &Services::updateDownloadStarted, &services, &NetworkServices::cancelNetworkOperation);
        }
        services.startDownload({file});
        trace.waitForEnd();
        QCOMPARE(trace.events.last(), QStringLiteral("download ended"));
        QCOMPARE(trace.downloadResult, text);
    }

    // The program's settings come first; an empty host or port is taken from the system proxy.
    void proxyConfiguration_data()
    {
        QTest::addColumn<bool>("useProxy");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QByteArray>("system");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("expectedPort");
        QTest::newRow("proxy off") << false << "proxy.local" << "3128" << QByteArray("10.0.0.5:8080") << "" << 0;
        QTest::newRow("settings before the system")
            << true << "proxy.local" << "3128" << QByteArray("http=10.0.0.5:8080") << "proxy.local" << 3128;
        QTest::newRow("system: the http entry")
            << true << "" << "" << QByteArray("http=10.0.0.5:3128;https=10.0.0.5:3129") << "10.0.0.5" << 3128;
        QTest::newRow("system: address only, port 80") << true << "" << "" << QByteArray("10.0.0.1") << "10.0.0.1" << 80;
        QTest::newRow("stored host, system port")
            << true << "proxy.local" << "" << QByteArray("10.0.0.5:3128") << "proxy.local" << 3128;
        QTest::newRow("stored port, system host")
            << true << "" << "8000" << QByteArray("10.0.0.5:3128") << "10.0.0.5" << 8000;
        QTest::newRow("no proxy anywhere") << true << "" << "" << QByteArray() << "" << 80;
    }
    void proxyConfiguration()
    {
        QFETCH(bool, useProxy);
        QFETCH(QString, address);
        QFETCH(QString, port);
        QFETCH(QByteArray, system);
        QFETCH(QString, host);
        QFETCH(int, expectedPort);
        AppSettings::setUseProxy(useProxy);
        AppSettings::setProxyAddress(address);
        AppSettings::setProxyPort(port);
        qputenv("http_proxy", system);
        NetworkServices services([] { return AppSettings::networkSettings(language); });

        const QNetworkProxy proxy = QNetworkProxy::applicationProxy();
        QCOMPARE(proxy.type(), useProxy ? QNetworkProxy::HttpProxy : QNetworkProxy::NoProxy);
        QCOMPARE(proxy.hostName(), host);
        QCOMPARE(int(proxy.port()), expectedPort);
        QCOMPARE(proxy.user(), QString());

        services.setProxyCredentials(proxyUser, proxyPassword);
        QCOMPARE(QNetworkProxy::applicationProxy().user(), useProxy ? proxyUser : QString());
        QCOMPARE(QNetworkProxy::applicationProxy().password(), useProxy ? proxyPassword : QString());
        services.setProxyCredentials(QString(), QString());
        QCOMPARE(QNetworkProxy::applicationProxy().user(), QString());
    }

    // A real proxy asking for basic authentication in front of the stand-in server. For a download the
    // download thread waits while the interface thread asks the user; the one answer serves both the
    // chunk question and the ranged fetch of that thread.
    void proxyLogin_data()
    {
        QTest::addColumn<bool>("download");
        QTest::addColumn<QString>("button"); // empty: services without a login prompt
        QTest::addColumn<QString>("detail");
        QTest::newRow("check, login") << false << "Login" << "";
        QTest::newRow("check, abort") << false << "Abort" << "Proxy requires authentication";
        QTest::newRow("check, nobody to ask") << false << "" << "Proxy requires authentication";
        QTest::newRow("download, login") << true << "Login" << "";
    }
    void proxyLogin()
    {
        QFETCH(bool, download);
        QFETCH(QString, button);
        QFETCH(QString, detail);
        const bool prompt = !button.isEmpty();
        if (AuthProxyProcess::programPath().isEmpty())
            QSKIP("squid is not installed");
        AuthProxyProcess proxy;
        QVERIFY2(proxy.start(proxyUser, proxyPassword), qPrintable(proxy.errorText()));
        m_settings.useProxy = true;
        m_settings.proxyAddress = QStringLiteral("127.0.0.1");
        m_settings.proxyPort = QString::number(proxy.port());

        NetworkServices services(testSettings(), prompt ? std::make_unique<LoginDialog>() : nullptr);
        services.setServerBaseUrl(serverBehindProxy());
        ServicesTrace trace(services);
        LoginScript script(proxyUser, proxyPassword, button);
        if (download) {
            services.startDownload({mapFile(serverBehindProxy())});
            trace.waitForEnd();
            QCOMPARE(trace.events.last(), QStringLiteral("download ended"));
            QCOMPARE(trace.downloadResult, QString());
            QCOMPARE(script.shown, 1);
            QCOMPARE(downloaded(QStringLiteral("map-rus.nm3")), mapContent);
            const QByteArray log = proxy.accessLog();
            QVERIFY2(log.contains("TCP_DENIED/407") && log.contains("/fileInfo/ " + proxyUser.toUtf8())
                         && log.contains("/files/map-rus.nm3 " + proxyUser.toUtf8()),
                     log.constData());
            return;
        }

        services.checkMapUpdates(navigatorVersion);
        QCOMPARE(trace.waitForEnd(), detail.isEmpty() ? QStringList({"maps 1", "check 0"}) : QStringList{"check -1"});
        QCOMPARE(trace.checkResult.detail, detail);
        QCOMPARE(script.shown, prompt ? 1 : 0);
        QCOMPARE(m_server.requests().size(), detail.isEmpty() ? 1 : 0);
        if (!detail.isEmpty())
            return;

        // The credentials stay in the application-wide proxy: the next check asks nobody.
        QCOMPARE(QNetworkProxy::applicationProxy().user(), proxyUser);
        trace.events.clear();
        services.checkSelfUpdate();
        QCOMPARE(trace.waitForEnd(), QStringList({"self-update", "check 0"}));
        QCOMPARE(script.shown, 1);
    }
};

QTEST_MAIN(NetworkServicesTest)
#include "tst_networkservices.moc"
