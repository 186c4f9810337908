#pragma once

#include <cstddef>

// Keeps the server's modulus out of plain view in the program's data. The mask is its own inverse:
// the build tool applies it once when it embeds the key, the program applies it again to restore it.
inline void applyServerKeyMask(unsigned char *bytes, std::size_t length)
{
    unsigned char mask = 0x5C;
    for (std::size_t i = 0; i < length; ++i) {
        bytes[i] ^= mask;
        mask = static_cast<unsigned char>(mask * 29u + 0x3Bu + i);
    }
}
