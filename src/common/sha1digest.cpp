#include "sha1digest.h"

#include <QByteArray>

#include <openssl/evp.h>

void Sha1Digest::ContextFree::operator()(evp_md_ctx_st *context) const
{
    EVP_MD_CTX_free(context);
}

Sha1Digest::Sha1Digest()
    : m_context(EVP_MD_CTX_new())
{
    m_ok = m_context && EVP_DigestInit_ex(m_context.get(), EVP_sha1(), nullptr) == 1;
}

Sha1Digest::~Sha1Digest() = default;

bool Sha1Digest::add(const char *data, qint64 size)
{
    m_ok = m_ok && EVP_DigestUpdate(m_context.get(), data, size_t(size)) == 1;
    return m_ok;
}

QString Sha1Digest::finish()
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!m_ok || EVP_DigestFinal_ex(m_context.get(), digest, &length) != 1) {
        m_ok = false;
        return QString();
    }
    m_ok = false;
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(digest), int(length)).toHex());
}

bool Sha1Digest::isSha1Text(const QString &text)
{
    if (text.size() != 40)
        return false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!(u >= u'0' && u <= u'9') && !(u >= u'a' && u <= u'f') && !(u >= u'A' && u <= u'F'))
            return false;
    }
    return true;
}
