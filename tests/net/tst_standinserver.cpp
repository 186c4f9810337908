// The stand-in update server itself, as the client tests and the download tests rely on it:
// it refuses forged signatures, answers chunk information for any block size and serves ranged
// downloads, with its download faults.

#include "httppostrequestsigneddata.h"
#include "serverkey.h"
#include "standinserverprocess.h"

#include <QCryptographicHash>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray fileContent()
{
    QByteArray content;
    for (int i = 0; i < 10000; ++i)
        content += char(i * 7 % 251);
    return content;
}

} // namespace

class StandInServerTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_catalogue;
    StandInServerProcess m_server;
    const QByteArray m_content = fileContent();

    QByteArray signedMapQuestion()
    {
        HTTPPostRequestSignedData data(ServerKey::modulus(), ServerKey::modulusLength);
        data.addField(QStringLiteral("version"), QStringLiteral("1.1"), true);
        data.addField(QStringLiteral("language"), QStringLiteral("en_US"), true);
        data.addField(QStringLiteral("typefile"), QStringLiteral("zip"), false);
        data.addField(QStringLiteral("devicename"), QStringLiteral("PND-100"), false);
        data.addField(QStringLiteral("korwindVer"), QStringLiteral("5.0.0.0"), false);
        return data.toByteArray();
    }

private Q_SLOTS:
    void initTestCase()
    {
        ServerKey::restore();
        QVERIFY(writeCatalogueFile(m_catalogue.path(), QStringLiteral("files/data.bin"), m_content));
        QVERIFY2(m_server.start(m_catalogue.path()), qPrintable(m_server.errorText()));
    }

    void init() { QVERIFY(m_server.reset()); }

    void signatureMustMatchTheFields_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<int>("httpStatus");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("as signed") << QByteArray() << QByteArray() << 200 << QStringLiteral("valid");
        QTest::newRow("signed field changed") << QByteArray("korwindVer=5.0.0.0") << QByteArray("korwindVer=6.0.0.0")
                                              << 403 << QStringLiteral("invalid");
        QTest::newRow("signed field added") << QByteArray("&korwindVer") << QByteArray("&checksum=ab&korwindVer")
                                            << 403 << QStringLiteral("invalid");
        QTest::newRow("unsigned field changed") << QByteArray("language=en_US") << QByteArray("language=de_DE") << 200
                                                << QStringLiteral("valid");
        QTest::newRow("signature removed") << QByteArray("&sign=") << QByteArray("&nosign=") << 403
                                           << QStringLiteral("absent");
    }

    void signatureMustMatchTheFields()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(int, httpStatus);
        QFETCH(QString, verdict);
        QByteArray body = signedMapQuestion();
        if (!from.isEmpty())
            body.replace(from, to);
        const StandInServerProcess::Reply reply = m_server.post(QStringLiteral("/productsInfo/"), body);
        QCOMPARE(reply.httpStatus, httpStatus);
        QCOMPARE(m_server.requests().at(0).toObject().value(QStringLiteral("signature")).toString(), verdict);
    }

    void chunkInformationForAnyBlockSize_data()
    {
        QTest::addColumn<int>("blockSize");
        QTest::newRow("1") << 1;
        QTest::newRow("999") << 999;
        QTest::newRow("exact divisor 2500") << 2500;
        QTest::newRow("the file size") << 10000;
        QTest::newRow("larger than the file") << 2097152;
    }

    void chunkInformationForAnyBlockSize()
    {
        QFETCH(int, blockSize);
        const StandInServerProcess::Reply reply = m_server.post(
            QStringLiteral("/fileInfo/"),
            QStringLiteral("version=1.0&language=en_US&file=data.bin&blocksize=%1").arg(blockSize).toUtf8());
        QByteArray expected = "0\n" + QByteArray::number(blockSize);
        for (qsizetype offset = 0; offset < m_content.size(); offset += blockSize)
            expected += '\n' + QCryptographicHash::hash(m_content.mid(offset, blockSize), QCryptographicHash::Sha1).toHex();
        QCOMPARE(reply.body, expected);
    }

    void downloads_data()
    {
        QTest::addColumn<QByteArray>("fault");
        QTest::addColumn<QByteArray>("range");
        QTest::addColumn<int>("httpStatus");
        QTest::addColumn<qint64>("first");
        QTest::addColumn<qint64>("length");
        QTest::addColumn<bool>("complete");
        QTest::newRow("whole file") << QByteArray() << QByteArray() << 200 << qint64(0) << qint64(10000) << true;
        QTest::newRow("range") << QByteArray() << QByteArray("bytes=100-2099") << 206 << qint64(100) << qint64(2000) << true;
        QTest::newRow("range to the end") << QByteArray() << QByteArray("bytes=9000-") << 206 << qint64(9000)
                                          << qint64(1000) << true;
        QTest::newRow("range ignored") << QByteArray("\"ignoreRange\":true") << QByteArray("bytes=100-2099") << 200
                                       << qint64(0) << qint64(10000) << true;
        QTest::newRow("dropped after 3000 bytes") << QByteArray("\"dropAfter\":3000") << QByteArray() << 200 << qint64(0)
                                                  << qint64(3000) << false;
        QTest::newRow("redirect chain") << QByteArray("\"redirects\":3") << QByteArray("bytes=0-99") << 206 << qint64(0)
                                        << qint64(100) << true;
        QTest::newRow("throttled") << QByteArray("\"rate\":20000") << QByteArray("bytes=0-3999") << 206 << qint64(0)
                                   << qint64(4000) << true;
    }

    void downloads()
    {
        QFETCH(QByteArray, fault);
        QFETCH(QByteArray, range);
        QFETCH(int, httpStatus);
        QFETCH(qint64, first);
        QFETCH(qint64, length);
        QFETCH(bool, complete);
        if (!fault.isEmpty())
            QVERIFY(m_server.setFaults("[{\"path\":\"/files/data.bin\",\"times\":1," + fault + "}]"));
        QString path = QStringLiteral("/files/data.bin");
        StandInServerProcess::Reply reply = m_server.get(path, range);
        for (int hop = 0; hop < 5 && reply.httpStatus == 302; ++hop)
            reply = m_server.get(QUrl(QString::fromUtf8(reply.header("Location"))).toString(QUrl::RemoveScheme | QUrl::RemoveAuthority), range);
        QCOMPARE(reply.httpStatus, httpStatus);
        QCOMPARE(reply.error.isEmpty(), complete);
        QCOMPARE(reply.body, m_content.mid(first, length));
        if (httpStatus == 206)
            QCOMPARE(reply.header("Content-Range"),
                     QStringLiteral("bytes %1-%2/10000").arg(first).arg(first + length - 1).toUtf8());
    }

    void corruptedBytes()
    {
        QVERIFY(m_server.setFaults("[{\"path\":\"/files/*\",\"corrupt\":[5,150]}]"));
        const StandInServerProcess::Reply reply = m_server.get(QStringLiteral("/files/data.bin"), "bytes=100-199");
        QByteArray expected = m_content.mid(100, 100);
        expected[50] = char(expected[50] ^ 0xFF);
        QCOMPARE(reply.body, expected);
    }

    void malformedFaultRulesAreRefused()
    {
        QVERIFY(!m_server.setFaults("[{\"path\":\"/files/*\",\"dropAfterBytes\":5}]"));
        QVERIFY(!m_server.setFaults("{\"path\":\"/files/*\"}"));
        QVERIFY(!m_server.setFaults("[{\"times\":1}]"));
    }
};

QTEST_GUILESS_MAIN(StandInServerTest)
#include "tst_standinserver.moc"
