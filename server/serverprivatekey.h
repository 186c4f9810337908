#pragma once

#include <QByteArray>
#include <QString>

typedef struct evp_pkey_st EVP_PKEY;

// The stand-in's RSA private key and the one raw operation it needs: the block raised to the
// private exponent, no padding. It opens the clients' signatures and seals the answers.
class ServerPrivateKey
{
public:
    ServerPrivateKey() = default;
    ~ServerPrivateKey();
    ServerPrivateKey(const ServerPrivateKey &) = delete;
    ServerPrivateKey &operator=(const ServerPrivateKey &) = delete;

    // Reads a PEM private key; false with a reason when it is missing or not a 1024-bit RSA key.
    bool load(const QString &path, QString &error);

    int length() const { return 128; }

    // A block of length() bytes below the modulus; empty on failure.
    QByteArray rawPrivateOperation(const QByteArray &block) const;

private:
    EVP_PKEY *m_key = nullptr;
};
