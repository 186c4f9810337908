#pragma once

#include "packagefile.h"

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QVector>

class QIODevice;

namespace vktcommon {
class ContinueListener;
class ProgressListener;
}

// The pure file work of the download manager: where partial and final files live, which byte ranges
// of a partial file still have to be fetched, and the digest that decides whether a file is finished.
namespace DownloadFiles {

// First and last byte, inclusive.
using ByteRange = QPair<qint64, qint64>;

enum RangeResult {
    RangesComputed = 0,
    RangesCancelled = 5, // the continue listener said stop
    RangesReadFailed = 6 // a read error or an empty read
};

constexpr qint64 verificationBlockSize = 262144;

// True for exactly 40 hexadecimal digits, so the text can safely be a file name.
bool isSha1Text(const QByteArray &text);

// An absolute, native path inside the downloads folder; empty for a text that is not 40 hex digits.
// A number above 0 is appended as ".number" (a partial file whose plain name is taken by another file).
// The finished file's path is vktcommon::downloadedFilePath.
QString partialFilePath(const QString &downloadsFolder, const QByteArray &sha1Text, int number = 0);

// A file is complete when its final file (a file, not a symbolic link) exists with the record's size.
// A final name that is a SHA-1 text may hold an unverified partial file, so such a file must also have
// the record's digest (read with the listener asked between blocks).
bool isComplete(const QString &downloadsFolder, const PackageFile &file,
                vktcommon::ContinueListener *continueListener = nullptr);

// Chunks of chunkSize (above 0) that a file of size bytes has, the last one possibly short.
quint64 chunkCount(quint64 size, quint64 chunkSize);

// Whether the server's chunk list can describe a file of this size; when not, the file is fetched whole.
bool areChunksTrusted(quint64 fileSize, const QVector<QByteArray> &chunkDigests, quint64 chunkSize);

// The ranges alone (PartialFileScan read to the end without fetching): reads the partial file chunk by
// chunk from its start and appends the ranges that are damaged or missing up to fileSize - 1. An
// untrusted chunk list yields the whole file as one range. Progress is the share of chunks checked.
RangeResult computeRanges(QIODevice &partialFile, quint64 fileSize, const QVector<QByteArray> &chunkDigests,
                          quint64 chunkSize, vktcommon::ContinueListener *continueListener,
                          QVector<ByteRange> &ranges, vktcommon::ProgressListener *progressListener = nullptr);

// SHA-1 of the whole device from its current position as 40 lower-case hex digits, read in blocks of
// verificationBlockSize; empty when the listener says stop or a read fails. Progress is the share read.
QByteArray fileSha1Text(QIODevice &file, vktcommon::ContinueListener *continueListener,
                        vktcommon::ProgressListener *progressListener = nullptr);

} // namespace DownloadFiles
