#pragma once

#include "httppostrequestdata.h"

// A form that also hands the server a fresh random session pad, sealed with the server's public key
// together with the MD5 of the signed fields. The server seals its answer with that pad, so this
// object must outlive the reply it is opened with.
class HTTPPostRequestSignedData final : public HTTPPostRequestData
{
public:
    static constexpr int sessionPadLength = 112;

    // The modulus is borrowed: big-endian, keyLength bytes (128), kept alive by the caller.
    HTTPPostRequestSignedData(const unsigned char *keyData, int keyLength);

    // Always a form field; also covered by the signature unless unsignedField is set.
    void addField(const QString &name, const QString &value, bool unsignedField);

    // Sign even when no field is signed; the digest then covers the empty text. For questions
    // whose sealed answer needs a session pad although none of their fields is signed.
    void setSignedWithoutFields(bool signedWithoutFields);

    // The plain body, followed by "&sign=" and a new signature whenever there is something to sign.
    // Each call draws a new session pad. If the signature cannot be made the plain body is returned
    // and the pad is left empty, so no answer can be opened with it.
    QByteArray toByteArray() override;

    QByteArray sessionPad() const { return m_sessionPad; }
    const unsigned char *keyData() const { return m_keyData; }
    int keyLength() const { return m_keyLength; }

private:
    QByteArray signedFieldsDigest() const;
    QByteArray makeSignature();

    const unsigned char *m_keyData;
    int m_keyLength;
    bool m_signedWithoutFields = false;
    QByteArray m_sessionPad;
    QList<QPair<QString, QString>> m_signedFields;
};
