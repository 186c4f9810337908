// A stand-in for the device-side module that answers what a test laid beside it, so that replies the real
// module never gives can be tried: each call's reply is the file forged/NAME.reply in the emulated device's
// folder (VKT_CE_DEVICE; no file: no reply), its result the number in forged/NAME.result (default 1).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string forgedFile(const char *call, const char *kind)
{
    const char *device = std::getenv("VKT_CE_DEVICE");
    return std::string(device ? device : "") + "/forged/" + call + kind;
}

std::int32_t answer(const char *call, std::uint32_t *outputSize, unsigned char **output)
{
    *outputSize = 0;
    *output = nullptr;
    if (std::FILE *reply = std::fopen(forgedFile(call, ".reply").c_str(), "rb")) {
        unsigned char bytes[4096];
        const std::size_t size = std::fread(bytes, 1, sizeof bytes, reply);
        std::fclose(reply);
        if (size > 0) {
            *output = static_cast<unsigned char *>(std::malloc(size));
            std::memcpy(*output, bytes, size);
            *outputSize = static_cast<std::uint32_t>(size);
        }
    }
    std::int32_t result = 1;
    if (std::FILE *file = std::fopen(forgedFile(call, ".result").c_str(), "rb")) {
        if (std::fscanf(file, "%d", &result) != 1)
            result = 1;
        std::fclose(file);
    }
    return result;
}

} // namespace

#define FORGED_CALL(name)                                                                                              \
    extern "C" __attribute__((visibility("default"))) std::int32_t name(                                               \
        std::uint32_t, unsigned char *, std::uint32_t *outputSize, unsigned char **output, void *)                    \
    {                                                                                                                  \
        return answer(#name, outputSize, output);                                                                      \
    }

FORGED_CALL(getPXRVersion)
FORGED_CALL(getRootInfo)
FORGED_CALL(getVersionInfo)
