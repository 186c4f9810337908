#pragma once

#include "ceplatform.h"
#include "registryfile.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

// A Windows CE device emulated over a host folder, so that the module runs and is tested off the device:
//   files/             the device's file system ("\" of the device)
//   attributes.txt     optional lines "<hex attributes> <device path>", e.g. "102 \Storage Card\Hidden";
//                      the folder or file bit is kept, the other bits are replaced (default: archive)
//   registry.txt       optional, see RegistryFile; keys under "HKEY_LOCAL_MACHINE\..."
//   configuration/     each accepted configuration document as NNNN.xml, UTF-16LE as submitted
//   configuration-fails  while this file exists, every configuration document is refused
// Names compare without regard to ASCII case; links carry the reparse-point attribute; "." and ".." never
// appear in listings; the local heap is the C heap (calloc and free).
class HostCePlatform final : public CePlatform
{
public:
    explicit HostCePlatform(const std::string &deviceFolder);
    ~HostCePlatform() override;
    HostCePlatform(const HostCePlatform &) = delete;
    HostCePlatform &operator=(const HostCePlatform &) = delete;

    Handle findFirstStorageCard(CeFindRecord &record) override;
    bool findNextStorageCard(Handle search, CeFindRecord &record) override;
    Handle findFirstFile(const std::u16string &pattern, CeFindRecord &record) override;
    bool findNextFile(Handle search, CeFindRecord &record) override;
    void findClose(Handle search) override;
    CE_REGISTRY_RESULT readLocalMachineText(const std::u16string &key, const std::u16string &valueName,
                                            char16_t *buffer, std::uint32_t &byteCount) override;
    bool readFixedFileVersion(const std::u16string &path, std::uint32_t &mostSignificant,
                              std::uint32_t &leastSignificant) override;
    Handle openFileForReading(const std::u16string &path) override;
    bool readFile(Handle file, unsigned char *buffer, std::uint32_t size, std::uint32_t &bytesRead) override;
    void closeFile(Handle file) override;
    void *localAllocZeroed(std::size_t size) override;
    void localFree(void *memory) override;
    std::int32_t processConfigXml(const std::u16string &document, std::uint32_t flags, char16_t **result) override;
    void freeConfigResult(char16_t *result) override;

private:
    struct Search
    {
        std::vector<CeFindRecord> records;
        std::size_t next = 0;
    };

    bool resolve(const std::u16string &devicePath, std::filesystem::path &hostPath, std::u16string &key) const;
    std::vector<CeFindRecord> list(const std::u16string &folder, const std::u16string &namePattern) const;
    Handle startSearch(std::vector<CeFindRecord> records, CeFindRecord &first);
    bool continueSearch(Handle search, CeFindRecord &record);
    void loadAttributes();

    std::filesystem::path m_device;
    std::map<std::u16string, std::uint32_t> m_attributes; // by folded device path
    RegistryFile m_registry;
    std::map<Handle, Search> m_searches;
    std::map<Handle, std::FILE *> m_files;
    Handle m_nextHandle = 1;
};
