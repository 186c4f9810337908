#include "ziparchive.h"

#include "archiveerror.h"
#include "entrynames.h"
#include "zipformat.h"

#include <cstring>

using namespace ZipFormat;

namespace {

constexpr qint64 endRecordSize = 22;
constexpr qint64 longestComment = 256;
constexpr qint64 centralHeaderSize = 42; // after the signature

} // namespace

ZipArchive::ZipArchive() = default;

ZipArchive::~ZipArchive()
{
    close();
}

int ZipArchive::open(const QString &path, qint64 size)
{
    close();
    m_archiveSize = size;
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly))
        return AE_CANNOT_OPEN;
    m_stream = &m_file;
    return readDirectory();
}

int ZipArchive::open(QIODevice *device)
{
    close();
    if (!device || !device->isReadable())
        return AE_CANNOT_OPEN;
    m_archiveSize = device->size();
    m_stream = device;
    return readDirectory();
}

vktpdl::FolderNode *ZipArchive::root() const
{
    return m_root.get();
}

void ZipArchive::close()
{
    m_root.reset();
    m_entries.clear();
    if (m_file.isOpen())
        m_file.close();
    m_stream = nullptr;
    m_entryCount = 0;
    m_endRecordDistance = 0;
    m_centralDirectoryOffset = 0;
}

int ZipArchive::readDirectory()
{
    if (m_archiveSize < endRecordSize)
        return AE_INVALID_ARCHIVE;
    const qint64 tailLength = qMin(m_archiveSize, endRecordSize + longestComment);
    const qint64 tailStart = m_archiveSize - tailLength;
    char tail[endRecordSize + longestComment];
    if (!m_stream->seek(tailStart) || !readExactly(*m_stream, tail, tailLength))
        return AE_CANNOT_READ;
    qint64 record = 0;
    while (record <= tailLength - endRecordSize && u32(tail + record) != endRecordSignature)
        ++record;
    if (record > tailLength - endRecordSize)
        return AE_CORRUPTED;

    m_entryCount = u16(tail + record + 10);
    m_centralDirectoryOffset = u32(tail + record + 16);
    m_endRecordDistance = tailLength - record;
    if (m_centralDirectoryOffset >= tailStart + record)
        return AE_INVALID_ARCHIVE;
    if (m_entryCount == 0)
        return AE_EMPTY_ARCHIVE;

    char signature[4];
    if (!m_stream->seek(m_centralDirectoryOffset) || !readExactly(*m_stream, signature, 4))
        return AE_CANNOT_READ;
    // The directory ends at the first other signature; the end record's count is not trusted.
    while (u32(signature) == centralHeaderSignature) {
        const int result = readCentralHeader();
        if (result != AE_NO_ERROR)
            return result;
        if (!readExactly(*m_stream, signature, 4))
            return AE_CANNOT_READ;
    }

    QList<ZipEntry *> entries;
    entries.reserve(static_cast<qsizetype>(m_entries.size()));
    for (ZipEntry &entry : m_entries)
        entries.append(&entry);
    m_root = std::make_unique<vktpdl::FolderNode>(QString(), entries, *m_stream);
    return AE_NO_ERROR;
}

int ZipArchive::readCentralHeader()
{
    // Offsets below count from the header's signature, which was read already.
    char header[centralHeaderSize];
    if (!readExactly(*m_stream, header, centralHeaderSize))
        return AE_CANNOT_READ;
    const auto field = [&header](int offset) { return header + offset - 4; };

    ZipEntry entry;
    entry.method = u16(field(10));
    if (entry.method != methodStored && entry.method != methodDeflated)
        return AE_UNSUPPORTED_FORMAT;
    const quint16 nameLength = u16(field(28));
    if (nameLength == 0)
        return AE_INVALID_ARCHIVE;
    QByteArray rawName(nameLength, Qt::Uninitialized);
    if (!readExactly(*m_stream, rawName.data(), nameLength))
        return AE_CANNOT_READ;
    entry.flags[0] = static_cast<quint8>(*field(8));
    entry.flags[1] = static_cast<quint8>(*field(9));
    // A name too long for the reader, or one that would lead out of the destination, refuses the archive.
    if (!EntryNames::decode(rawName, entry.hasUtf8Name(), entry.fullName)
        || !EntryNames::staysInside(entry.fullName))
        return AE_INVALID_ARCHIVE;
    if (!skip(*m_stream, u16(field(30))) || !skip(*m_stream, u16(field(32))))
        return AE_CANNOT_READ;

    std::memcpy(entry.modified, field(12), 4);
    entry.crc32 = u32(field(16));
    entry.compressedSize = u32(field(20));
    entry.uncompressedSize = u32(field(24));
    entry.localHeaderOffset = u32(field(42));
    entry.remainingName = entry.fullName;
    m_entries.push_back(std::move(entry));
    return AE_NO_ERROR;
}
