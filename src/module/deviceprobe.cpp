#include "deviceprobe.h"

#include "sha1.h"

#include <algorithm>

namespace {

const char16_t NAVIGATOR_KEY[] = u"\\Software\\Apps\\DRQ Korwind Navigator";
const char16_t INSTALL_DIR_VALUE[] = u"InstallDir";
const char16_t DEFAULT_FOLDER_PATTERN[] = u"\\Program files\\DRQ\\Korwind Navigator\\*";
const char16_t NAVIGATOR_NAME[] = u"Korwind.exe";
constexpr std::uint32_t INSTALL_DIR_BUFFER_BYTES = 520;
constexpr std::uint32_t DIGEST_CHUNK = 4096;

// A pattern or path the platform could not hold in its fixed name buffers.
bool fitsPath(const std::u16string &path)
{
    return path.size() < CE_MAX_PATH;
}

std::u16string withLeadingBackslash(const std::u16string &name)
{
    return !name.empty() && name[0] == u'\\' ? name : u"\\" + name;
}

} // namespace

DeviceProbe::DeviceProbe(CePlatform &platform) : m_platform(platform) {}

std::vector<std::u16string> DeviceProbe::storageRoots()
{
    std::vector<std::u16string> roots;
    CeFindRecord card;
    const CePlatform::Handle search = m_platform.findFirstStorageCard(card);
    if (search == CePlatform::INVALID_HANDLE)
        return roots;
    do {
        if ((card.attributes & CE_ATTRIBUTE_TEMPORARY) == 0)
            continue;
        const std::u16string root = withLeadingBackslash(card.name);
        if (isListable(root))
            roots.push_back(root);
    } while (m_platform.findNextStorageCard(search, card));
    m_platform.findClose(search);
    return roots;
}

bool DeviceProbe::isListable(const std::u16string &root)
{
    const std::u16string pattern = root + (root.back() == u'\\' ? u"*" : u"\\*");
    if (!fitsPath(pattern))
        return false;
    CeFindRecord entry;
    const CePlatform::Handle search = m_platform.findFirstFile(pattern, entry);
    if (search == CePlatform::INVALID_HANDLE)
        return false;
    m_platform.findClose(search);
    return true;
}

bool DeviceProbe::findNavigator(std::u16string &path)
{
    const std::u16string recorded = installDirPattern();
    if (!recorded.empty() && searchFolder(recorded, path))
        return true;
    if (searchFolder(DEFAULT_FOLDER_PATTERN, path))
        return true;
    for (const std::u16string &root : storageRoots()) {
        if (searchFolder(root + DEFAULT_FOLDER_PATTERN, path))
            return true;
    }
    return false;
}

// "InstallDir" + "\*", or nothing when the value is missing, empty or longer than its buffer.
std::u16string DeviceProbe::installDirPattern()
{
    char16_t buffer[INSTALL_DIR_BUFFER_BYTES / 2] = {};
    std::uint32_t byteCount = sizeof(buffer);
    if (m_platform.readLocalMachineText(NAVIGATOR_KEY, INSTALL_DIR_VALUE, buffer, byteCount) != CE_REGISTRY_OK)
        return {};
    std::size_t length = std::min<std::size_t>(byteCount, sizeof(buffer)) / 2;
    while (length > 0 && buffer[length - 1] == 0)
        --length;
    const std::u16string folder(buffer, length);
    if (folder.empty())
        return {};
    return folder + (folder.back() == u'\\' ? u"*" : u"\\*");
}

// Depth first: the sub-folders (plain folders only, no hidden, system or card folders) before the folder's
// own match. The first match found is the first of the full list, so the search stops there.
bool DeviceProbe::searchFolder(const std::u16string &pattern, std::u16string &path)
{
    if (!fitsPath(pattern))
        return false;
    const std::u16string folder = pattern.substr(0, pattern.size() - 1);
    CeFindRecord entry;
    CePlatform::Handle search = m_platform.findFirstFile(pattern, entry);
    if (search != CePlatform::INVALID_HANDLE) {
        bool found = false;
        do {
            found = entry.attributes == CE_ATTRIBUTE_DIRECTORY && searchFolder(folder + entry.name + u"\\*", path);
        } while (!found && m_platform.findNextFile(search, entry));
        m_platform.findClose(search);
        if (found)
            return true;
    }
    const std::u16string executable = folder + NAVIGATOR_NAME;
    if (!fitsPath(executable))
        return false;
    search = m_platform.findFirstFile(executable, entry);
    if (search == CePlatform::INVALID_HANDLE)
        return false;
    m_platform.findClose(search);
    path = folder + entry.name;
    return fitsPath(path);
}

void DeviceProbe::fileVersion(const std::u16string &path, std::uint16_t parts[4])
{
    std::uint32_t most = 0;
    std::uint32_t least = 0;
    if (!m_platform.readFixedFileVersion(path, most, least))
        most = least = 0;
    parts[0] = static_cast<std::uint16_t>(most >> 16);
    parts[1] = static_cast<std::uint16_t>(most & 0xFFFF);
    parts[2] = static_cast<std::uint16_t>(least >> 16);
    parts[3] = static_cast<std::uint16_t>(least & 0xFFFF);
}

bool DeviceProbe::fileDigest(const std::u16string &path, std::string &hexDigest)
{
    const CePlatform::Handle file = m_platform.openFileForReading(path);
    if (file == CePlatform::INVALID_HANDLE)
        return false;
    Sha1 sha1;
    unsigned char chunk[DIGEST_CHUNK];
    std::uint32_t got = 0;
    bool ok = true;
    while ((ok = m_platform.readFile(file, chunk, DIGEST_CHUNK, got)) && got > 0)
        sha1.add(chunk, std::min(got, DIGEST_CHUNK));
    m_platform.closeFile(file);
    if (ok)
        hexDigest = sha1.finishHex();
    return ok;
}
