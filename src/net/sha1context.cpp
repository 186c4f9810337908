#include "sha1context.h"

#include <openssl/evp.h>

void Sha1Context::ContextFree::operator()(evp_md_ctx_st *context) const
{
    EVP_MD_CTX_free(context);
}

Sha1Context::Sha1Context() : m_context(EVP_MD_CTX_new())
{
    m_ok = m_context && EVP_DigestInit_ex(m_context.get(), EVP_sha1(), nullptr) == 1;
}

Sha1Context::~Sha1Context() = default;

bool Sha1Context::add(const char *data, qint64 size)
{
    m_ok = m_ok && EVP_DigestUpdate(m_context.get(), data, size_t(size)) == 1;
    return m_ok;
}

bool Sha1Context::copyFrom(const Sha1Context &other)
{
    m_ok = m_context && other.m_ok && EVP_MD_CTX_copy_ex(m_context.get(), other.m_context.get()) == 1;
    return m_ok;
}

QByteArray Sha1Context::finishHex()
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    const bool ok = m_ok && EVP_DigestFinal_ex(m_context.get(), digest, &length) == 1;
    m_ok = false;
    return ok ? QByteArray(reinterpret_cast<const char *>(digest), int(length)).toHex() : QByteArray();
}
