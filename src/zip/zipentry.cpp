#include "zipentry.h"

#include "archiveerror.h"
#include "entrynames.h"
#include "listeners.h"
#include "nofollow.h"
#include "zipformat.h"

#include <QFile>

#include <zlib.h>

#include <cstring>
#include <memory>

using namespace ZipFormat;

namespace {

// The output file of one entry: writes, sums the CRC-32 and refuses more bytes than the entry
// declares, so that a lying size cannot fill the disk.
class EntryOutput
{
public:
    EntryOutput(const QString &path, quint32 expectedSize) : m_file(path), m_expectedSize(expectedSize) {}

    // A symbolic link under the entry's name is refused, never written through.
    bool open()
    {
        return vktcommon::openNoFollow(m_file, QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
    }

    int write(const char *data, qint64 length)
    {
        if (length == 0)
            return AE_NO_ERROR;
        m_written += length;
        if (m_written > m_expectedSize)
            return AE_CORRUPTED;
        m_crc = ::crc32(m_crc, reinterpret_cast<const Bytef *>(data), static_cast<uInt>(length));
        return m_file.write(data, length) == length ? AE_NO_ERROR : AE_CANNOT_CREATE_FILE;
    }

    bool matches(quint32 crc) const { return m_crc == crc && m_written == m_expectedSize; }

private:
    QFile m_file;
    quint32 m_expectedSize;
    qint64 m_written = 0;
    uLong m_crc = ::crc32(0L, Z_NULL, 0);
};

// Raw inflate (no zlib header) that ends itself.
class Inflater
{
public:
    Inflater()
    {
        std::memset(&m_stream, 0, sizeof m_stream);
        m_ready = inflateInit2(&m_stream, -MAX_WBITS) == Z_OK;
    }
    ~Inflater()
    {
        if (m_ready)
            inflateEnd(&m_stream);
    }
    Inflater(const Inflater &) = delete;
    Inflater &operator=(const Inflater &) = delete;

    bool isReady() const { return m_ready; }
    z_stream *operator->() { return &m_stream; }
    z_stream *get() { return &m_stream; }

private:
    z_stream m_stream;
    bool m_ready = false;
};

// Reads size bytes of entry data in blocks, reporting before each block (block i of n + 1 at
// i * 100 / (n + 1)) and handing it to consume(block, length, finished); consume returns an archive
// code and sets finished when it needs no more data.
template <typename Consume>
int forEachBlock(QIODevice &stream, quint32 size, vktcommon::ProgressListener *progress,
                 vktcommon::ContinueListener *cont, Consume consume)
{
    const std::unique_ptr<char[]> buffer(new char[blockSize]);
    const qint64 fullBlocks = size / blockSize;
    for (qint64 i = 0; i <= fullBlocks; ++i) {
        if (progress)
            progress->setProgress(static_cast<int>(i * 100 / (fullBlocks + 1)));
        if (cont && !cont->shouldContinue())
            return AE_CANCELLED;
        const qint64 length = i < fullBlocks ? blockSize : size % blockSize;
        if (length == 0)
            break;
        if (!readExactly(stream, buffer.get(), length))
            return AE_CANNOT_READ;
        bool finished = false;
        const int result = consume(buffer.get(), length, finished);
        if (result != AE_NO_ERROR || finished)
            return result;
    }
    return AE_NO_ERROR;
}

int copyStored(QIODevice &stream, quint32 size, EntryOutput &output,
               vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    return forEachBlock(stream, size, progress, cont, [&output](char *block, qint64 length, bool &) {
        return output.write(block, length);
    });
}

int inflateDeflated(QIODevice &stream, quint32 size, EntryOutput &output,
                    vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    Inflater inflater;
    if (!inflater.isReady())
        return AE_ZLIB_ERROR;
    const std::unique_ptr<char[]> out(new char[blockSize]);
    bool ended = false;
    const int result = forEachBlock(stream, size, progress, cont, [&](char *block, qint64 length, bool &finished) {
        inflater->next_in = reinterpret_cast<Bytef *>(block);
        inflater->avail_in = static_cast<uInt>(length);
        int status;
        do {
            inflater->next_out = reinterpret_cast<Bytef *>(out.get());
            inflater->avail_out = static_cast<uInt>(blockSize);
            status = inflate(inflater.get(), Z_NO_FLUSH);
            if (status == Z_NEED_DICT || status == Z_DATA_ERROR || status == Z_MEM_ERROR)
                return int(AE_INFLATE_ERROR);
            const int written = output.write(out.get(), blockSize - inflater->avail_out);
            if (written != AE_NO_ERROR)
                return written;
        } while (status != Z_STREAM_END && inflater->avail_out == 0);
        ended = finished = status == Z_STREAM_END;
        return int(AE_NO_ERROR);
    });
    // Without the stream's end the declared compressed size was too short.
    return result == AE_NO_ERROR && !ended ? AE_INFLATE_ERROR : result;
}

} // namespace

int ZipEntry::locate(QIODevice &stream)
{
    char signature[4];
    if (!stream.seek(localHeaderOffset) || !readExactly(stream, signature, 4))
        return AE_CANNOT_READ;
    if (u32(signature) != localHeaderSignature)
        return AE_INVALID_ARCHIVE;
    char header[26];
    if (!readExactly(stream, header, sizeof header))
        return AE_CANNOT_READ;

    // header: version 0, flags 2, method 4, time and date 6, CRC-32 10, sizes 14 and 18, name 22, extra 24
    if (u16(header + 4) != method || quint8(header[2]) != flags[0] || quint8(header[3]) != flags[1]
        || std::memcmp(header + 6, modified, 4) != 0)
        return AE_PARSE_ERROR;
    if (!hasDescriptor()
        && (u32(header + 10) != crc32 || u32(header + 14) != compressedSize || u32(header + 18) != uncompressedSize))
        return AE_PARSE_ERROR;
    const quint16 nameLength = u16(header + 22);
    if (nameLength == 0)
        return AE_PARSE_ERROR;
    QByteArray rawName(nameLength, Qt::Uninitialized);
    if (!readExactly(stream, rawName.data(), nameLength))
        return AE_CANNOT_READ;
    QString localName;
    if (!EntryNames::decode(rawName, hasUtf8Name(), localName) || localName != fullName)
        return AE_PARSE_ERROR;
    if (!skip(stream, u16(header + 24)))
        return AE_CANNOT_READ;

    dataOffset = static_cast<quint32>(stream.pos());
    if (!hasDescriptor())
        return AE_NO_ERROR;

    char descriptor[16];
    if (!skip(stream, compressedSize) || !readExactly(stream, descriptor, 4))
        return AE_CANNOT_READ;
    // The descriptor's signature is optional: without it the four bytes are already the CRC-32.
    const bool withSignature = u32(descriptor) == descriptorSignature;
    char *fields = withSignature ? descriptor + 4 : descriptor;
    if (!readExactly(stream, descriptor + 4, withSignature ? 12 : 8))
        return AE_CANNOT_READ;
    if (u32(fields) != crc32 || u32(fields + 4) != compressedSize || u32(fields + 8) != uncompressedSize)
        return AE_PARSE_ERROR;
    return AE_NO_ERROR;
}

int ZipEntry::extractTo(const QString &folder, vktcommon::ProgressListener *progress,
                        vktcommon::ContinueListener *cont, QIODevice &stream) const
{
    if (progress)
        progress->setProgress(0);
    if (cont && !cont->shouldContinue())
        return AE_CANCELLED;
    EntryOutput output(folder + QLatin1Char('/') + remainingName, uncompressedSize);
    if (!output.open())
        return AE_CANNOT_CREATE_FILE;
    if (!stream.seek(dataOffset))
        return AE_CANNOT_READ;

    const int result = method == methodStored ? copyStored(stream, compressedSize, output, progress, cont)
                                              : inflateDeflated(stream, compressedSize, output, progress, cont);
    if (result != AE_NO_ERROR)
        return result;

    if (progress)
        progress->setProgress(100);
    if (cont && !cont->shouldContinue())
        return AE_CANCELLED;
    return output.matches(crc32) ? AE_NO_ERROR : AE_CORRUPTED;
}
