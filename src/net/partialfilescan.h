#pragma once

#include "downloadfiles.h"

#include <QByteArray>
#include <QVector>

class BackgroundSha1;
class QIODevice;

namespace vktcommon {
class ContinueListener;
class ProgressListener;
}

// Reads a partial file once, from its start: checks each chunk against the server's digest and stops at
// every run of damaged or missing bytes, which the caller fetches before the scan goes on. Given a
// whole-file digest, it hands it every byte of the finished file in order: the bytes that stay as they
// are read, and in place of each run the fetched bytes, so that no byte has to be read a second time.
class PartialFileScan
{
public:
    enum Step { RangeFound, EndReached, Cancelled, ReadFailed };

    // A null wholeFile asks for the ranges alone; otherwise it must outlive the scan. An untrusted chunk
    // list (DownloadFiles::areChunksTrusted) gives the whole file as one range.
    PartialFileScan(QIODevice &partialFile, quint64 fileSize, const QVector<QByteArray> &chunkDigests,
                    quint64 chunkSize, BackgroundSha1 *wholeFile);

    // Reads on to the next range to fetch, or to the end. Progress is the share of the chunks checked.
    Step next(vktcommon::ContinueListener *continueListener, DownloadFiles::ByteRange &range,
              vktcommon::ProgressListener *progressListener = nullptr);
    // The fetched bytes of the range that next() gave, in order.
    void addFetched(const QByteArray &bytes, qint64 count);
    // The range is in place: the chunk read after it joins the digest. False when that chunk was too
    // large to keep and cannot be read again.
    bool rangeFetched();

    // The bytes of the partial file that are looked at: its size, at most the file's.
    quint64 partialSize() const { return m_partialSize; }
    // Bytes of the partial file checked and kept so far.
    quint64 keptBytes() const { return m_keptBytes; }

private:
    struct HeldBlock
    {
        QByteArray bytes;
        qint64 count = 0;
    };

    // Reads and checks one chunk; false when nothing could be read.
    bool checkChunk(quint64 index, qint64 start, qint64 length, bool &matches);
    bool readAgainForDigest(qint64 start, qint64 length);

    QIODevice &m_file;
    const quint64 m_fileSize;
    const QVector<QByteArray> m_digests;
    const quint64 m_chunkSize;
    BackgroundSha1 *const m_wholeFile;
    const bool m_trusted;
    const quint64 m_partialSize;
    quint64 m_chunks = 0;
    quint64 m_nextChunk = 0;
    qint64 m_runStart = -1;
    bool m_endHandedOut = false;
    quint64 m_keptBytes = 0;
    // The matching chunk that ended a run: it joins the digest after the run's fetched bytes.
    QVector<HeldBlock> m_held;
    qint64 m_heldBytes = 0;
    qint64 m_heldStart = 0;
    qint64 m_heldLength = 0;
};
