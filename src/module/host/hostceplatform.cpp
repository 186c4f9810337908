#include "hostceplatform.h"

#include "foldcase.h"
#include "peversioninfo.h"
#include "utf8.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace fs = std::filesystem;

namespace {

constexpr std::int32_t RESULT_OK = 0;
constexpr std::int32_t RESULT_FAILED = static_cast<std::int32_t>(0x80004005u);
constexpr std::int32_t RESULT_INVALID_ARGUMENT = static_cast<std::int32_t>(0x80070057u);
constexpr std::uint32_t PROCESS_DOCUMENT = 1;
constexpr std::uintmax_t LARGEST_EXECUTABLE = 256u * 1024 * 1024;
const char16_t LOCAL_MACHINE[] = u"HKEY_LOCAL_MACHINE";

// The components of a device path; false for "." or ".." (which would leave the device) and host separators.
bool splitDevicePath(const std::u16string &path, std::vector<std::u16string> &components)
{
    components.clear();
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(u'\\', start);
        if (end == std::u16string::npos)
            end = path.size();
        const std::u16string component = path.substr(start, end - start);
        if (component == u"." || component == u".." || component.find_first_of(u"/\0", 0, 2) != std::u16string::npos)
            return false;
        if (!component.empty())
            components.push_back(component);
        start = end + 1;
    }
    return true;
}

std::u16string keyOf(const std::vector<std::u16string> &components)
{
    std::u16string key;
    for (const std::u16string &component : components)
        key += u"\\" + foldCase(component);
    return key;
}

// Windows wildcards: * for any run of characters, ? for one; both sides already folded.
bool matchesWildcard(const std::u16string &name, const std::u16string &pattern)
{
    std::size_t n = 0, p = 0, starP = std::u16string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (starP != std::u16string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

bool hostName(const fs::path &path, std::u16string &name)
{
    return fromUtf8(path.filename().string(), name);
}

} // namespace

HostCePlatform::HostCePlatform(const std::string &deviceFolder) : m_device(deviceFolder)
{
    loadAttributes();
    m_registry.load((m_device / "registry.txt").string());
}

HostCePlatform::~HostCePlatform()
{
    for (const auto &file : m_files)
        std::fclose(file.second);
}

void HostCePlatform::loadAttributes()
{
    std::ifstream file(m_device / "attributes.txt", std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t space = line.find(' ');
        if (line.empty() || line[0] == '#' || space == std::string::npos)
            continue;
        char *end = nullptr;
        const unsigned long attributes = std::strtoul(line.c_str(), &end, 16);
        std::u16string path;
        std::vector<std::u16string> components;
        if (end == line.c_str() + space && fromUtf8(line.substr(space + 1), path) && splitDevicePath(path, components))
            m_attributes[keyOf(components)] = static_cast<std::uint32_t>(attributes);
    }
}

// Each component is taken as written when it exists, else the first entry equal to it ignoring case.
bool HostCePlatform::resolve(const std::u16string &devicePath, fs::path &hostPath, std::u16string &key) const
{
    std::vector<std::u16string> components;
    if (!splitDevicePath(devicePath, components))
        return false;
    hostPath = m_device / "files";
    std::error_code error;
    for (const std::u16string &component : components) {
        const fs::path exact = hostPath / toUtf8(component);
        if (fs::symlink_status(exact, error).type() != fs::file_type::not_found && !error) {
            hostPath = exact;
            continue;
        }
        fs::path best;
        const std::u16string folded = foldCase(component);
        for (fs::directory_iterator it(hostPath, error), end; !error && it != end; it.increment(error)) {
            std::u16string name;
            if (hostName(it->path(), name) && foldCase(name) == folded && (best.empty() || it->path() < best))
                best = it->path();
        }
        if (best.empty())
            return false;
        hostPath = best;
    }
    key = keyOf(components);
    return true;
}

std::vector<CeFindRecord> HostCePlatform::list(const std::u16string &folder, const std::u16string &namePattern) const
{
    std::vector<CeFindRecord> records;
    fs::path hostFolder;
    std::u16string folderKey;
    std::error_code error;
    if (!resolve(folder, hostFolder, folderKey) || !fs::is_directory(hostFolder, error))
        return records;
    const std::u16string pattern = foldCase(namePattern);
    for (fs::directory_iterator it(hostFolder, error), end; !error && it != end; it.increment(error)) {
        CeFindRecord record;
        if (!hostName(it->path(), record.name) || !matchesWildcard(foldCase(record.name), pattern))
            continue;
        std::error_code statusError;
        const bool isFolder = fs::is_directory(it->path(), statusError);
        const std::uint32_t kind = isFolder ? CE_ATTRIBUTE_DIRECTORY : 0;
        const auto listed = m_attributes.find(folderKey + u"\\" + foldCase(record.name));
        record.attributes = listed != m_attributes.end() ? (kind | listed->second) : (isFolder ? kind : CE_ATTRIBUTE_ARCHIVE);
        if (fs::is_symlink(it->symlink_status(statusError)))
            record.attributes |= CE_ATTRIBUTE_REPARSE_POINT;
        records.push_back(record);
    }
    // The device lists in the order of its directory; the emulation in a stable name order.
    std::sort(records.begin(), records.end(), [](const CeFindRecord &a, const CeFindRecord &b) {
        const std::u16string foldedA = foldCase(a.name);
        const std::u16string foldedB = foldCase(b.name);
        return foldedA != foldedB ? foldedA < foldedB : a.name < b.name;
    });
    return records;
}

CePlatform::Handle HostCePlatform::startSearch(std::vector<CeFindRecord> records, CeFindRecord &first)
{
    if (records.empty())
        return INVALID_HANDLE;
    const Handle handle = m_nextHandle++;
    Search &search = m_searches[handle];
    search.records = std::move(records);
    continueSearch(handle, first);
    return handle;
}

bool HostCePlatform::continueSearch(Handle handle, CeFindRecord &record)
{
    const auto search = m_searches.find(handle);
    if (search == m_searches.end() || search->second.next >= search->second.records.size())
        return false;
    record = search->second.records[search->second.next++];
    return true;
}

// Every folder at the top of the device; the card bit tells the cards apart, as on the device.
CePlatform::Handle HostCePlatform::findFirstStorageCard(CeFindRecord &record)
{
    std::vector<CeFindRecord> folders = list(u"\\", u"*");
    folders.erase(std::remove_if(folders.begin(), folders.end(),
                                 [](const CeFindRecord &entry) { return (entry.attributes & CE_ATTRIBUTE_DIRECTORY) == 0; }),
                  folders.end());
    return startSearch(std::move(folders), record);
}

bool HostCePlatform::findNextStorageCard(Handle search, CeFindRecord &record)
{
    return continueSearch(search, record);
}

CePlatform::Handle HostCePlatform::findFirstFile(const std::u16string &pattern, CeFindRecord &record)
{
    const std::size_t separator = pattern.rfind(u'\\');
    if (separator == std::u16string::npos)
        return INVALID_HANDLE;
    return startSearch(list(pattern.substr(0, separator + 1), pattern.substr(separator + 1)), record);
}

bool HostCePlatform::findNextFile(Handle search, CeFindRecord &record)
{
    return continueSearch(search, record);
}

void HostCePlatform::findClose(Handle search)
{
    m_searches.erase(search);
}

CE_REGISTRY_RESULT HostCePlatform::readLocalMachineText(const std::u16string &key, const std::u16string &valueName,
                                                        char16_t *buffer, std::uint32_t &byteCount)
{
    std::u16string value;
    const std::u16string fullKey = std::u16string(LOCAL_MACHINE) + (!key.empty() && key[0] == u'\\' ? u"" : u"\\") + key;
    if (!m_registry.text(fullKey, valueName, value))
        return CE_REGISTRY_NOT_FOUND;
    const std::size_t needed = (value.size() + 1) * sizeof(char16_t);
    if (!buffer || needed > byteCount) {
        byteCount = static_cast<std::uint32_t>(needed);
        return CE_REGISTRY_MORE_DATA;
    }
    std::copy(value.begin(), value.end(), buffer);
    buffer[value.size()] = u'\0';
    byteCount = static_cast<std::uint32_t>(needed);
    return CE_REGISTRY_OK;
}

bool HostCePlatform::readFixedFileVersion(const std::u16string &path, std::uint32_t &mostSignificant,
                                          std::uint32_t &leastSignificant)
{
    fs::path hostPath;
    std::u16string key;
    std::error_code error;
    if (!resolve(path, hostPath, key) || !fs::is_regular_file(hostPath, error))
        return false;
    const std::uintmax_t size = fs::file_size(hostPath, error);
    if (error || size > LARGEST_EXECUTABLE)
        return false;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
    std::ifstream file(hostPath, std::ios::binary);
    if (!file.read(reinterpret_cast<char *>(bytes.data()), std::streamsize(bytes.size())))
        return false;
    PeVersionInfo info;
    if (readPeVersionInfo(bytes.data(), bytes.size(), info) != PE_VERSION_OK || !info.hasFixedVersion)
        return false;
    mostSignificant = info.fileVersionMS;
    leastSignificant = info.fileVersionLS;
    return true;
}

CePlatform::Handle HostCePlatform::openFileForReading(const std::u16string &path)
{
    fs::path hostPath;
    std::u16string key;
    std::error_code error;
    if (!resolve(path, hostPath, key) || !fs::is_regular_file(hostPath, error))
        return INVALID_HANDLE;
    std::FILE *file = std::fopen(hostPath.c_str(), "rb");
    if (!file)
        return INVALID_HANDLE;
    const Handle handle = m_nextHandle++;
    m_files[handle] = file;
    return handle;
}

bool HostCePlatform::readFile(Handle handle, unsigned char *buffer, std::uint32_t size, std::uint32_t &bytesRead)
{
    const auto file = m_files.find(handle);
    if (file == m_files.end())
        return false;
    bytesRead = static_cast<std::uint32_t>(std::fread(buffer, 1, size, file->second));
    return std::ferror(file->second) == 0;
}

void HostCePlatform::closeFile(Handle handle)
{
    const auto file = m_files.find(handle);
    if (file == m_files.end())
        return;
    std::fclose(file->second);
    m_files.erase(file);
}

void *HostCePlatform::localAllocZeroed(std::size_t size)
{
    return std::calloc(1, size);
}

void HostCePlatform::localFree(void *memory)
{
    std::free(memory);
}

// Records what the device accepted; the result document is a copy of the submitted one.
std::int32_t HostCePlatform::processConfigXml(const std::u16string &document, std::uint32_t flags, char16_t **result)
{
    if (result)
        *result = nullptr;
    if (flags != PROCESS_DOCUMENT)
        return RESULT_INVALID_ARGUMENT;
    std::error_code error;
    if (fs::exists(m_device / "configuration-fails", error))
        return RESULT_FAILED;
    const fs::path folder = m_device / "configuration";
    fs::create_directories(folder, error);
    std::size_t count = 0;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        ++count;
    if (error)
        return RESULT_FAILED;
    char name[16];
    std::snprintf(name, sizeof(name), "%04zu.xml", count + 1);
    std::string bytes;
    for (char16_t unit : document) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    std::ofstream file(folder / name, std::ios::binary);
    if (!file.write(bytes.data(), std::streamsize(bytes.size())) || !file.flush())
        return RESULT_FAILED;
    if (result) {
        *result = new char16_t[document.size() + 1];
        std::copy(document.begin(), document.end(), *result);
        (*result)[document.size()] = u'\0';
    }
    return RESULT_OK;
}

void HostCePlatform::freeConfigResult(char16_t *result)
{
    delete[] result;
}
