#pragma once

#include <map>
#include <string>

// The emulated device's registry: a UTF-8 text file of "[ROOT\key]" sections and "name=text" lines.
// Keys and value names are compared without regard to case; only text values exist.
class RegistryFile
{
public:
    // A missing file is an empty registry; false only when the file exists but cannot be read as UTF-8.
    bool load(const std::string &path);

    // key: the full key with its root, for example "HKEY_LOCAL_MACHINE\Software\Apps".
    bool text(const std::u16string &key, const std::u16string &valueName, std::u16string &value) const;

private:
    std::map<std::u16string, std::map<std::u16string, std::u16string>> m_keys;
};
