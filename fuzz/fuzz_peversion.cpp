// Feeds arbitrary bytes to the PE version reader; the sanitizers report any read outside the input.
#include "peversioninfo.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    PeVersionInfo info;
    readPeVersionInfo(data, size, info);
    return 0;
}
