#include "zipforge.h"

#include <QtEndian>

#include <zlib.h>

namespace {

void append16(QByteArray &bytes, quint16 value)
{
    char raw[2];
    qToLittleEndian(value, raw);
    bytes.append(raw, 2);
}

void append32(QByteArray &bytes, quint32 value)
{
    char raw[4];
    qToLittleEndian(value, raw);
    bytes.append(raw, 4);
}

constexpr quint16 forgedTime = 0x6000;
constexpr quint16 forgedDate = 0x5A21;
// Made on Unix, so other unpackers take the file mode from the external attributes: a plain rw-r--r-- file.
constexpr quint16 madeOnUnix = 0x031E;
constexpr quint32 plainFileMode = 0100644u << 16;

} // namespace

void put16(QByteArray &bytes, qsizetype at, quint16 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

void put32(QByteArray &bytes, qsizetype at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

QByteArray ZipForge::deflateRaw(const QByteArray &data)
{
    z_stream stream{};
    deflateInit2(&stream, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(static_cast<qsizetype>(deflateBound(&stream, static_cast<uLong>(data.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(static_cast<qsizetype>(stream.total_out));
    deflateEnd(&stream);
    return out;
}

void ZipForge::add(const Entry &entry)
{
    m_entries.append(entry);
}

QByteArray ZipForge::build(const QByteArray &comment)
{
    QByteArray bytes;
    QByteArray directory;
    m_locals.clear();
    m_centrals.clear();
    m_descriptors.clear();
    for (const Entry &entry : std::as_const(m_entries)) {
        const QByteArray data = entry.compressed ? *entry.compressed
            : entry.method == 8 ? deflateRaw(entry.data) : entry.data;
        const quint32 crc = ::crc32(0, reinterpret_cast<const Bytef *>(entry.data.constData()),
                                    static_cast<uInt>(entry.data.size()));
        const quint16 flags = entry.flags | (entry.descriptor != NoDescriptor ? 0x0008 : 0);
        const bool inLocal = entry.descriptor == NoDescriptor;
        const QByteArray localName = entry.localName ? *entry.localName : entry.name;

        m_locals.append(bytes.size());
        append32(bytes, 0x04034b50);
        append16(bytes, 20);
        append16(bytes, flags);
        append16(bytes, entry.method);
        append16(bytes, forgedTime);
        append16(bytes, forgedDate);
        append32(bytes, inLocal ? crc : 0);
        append32(bytes, inLocal ? quint32(data.size()) : 0);
        append32(bytes, inLocal ? quint32(entry.data.size()) : 0);
        append16(bytes, quint16(localName.size()));
        append16(bytes, 0);
        bytes.append(localName);
        bytes.append(data);
        m_descriptors.append(bytes.size());
        if (entry.descriptor == SignedDescriptor)
            append32(bytes, 0x08074b50);
        if (!inLocal) {
            append32(bytes, crc);
            append32(bytes, quint32(data.size()));
            append32(bytes, quint32(entry.data.size()));
        }

        m_centrals.append(directory.size());
        append32(directory, 0x02014b50);
        append16(directory, madeOnUnix);
        append16(directory, 20);
        append16(directory, flags);
        append16(directory, entry.method);
        append16(directory, forgedTime);
        append16(directory, forgedDate);
        append32(directory, crc);
        append32(directory, quint32(data.size()));
        append32(directory, quint32(entry.data.size()));
        append16(directory, quint16(entry.name.size()));
        append16(directory, 0);
        append16(directory, 0);
        append16(directory, 0);
        append16(directory, 0);
        append32(directory, plainFileMode);
        append32(directory, quint32(m_locals.last()));
        directory.append(entry.name);
    }
    const qsizetype directoryOffset = bytes.size();
    for (qsizetype &offset : m_centrals)
        offset += directoryOffset;
    bytes.append(directory);
    m_end = bytes.size();
    append32(bytes, 0x06054b50);
    append16(bytes, 0);
    append16(bytes, 0);
    append16(bytes, quint16(m_entries.size()));
    append16(bytes, quint16(m_entries.size()));
    append32(bytes, quint32(directory.size()));
    append32(bytes, quint32(directoryOffset));
    append16(bytes, quint16(comment.size()));
    bytes.append(comment);
    return bytes;
}
