#include "pxrexports.h"

#include "hostceplatform.h"
#include "remotecalls.h"
#include "setuphooks.h"

#include <cstdlib>

namespace {

// The emulated device of this call; without the variable, a device without any files.
HostCePlatform emulatedDevice()
{
    const char *folder = std::getenv("VKT_CE_DEVICE");
    return HostCePlatform(folder ? folder : "");
}

} // namespace

extern "C" {

std::int32_t getPXRVersion(std::uint32_t, unsigned char *, std::uint32_t *outputSize, unsigned char **output, IRAPIStream *)
{
    HostCePlatform platform = emulatedDevice();
    return RemoteCalls(platform).getPXRVersion(outputSize, output);
}

std::int32_t getRootInfo(std::uint32_t, unsigned char *, std::uint32_t *outputSize, unsigned char **output, IRAPIStream *)
{
    HostCePlatform platform = emulatedDevice();
    return RemoteCalls(platform).getRootInfo(outputSize, output);
}

std::int32_t getVersionInfo(std::uint32_t, unsigned char *, std::uint32_t *outputSize, unsigned char **output, IRAPIStream *)
{
    HostCePlatform platform = emulatedDevice();
    return RemoteCalls(platform).getVersionInfo(outputSize, output);
}

int Install_Init(void *, int, int, const char16_t *)
{
    HostCePlatform platform = emulatedDevice();
    return SetupHooks(platform).installInit();
}

int Install_Exit(void *, const char16_t *, std::uint16_t, std::uint16_t, std::uint16_t, std::uint16_t, std::uint16_t)
{
    return SetupHooks::installExit();
}

int Uninstall_Init(void *, const char16_t *)
{
    HostCePlatform platform = emulatedDevice();
    return SetupHooks(platform).uninstallInit();
}

int Uninstall_Exit(void *)
{
    return SetupHooks::uninstallExit();
}
}
