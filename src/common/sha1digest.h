#pragma once

#include <QString>

#include <memory>

struct evp_md_ctx_st;

// An incremental SHA-1 over OpenSSL, which is markedly faster than Qt's on large files.
class Sha1Digest
{
public:
    Sha1Digest();
    ~Sha1Digest();
    Sha1Digest(const Sha1Digest &) = delete;
    Sha1Digest &operator=(const Sha1Digest &) = delete;

    // False once the engine failed; the digest is then empty.
    bool add(const char *data, qint64 size);
    // 40 lower-case hexadecimal digits, or empty when the engine failed. Ends the digest.
    QString finish();

    // True for exactly 40 hexadecimal digits, so the text can safely be a file name.
    static bool isSha1Text(const QString &text);

private:
    struct ContextFree
    {
        void operator()(evp_md_ctx_st *context) const;
    };
    std::unique_ptr<evp_md_ctx_st, ContextFree> m_context;
    bool m_ok = false;
};
