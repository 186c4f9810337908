#pragma once

#include "ceplatform.h"

#include <cstdint>
#include <string>
#include <vector>

// Finds the storage cards and the navigator executable on the device and reads the executable's version
// and digest. Every probe degrades to "not found" or zero values.
class DeviceProbe
{
public:
    explicit DeviceProbe(CePlatform &platform);

    // The roots of the listable storage cards, each with a leading backslash, in enumeration order.
    std::vector<std::u16string> storageRoots();
    // The full path of "Korwind.exe": where its installer put it, else the default folder, else each card.
    bool findNavigator(std::u16string &path);
    // Major, minor, build, revision; all 0 when the version resource cannot be read.
    void fileVersion(const std::u16string &path, std::uint16_t parts[4]);
    // The SHA-1 of the whole file as 40 lower-case hexadecimal digits.
    bool fileDigest(const std::u16string &path, std::string &hexDigest);

private:
    bool searchFolder(const std::u16string &pattern, std::u16string &path);
    bool isListable(const std::u16string &root);
    std::u16string installDirPattern();

    CePlatform &m_platform;
};
