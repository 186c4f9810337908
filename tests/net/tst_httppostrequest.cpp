// One POST chain over loopback against the stand-in server: redirects, HTTP statuses, cancellation
// while the server stalls, and the error texts.

#include "httppostrequest.h"
#include "httppostrequestsigneddata.h"
#include "serverkey.h"
#include "sharedtypes.h"
#include "standinserverprocess.h"
#include "testlisteners.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray chunkQuestion("version=1.0&language=en_US&file=data.bin&blocksize=4");

} // namespace

class HttpPostRequestTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_catalogue;
    StandInServerProcess m_server;
    HTTPPostRequestData m_chunkData;

    QUrl url(const char *path) const { return QUrl(m_server.baseUrl() + QLatin1String(path)); }

    // The spies of one request object.
    struct Spies
    {
        explicit Spies(HttpPostRequest &request)
            : body(&request, qOverload<QByteArray, QString>(&HttpPostRequest::requestComplete)),
              code(&request, qOverload<NETWORK_ERROR_CODE>(&HttpPostRequest::requestComplete))
        {
        }
        // Until either signal came.
        bool wait()
        {
            QDeadlineTimer deadline(10000);
            while (body.count() + code.count() == 0 && !deadline.hasExpired())
                QTest::qWait(10);
            return body.count() + code.count() > 0;
        }
        QSignalSpy body;
        QSignalSpy code;
    };

    // Posts the chunk question; the body and error text of the one requestComplete that ends it, or
    // nothing when the chain ended otherwise.
    QVariantList postForBody(HttpPostRequest &request, const QUrl &target)
    {
        Spies spies(request);
        request.post(&m_chunkData, target, nullptr);
        if (!spies.wait() || spies.body.count() != 1 || spies.code.count() != 0)
            return QVariantList();
        return spies.body[0];
    }

private Q_SLOTS:
    void initTestCase()
    {
        registerSharedTypes();
        ServerKey::restore();
        QVERIFY(writeCatalogueFile(m_catalogue.path(), QStringLiteral("files/data.bin"), "0123456789"));
        QVERIFY2(m_server.start(m_catalogue.path()), qPrintable(m_server.errorText()));
        m_chunkData.addField(QStringLiteral("version"), QStringLiteral("1.0"));
        m_chunkData.addField(QStringLiteral("language"), QStringLiteral("en_US"));
        m_chunkData.addField(QStringLiteral("file"), QStringLiteral("data.bin"));
        m_chunkData.addField(QStringLiteral("blocksize"), QStringLiteral("4"));
        QCOMPARE(m_chunkData.toByteArray(), chunkQuestion);
    }

    void init() { QVERIFY(m_server.reset()); }

    void redirects_data()
    {
        QTest::addColumn<int>("hops");
        QTest::newRow("none") << 0;
        QTest::newRow("one") << 1;
        QTest::newRow("five") << 5;
        QTest::newRow("six") << 6;
    }

    void redirects()
    {
        QFETCH(int, hops);
        QVERIFY(m_server.setFaults(QStringLiteral("[{\"path\":\"/fileInfo/\",\"times\":1,\"redirects\":%1}]")
                                       .arg(hops)
                                       .toUtf8()));
        HttpPostRequest request;
        Spies spies(request);
        request.post(&m_chunkData, url("/fileInfo/"), nullptr);
        QVERIFY(spies.wait());

        // Every hop re-posts the whole form; a sixth redirect is not followed.
        const QJsonArray log = m_server.requests();
        QCOMPARE(log.size(), qMin(hops, 5) + 1);
        for (const QJsonValue entry : log)
            QCOMPARE(entry.toObject().value(QStringLiteral("fields")).toArray().size(), 4);
        if (hops <= 5) {
            QCOMPARE(spies.code.count(), 0);
            QCOMPARE(spies.body.count(), 1);
            QCOMPARE(spies.body[0][0].toByteArray().left(4), QByteArray("0\n4\n"));
            QCOMPARE(spies.body[0][1].toString(), QString());
        } else {
            QCOMPARE(spies.body.count(), 0);
            QCOMPARE(spies.code.count(), 1);
            QCOMPARE(spies.code[0][0].value<NETWORK_ERROR_CODE>(), NEC_CONNECTION_ERROR);
        }
    }

    void redirectedPostIsSignedAnew()
    {
        QVERIFY(m_server.setFaults("[{\"path\":\"/productsInfoForMaps/\",\"times\":1,\"redirects\":2}]"));
        HTTPPostRequestSignedData data(ServerKey::modulus(), ServerKey::modulusLength);
        data.setSignedWithoutFields(true);
        data.addField(QStringLiteral("version"), QStringLiteral("2.1"), true);
        HttpPostRequest request;
        Spies spies(request);
        request.post(&data, url("/productsInfoForMaps/"), nullptr);
        QVERIFY(spies.wait());
        QCOMPARE(spies.body.count(), 1);

        QSet<QString> signatures;
        for (const QJsonValue entry : m_server.requests()) {
            const QJsonObject request = entry.toObject();
            QCOMPARE(request.value(QStringLiteral("signature")).toString(), QStringLiteral("valid"));
            signatures.insert(request.value(QStringLiteral("fields")).toArray().last().toArray().at(1).toString());
        }
        QCOMPARE(signatures.size(), 3);
    }

    void redirectToTheSameUrlIsNotFollowed()
    {
        QVERIFY(m_server.setFaults("[{\"path\":\"/fileInfo/\",\"redirectToSelf\":true}]"));
        HttpPostRequest request;
        QCOMPARE(postForBody(request, url("/fileInfo/")), QVariantList({QByteArray(), QString()}));
        QCOMPARE(m_server.requests().size(), 1);
    }

    void otherHttpStatusDeliversNoBody_data()
    {
        QTest::addColumn<int>("status");
        QTest::newRow("500") << 500;
        QTest::newRow("404") << 404;
        QTest::newRow("403") << 403;
    }

    void otherHttpStatusDeliversNoBody()
    {
        QFETCH(int, status);
        QVERIFY(m_server.setFaults(
            QStringLiteral("[{\"path\":\"/fileInfo/\",\"httpStatus\":%1,\"body\":\"0\\n4\\nsecret\"}]").arg(status).toUtf8()));
        HttpPostRequest request;
        const QVariantList result = postForBody(request, url("/fileInfo/"));
        QCOMPARE(result.size(), 2);
        QCOMPARE(result[0].toByteArray(), QByteArray());
        QVERIFY(!result[1].toString().isEmpty());
        QCOMPARE(request.errorText(), result[1].toString());
    }

    void stalledRequestIsCancelled()
    {
        QVERIFY(m_server.setFaults("[{\"path\":\"/fileInfo/\",\"stallSeconds\":60}]"));
        FlagContinueListener listener;
        HttpPostRequest request;
        Spies spies(request);
        request.post(&m_chunkData, url("/fileInfo/"), &listener);
        QTest::qWait(300);
        QElapsedTimer clock;
        clock.start();
        listener.mayContinue = false;
        QVERIFY(spies.code.wait(5000));
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(spies.code[0][0].value<NETWORK_ERROR_CODE>(), NEC_CANCELLED);
        QCOMPARE(spies.body.count(), 0);
    }

    void newPostDropsTheChainUnderWay()
    {
        QVERIFY(m_server.setFaults("[{\"path\":\"/fileInfo/\",\"times\":1,\"stallSeconds\":1}]"));
        HttpPostRequest request;
        Spies spies(request);
        request.post(&m_chunkData, url("/fileInfo/"), nullptr);
        QTest::qWait(200);
        request.post(&m_chunkData, url("/fileInfo/"), nullptr);
        QVERIFY(spies.wait());
        QTest::qWait(1500); // the dropped request's answer would have come by now
        QCOMPARE(spies.body.count(), 1);
        QCOMPARE(spies.body[0][0].toByteArray().left(4), QByteArray("0\n4\n"));
        QCOMPARE(spies.code.count(), 0);
    }

    void proxyRefusalAsksAgainOnTheNextRequest()
    {
        QVERIFY(m_server.setFaults("[{\"path\":\"/fileInfo/\",\"httpStatus\":407}]"));
        HttpPostRequest request;
        int questions = 0;
        connect(&request, &HttpPostRequest::proxyAuthenticationRequired, this,
                [&questions](const QNetworkProxy &, QAuthenticator *) { ++questions; });
        for (int round = 1; round <= 2; ++round) {
            QCOMPARE(postForBody(request, url("/fileInfo/")),
                     QVariantList({QByteArray(), QStringLiteral("Proxy requires authentication")}));
            QCOMPARE(questions, round);
        }
    }

    void errorTexts_data()
    {
        QTest::addColumn<QByteArray>("faults");
        QTest::addColumn<QString>("text");
        QTest::newRow("connection closed mid-body")
            << QByteArray("[{\"path\":\"/fileInfo/\",\"dropAfter\":3}]") << QStringLiteral("Connection closed");
        QTest::newRow("connection refused") << QByteArray() << QStringLiteral("Connection refused");
    }

    void errorTexts()
    {
        QFETCH(QByteArray, faults);
        QFETCH(QString, text);
        QUrl target = url("/fileInfo/");
        if (faults.isEmpty()) {
            QTcpServer closed;
            QVERIFY(closed.listen(QHostAddress::LocalHost));
            target.setPort(closed.serverPort());
        } else {
            QVERIFY(m_server.setFaults(faults));
        }
        HttpPostRequest request;
        const QVariantList result = postForBody(request, target);
        QCOMPARE(result.size(), 2);
        QCOMPARE(result[1].toString(), text);
    }
};

QTEST_GUILESS_MAIN(HttpPostRequestTest)
#include "tst_httppostrequest.moc"
