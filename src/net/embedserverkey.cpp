// Build tool: reads the server's RSA public key (PEM) and writes a header with the masked modulus
// and the plain exponent, so the program carries the key without reading any file at run time.

#include "keyscramble.h"

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

#include <cstdio>
#include <vector>

namespace {

constexpr int modulusLength = 128;
constexpr int exponentLength = 3;

bool readKey(const char *path, std::vector<unsigned char> &modulus, std::vector<unsigned char> &exponent)
{
    FILE *file = std::fopen(path, "r");
    if (!file) {
        std::fprintf(stderr, "cannot open the server key file %s\n", path);
        return false;
    }
    EVP_PKEY *key = PEM_read_PUBKEY(file, nullptr, nullptr, nullptr);
    std::fclose(file);
    if (!key) {
        std::fprintf(stderr, "%s holds no PEM public key\n", path);
        return false;
    }
    BIGNUM *n = nullptr;
    BIGNUM *e = nullptr;
    bool ok = EVP_PKEY_get_bn_param(key, OSSL_PKEY_PARAM_RSA_N, &n) == 1
              && EVP_PKEY_get_bn_param(key, OSSL_PKEY_PARAM_RSA_E, &e) == 1;
    if (!ok)
        std::fprintf(stderr, "%s is not an RSA key\n", path);
    if (ok && (BN_num_bytes(n) != modulusLength || BN_num_bytes(e) > exponentLength)) {
        std::fprintf(stderr, "%s: the server key needs a 1024-bit modulus and an exponent of at most 3 bytes\n", path);
        ok = false;
    }
    if (ok) {
        modulus.resize(modulusLength);
        exponent.resize(exponentLength);
        BN_bn2binpad(n, modulus.data(), modulusLength);
        BN_bn2binpad(e, exponent.data(), exponentLength);
    }
    BN_free(n);
    BN_free(e);
    EVP_PKEY_free(key);
    return ok;
}

void writeBytes(FILE *out, const char *name, const std::vector<unsigned char> &bytes)
{
    std::fprintf(out, "#define %s", name);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        std::fprintf(out, "%s0x%02x", i == 0 ? " " : (i % 16 == 0 ? ", \\\n    " : ", "), bytes[i]);
    std::fprintf(out, "\n");
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PUBLIC_KEY.pem OUTPUT.h\n", argv[0]);
        return 2;
    }
    std::vector<unsigned char> modulus;
    std::vector<unsigned char> exponent;
    if (!readKey(argv[1], modulus, exponent))
        return 1;
    applyServerKeyMask(modulus.data(), modulus.size());

    FILE *out = std::fopen(argv[2], "w");
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    std::fprintf(out, "// Generated from the server's public key at build time; do not edit.\n#pragma once\n\n");
    writeBytes(out, "VKT_MASKED_SERVER_MODULUS", modulus);
    writeBytes(out, "VKT_SERVER_EXPONENT", exponent);
    return std::fclose(out) == 0 ? 0 : 1;
}
