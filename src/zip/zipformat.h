#pragma once

#include <QIODevice>
#include <QtEndian>

// Record signatures and small reading helpers of the zip format, shared by the archive and its entries.
namespace ZipFormat {

constexpr quint32 localHeaderSignature = 0x04034b50;
constexpr quint32 centralHeaderSignature = 0x02014b50;
constexpr quint32 endRecordSignature = 0x06054b50;
constexpr quint32 descriptorSignature = 0x08074b50;

constexpr quint16 methodStored = 0;
constexpr quint16 methodDeflated = 8;

// Block size of every read and of the decompressor's output.
constexpr qint64 blockSize = 262144;

inline quint16 u16(const char *at)
{
    return qFromLittleEndian<quint16>(at);
}

inline quint32 u32(const char *at)
{
    return qFromLittleEndian<quint32>(at);
}

// True when exactly length bytes were read.
inline bool readExactly(QIODevice &stream, char *data, qint64 length)
{
    while (length > 0) {
        const qint64 got = stream.read(data, length);
        if (got <= 0)
            return false;
        data += got;
        length -= got;
    }
    return true;
}

// Moves forward by length bytes; false when that leaves the stream.
inline bool skip(QIODevice &stream, qint64 length)
{
    if (length == 0)
        return true;
    const qint64 target = stream.pos() + length;
    return target <= stream.size() && stream.seek(target);
}

} // namespace ZipFormat
