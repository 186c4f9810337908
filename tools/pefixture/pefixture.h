#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Writes a minimal PE executable (headers and one resource section) whose version resource holds a fixed
// file version and, optionally, an internal name; the layout tells tests where to corrupt it.

constexpr std::uint16_t PE_MACHINE_I386 = 0x14C;
constexpr std::uint16_t PE_MACHINE_ARM = 0x1C0;
constexpr std::uint16_t PE_MACHINE_THUMB = 0x1C2;
constexpr std::uint16_t PE_MACHINE_AMD64 = 0x8664;

struct PeFixture
{
    std::uint16_t machine = PE_MACHINE_ARM;
    bool pe32Plus = false;
    std::uint16_t fileVersion[4] = {1, 0, 0, 0};
    bool withVersionResource = true;
    std::string stringTable = "040904b0"; // language and code page of the one string table
    std::u16string internalName;          // empty: no "InternalName" value
};

// File offsets of the structures inside a written fixture.
struct PeFixtureLayout
{
    std::size_t peHeader = 0;
    std::size_t optionalHeader = 0;
    std::size_t resourceDirectoryEntry = 0; // the data directory entry (address, size) of the resources
    std::size_t sectionHeader = 0;
    std::size_t resourceSection = 0;
    std::size_t typeEntry = 0;     // the resource directory entries of the three levels (name, target)
    std::size_t nameEntry = 0;
    std::size_t languageEntry = 0;
    std::size_t dataEntry = 0;     // address, size, code page, reserved
    std::size_t versionData = 0;   // the version block
    std::size_t versionSize = 0;
    std::size_t fixedInfo = 0;     // the fixed file information inside the version block
};

std::vector<unsigned char> writePeFixture(const PeFixture &fixture, PeFixtureLayout *layout = nullptr);
