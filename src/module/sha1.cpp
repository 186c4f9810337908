#include "sha1.h"

#include <algorithm>

namespace {

std::uint32_t rotateLeft(std::uint32_t value, int bits)
{
    return value << bits | value >> (32 - bits);
}

} // namespace

Sha1::Sha1() : m_state{0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u}, m_buffer{} {}

void Sha1::add(const unsigned char *data, std::size_t size)
{
    m_totalBytes += size;
    while (size > 0) {
        const std::size_t take = std::min(size, m_buffer.size() - m_buffered);
        std::copy(data, data + take, m_buffer.begin() + std::ptrdiff_t(m_buffered));
        m_buffered += take;
        data += take;
        size -= take;
        if (m_buffered == m_buffer.size()) {
            processBlock(m_buffer.data());
            m_buffered = 0;
        }
    }
}

std::string Sha1::finishHex()
{
    const std::uint64_t bitCount = m_totalBytes * 8;
    const unsigned char marker = 0x80;
    add(&marker, 1);
    const unsigned char zero = 0;
    while (m_buffered != 56)
        add(&zero, 1);
    unsigned char length[8];
    for (int i = 0; i < 8; ++i)
        length[i] = static_cast<unsigned char>(bitCount >> (56 - 8 * i));
    add(length, 8);

    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (std::uint32_t word : m_state) {
        for (int shift = 28; shift >= 0; shift -= 4)
            hex.push_back(digits[word >> shift & 0xF]);
    }
    return hex;
}

void Sha1::processBlock(const unsigned char *block)
{
    std::uint32_t w[80];
    for (int i = 0; i < 16; ++i) {
        w[i] = static_cast<std::uint32_t>(block[4 * i]) << 24 | static_cast<std::uint32_t>(block[4 * i + 1]) << 16
            | static_cast<std::uint32_t>(block[4 * i + 2]) << 8 | block[4 * i + 3];
    }
    for (int i = 16; i < 80; ++i)
        w[i] = rotateLeft(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);

    std::uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3], e = m_state[4];
    for (int i = 0; i < 80; ++i) {
        std::uint32_t f = 0;
        std::uint32_t k = 0;
        if (i < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999u;
        } else if (i < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1u;
        } else if (i < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDCu;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6u;
        }
        const std::uint32_t next = rotateLeft(a, 5) + f + e + k + w[i];
        e = d;
        d = c;
        c = rotateLeft(b, 30);
        b = a;
        a = next;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
    m_state[4] += e;
}
