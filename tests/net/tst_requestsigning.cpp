// Form bodies, the signature block and the sealed reply envelope, each checked against tools that
// have nothing to do with our code: openssl for the raw RSA operation, coreutils for MD5 and Base64.

#include "httppostrequestdata.h"
#include "httppostrequestsigneddata.h"
#include "rsapublicoperation.h"
#include "sealedreply.h"
#include "serverkey.h"
#include "toolrunner.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QtTest>

namespace {

const QString demoPrivateKey = QStringLiteral(VKT_DEMO_SERVER_PRIVATE_KEY);
const QString buildPublicKey = QStringLiteral(VKT_SERVER_PUBLIC_KEY);

QByteArray modulusBytes()
{
    return QByteArray(reinterpret_cast<const char *>(ServerKey::modulus()), ServerKey::modulusLength);
}

// A 128-byte block below any 1024-bit modulus.
QByteArray randomBlock()
{
    QByteArray block(ServerKey::modulusLength, '\0');
    QRandomGenerator::global()->generate(block.begin(), block.end());
    block[0] = char(block[0] & 0x3F);
    return block;
}

QByteArray opensslRaw(const QStringList &arguments, const QByteArray &input)
{
    return runTool(QStringLiteral("openssl"),
                   QStringList{QStringLiteral("pkeyutl")} + arguments
                       + QStringList{QStringLiteral("-pkeyopt"), QStringLiteral("rsa_padding_mode:none")},
                   input);
}

QByteArray opensslPublicRaw(const QByteArray &block)
{
    return opensslRaw({QStringLiteral("-encrypt"), QStringLiteral("-pubin"), QStringLiteral("-inkey"), buildPublicKey},
                      block);
}

QByteArray opensslPrivateRaw(const QByteArray &block)
{
    return opensslRaw({QStringLiteral("-decrypt"), QStringLiteral("-inkey"), demoPrivateKey}, block);
}

QByteArray md5sum(const QByteArray &text)
{
    return QByteArray::fromHex(runTool(QStringLiteral("md5sum"), {}, text).left(32));
}

QByteArray base64Decode(const QByteArray &text)
{
    return runTool(QStringLiteral("base64"), {QStringLiteral("-d")}, text);
}

// The "sign" value of a body, percent-decoded.
QByteArray signatureOf(const QByteArray &body)
{
    const qsizetype at = body.indexOf("&sign=");
    return at < 0 ? QByteArray() : QByteArray::fromPercentEncoding(body.mid(at + 6));
}

// An envelope made by openssl and coreutils alone, as the server would make it.
QByteArray sealWithTools(const QByteArray &plaintext, const QByteArray &sessionPad)
{
    QByteArray serverPad(HTTPPostRequestSignedData::sessionPadLength, '\0');
    QRandomGenerator::global()->generate(serverPad.begin(), serverPad.end());
    serverPad[0] = char(serverPad[0] & 0x7F);
    const QByteArray sealedBlock = opensslPrivateRaw(serverPad + md5sum(plaintext));
    QByteArray ciphertext = plaintext;
    for (qsizetype i = 0; i < ciphertext.size(); ++i)
        ciphertext[i] = char(ciphertext[i] ^ sessionPad[i % 112] ^ serverPad[i % 112]);
    return runTool(QStringLiteral("base64"), {QStringLiteral("-w0")}, sealedBlock + ciphertext);
}

} // namespace

class RequestSigningTest : public QObject
{
    Q_OBJECT

private:
    bool m_demoKey = false;

private Q_SLOTS:
    void initTestCase()
    {
        ServerKey::restore();
        QVERIFY2(!runTool(QStringLiteral("openssl"), {QStringLiteral("version")}).isNull(), "openssl is needed");
        const QByteArray demoModulus =
            runTool(QStringLiteral("openssl"), {QStringLiteral("rsa"), QStringLiteral("-in"), demoPrivateKey,
                                                QStringLiteral("-noout"), QStringLiteral("-modulus")});
        m_demoKey = demoModulus.trimmed() == "Modulus=" + modulusBytes().toHex().toUpper();
    }

    void restoredModulusIsTheBuildKey()
    {
        ServerKey::restore(); // a second restoration must leave the buffer alone
        const QByteArray modulus =
            runTool(QStringLiteral("openssl"), {QStringLiteral("rsa"), QStringLiteral("-pubin"), QStringLiteral("-in"),
                                                buildPublicKey, QStringLiteral("-noout"), QStringLiteral("-modulus")});
        QCOMPARE(modulus.trimmed(), "Modulus=" + modulusBytes().toHex().toUpper());
    }

    void formBody_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("two plain fields") << QStringList{QStringLiteral("version"), QStringLiteral("1.1"),
                                                         QStringLiteral("language"), QStringLiteral("ru_RU")}
                                          << QByteArray("version=1.1&language=ru_RU");
        QTest::newRow("space and non-ASCII letter in UTF-8")
            << QStringList{QStringLiteral("oeminfo"), QStringLiteral("Навигатор 7")}
            << QByteArray("oeminfo=%D0%9D%D0%B0%D0%B2%D0%B8%D0%B3%D0%B0%D1%82%D0%BE%D1%80%207");
        QTest::newRow("reserved characters escaped, unreserved pass")
            << QStringList{QStringLiteral("a"), QStringLiteral("+/=&?-._~")}
            << QByteArray("a=%2B%2F%3D%26%3F-._~");
        QTest::newRow("empty value") << QStringList{QStringLiteral("platformname"), QString(), QStringLiteral("x"),
                                                    QStringLiteral("1")}
                                     << QByteArray("platformname=&x=1");
        QTest::newRow("no field") << QStringList() << QByteArray();
    }

    void formBody()
    {
        QFETCH(QStringList, fields);
        QFETCH(QByteArray, body);
        HTTPPostRequestData data;
        HTTPPostRequestSignedData signedData(ServerKey::modulus(), ServerKey::modulusLength);
        for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
            data.addField(fields[i], fields[i + 1]);
            signedData.addField(fields[i], fields[i + 1], true);
        }
        QCOMPARE(data.toByteArray(), body);
        // A signed object whose fields are all unsigned sends exactly the plain body.
        QCOMPARE(signedData.toByteArray(), body);
        QVERIFY(signedData.sessionPad().isEmpty());
    }

    void rawRsaAgreesWithOpenssl()
    {
        if (!m_demoKey)
            QSKIP("the build uses another server key than the demo key");
        for (int round = 0; round < 3; ++round) {
            const QByteArray block = randomBlock();
            const QByteArray ours = rsaPublicOperation(block, ServerKey::modulus(), ServerKey::modulusLength);
            QCOMPARE(ours.size(), 128);
            QCOMPARE(ours, opensslPublicRaw(block));
            // The other way: what openssl's private operation makes, our public operation undoes.
            QCOMPARE(rsaPublicOperation(opensslPrivateRaw(block), ServerKey::modulus(), ServerKey::modulusLength), block);
        }
        QVERIFY(rsaPublicOperation(QByteArray(127, 'x'), ServerKey::modulus(), ServerKey::modulusLength).isEmpty());
    }

    void signatureBlockOpensWithTools_data()
    {
        QTest::addColumn<bool>("withoutFields");
        QTest::addColumn<QByteArray>("signedText");
        QTest::newRow("two signed fields") << false << QByteArray("platform=windows\narch=x86");
        QTest::newRow("signed without fields") << true << QByteArray();
    }

    void signatureBlockOpensWithTools()
    {
        if (!m_demoKey)
            QSKIP("the build uses another server key than the demo key");
        QFETCH(bool, withoutFields);
        QFETCH(QByteArray, signedText);
        HTTPPostRequestSignedData data(ServerKey::modulus(), ServerKey::modulusLength);
        data.addField(QStringLiteral("version"), QStringLiteral("1.1"), true);
        if (withoutFields) {
            data.setSignedWithoutFields(true);
        } else {
            data.addField(QStringLiteral("platform"), QStringLiteral("windows"), false);
            data.addField(QStringLiteral("arch"), QStringLiteral("x86"), false);
        }
        const QByteArray body = data.toByteArray();
        QVERIFY(body.startsWith(withoutFields ? "version=1.1&sign=" : "version=1.1&platform=windows&arch=x86&sign="));
        QVERIFY2(!body.contains('+') && !body.contains('/'), body.constData());

        const QByteArray block = opensslPrivateRaw(base64Decode(signatureOf(body)));
        QCOMPARE(block.size(), 128);
        QCOMPARE(block.left(112), data.sessionPad());
        QCOMPARE(block.mid(112), md5sum(signedText));
    }

    void everySignatureHasANewPad()
    {
        HTTPPostRequestSignedData data(ServerKey::modulus(), ServerKey::modulusLength);
        data.addField(QStringLiteral("korwindVer"), QStringLiteral("5.0.0.1"), false);
        const QByteArray first = data.toByteArray();
        const QByteArray firstPad = data.sessionPad();
        const QByteArray second = data.toByteArray();
        QCOMPARE(data.sessionPad().size(), 112);
        QVERIFY(first != second);
        QVERIFY(firstPad != data.sessionPad());
        QCOMPARE(uchar(data.sessionPad().at(0)) & 0x80, 0);
        if (m_demoKey)
            QCOMPARE(opensslPrivateRaw(base64Decode(signatureOf(second))).left(112), data.sessionPad());
    }

    void envelopeMadeByToolsOpens()
    {
        if (!m_demoKey)
            QSKIP("the build uses another server key than the demo key");
        HTTPPostRequestSignedData data(ServerKey::modulus(), ServerKey::modulusLength);
        data.setSignedWithoutFields(true);
        data.toByteArray();
        // Longer than one pad, so the pads' repetition is exercised.
        const QByteArray plaintext = QByteArray("Korwind Navigator\n").repeated(20);
        const SealedReply reply =
            openSealedReply(sealWithTools(plaintext, data.sessionPad()), data.sessionPad(), data.keyData(), data.keyLength());
        QCOMPARE(reply.status, int(SealedReply::Opened));
        QCOMPARE(reply.plaintext, plaintext);
    }

    void brokenEnvelopesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("envelope");
        QTest::addColumn<bool>("wrongPad");
        if (!m_demoKey)
            return;
        const QByteArray pad = fixedPad();
        const QByteArray good = sealWithTools("0123456789", pad);
        const QByteArray decoded = QByteArray::fromBase64(good);
        QByteArray flippedCipher = decoded;
        flippedCipher[130] = char(flippedCipher[130] ^ 0x04);
        QByteArray flippedSeal = decoded;
        flippedSeal[5] = char(flippedSeal[5] ^ 0x01);
        QTest::newRow("one ciphertext byte changed") << flippedCipher.toBase64() << false;
        QTest::newRow("sealed block changed") << flippedSeal.toBase64() << false;
        QTest::newRow("sealed block only") << decoded.left(128).toBase64() << false;
        QTest::newRow("shorter than the sealed block") << decoded.left(100).toBase64() << false;
        QTest::newRow("truncated Base64") << good.left(good.size() - 3) << false;
        QTest::newRow("not Base64") << QByteArray("!!not base64!!") << false;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("opened with another pad") << good << true;
    }

    void brokenEnvelopesAreRefused()
    {
        if (!m_demoKey)
            QSKIP("the build uses another server key than the demo key");
        QFETCH(QByteArray, envelope);
        QFETCH(bool, wrongPad);
        QByteArray pad = fixedPad();
        if (wrongPad)
            pad[3] = char(pad[3] ^ 0x10);
        const SealedReply reply = openSealedReply(envelope, pad, ServerKey::modulus(), ServerKey::modulusLength);
        QCOMPARE(reply.status, int(SealedReply::Broken));
        QVERIFY(reply.plaintext.isEmpty());
    }

private:
    static QByteArray fixedPad() { return QByteArray(112, '\x5A'); }
};

QTEST_GUILESS_MAIN(RequestSigningTest)
#include "tst_requestsigning.moc"
