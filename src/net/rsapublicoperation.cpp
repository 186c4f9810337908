#include "rsapublicoperation.h"

#include "embeddedserverkey.h"

#include <openssl/bn.h>

namespace {

const unsigned char serverExponent[] = {VKT_SERVER_EXPONENT};

} // namespace

QByteArray rsaPublicOperation(const QByteArray &block, const unsigned char *modulus, int modulusLength)
{
    if (!modulus || modulusLength <= 0 || block.size() != modulusLength)
        return QByteArray();

    BN_CTX *context = BN_CTX_new();
    BIGNUM *base = BN_bin2bn(reinterpret_cast<const unsigned char *>(block.constData()), modulusLength, nullptr);
    BIGNUM *exponent = BN_bin2bn(serverExponent, int(sizeof serverExponent), nullptr);
    BIGNUM *n = BN_bin2bn(modulus, modulusLength, nullptr);
    BIGNUM *result = BN_new();

    QByteArray output;
    if (context && base && exponent && n && result && !BN_is_zero(n)
        && BN_mod_exp(result, base, exponent, n, context) == 1) {
        output.resize(modulusLength);
        if (BN_bn2binpad(result, reinterpret_cast<unsigned char *>(output.data()), modulusLength) != modulusLength)
            output.clear();
    }

    BN_free(result);
    BN_free(n);
    BN_free(exponent);
    BN_free(base);
    BN_CTX_free(context);
    return output;
}
