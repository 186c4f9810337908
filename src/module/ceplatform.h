#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The Windows CE facilities that the device-side module uses. On the device they are the system's own;
// HostCePlatform provides them over a folder that stands for the device.

constexpr std::uint32_t CE_ATTRIBUTE_READONLY = 0x1;
constexpr std::uint32_t CE_ATTRIBUTE_HIDDEN = 0x2;
constexpr std::uint32_t CE_ATTRIBUTE_SYSTEM = 0x4;
constexpr std::uint32_t CE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr std::uint32_t CE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr std::uint32_t CE_ATTRIBUTE_TEMPORARY = 0x100; // marks a storage card's folder
constexpr std::uint32_t CE_ATTRIBUTE_REPARSE_POINT = 0x400;

constexpr std::size_t CE_MAX_PATH = 260; // characters of a path, its NUL included

enum CE_REGISTRY_RESULT
{
    CE_REGISTRY_OK = 0,
    CE_REGISTRY_NOT_FOUND = 2,
    CE_REGISTRY_MORE_DATA = 234 // the value does not fit into the buffer
};

// One entry of a file search or of the storage-card enumeration.
struct CeFindRecord
{
    std::uint32_t attributes = 0;
    std::u16string name; // without folder and without leading backslash
};

class CePlatform
{
public:
    using Handle = std::intptr_t;
    static constexpr Handle INVALID_HANDLE = -1;

    virtual ~CePlatform() = default;

    // The storage-card library's enumeration (its ordinals 7 and 8); INVALID_HANDLE when there is no card.
    virtual Handle findFirstStorageCard(CeFindRecord &record) = 0;
    virtual bool findNextStorageCard(Handle search, CeFindRecord &record) = 0;

    // Entries matching "folder\name", the name with * and ? wildcards, letter case ignored;
    // INVALID_HANDLE when nothing matches.
    virtual Handle findFirstFile(const std::u16string &pattern, CeFindRecord &record) = 0;
    virtual bool findNextFile(Handle search, CeFindRecord &record) = 0;
    virtual void findClose(Handle search) = 0; // ends either kind of search

    // A text value under the local-machine root, copied with its NUL. byteCount is the buffer's size on the
    // way in and the bytes written (or needed, with CE_REGISTRY_MORE_DATA) on the way out.
    virtual CE_REGISTRY_RESULT readLocalMachineText(const std::u16string &key, const std::u16string &valueName,
                                                    char16_t *buffer, std::uint32_t &byteCount) = 0;

    // The fixed file version from an executable's version resource; false when there is none.
    virtual bool readFixedFileVersion(const std::u16string &path, std::uint32_t &mostSignificant,
                                      std::uint32_t &leastSignificant) = 0;

    virtual Handle openFileForReading(const std::u16string &path) = 0;
    virtual bool readFile(Handle file, unsigned char *buffer, std::uint32_t size, std::uint32_t &bytesRead) = 0;
    virtual void closeFile(Handle file) = 0;

    // The local heap that remote-call replies live on; the caller of a remote call frees them.
    virtual void *localAllocZeroed(std::size_t size) = 0;
    virtual void localFree(void *memory) = 0;

    // The shell library's configuration-XML processing (its ordinal 2021); a negative result is a failure.
    // A result document, when one is returned, is released with freeConfigResult.
    virtual std::int32_t processConfigXml(const std::u16string &document, std::uint32_t flags, char16_t **result) = 0;
    virtual void freeConfigResult(char16_t *result) = 0;
};
