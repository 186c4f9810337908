#pragma once

#include <cstdint>

// The module's exported functions: the three remote calls with the remote API's extension signature and
// the installer's four setup hooks. In the host build they work on the emulated device whose folder the
// environment variable VKT_CE_DEVICE names (see HostCePlatform); replies are freed with free().

// The host build exports by visibility; a device build names the exports in a module definition file.
#define PXR_EXPORT __attribute__((visibility("default")))

extern "C" {

struct IRAPIStream; // the remote API's stream interface; the module does not use it

// Every remote call returns 1; input and stream are ignored.
using PxrRemoteCall = std::int32_t (*)(std::uint32_t inputSize, unsigned char *input, std::uint32_t *outputSize,
                                       unsigned char **output, IRAPIStream *stream);

PXR_EXPORT std::int32_t getPXRVersion(std::uint32_t inputSize, unsigned char *input, std::uint32_t *outputSize,
                                      unsigned char **output, IRAPIStream *stream);
PXR_EXPORT std::int32_t getRootInfo(std::uint32_t inputSize, unsigned char *input, std::uint32_t *outputSize,
                                    unsigned char **output, IRAPIStream *stream);
PXR_EXPORT std::int32_t getVersionInfo(std::uint32_t inputSize, unsigned char *input, std::uint32_t *outputSize,
                                       unsigned char **output, IRAPIStream *stream);

// 0 continues the installation, 1 cancels it.
PXR_EXPORT int Install_Init(void *parentWindow, int firstCall, int previouslyInstalled, const char16_t *installFolder);
PXR_EXPORT int Install_Exit(void *parentWindow, const char16_t *installFolder, std::uint16_t failedFolders,
                            std::uint16_t failedFiles, std::uint16_t failedRegistryKeys,
                            std::uint16_t failedRegistryValues, std::uint16_t failedShortcuts);
PXR_EXPORT int Uninstall_Init(void *parentWindow, const char16_t *installFolder);
PXR_EXPORT int Uninstall_Exit(void *parentWindow);
}
