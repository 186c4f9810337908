#include "partialfilescan.h"

#include "backgroundsha1.h"
#include "listeners.h"
#include "sha1context.h"

#include <QIODevice>

namespace {

// Of the chunk after a damaged run, at most the chunk size we ask the server for is kept in memory; the
// rest of a larger chunk is read again.
constexpr qint64 maxHeldBytes = 2097152;

} // namespace

PartialFileScan::PartialFileScan(QIODevice &partialFile, quint64 fileSize, const QVector<QByteArray> &chunkDigests,
                                 quint64 chunkSize, BackgroundSha1 *wholeFile)
    : m_file(partialFile),
      m_fileSize(fileSize),
      m_digests(chunkDigests),
      m_chunkSize(chunkSize),
      m_wholeFile(wholeFile),
      m_trusted(DownloadFiles::areChunksTrusted(fileSize, chunkDigests, chunkSize)),
      // Bytes beyond the record's size are never kept, so only the part up to fileSize is checked.
      m_partialSize(qMin(quint64(qMax<qint64>(partialFile.size(), 0)), fileSize))
{
    if (m_trusted)
        m_chunks = DownloadFiles::chunkCount(m_partialSize, m_chunkSize);
}

PartialFileScan::Step PartialFileScan::next(vktcommon::ContinueListener *continueListener,
                                            DownloadFiles::ByteRange &range,
                                            vktcommon::ProgressListener *progressListener)
{
    while (m_nextChunk < m_chunks) {
        if (vktcommon::stopRequested(continueListener))
            return Cancelled;
        const quint64 index = m_nextChunk;
        const qint64 start = qint64(index * m_chunkSize);
        const qint64 length = qint64(qMin(m_chunkSize, m_partialSize - quint64(start)));
        bool matches = false;
        if (!checkChunk(index, start, length, matches))
            return ReadFailed;
        ++m_nextChunk;
        if (progressListener)
            progressListener->setProgress(int(m_nextChunk * 100 / m_chunks));
        if (matches)
            m_keptBytes += quint64(length);
        if (m_runStart < 0) {
            if (m_wholeFile && matches)
                m_wholeFile->commit();
            else if (m_wholeFile)
                m_wholeFile->rollback();
            if (!matches)
                m_runStart = start;
        } else if (matches) {
            range = {m_runStart, start - 1};
            m_runStart = -1;
            m_heldStart = start;
            m_heldLength = length;
            return RangeFound;
        }
    }
    if (m_endHandedOut || m_fileSize == 0)
        return EndReached;
    m_endHandedOut = true;
    if (!m_trusted) {
        range = {0, qint64(m_fileSize - 1)};
        return RangeFound;
    }
    if (m_runStart >= 0) {
        range = {m_runStart, qint64(m_fileSize - 1)};
        return RangeFound;
    }
    if (m_partialSize < m_fileSize) {
        range = {qint64(m_partialSize), qint64(m_fileSize - 1)};
        return RangeFound;
    }
    return EndReached;
}

bool PartialFileScan::checkChunk(quint64 index, qint64 start, qint64 length, bool &matches)
{
    // While no run is open, the chunk's bytes go to the whole-file digest at once, taken back should the
    // chunk not match; after a damaged run they are kept until the run's bytes have been fetched.
    const bool runOpen = m_runStart >= 0;
    m_held.clear();
    m_heldBytes = 0;
    if (!m_file.seek(start))
        return false;
    Sha1Context chunkDigest;
    qint64 read = 0;
    while (read < length) {
        // A fresh block each time: the whole-file digest may still be reading the last one.
        QByteArray block(qMin(DownloadFiles::verificationBlockSize, length - read), Qt::Uninitialized);
        const qint64 count = m_file.read(block.data(), block.size());
        if (count <= 0)
            break;
        chunkDigest.add(block.constData(), count);
        if (m_wholeFile && !runOpen) {
            m_wholeFile->add(block, count);
        } else if (m_wholeFile && m_heldBytes == read && m_heldBytes + count <= maxHeldBytes) {
            m_held.append({block, count});
            m_heldBytes += count;
        }
        read += count;
    }
    if (read == 0)
        return false;
    matches = read == length && chunkDigest.finishHex() == m_digests.at(qsizetype(index)).toLower();
    return true;
}

void PartialFileScan::addFetched(const QByteArray &bytes, qint64 count)
{
    if (m_wholeFile)
        m_wholeFile->add(bytes, count);
}

bool PartialFileScan::rangeFetched()
{
    if (!m_wholeFile)
        return true;
    for (const HeldBlock &block : qAsConst(m_held))
        m_wholeFile->add(block.bytes, block.count);
    const bool complete = readAgainForDigest(m_heldStart + m_heldBytes, m_heldLength - m_heldBytes);
    m_held.clear();
    m_heldBytes = 0;
    m_heldLength = 0;
    if (complete)
        m_wholeFile->commit();
    return complete;
}

bool PartialFileScan::readAgainForDigest(qint64 start, qint64 length)
{
    if (length <= 0)
        return true;
    if (!m_file.seek(start))
        return false;
    for (qint64 read = 0; read < length;) {
        QByteArray block(qMin(DownloadFiles::verificationBlockSize, length - read), Qt::Uninitialized);
        const qint64 count = m_file.read(block.data(), block.size());
        if (count <= 0)
            return false;
        m_wholeFile->add(block, count);
        read += count;
    }
    return true;
}
