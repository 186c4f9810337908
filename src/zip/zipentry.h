#pragma once

#include <QString>
#include <QtGlobal>

class QIODevice;

namespace vktcommon {
class ContinueListener;
class ProgressListener;
} // namespace vktcommon

// One entry of an archive's central directory, and the two steps that extract it from the archive
// stream: locate (check the local header and find the data) and extractTo. Both return ARCHIVE_ERROR.
struct ZipEntry
{
    static constexpr quint8 descriptorFlag = 0x08;  // low flag byte: sizes and CRC-32 follow the data
    static constexpr quint8 utf8NameFlag = 0x08;    // high flag byte: the name is UTF-8

    quint32 localHeaderOffset = 0;
    quint32 dataOffset = 0;                          // set by locate
    quint8 flags[2] = {0, 0};                        // general purpose flags, low and high byte
    quint16 method = 0;
    quint8 modified[4] = {0, 0, 0, 0};               // time and date, as stored
    quint32 crc32 = 0;
    quint32 compressedSize = 0;
    quint32 uncompressedSize = 0;
    QString fullName;
    QString remainingName;                           // the folder tree strips one component per level

    bool hasDescriptor() const { return flags[0] & descriptorFlag; }
    bool hasUtf8Name() const { return flags[1] & utf8NameFlag; }

    int locate(QIODevice &stream);
    // Writes folder + '/' + remainingName, never through a symbolic link of that name; a file written in
    // part before a failure stays.
    int extractTo(const QString &folder, vktcommon::ProgressListener *progress,
                  vktcommon::ContinueListener *cont, QIODevice &stream) const;
};
