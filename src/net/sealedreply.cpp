#include "sealedreply.h"

#include "httppostrequestsigneddata.h"
#include "rsapublicoperation.h"

#include <QCryptographicHash>

SealedReply openSealedReply(const QByteArray &encodedBody, const QByteArray &sessionPad,
                            const unsigned char *keyData, int keyLength)
{
    constexpr int padLength = HTTPPostRequestSignedData::sessionPadLength;
    SealedReply reply;
    if (sessionPad.size() != padLength || keyLength != padLength + 16)
        return reply;

    const auto decoding =
        QByteArray::fromBase64Encoding(encodedBody.trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    const QByteArray &decoded = decoding.decoded;
    if (!decoding || decoded.size() <= keyLength)
        return reply;

    const QByteArray block = rsaPublicOperation(decoded.left(keyLength), keyData, keyLength);
    if (block.isEmpty())
        return reply;
    const QByteArray serverPad = block.left(padLength);
    const QByteArray expectedDigest = block.mid(padLength);

    QByteArray plaintext = decoded.mid(keyLength);
    for (qsizetype i = 0; i < plaintext.size(); ++i)
        plaintext[i] = char(plaintext[i] ^ sessionPad[i % padLength] ^ serverPad[i % padLength]);

    if (QCryptographicHash::hash(plaintext, QCryptographicHash::Md5) != expectedDigest)
        return reply;
    reply.status = SealedReply::Opened;
    reply.plaintext = plaintext;
    return reply;
}
