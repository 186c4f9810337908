#include "remotecalls.h"

#include "deviceprobe.h"
#include "utf8.h"

#include <cstring>
#include <string>

namespace {

constexpr std::uint16_t STATUS_FOUND = 0;
constexpr std::uint16_t STATUS_NOT_FOUND = 1;

void append16(std::vector<unsigned char> &out, std::uint16_t value)
{
    out.push_back(static_cast<unsigned char>(value & 0xFF));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void append32(std::vector<unsigned char> &out, std::uint32_t value)
{
    append16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    append16(out, static_cast<std::uint16_t>(value >> 16));
}

void appendText(std::vector<unsigned char> &out, const std::string &text)
{
    append32(out, static_cast<std::uint32_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

} // namespace

RemoteCalls::RemoteCalls(CePlatform &platform) : m_platform(platform) {}

std::int32_t RemoteCalls::getPXRVersion(std::uint32_t *outputSize, unsigned char **output)
{
    std::vector<unsigned char> reply;
    append32(reply, PROTOCOL_VERSION);
    return deliver(reply, outputSize, output);
}

// Status 0, the byte count, then every root in UTF-8 followed by a NUL.
std::int32_t RemoteCalls::getRootInfo(std::uint32_t *outputSize, unsigned char **output)
{
    std::u16string roots;
    for (const std::u16string &root : DeviceProbe(m_platform).storageRoots()) {
        roots += root;
        roots.push_back(u'\0');
    }
    std::vector<unsigned char> reply;
    append16(reply, STATUS_FOUND);
    appendText(reply, toUtf8(roots));
    return deliver(reply, outputSize, output);
}

// Status 0, four version parts, the folder in UTF-8 with its NUL, the 40 digest digits. Not found: status 1.
// A navigator whose file cannot be digested gets no reply at all.
std::int32_t RemoteCalls::getVersionInfo(std::uint32_t *outputSize, unsigned char **output)
{
    DeviceProbe probe(m_platform);
    std::u16string path;
    std::vector<unsigned char> reply;
    if (!probe.findNavigator(path)) {
        append16(reply, STATUS_NOT_FOUND);
        return deliver(reply, outputSize, output);
    }
    std::uint16_t parts[4] = {};
    probe.fileVersion(path, parts);
    std::string digest;
    if (!probe.fileDigest(path, digest))
        return deliver(reply, outputSize, output);
    std::u16string folder = path.substr(0, path.rfind(u'\\'));
    folder.push_back(u'\0');
    append16(reply, STATUS_FOUND);
    for (std::uint16_t part : parts)
        append16(reply, part);
    appendText(reply, toUtf8(folder));
    reply.insert(reply.end(), digest.begin(), digest.end());
    return deliver(reply, outputSize, output);
}

// An empty reply, or one the heap cannot hold, is no buffer and a count of 0.
std::int32_t RemoteCalls::deliver(const std::vector<unsigned char> &reply, std::uint32_t *outputSize,
                                  unsigned char **output)
{
    if (!outputSize || !output)
        return CALL_DONE;
    *outputSize = 0;
    *output = nullptr;
    if (reply.empty())
        return CALL_DONE;
    auto *buffer = static_cast<unsigned char *>(m_platform.localAllocZeroed(reply.size()));
    if (!buffer)
        return CALL_DONE;
    std::memcpy(buffer, reply.data(), reply.size());
    *outputSize = static_cast<std::uint32_t>(reply.size());
    *output = buffer;
    return CALL_DONE;
}
