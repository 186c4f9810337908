#include "pefixture.h"

namespace {

constexpr std::uint32_t FILE_ALIGNMENT = 0x200;
constexpr std::uint32_t SECTION_ALIGNMENT = 0x1000;
constexpr std::uint32_t RESOURCE_RVA = 0x1000;

class Writer
{
public:
    std::vector<unsigned char> bytes;

    std::size_t size() const { return bytes.size(); }
    void u8(unsigned value) { bytes.push_back(static_cast<unsigned char>(value)); }
    void u16(unsigned value)
    {
        u8(value & 0xFF);
        u8(value >> 8 & 0xFF);
    }
    void u32(std::uint32_t value)
    {
        u16(value & 0xFFFF);
        u16(value >> 16);
    }
    void u64(std::uint64_t value)
    {
        u32(static_cast<std::uint32_t>(value));
        u32(static_cast<std::uint32_t>(value >> 32));
    }
    void text(const std::u16string &value)
    {
        for (char16_t unit : value)
            u16(unit);
        u16(0);
    }
    void zeros(std::size_t count) { bytes.insert(bytes.end(), count, 0); }
    void padTo(std::size_t alignment) { zeros((alignment - size() % alignment) % alignment); }
    void put16(std::size_t offset, unsigned value)
    {
        bytes[offset] = static_cast<unsigned char>(value & 0xFF);
        bytes[offset + 1] = static_cast<unsigned char>(value >> 8 & 0xFF);
    }
};

std::u16string wide(const std::string &ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

// A node of the version block tree: key, text or binary value, children.
struct VersionNode
{
    std::u16string key;
    bool isText = false;
    std::vector<unsigned char> binary;
    std::u16string text;
    std::vector<VersionNode> children;
};

void writeNode(Writer &out, const VersionNode &node, std::size_t *fixedInfo = nullptr)
{
    out.padTo(4);
    const std::size_t start = out.size();
    out.u16(0);
    out.u16(node.isText ? (node.text.empty() ? 0 : node.text.size() + 1) : node.binary.size());
    out.u16(node.isText ? 1 : 0);
    out.text(node.key);
    out.padTo(4);
    if (fixedInfo)
        *fixedInfo = out.size();
    if (node.isText && !node.text.empty())
        out.text(node.text);
    out.bytes.insert(out.bytes.end(), node.binary.begin(), node.binary.end());
    for (const VersionNode &child : node.children)
        writeNode(out, child);
    out.put16(start, static_cast<unsigned>(out.size() - start));
}

std::vector<unsigned char> fixedFileInfo(const std::uint16_t version[4])
{
    Writer info;
    const std::uint32_t most = static_cast<std::uint32_t>(version[0]) << 16 | version[1];
    const std::uint32_t least = static_cast<std::uint32_t>(version[2]) << 16 | version[3];
    info.u32(0xFEEF04BD); // signature
    info.u32(0x00010000); // structure version
    info.u32(most);       // file version
    info.u32(least);
    info.u32(most);       // product version
    info.u32(least);
    info.u32(0x3F);       // flags mask
    info.u32(0);          // flags
    info.u32(0x00040004); // operating system: 32-bit Windows NT
    info.u32(1);          // file type: application
    info.zeros(12);       // subtype and date
    return info.bytes;
}

std::vector<unsigned char> versionBlock(const PeFixture &fixture, std::size_t &fixedInfo)
{
    VersionNode table{wide(fixture.stringTable), false, {}, {}, {}};
    table.children.push_back(VersionNode{u"FileDescription", true, {}, u"Test fixture", {}});
    if (!fixture.internalName.empty())
        table.children.push_back(VersionNode{u"InternalName", true, {}, fixture.internalName, {}});
    VersionNode strings{u"StringFileInfo", false, {}, {}, {table}};
    VersionNode translation{u"Translation", false, {0x09, 0x04, 0xB0, 0x04}, {}, {}};
    VersionNode variables{u"VarFileInfo", false, {}, {}, {translation}};
    VersionNode root{u"VS_VERSION_INFO", false, fixedFileInfo(fixture.fileVersion), {}, {strings, variables}};
    Writer out;
    writeNode(out, root, &fixedInfo);
    return out.bytes;
}

// The resource tree: type 16, name 1, language 0x409, then the data entry and the version block.
std::vector<unsigned char> resourceSection(const PeFixture &fixture, PeFixtureLayout &layout)
{
    Writer out;
    std::uint32_t level = 0;
    const std::uint32_t ids[3] = {16, 1, 0x409};
    std::size_t *entries[3] = {&layout.typeEntry, &layout.nameEntry, &layout.languageEntry};
    for (std::uint32_t id : ids) {
        out.zeros(12);  // characteristics, time stamp, version
        out.u16(0);     // named entries
        out.u16(1);     // numbered entries
        *entries[level] = out.size();
        const std::uint32_t next = static_cast<std::uint32_t>(out.size() + 8);
        out.u32(id);
        out.u32(level < 2 ? (next | 0x80000000u) : next);
        ++level;
    }
    std::size_t fixedInfo = 0;
    const std::vector<unsigned char> version = versionBlock(fixture, fixedInfo);
    layout.dataEntry = out.size();
    const std::size_t versionOffset = out.size() + 16;
    out.u32(static_cast<std::uint32_t>(RESOURCE_RVA + versionOffset));
    out.u32(static_cast<std::uint32_t>(version.size()));
    out.u32(0);
    out.u32(0);
    out.bytes.insert(out.bytes.end(), version.begin(), version.end());
    layout.versionData = versionOffset;
    layout.versionSize = version.size();
    layout.fixedInfo = versionOffset + fixedInfo;
    return out.bytes;
}

} // namespace

std::vector<unsigned char> writePeFixture(const PeFixture &fixture, PeFixtureLayout *layoutOut)
{
    PeFixtureLayout layout;
    std::vector<unsigned char> resources;
    if (fixture.withVersionResource)
        resources = resourceSection(fixture, layout);
    const std::uint32_t rawSize = static_cast<std::uint32_t>((resources.size() + FILE_ALIGNMENT - 1) / FILE_ALIGNMENT * FILE_ALIGNMENT);
    const std::uint32_t virtualSize = static_cast<std::uint32_t>(resources.size());
    const std::uint32_t imageSize = RESOURCE_RVA + (virtualSize + SECTION_ALIGNMENT - 1) / SECTION_ALIGNMENT * SECTION_ALIGNMENT;
    const bool isArm = fixture.machine == PE_MACHINE_ARM || fixture.machine == PE_MACHINE_THUMB;

    Writer out;
    out.u8('M');
    out.u8('Z');
    out.zeros(0x3A);
    out.u32(0x40);
    layout.peHeader = out.size();
    out.u8('P');
    out.u8('E');
    out.u16(0);
    out.u16(fixture.machine);
    out.u16(1);                                   // sections
    out.zeros(12);                                // time stamp, symbol table
    out.u16(fixture.pe32Plus ? 240 : 224);        // optional header size
    out.u16(fixture.pe32Plus ? 0x0022 : 0x0102);  // executable; large-address-aware or 32-bit machine

    layout.optionalHeader = out.size();
    out.u16(fixture.pe32Plus ? 0x20B : 0x10B);
    out.zeros(2);                                 // linker version
    out.u32(0);                                   // code size
    out.u32(rawSize);                             // initialised data size
    out.u32(0);                                   // uninitialised data size
    out.u32(0);                                   // entry point
    out.u32(0);                                   // code base
    if (fixture.pe32Plus) {
        out.u64(0x140000000ull);
    } else {
        out.u32(0);                               // data base
        out.u32(0x10000);
    }
    out.u32(SECTION_ALIGNMENT);
    out.u32(FILE_ALIGNMENT);
    out.u16(isArm ? 4 : 6);                       // operating system version
    out.u16(isArm ? 20 : 0);
    out.zeros(4);                                 // image version
    out.u16(isArm ? 4 : 6);                       // subsystem version
    out.u16(isArm ? 20 : 0);
    out.u32(0);
    out.u32(imageSize);
    out.u32(FILE_ALIGNMENT);                      // headers size
    out.u32(0);                                   // checksum
    out.u16(isArm ? 9 : 2);                       // Windows CE GUI or Windows GUI
    out.u16(0);
    const std::uint64_t stackAndHeap[4] = {0x100000, 0x1000, 0x100000, 0x1000};
    for (std::uint64_t value : stackAndHeap) {
        if (fixture.pe32Plus)
            out.u64(value);
        else
            out.u32(static_cast<std::uint32_t>(value));
    }
    out.u32(0);                                   // loader flags
    out.u32(16);
    for (int directory = 0; directory < 16; ++directory) {
        if (directory == 2)
            layout.resourceDirectoryEntry = out.size();
        const bool isResources = directory == 2 && !resources.empty();
        out.u32(isResources ? RESOURCE_RVA : 0);
        out.u32(isResources ? virtualSize : 0);
    }

    layout.sectionHeader = out.size();
    const char name[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
    for (char c : name)
        out.u8(static_cast<unsigned char>(c));
    out.u32(virtualSize);
    out.u32(RESOURCE_RVA);
    out.u32(rawSize);
    out.u32(FILE_ALIGNMENT);
    out.zeros(12);                                // relocations and line numbers
    out.u32(0x40000040);                          // initialised data, readable
    out.padTo(FILE_ALIGNMENT);

    layout.resourceSection = out.size();
    out.bytes.insert(out.bytes.end(), resources.begin(), resources.end());
    out.padTo(FILE_ALIGNMENT);
    if (fixture.withVersionResource) {
        for (std::size_t *offset : {&layout.typeEntry, &layout.nameEntry, &layout.languageEntry, &layout.dataEntry,
                                    &layout.versionData, &layout.fixedInfo})
            *offset += layout.resourceSection;
    }
    if (layoutOut)
        *layoutOut = layout;
    return out.bytes;
}
