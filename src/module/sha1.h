#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// SHA-1 (FIPS 180) over data fed in pieces; the module has no crypto library to lean on on the device.
class Sha1
{
public:
    Sha1();

    void add(const unsigned char *data, std::size_t size);
    // The digest as 40 lower-case hexadecimal digits; the object is spent afterwards.
    std::string finishHex();

private:
    void processBlock(const unsigned char *block);

    std::array<std::uint32_t, 5> m_state;
    std::array<unsigned char, 64> m_buffer;
    std::size_t m_buffered = 0;
    std::uint64_t m_totalBytes = 0;
};
