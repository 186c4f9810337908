#include "httppostrequestsigneddata.h"

#include "rsapublicoperation.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

HTTPPostRequestSignedData::HTTPPostRequestSignedData(const unsigned char *keyData, int keyLength)
    : m_keyData(keyData), m_keyLength(keyLength)
{
}

void HTTPPostRequestSignedData::addField(const QString &name, const QString &value, bool unsignedField)
{
    HTTPPostRequestData::addField(name, value);
    if (!unsignedField)
        m_signedFields.append(qMakePair(name, value));
}

void HTTPPostRequestSignedData::setSignedWithoutFields(bool signedWithoutFields)
{
    m_signedWithoutFields = signedWithoutFields;
}

QByteArray HTTPPostRequestSignedData::toByteArray()
{
    QByteArray body = HTTPPostRequestData::toByteArray();
    if (m_signedFields.isEmpty() && !m_signedWithoutFields)
        return body;
    const QByteArray signature = makeSignature();
    if (!signature.isEmpty())
        body += "&sign=" + signature;
    return body;
}

QByteArray HTTPPostRequestSignedData::signedFieldsDigest() const
{
    QString text;
    for (const auto &field : qAsConst(m_signedFields)) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += field.first + QLatin1Char('=') + field.second;
    }
    return QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5);
}

QByteArray HTTPPostRequestSignedData::makeSignature()
{
    // The pad is what keeps the server's answer private, so it comes from the system's secure source.
    m_sessionPad.resize(sessionPadLength);
    QRandomGenerator::system()->generate(m_sessionPad.begin(), m_sessionPad.end());
    m_sessionPad[0] = char(uchar(m_sessionPad[0]) & 0x7F); // keeps the block below the modulus

    const QByteArray sealed = rsaPublicOperation(m_sessionPad + signedFieldsDigest(), m_keyData, m_keyLength);
    if (sealed.isEmpty()) {
        m_sessionPad.clear();
        return QByteArray();
    }
    return percentEncoded(QString::fromLatin1(sealed.toBase64())).toLatin1();
}
