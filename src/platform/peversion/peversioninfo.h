#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Reads the version resource of a PE executable (PE32 or PE32+, any machine type) from its bytes.
// Every offset and length in the file is checked before use; a malformed file gives a code, never a crash.

enum PE_VERSION_ERROR
{
    PE_VERSION_OK = 0,
    PE_VERSION_TRUNCATED_HEADER = 1,       // the file ends inside the DOS, PE or section headers
    PE_VERSION_NOT_PE = 2,                 // no "MZ" or no "PE\0\0" signature
    PE_VERSION_UNKNOWN_OPTIONAL_HEADER = 3, // optional header neither PE32 nor PE32+
    PE_VERSION_NO_RESOURCES = 4,           // no resource directory
    PE_VERSION_NO_VERSION_RESOURCE = 5,    // the resource tree has no version resource 1
    PE_VERSION_OUT_OF_BOUNDS = 6,          // a resource offset or size points outside the file or its section
    PE_VERSION_RESOURCE_LOOP = 7,          // a resource directory refers back to a directory already visited
    PE_VERSION_BAD_RESOURCE_TREE = 8,      // a data entry where a directory belongs, or the reverse
    PE_VERSION_BAD_VERSION_BLOCK = 9       // the version block's lengths or key are inconsistent
};

struct PeVersionInfo
{
    // The fixed file information: the most and least significant version double words.
    bool hasFixedVersion = false;
    std::uint32_t fileVersionMS = 0;
    std::uint32_t fileVersionLS = 0;

    // "\StringFileInfo\040904b0\InternalName", without its terminating NULs.
    bool hasInternalName = false;
    std::u16string internalName;

    std::uint16_t versionPart(int index) const; // 0..3: major, minor, build, revision
};

PE_VERSION_ERROR readPeVersionInfo(const unsigned char *data, std::size_t size, PeVersionInfo &info);
