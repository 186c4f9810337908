#pragma once

#include <QByteArray>

#include <memory>

struct evp_md_ctx_st;

// An incremental SHA-1 over OpenSSL, which is markedly faster than Qt's on large files. A failure of the
// engine sticks: every later step fails and the digest is empty.
class Sha1Context
{
public:
    Sha1Context();
    ~Sha1Context();
    Sha1Context(const Sha1Context &) = delete;
    Sha1Context &operator=(const Sha1Context &) = delete;

    bool add(const char *data, qint64 size);
    // Takes over other's state, so that a digest can go back to an earlier point.
    bool copyFrom(const Sha1Context &other);
    // 40 lower-case hexadecimal digits, or empty when the engine failed. Ends the digest.
    QByteArray finishHex();

private:
    struct ContextFree
    {
        void operator()(evp_md_ctx_st *context) const;
    };
    std::unique_ptr<evp_md_ctx_st, ContextFree> m_context;
    bool m_ok = false;
};
