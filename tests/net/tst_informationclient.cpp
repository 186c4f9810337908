// The four questions over loopback against the stand-in server: what goes on the wire, how the
// status lines and records are read, and that a bad answer ends with one code and nothing else.

#include "informationclient.h"
#include "sharedtypes.h"
#include "standinserverprocess.h"
#include "testlisteners.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString language = QStringLiteral("ru_RU");
const DottedVersion navigatorVersion(5, 2, 0, 0);
const QByteArray mapFileContent = QByteArray(5 * 1024 * 1024 + 100, 'm');

QByteArray sha1Hex(const QByteArray &data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex();
}

// Every signal of a client, in the order it came, as short texts; the last records are kept.
class ClientTrace : public QObject
{
public:
    explicit ClientTrace(InformationClient &client)
    {
        using C = InformationClient;
        connect(&client, qOverload<ProductInfo>(&C::getUpdateInfoComplete), this, [this](const ProductInfo &p) {
            product = p;
            events << QStringLiteral("self-update ") + p.name;
        });
        connect(&client, qOverload<QList<ProductInfo>>(&C::getUpdateInfoComplete), this,
                [this](const QList<ProductInfo> &p) {
                    products = p;
                    events << QStringLiteral("products %1").arg(p.size());
                });
        connect(&client, qOverload<QList<MapInfo>>(&C::getUpdateInfoComplete), this, [this](const QList<MapInfo> &m) {
            maps = m;
            events << QStringLiteral("maps %1").arg(m.size());
        });
        connect(&client, qOverload<QVector<QByteArray>, quint64>(&C::getUpdateInfoComplete), this,
                [this](const QVector<QByteArray> &d, quint64 size) {
                    digests = d;
                    events << QStringLiteral("chunks %1 %2").arg(d.size()).arg(size);
                });
        connect(&client, qOverload<SERVER_REPLY_STATUS_CODE, QString>(&C::getUpdateInfoComplete), this,
                [this](SERVER_REPLY_STATUS_CODE status, const QString &message) {
                    events << QStringLiteral("status %1 %2").arg(int(status)).arg(message);
                });
        connect(&client, qOverload<QString>(&C::getUpdateInfoComplete), this, [this](const QString &text) {
            events << QStringLiteral("transport error");
            transportError = text;
        });
        connect(&client, qOverload<NETWORK_ERROR_CODE>(&C::getUpdateInfoComplete), this,
                [this](NETWORK_ERROR_CODE code) { events << QStringLiteral("error %1").arg(int(code)); });
    }

    // Waits for the end of a question, then a little more for anything that should not follow.
    QStringList waitForEnd()
    {
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired() && !isEnd())
            QTest::qWait(5);
        QTest::qWait(50);
        return events;
    }

    QStringList events;
    ProductInfo product;
    QList<ProductInfo> products;
    QList<MapInfo> maps;
    QVector<QByteArray> digests;
    QString transportError;

private:
    bool isEnd() const
    {
        return !events.isEmpty()
               && (events.last().startsWith(QLatin1String("status")) || events.last().startsWith(QLatin1String("error"))
                   || events.last().startsWith(QLatin1String("chunks"))
                   || events.last().startsWith(QLatin1String("transport")));
    }
};

} // namespace

class InformationClientTest : public QObject
{
    Q_OBJECT

private:
    enum Question { SelfUpdate, Programs, Maps, Chunks };

    QTemporaryDir m_catalogue;
    StandInServerProcess m_server;
    QByteArray m_navigatorFileLine;

    QByteArray fileLineFor(const QString &name, const QByteArray &content) const
    {
        return name.toUtf8() + ',' + QByteArray::number(content.size()) + ',' + name.toUtf8() + ',' + sha1Hex(content)
               + ',' + m_server.baseUrl().toUtf8() + "/files/" + name.toUtf8();
    }

    void ask(InformationClient &client, Question question, vktcommon::ContinueListener *listener = nullptr)
    {
        client.setBaseUrl(m_server.baseUrl());
        switch (question) {
        case SelfUpdate:
            client.requestSelfUpdateInfo(language, listener);
            break;
        case Programs:
            client.requestProductsInfo(2, navigatorVersion, "PND-100", QByteArray(), QString(), language, listener);
            break;
        case Maps:
            client.requestMapsInfo(navigatorVersion, language, listener);
            break;
        case Chunks:
            client.requestFileInfo(QStringLiteral("map-rus.nm3"), language, listener);
            break;
        }
    }

    // The form fields the server received with the only request since the last reset.
    QStringList receivedFields(QString *signature = nullptr)
    {
        const QJsonArray log = m_server.requests();
        if (log.size() != 1)
            return QStringList{QStringLiteral("%1 requests").arg(log.size())};
        QStringList fields;
        for (const QJsonValue field : log[0].toObject().value(QStringLiteral("fields")).toArray()) {
            const QString name = field.toArray().at(0).toString();
            fields << (name == QLatin1String("sign") ? name : name + QLatin1Char('=') + field.toArray().at(1).toString());
        }
        if (signature)
            *signature = log[0].toObject().value(QStringLiteral("signature")).toString();
        return fields;
    }

private Q_SLOTS:
    void initTestCase()
    {
        registerSharedTypes();
        const QString folder = m_catalogue.path();
        QVERIFY(writeCatalogueFile(folder, QStringLiteral("files/updater-2.0.zip"), "new update center"));
        QVERIFY(writeCatalogueFile(folder, QStringLiteral("files/navigator-5.2.zip"), "navigator 5.2"));
        QVERIFY(writeCatalogueFile(folder, QStringLiteral("files/navigator-6.0.zip"), "navigator 6.0"));
        QVERIFY(writeCatalogueFile(folder, QStringLiteral("files/map-rus.nm3"), mapFileContent));
        QVERIFY(writeCatalogueFile(folder, QStringLiteral("selfupdate.txt"),
                                   "name: Korwind Navigator update center\ndescription: Faster downloads\n"
                                   "version: 2.0.0.0\nfile: updater-2.0.zip\n"));
        QVERIFY(writeCatalogueFile(folder, QStringLiteral("navigators.txt"),
                                   "name: Korwind Navigator\ndescription: Old\nversion: 5.2.0.0\nfile: navigator-5.2.zip\n"
                                   "typefile: zip\ndevicenames: PND-100, PND-200\n\n"
                                   "name: Korwind Navigator\ndescription: Новые карты\nversion: 6.0.0.0\n"
                                   "file: navigator-6.0.zip\ntypefile: zip\ndevicenames: PND-100, PND-200\n"));
        QVERIFY(writeCatalogueFile(folder, QStringLiteral("maps/default.txt"),
                                   "Russia\nkorwind.rus\nAll of Russia\n2012.1\n3.1\nrus\n@file map-rus.nm3\n"
                                   "depends,korwind.base (>= 1.0)\n\nDATAEND"));
        QVERIFY(writeCatalogueFile(folder, QStringLiteral("maps/7.0.0.0.txt"), QByteArray()));
        QVERIFY2(m_server.start(folder), qPrintable(m_server.errorText()));
        m_navigatorFileLine = fileLineFor(QStringLiteral("navigator-6.0.zip"), "navigator 6.0");
    }

    void init() { QVERIFY(m_server.reset()); }

    void selfUpdateQuestion()
    {
        InformationClient client;
        ClientTrace trace(client);
        ask(client, SelfUpdate);
        QCOMPARE(trace.waitForEnd(),
                 QStringList({QStringLiteral("self-update Korwind Navigator update center"), QStringLiteral("status 0 ")}));
        QCOMPARE(trace.product.kind, int(ProductInfo::SelfUpdatePackage));
        QCOMPARE(trace.product.description, QStringLiteral("Faster downloads"));
        QCOMPARE(trace.product.version, QStringLiteral("2.0.0.0"));
        QCOMPARE(trace.product.file.fileName, QStringLiteral("updater-2.0.zip"));
        QCOMPARE(trace.product.file.size, quint64(17));
        QCOMPARE(trace.product.file.extraText, QStringLiteral("updater-2.0.zip"));
        QCOMPARE(trace.product.file.extraBytes, sha1Hex("new update center"));
        QCOMPARE(trace.product.file.url, QUrl(m_server.baseUrl() + QStringLiteral("/files/updater-2.0.zip")));

        QString signature;
        QCOMPARE(receivedFields(&signature),
                 QStringList({QStringLiteral("version=1.1"), QStringLiteral("language=ru_RU"),
                              QStringLiteral("platform=windows"), QStringLiteral("arch=x86"), QStringLiteral("sign")}));
        QCOMPARE(signature, QStringLiteral("valid"));
    }

    void programPackagesQuestion()
    {
        InformationClient client;
        ClientTrace trace(client);
        ask(client, Programs);
        QCOMPARE(trace.waitForEnd(), QStringList({QStringLiteral("products 1"), QStringLiteral("status 0 ")}));
        const ProductInfo &offered = trace.products.first();
        QCOMPARE(offered.kind, int(ProductInfo::NavigatorPackage));
        QCOMPARE(offered.name, QStringLiteral("Korwind Navigator"));
        QCOMPARE(offered.description, QStringLiteral("Новые карты"));
        QCOMPARE(offered.version, QStringLiteral("6.0.0.0"));
        QCOMPARE(offered.file.extraBytes, sha1Hex("navigator 6.0"));
    }

    void mapPackagesQuestion_data()
    {
        QTest::addColumn<DottedVersion>("version");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("list") << navigatorVersion << QStringList({QStringLiteral("maps 1"), QStringLiteral("status 0 ")});
        QTest::newRow("empty list: bare status 0")
            << DottedVersion(7, 0, 0, 0) << QStringList({QStringLiteral("maps 0"), QStringLiteral("status 0 ")});
    }

    void mapPackagesQuestion()
    {
        QFETCH(DottedVersion, version);
        QFETCH(QStringList, events);
        InformationClient client;
        client.setBaseUrl(m_server.baseUrl());
        ClientTrace trace(client);
        client.requestMapsInfo(version, language, nullptr);
        QCOMPARE(trace.waitForEnd(), events);
        if (!trace.maps.isEmpty()) {
            const MapInfo &map = trace.maps.first();
            QCOMPARE(map.code, QStringLiteral("korwind.rus"));
            QCOMPARE(map.majorVersion, 3);
            QCOMPARE(map.file.size, quint64(mapFileContent.size()));
            QCOMPARE(map.depends.size(), 1);
        }
        // No field is signed, yet the question carries a signature the server accepts.
        QString signature;
        QCOMPARE(receivedFields(&signature),
                 QStringList({QStringLiteral("version=2.1"), QStringLiteral("language=ru_RU"),
                              QStringLiteral("korwindVer=") + version.toString(), QStringLiteral("sign")}));
        QCOMPARE(signature, QStringLiteral("valid"));
    }

    void chunkInformationQuestion()
    {
        InformationClient client;
        ClientTrace trace(client);
        ask(client, Chunks);
        QCOMPARE(trace.waitForEnd(), QStringList{QStringLiteral("chunks 3 2097152")});
        const qsizetype chunk = 2097152;
        QCOMPARE(trace.digests, QVector<QByteArray>({sha1Hex(mapFileContent.left(chunk)),
                                                     sha1Hex(mapFileContent.mid(chunk, chunk)),
                                                     sha1Hex(mapFileContent.mid(2 * chunk))}));
        QCOMPARE(receivedFields(),
                 QStringList({QStringLiteral("version=1.0"), QStringLiteral("language=ru_RU"),
                              QStringLiteral("file=map-rus.nm3"), QStringLiteral("blocksize=2097152")}));
    }

    void programQuestionFields_data()
    {
        QTest::addColumn<int>("deviceKind");
        QTest::addColumn<QByteArray>("checksum");
        QTest::addColumn<QString>("report");
        QTest::addColumn<DottedVersion>("version");
        QTest::addColumn<QStringList>("fields");
        const QString v = QStringLiteral("version=1.1");
        const QString l = QStringLiteral("language=ru_RU");
        const QString k = QStringLiteral("korwindVer=5.2.0.0");
        const QString s = QStringLiteral("sign");
        QTest::newRow("USB storage") << 2 << QByteArray() << QString() << navigatorVersion
                                     << QStringList({v, l, QStringLiteral("typefile=zip"), QStringLiteral("platformname="),
                                                     QStringLiteral("devicename=PND-100"), k, s});
        QTest::newRow("checksum: no platformname or devicename")
            << 1 << QByteArray("3f2a") << QString() << navigatorVersion
            << QStringList({v, l, QStringLiteral("checksum=3f2a"), QStringLiteral("typefile=cab"), k, s});
        QTest::newRow("Symbian") << 3 << QByteArray() << QString() << navigatorVersion
                                 << QStringList({v, l, QStringLiteral("typefile=sis"), QStringLiteral("platformname=SYMBIAN"),
                                                 QStringLiteral("devicename=SYMBIAN"), k, s});
        QTest::newRow("Android") << 4 << QByteArray() << QString() << navigatorVersion
                                 << QStringList({v, l, QStringLiteral("typefile=apk"), QStringLiteral("platformname=ANDROID"),
                                                 QStringLiteral("devicename=PND-100"), k, s});
        QTest::newRow("device report with version 0.0.0.0")
            << 2 << QByteArray() << QStringLiteral("Мой PND 3000") << DottedVersion()
            << QStringList({v, l, QStringLiteral("oeminfo=Мой PND 3000"), QStringLiteral("typefile=zip"),
                            QStringLiteral("platformname="), QStringLiteral("devicename=PND-100"),
                            QStringLiteral("korwindVer=0.0.0.0"), s});
    }

    void programQuestionFields()
    {
        QFETCH(int, deviceKind);
        QFETCH(QByteArray, checksum);
        QFETCH(QString, report);
        QFETCH(DottedVersion, version);
        QFETCH(QStringList, fields);
        InformationClient client;
        client.setBaseUrl(m_server.baseUrl());
        ClientTrace trace(client);
        client.requestProductsInfo(deviceKind, version, "PND-100", checksum, report, language, nullptr);
        trace.waitForEnd();
        QString signature;
        QCOMPARE(receivedFields(&signature), fields);
        QCOMPARE(signature, QStringLiteral("valid"));
        if (!report.isEmpty())
            QCOMPARE(trace.events, QStringList({QStringLiteral("products 0"), QStringLiteral("status 0 ")}));
    }

    void refusedWithoutSending_data()
    {
        QTest::addColumn<int>("question");
        QTest::addColumn<QString>("language");
        QTest::addColumn<DottedVersion>("version");
        QTest::newRow("self-update without language") << int(SelfUpdate) << QString() << navigatorVersion;
        QTest::newRow("programs without language") << int(Programs) << QString() << navigatorVersion;
        QTest::newRow("programs for version 0.0.0.0") << int(Programs) << language << DottedVersion();
        QTest::newRow("maps without language") << int(Maps) << QString() << navigatorVersion;
        QTest::newRow("maps for version 0.0.0.0") << int(Maps) << language << DottedVersion();
    }

    void refusedWithoutSending()
    {
        QFETCH(int, question);
        QFETCH(QString, language);
        QFETCH(DottedVersion, version);
        InformationClient client;
        client.setBaseUrl(m_server.baseUrl());
        ClientTrace trace(client);
        if (question == SelfUpdate)
            client.requestSelfUpdateInfo(language, nullptr);
        else if (question == Programs)
            client.requestProductsInfo(2, version, "PND-100", QByteArray(), QString(), language, nullptr);
        else
            client.requestMapsInfo(version, language, nullptr);
        QCOMPARE(trace.events, QStringList{QStringLiteral("error 9")}); // at once
        QCOMPARE(trace.waitForEnd(), QStringList{QStringLiteral("error 9")});
        QCOMPARE(m_server.requests().size(), 0);
    }

    void statusLines_data()
    {
        QTest::addColumn<int>("question");
        QTest::addColumn<QByteArray>("fault");
        QTest::addColumn<QStringList>("events");
        const QStringList contentError{QStringLiteral("error 9")};
        QTest::newRow("programs: 3 with message") << int(Programs) << QByteArray("\"statusLine\":\"3,Unknown device\"")
                                                  << QStringList{QStringLiteral("status 3 Unknown device")};
        QTest::newRow("maps: 3 with message") << int(Maps) << QByteArray("\"statusLine\":\"3,Unknown device\"")
                                              << QStringList{QStringLiteral("status 4 Unknown device")};
        QTest::newRow("maps: 4 with message")
            << int(Maps) << QByteArray("\"statusLine\":\"4,Later\"") << QStringList{QStringLiteral("status 6 Later")};
        QTest::newRow("self-update: 5 with message")
            << int(SelfUpdate) << QByteArray("\"statusLine\":\"5,Odd\"") << QStringList{QStringLiteral("status -1 Odd")};
        QTest::newRow("self-update: 1 with empty message")
            << int(SelfUpdate) << QByteArray("\"statusLine\":\"1,\"") << QStringList{QStringLiteral("status 1 ")};
        QTest::newRow("programs: \"0,\" reads as \"0\"")
            << int(Programs) << QByteArray("\"statusLine\":\"0,\"")
            << QStringList({QStringLiteral("products 1"), QStringLiteral("status 0 ")});
        QTest::newRow("bare 2") << int(Programs) << QByteArray("\"body\":\"2\"") << contentError;
        QTest::newRow("2 with one-letter message")
            << int(Programs) << QByteArray("\"body\":\"2,x\"") << QStringList{QStringLiteral("status 2 x")};
        QTest::newRow("UTF-8 message") << int(Maps) << QByteArray("\"body\":\"2,Сервер занят\\nrest\"")
                                       << QStringList{QStringLiteral("status 2 Сервер занят")};
        QTest::newRow("non-numeric status") << int(Programs) << QByteArray("\"statusLine\":\"OK,fine\"") << contentError;
        QTest::newRow("empty reply") << int(SelfUpdate) << QByteArray("\"body\":\"\"") << contentError;
        QTest::newRow("empty first line") << int(Maps) << QByteArray("\"body\":\"\\n0\"") << contentError;
        QTest::newRow("programs: status 0 without payload") << int(Programs) << QByteArray("\"body\":\"0\"") << contentError;
        QTest::newRow("maps: status 0 without payload")
            << int(Maps) << QByteArray("\"body\":\"0\"") << QStringList({QStringLiteral("maps 0"), QStringLiteral("status 0 ")});
        QTest::newRow("chunks: 5 with message") << int(Chunks) << QByteArray("\"body\":\"5,Bad block size\\n0\"")
                                                << QStringList{QStringLiteral("status 6 Bad block size")};
        QTest::newRow("chunks: 2 with message")
            << int(Chunks) << QByteArray("\"body\":\"2,x\\n0\"") << QStringList{QStringLiteral("status -1 x")};
        QTest::newRow("chunks: \"0,\" and no digest")
            << int(Chunks) << QByteArray("\"body\":\"0,\\n4096\"") << QStringList{QStringLiteral("chunks 0 4096")};
        QTest::newRow("chunks: bare 3") << int(Chunks) << QByteArray("\"body\":\"3\\n0\"") << contentError;
        QTest::newRow("chunks: no size line") << int(Chunks) << QByteArray("\"body\":\"0\"") << contentError;
        QTest::newRow("chunks: size not a number") << int(Chunks) << QByteArray("\"body\":\"0\\n2M\"") << contentError;
        QTest::newRow("chunks: digest not SHA-1")
            << int(Chunks) << QByteArray("\"body\":\"0\\n4096\\nnot-a-digest\"") << contentError;
        QTest::newRow("chunks: empty reply") << int(Chunks) << QByteArray("\"body\":\"\"") << contentError;
    }

    void statusLines()
    {
        QFETCH(int, question);
        QFETCH(QByteArray, fault);
        QFETCH(QStringList, events);
        static const char *const paths[] = {"/vktUpdateInfo/", "/productsInfo/", "/productsInfoForMaps/", "/fileInfo/"};
        QVERIFY(m_server.setFaults("[{\"path\":\"" + QByteArray(paths[question]) + "\"," + fault + "}]"));
        InformationClient client;
        ClientTrace trace(client);
        ask(client, Question(question));
        QCOMPARE(trace.waitForEnd(), events);
    }

    void badSealedContent_data()
    {
        QTest::addColumn<int>("question");
        QTest::addColumn<QJsonObject>("fault");
        const QByteArray record = "Korwind Navigator\nNew\n6.0.0.0\n" + m_navigatorFileLine + "\nzip\n";
        const auto plaintext = [](const QByteArray &text) {
            return QJsonObject{{QStringLiteral("plaintext"), QString::fromUtf8(text)}};
        };
        const QByteArray sha = sha1Hex("navigator 6.0");
        const QByteArray url = m_server.baseUrl().toUtf8() + "/files/x";
        QTest::newRow("one ciphertext byte changed") << int(Programs) << QJsonObject{{QStringLiteral("tamper"), 3}};
        QTest::newRow("truncated seal") << int(SelfUpdate) << QJsonObject{{QStringLiteral("truncateSeal"), 200}};
        QTest::newRow("seal cut inside the sealed block") << int(Maps) << QJsonObject{{QStringLiteral("truncateSeal"), 100}};
        QTest::newRow("program list without DATAEND") << int(Programs) << plaintext(record + record.chopped(1));
        QTest::newRow("program list ends with an empty line") << int(Programs) << plaintext(record + "\n");
        QTest::newRow("program record cut short") << int(Programs) << plaintext("Korwind Navigator\nNew\n6.0.0.0\nDATAEND");
        QTest::newRow("program record without name") << int(Programs) << plaintext("\nNew\n6.0.0.0\n" + m_navigatorFileLine + "\nzip\nDATAEND");
        QTest::newRow("file line with four fields")
            << int(Programs) << plaintext("K\n\n6.0\nnav.zip,13,nav.zip," + sha + "\nzip\nDATAEND");
        QTest::newRow("file line with six fields")
            << int(Programs) << plaintext("K\n\n6.0\nnav.zip,13,nav.zip," + sha + "," + url + ",extra\nzip\nDATAEND");
        QTest::newRow("fileName with a folder")
            << int(Programs) << plaintext("K\n\n6.0\nsub/nav.zip,13,nav.zip," + sha + "," + url + "\nzip\nDATAEND");
        QTest::newRow("fileName leaving the folder")
            << int(SelfUpdate) << plaintext("K\n\n2.0\n..\\nav.zip,13,nav.zip," + sha + "," + url);
        QTest::newRow("SHA-1 of 39 digits")
            << int(SelfUpdate) << plaintext("K\n\n2.0\nnav.zip,13,nav.zip," + sha.left(39) + "," + url);
        QTest::newRow("SHA-1 not hexadecimal")
            << int(SelfUpdate) << plaintext("K\n\n2.0\nnav.zip,13,nav.zip," + sha.left(39) + "g," + url);
        QTest::newRow("size not a number")
            << int(SelfUpdate) << plaintext("K\n\n2.0\nnav.zip,-13,nav.zip," + sha + "," + url);
        QTest::newRow("self-update of three lines") << int(SelfUpdate) << plaintext("K\n\n2.0");
        QTest::newRow("self-update without version")
            << int(SelfUpdate) << plaintext("K\n\n\nnav.zip,13,nav.zip," + sha + "," + url);
        QTest::newRow("map list without DATAEND")
            << int(Maps) << plaintext("Russia\nkorwind.rus\n\n2012.1\n3.1\n\nnav.zip,13,nav.zip," + sha + "," + url + "\n");
    }

    void badSealedContent()
    {
        QFETCH(int, question);
        QFETCH(QJsonObject, fault);
        static const char *const paths[] = {"/vktUpdateInfo/", "/productsInfo/", "/productsInfoForMaps/"};
        fault.insert(QStringLiteral("path"), QLatin1String(paths[question]));
        QVERIFY(m_server.setFaults(QJsonDocument(QJsonArray{fault}).toJson()));
        InformationClient client;
        ClientTrace trace(client);
        ask(client, Question(question));
        QCOMPARE(trace.waitForEnd(), QStringList{QStringLiteral("error 9")});
    }

    void transportErrorComesAsText()
    {
        QVERIFY(m_server.setFaults("[{\"path\":\"/productsInfoForMaps/\",\"httpStatus\":502}]"));
        InformationClient client;
        ClientTrace trace(client);
        ask(client, Maps);
        QCOMPARE(trace.waitForEnd(), QStringList{QStringLiteral("transport error")});
        QVERIFY(!trace.transportError.isEmpty());
    }

    void cancelledQuestion()
    {
        QVERIFY(m_server.setFaults("[{\"path\":\"/productsInfo/\",\"stallSeconds\":30}]"));
        FlagContinueListener listener;
        InformationClient client;
        ClientTrace trace(client);
        ask(client, Programs, &listener);
        QTest::qWait(100);
        listener.mayContinue = false;
        QCOMPARE(trace.waitForEnd(), QStringList{QStringLiteral("error 5")});
    }

    void nextQuestionFromTheAnswerSlot()
    {
        // A receiver may ask the next question while handling an answer (the downloader does).
        InformationClient client;
        ClientTrace trace(client);
        bool askedAgain = false;
        connect(&client, qOverload<QVector<QByteArray>, quint64>(&InformationClient::getUpdateInfoComplete), this,
                [&] {
                    if (!askedAgain) {
                        askedAgain = true;
                        ask(client, Maps);
                    }
                });
        ask(client, Chunks);
        QDeadlineTimer deadline(10000);
        while (trace.events.size() < 3 && !deadline.hasExpired())
            QTest::qWait(5);
        QCOMPARE(trace.events, QStringList({QStringLiteral("chunks 3 2097152"), QStringLiteral("maps 1"),
                                            QStringLiteral("status 0 ")}));
    }
};

QTEST_GUILESS_MAIN(InformationClientTest)
#include "tst_informationclient.moc"
