#pragma once

#include "ceplatform.h"

#include <cstdint>
#include <vector>

// The module's three remote calls. Each ignores its input, puts its reply on the platform's local heap
// (the caller frees it) and returns 1 whatever the outcome; the outcome is in the reply.
class RemoteCalls
{
public:
    static constexpr std::uint32_t PROTOCOL_VERSION = 1;
    static constexpr std::int32_t CALL_DONE = 1;

    explicit RemoteCalls(CePlatform &platform);

    std::int32_t getPXRVersion(std::uint32_t *outputSize, unsigned char **output);
    std::int32_t getRootInfo(std::uint32_t *outputSize, unsigned char **output);
    std::int32_t getVersionInfo(std::uint32_t *outputSize, unsigned char **output);

private:
    std::int32_t deliver(const std::vector<unsigned char> &reply, std::uint32_t *outputSize, unsigned char **output);

    CePlatform &m_platform;
};
