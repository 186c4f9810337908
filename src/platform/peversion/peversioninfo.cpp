#include "peversioninfo.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::uint32_t RESOURCE_TYPE_VERSION = 16;
constexpr std::uint32_t VERSION_RESOURCE_ID = 1;
constexpr std::uint32_t SUBDIRECTORY_FLAG = 0x80000000u;
constexpr std::uint32_t FIXED_INFO_SIGNATURE = 0xFEEF04BDu;
constexpr std::size_t FIXED_INFO_SIZE = 52;
constexpr std::size_t SECTION_HEADER_SIZE = 40;
constexpr std::uint16_t TEXT_VALUE = 1;

// A window onto the file's bytes; every read says whether it fitted.
class Bytes
{
public:
    Bytes(const unsigned char *data, std::size_t size) : m_data(data), m_size(size) {}

    std::size_t size() const { return m_size; }
    bool fits(std::size_t offset, std::size_t length) const
    {
        return offset <= m_size && m_size - offset >= length;
    }
    bool u16(std::size_t offset, std::uint16_t &value) const
    {
        if (!fits(offset, 2))
            return false;
        value = static_cast<std::uint16_t>(m_data[offset] | m_data[offset + 1] << 8);
        return true;
    }
    bool u32(std::size_t offset, std::uint32_t &value) const
    {
        if (!fits(offset, 4))
            return false;
        value = static_cast<std::uint32_t>(m_data[offset]) | static_cast<std::uint32_t>(m_data[offset + 1]) << 8
            | static_cast<std::uint32_t>(m_data[offset + 2]) << 16 | static_cast<std::uint32_t>(m_data[offset + 3]) << 24;
        return true;
    }
    Bytes window(std::size_t offset, std::size_t length) const { return Bytes(m_data + offset, length); }

private:
    const unsigned char *m_data;
    std::size_t m_size;
};

struct Section
{
    std::uint32_t virtualAddress;
    std::uint32_t extent; // bytes of the section that are present in the file
    std::uint32_t rawOffset;
};

// Where an address of the loaded image lies in the file, and how many bytes follow it there.
bool mapRva(const std::vector<Section> &sections, std::size_t fileSize, std::uint32_t rva, std::size_t &offset,
            std::size_t &available)
{
    for (const Section &section : sections) {
        if (rva < section.virtualAddress || rva - section.virtualAddress >= section.extent)
            continue;
        const std::size_t delta = rva - section.virtualAddress;
        const std::size_t start = static_cast<std::size_t>(section.rawOffset) + delta;
        if (start >= fileSize)
            return false;
        offset = start;
        available = std::min<std::size_t>(section.extent - delta, fileSize - start);
        return true;
    }
    return false;
}

bool equalsAsciiIgnoringCase(const std::u16string &text, const char *ascii)
{
    std::size_t i = 0;
    for (; ascii[i] != '\0'; ++i) {
        if (i >= text.size())
            return false;
        char16_t a = text[i];
        char16_t b = static_cast<unsigned char>(ascii[i]);
        if (a >= u'A' && a <= u'Z')
            a = static_cast<char16_t>(a + 32);
        if (b >= u'A' && b <= u'Z')
            b = static_cast<char16_t>(b + 32);
        if (a != b)
            return false;
    }
    return i == text.size();
}

// One node of the version block tree: length, value length, type, key, value, children.
struct VersionBlock
{
    std::size_t end = 0;
    std::u16string key;
    std::uint16_t type = 0;
    std::uint16_t valueLength = 0;
    std::size_t valueBegin = 0;
    std::size_t valueEnd = 0;
    std::size_t childrenBegin = 0;
    bool valueComplete = false; // the declared value fits inside the block
};

std::size_t align4(std::size_t offset)
{
    return (offset + 3) & ~static_cast<std::size_t>(3);
}

bool readBlock(const Bytes &bytes, std::size_t offset, std::size_t limit, VersionBlock &block)
{
    std::uint16_t length = 0;
    if (!bytes.u16(offset, length) || !bytes.u16(offset + 2, block.valueLength) || !bytes.u16(offset + 4, block.type))
        return false;
    if (length < 6 || length > limit - offset)
        return false;
    block.end = offset + length;
    block.key.clear();
    std::size_t position = offset + 6;
    for (;;) {
        std::uint16_t unit = 0;
        if (position + 2 > block.end || !bytes.u16(position, unit))
            return false;
        position += 2;
        if (unit == 0)
            break;
        block.key.push_back(static_cast<char16_t>(unit));
    }
    const std::size_t valueBytes = block.type == TEXT_VALUE ? std::size_t(block.valueLength) * 2 : block.valueLength;
    block.valueBegin = std::min(align4(position), block.end);
    block.valueComplete = block.end - block.valueBegin >= valueBytes;
    block.valueEnd = block.valueComplete ? block.valueBegin + valueBytes : block.end;
    block.childrenBegin = std::min(align4(block.valueEnd), block.end);
    return true;
}

// Calls visit(child) for each child until it returns true; a malformed child ends the walk.
template<typename Visit>
void forEachChild(const Bytes &bytes, const VersionBlock &parent, Visit visit)
{
    std::size_t position = parent.childrenBegin;
    VersionBlock child;
    while (position < parent.end && readBlock(bytes, position, parent.end, child)) {
        if (visit(child))
            return;
        position = align4(child.end);
    }
}

std::u16string textValue(const Bytes &bytes, const VersionBlock &block)
{
    std::u16string text;
    std::uint16_t unit = 0;
    for (std::size_t position = block.valueBegin; position + 2 <= block.valueEnd; position += 2) {
        if (!bytes.u16(position, unit) || unit == 0)
            break;
        text.push_back(static_cast<char16_t>(unit));
    }
    return text;
}

PE_VERSION_ERROR readVersionBlock(const Bytes &bytes, PeVersionInfo &info)
{
    VersionBlock root;
    if (!readBlock(bytes, 0, bytes.size(), root) || !equalsAsciiIgnoringCase(root.key, "VS_VERSION_INFO")
        || !root.valueComplete)
        return PE_VERSION_BAD_VERSION_BLOCK;
    std::uint32_t signature = 0;
    if (root.valueLength >= FIXED_INFO_SIZE && bytes.u32(root.valueBegin, signature) && signature == FIXED_INFO_SIGNATURE) {
        bytes.u32(root.valueBegin + 8, info.fileVersionMS);
        bytes.u32(root.valueBegin + 12, info.fileVersionLS);
        info.hasFixedVersion = true;
    }
    // Children are read as far as they are well formed: a damaged string table does not cost the fixed version.
    forEachChild(bytes, root, [&](const VersionBlock &fileInfo) {
        if (!equalsAsciiIgnoringCase(fileInfo.key, "StringFileInfo"))
            return false;
        forEachChild(bytes, fileInfo, [&](const VersionBlock &table) {
            if (!equalsAsciiIgnoringCase(table.key, "040904b0"))
                return false;
            forEachChild(bytes, table, [&](const VersionBlock &value) {
                if (!equalsAsciiIgnoringCase(value.key, "InternalName"))
                    return false;
                info.internalName = textValue(bytes, value);
                info.hasInternalName = true;
                return true;
            });
            return true;
        });
        return true;
    });
    return PE_VERSION_OK;
}

// Follows type 16, name 1 and the first language down the three levels of the resource tree.
PE_VERSION_ERROR findVersionData(const Bytes &resources, std::uint32_t &dataRva, std::uint32_t &dataSize)
{
    std::vector<std::size_t> visited;
    std::size_t directory = 0;
    for (int level = 0; level < 3; ++level) {
        visited.push_back(directory);
        std::uint16_t named = 0;
        std::uint16_t numbered = 0;
        if (!resources.u16(directory + 12, named) || !resources.u16(directory + 14, numbered))
            return PE_VERSION_OUT_OF_BOUNDS;
        const std::size_t count = std::size_t(named) + numbered;
        if (!resources.fits(directory + 16, count * 8))
            return PE_VERSION_OUT_OF_BOUNDS;
        bool found = false;
        std::uint32_t target = 0;
        for (std::size_t i = 0; i < count && !found; ++i) {
            std::uint32_t name = 0;
            resources.u32(directory + 16 + i * 8, name);
            found = level == 2 || name == (level == 0 ? RESOURCE_TYPE_VERSION : VERSION_RESOURCE_ID);
            if (found)
                resources.u32(directory + 16 + i * 8 + 4, target);
        }
        if (!found)
            return PE_VERSION_NO_VERSION_RESOURCE;
        const bool isDirectory = (target & SUBDIRECTORY_FLAG) != 0;
        const std::size_t offset = target & ~SUBDIRECTORY_FLAG;
        if (isDirectory) {
            for (std::size_t seen : visited) {
                if (seen == offset)
                    return PE_VERSION_RESOURCE_LOOP;
            }
        }
        if (isDirectory != (level < 2))
            return PE_VERSION_BAD_RESOURCE_TREE;
        directory = offset;
    }
    if (!resources.u32(directory, dataRva) || !resources.u32(directory + 4, dataSize))
        return PE_VERSION_OUT_OF_BOUNDS;
    return PE_VERSION_OK;
}

} // namespace

std::uint16_t PeVersionInfo::versionPart(int index) const
{
    const std::uint32_t word = index < 2 ? fileVersionMS : fileVersionLS;
    return static_cast<std::uint16_t>(index % 2 == 0 ? word >> 16 : word & 0xFFFF);
}

PE_VERSION_ERROR readPeVersionInfo(const unsigned char *data, std::size_t size, PeVersionInfo &info)
{
    info = PeVersionInfo();
    const Bytes file(data, size);
    std::uint32_t peOffset = 0;
    if (!file.fits(0, 64))
        return PE_VERSION_TRUNCATED_HEADER;
    if (data[0] != 'M' || data[1] != 'Z')
        return PE_VERSION_NOT_PE;
    file.u32(0x3C, peOffset);
    const std::size_t fileHeader = std::size_t(peOffset) + 4;
    const std::size_t optionalHeader = fileHeader + 20;
    if (!file.fits(peOffset, 4 + 20))
        return PE_VERSION_TRUNCATED_HEADER;
    if (data[peOffset] != 'P' || data[peOffset + 1] != 'E' || data[peOffset + 2] != 0 || data[peOffset + 3] != 0)
        return PE_VERSION_NOT_PE;

    std::uint16_t sectionCount = 0;
    std::uint16_t optionalSize = 0;
    std::uint16_t magic = 0;
    file.u16(fileHeader + 2, sectionCount);
    file.u16(fileHeader + 16, optionalSize);
    if (!file.fits(optionalHeader, optionalSize) || !file.u16(optionalHeader, magic))
        return PE_VERSION_TRUNCATED_HEADER;
    std::size_t directoryCountField = 0;
    if (magic == 0x10B)
        directoryCountField = 92;
    else if (magic == 0x20B)
        directoryCountField = 108;
    else
        return PE_VERSION_UNKNOWN_OPTIONAL_HEADER;
    if (optionalSize < directoryCountField + 4)
        return PE_VERSION_UNKNOWN_OPTIONAL_HEADER;

    // The resource table is the third data directory.
    std::uint32_t directoryCount = 0;
    std::uint32_t resourceRva = 0;
    std::uint32_t resourceSize = 0;
    file.u32(optionalHeader + directoryCountField, directoryCount);
    const std::size_t resourceEntry = directoryCountField + 4 + 2 * 8;
    if (directoryCount < 3 || optionalSize < resourceEntry + 8)
        return PE_VERSION_NO_RESOURCES;
    file.u32(optionalHeader + resourceEntry, resourceRva);
    file.u32(optionalHeader + resourceEntry + 4, resourceSize);
    if (resourceRva == 0 || resourceSize == 0)
        return PE_VERSION_NO_RESOURCES;

    const std::size_t sectionTable = optionalHeader + optionalSize;
    if (!file.fits(sectionTable, std::size_t(sectionCount) * SECTION_HEADER_SIZE))
        return PE_VERSION_TRUNCATED_HEADER;
    std::vector<Section> sections;
    for (std::size_t i = 0; i < sectionCount; ++i) {
        const std::size_t header = sectionTable + i * SECTION_HEADER_SIZE;
        std::uint32_t virtualSize = 0;
        std::uint32_t rawSize = 0;
        Section section{};
        file.u32(header + 8, virtualSize);
        file.u32(header + 12, section.virtualAddress);
        file.u32(header + 16, rawSize);
        file.u32(header + 20, section.rawOffset);
        // Some linkers leave the virtual size 0; the raw size is then the section's size.
        section.extent = virtualSize == 0 ? rawSize : std::min(virtualSize, rawSize);
        sections.push_back(section);
    }

    std::size_t resourceOffset = 0;
    std::size_t resourceAvailable = 0;
    if (!mapRva(sections, size, resourceRva, resourceOffset, resourceAvailable))
        return PE_VERSION_OUT_OF_BOUNDS;
    std::uint32_t dataRva = 0;
    std::uint32_t dataSize = 0;
    const PE_VERSION_ERROR treeResult = findVersionData(file.window(resourceOffset, resourceAvailable), dataRva, dataSize);
    if (treeResult != PE_VERSION_OK)
        return treeResult;
    std::size_t dataOffset = 0;
    std::size_t dataAvailable = 0;
    if (!mapRva(sections, size, dataRva, dataOffset, dataAvailable) || dataSize > dataAvailable)
        return PE_VERSION_OUT_OF_BOUNDS;
    return readVersionBlock(file.window(dataOffset, dataSize), info);
}
