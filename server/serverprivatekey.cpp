#include "serverprivatekey.h"

#include <QFile>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include <cstdio>

ServerPrivateKey::~ServerPrivateKey()
{
    EVP_PKEY_free(m_key);
}

bool ServerPrivateKey::load(const QString &path, QString &error)
{
    FILE *file = std::fopen(QFile::encodeName(path).constData(), "r");
    if (!file) {
        error = QStringLiteral("cannot open the key file ") + path;
        return false;
    }
    m_key = PEM_read_PrivateKey(file, nullptr, nullptr, nullptr);
    std::fclose(file);
    if (!m_key || EVP_PKEY_get_base_id(m_key) != EVP_PKEY_RSA || EVP_PKEY_get_size(m_key) != length()) {
        error = path + QStringLiteral(" holds no 1024-bit RSA private key");
        return false;
    }
    return true;
}

QByteArray ServerPrivateKey::rawPrivateOperation(const QByteArray &block) const
{
    if (!m_key || block.size() != length())
        return QByteArray();
    // Raw RSA decryption is exactly block^d mod n, which both opens a signature and makes a seal.
    EVP_PKEY_CTX *context = EVP_PKEY_CTX_new(m_key, nullptr);
    QByteArray output(length(), '\0');
    size_t outputLength = size_t(output.size());
    const bool ok = context && EVP_PKEY_decrypt_init(context) == 1
                    && EVP_PKEY_CTX_set_rsa_padding(context, RSA_NO_PADDING) == 1
                    && EVP_PKEY_decrypt(context, reinterpret_cast<unsigned char *>(output.data()), &outputLength,
                                        reinterpret_cast<const unsigned char *>(block.constData()),
                                        size_t(block.size())) == 1
                    && outputLength == size_t(length());
    EVP_PKEY_CTX_free(context);
    return ok ? output : QByteArray();
}
