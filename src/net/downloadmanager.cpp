#include "downloadmanager.h"

#include "downloadedfilepath.h"
#include "httpdownloader.h"
#include "listeners.h"
#include "nofollow.h"
#include "partialprogresslistener.h"

#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QSet>

namespace {

quint64 rangesLength(const QVector<DownloadFiles::ByteRange> &ranges)
{
    quint64 length = 0;
    for (const DownloadFiles::ByteRange &range : ranges)
        length += quint64(range.second - range.first + 1);
    return length;
}

constexpr qint64 writeSliceSize = 262144;

int share(quint64 part, quint64 whole)
{
    return whole == 0 ? 100 : int(part * 100 / whole);
}

} // namespace

DownloadManager::DownloadManager(const QString &downloadsFolder, QObject *parent)
    : QObject(parent), m_downloadsFolder(downloadsFolder), m_downloader(new HttpDownloader(this))
{
    connect(m_downloader, &HttpDownloader::chunkReady, this, &DownloadManager::_chunkReady);
    connect(m_downloader, qOverload<QString>(&HttpDownloader::downloadComplete), this,
            qOverload<QString>(&DownloadManager::_downloadComplete));
    connect(m_downloader, qOverload<NETWORK_ERROR_CODE>(&HttpDownloader::downloadComplete), this,
            qOverload<NETWORK_ERROR_CODE>(&DownloadManager::_downloadComplete));
    connect(m_downloader, &HttpDownloader::proxyAuthenticationRequired, this,
            &DownloadManager::proxyAuthenticationRequired);
    connect(this, &DownloadManager::downloadNextFile, this, &DownloadManager::_downloadFile, Qt::QueuedConnection);
}

DownloadManager::~DownloadManager() = default;

void DownloadManager::reset()
{
    stop();
    QMutexLocker locker(&m_mutex);
    m_entries.clear();
    m_current = 0;
    m_doneBytes = 0;
    m_totalBytes = 0;
    m_retryCount = 0;
}

bool DownloadManager::addFile(const PackageFile &fileRecord, const QVector<QByteArray> &chunkDigests,
                              quint64 chunkSize)
{
    if (fileRecord.fileName.isEmpty()) {
        fail(NEC_NO_FILE_NAME);
        return false;
    }
    Entry entry;
    entry.record = fileRecord;
    entry.partialPath = DownloadFiles::partialFilePath(m_downloadsFolder, fileRecord.extraBytes);
    entry.finalPath = vktcommon::downloadedFilePath(m_downloadsFolder, fileRecord.fileName);
    // A name from the server that is no plain file name, or a digest that is no SHA-1 text, must not
    // become a path.
    if (entry.partialPath.isEmpty() || entry.finalPath.isEmpty()) {
        fail(NEC_CONTENT_ERROR);
        return false;
    }
    entry.chunkDigests = chunkDigests;
    entry.chunkSize = chunkSize;
    QMutexLocker locker(&m_mutex);
    m_entries.append(entry);
    return true;
}

bool DownloadManager::isComplete(const PackageFile &fileRecord) const
{
    return DownloadFiles::isComplete(m_downloadsFolder, fileRecord);
}

void DownloadManager::start(vktcommon::ProgressListener *progressListener,
                            vktcommon::ContinueListener *continueListener)
{
    {
        QMutexLocker locker(&m_mutex);
        m_current = 0;
    }
    m_progressListener = progressListener;
    m_continueListener = continueListener;
    assignPartialFiles();
    processChunks();
}

void DownloadManager::assignPartialFiles()
{
    // A file named by its own SHA-1 text, or two records with one content, would otherwise share one file
    // between an unverified partial file and a final one, or between two partial files.
    QSet<QString> taken;
    for (const Entry &entry : qAsConst(m_entries))
        taken.insert(entry.finalPath.toCaseFolded());
    for (Entry &entry : m_entries) {
        QString path = entry.partialPath;
        for (int number = 1; taken.contains(path.toCaseFolded()); ++number)
            path = DownloadFiles::partialFilePath(m_downloadsFolder, entry.record.extraBytes, number);
        entry.partialPath = path;
        taken.insert(path.toCaseFolded());
    }
}

void DownloadManager::getStatus(TransferStatusInfo &info, int &stage) const
{
    QMutexLocker locker(&m_mutex);
    stage = m_stage;
    if (m_stage == Downloading && m_current < m_entries.size()) {
        info.fileName = m_entries.at(m_current).record.fileName;
        info.done = m_doneBytes;
        info.total = m_totalBytes;
        info.speed = m_downloader->speed();
        info.secondsLeft = m_downloader->timeLeft(m_totalBytes - qMin(m_doneBytes, m_totalBytes));
    } else {
        info.done = 0;
        info.total = 0;
        info.speed = -1;
        info.secondsLeft = -1;
    }
}

void DownloadManager::processChunks()
{
    setStage(ProcessingChunks);
    emit chunksProcessingStarted();
    reportProgress(0);
    for (Entry &entry : m_entries)
        entry.complete = DownloadFiles::isComplete(m_downloadsFolder, entry.record, m_continueListener);

    quint64 partialBytes = 0;
    NETWORK_ERROR_CODE code = prepareFiles(partialBytes);
    bool anyIncomplete = false;
    if (code == NEC_NO_ERROR)
        code = computeAllRanges(partialBytes, anyIncomplete);
    if (code != NEC_NO_ERROR) {
        fail(code);
        return;
    }
    reportProgress(100);
    if (!anyIncomplete) {
        finish();
        return;
    }
    {
        QMutexLocker locker(&m_mutex);
        m_current = 0;
    }
    setStage(Downloading);
    emit updateDownloadStarted();
    emit downloadNextFile();
}

NETWORK_ERROR_CODE DownloadManager::prepareFiles(quint64 &partialBytes)
{
    for (const Entry &entry : qAsConst(m_entries)) {
        if (entry.complete)
            continue;
        if (shouldStop())
            return NEC_CANCELLED;
        QDir().mkpath(m_downloadsFolder);
        // A symbolic link under either name is nothing this program wrote: it goes, and what it leads
        // to is never written.
        for (const QString &path : {entry.finalPath, entry.partialPath}) {
            if (vktcommon::isSymbolicLink(path) && !QFile::remove(path))
                return NEC_CANNOT_CREATE_FILE;
        }
        // An older copy under the final name was never verified: it is either the partial file's
        // best start or, being too large, worthless.
        const QFileInfo oldCopy(entry.finalPath);
        if (oldCopy.exists()) {
            if (quint64(oldCopy.size()) <= entry.record.size) {
                if (QFileInfo::exists(entry.partialPath) && !QFile::remove(entry.partialPath))
                    return NEC_CANNOT_CREATE_FILE;
                if (!QFile::rename(entry.finalPath, entry.partialPath))
                    return NEC_CANNOT_RENAME;
            } else if (!QFile::remove(entry.finalPath)) {
                return NEC_CANNOT_RENAME;
            }
        }
        QFile partial(entry.partialPath);
        if (partial.exists()) {
            if (quint64(partial.size()) > entry.record.size) {
                if (!partial.remove())
                    return NEC_CANNOT_CREATE_FILE;
            } else {
                if (!partial.open(QIODevice::ReadOnly))
                    return NEC_CANNOT_OPEN_FILE;
                partialBytes += quint64(partial.size());
                continue;
            }
        }
        if (!vktcommon::openNoFollow(partial, QIODevice::WriteOnly))
            return NEC_CANNOT_CREATE_FILE;
    }
    return NEC_NO_ERROR;
}

NETWORK_ERROR_CODE DownloadManager::computeAllRanges(quint64 partialBytes, bool &anyIncomplete)
{
    {
        QMutexLocker locker(&m_mutex);
        m_doneBytes = 0;
        m_totalBytes = 0;
    }
    quint64 checkedBytes = 0;
    for (Entry &entry : m_entries) {
        if (shouldStop())
            return NEC_CANCELLED;
        entry.ranges.clear();
        const quint64 size = entry.record.size;
        if (entry.complete) {
            QMutexLocker locker(&m_mutex);
            m_totalBytes += size;
            m_doneBytes += size;
            continue;
        }
        anyIncomplete = true;
        QFile partial(entry.partialPath);
        if (!partial.open(QIODevice::ReadOnly))
            return NEC_CANNOT_OPEN_FILE;
        const quint64 partialSize = quint64(partial.size());
        vktcommon::PartialProgressListener progress(m_progressListener, share(checkedBytes, partialBytes),
                                                    share(checkedBytes + partialSize, partialBytes));
        checkedBytes += partialSize;
        const DownloadFiles::RangeResult result = DownloadFiles::computeRanges(
            partial, size, entry.chunkDigests, entry.chunkSize, m_continueListener, entry.ranges, &progress);
        if (result != DownloadFiles::RangesComputed)
            return NETWORK_ERROR_CODE(result);
        QMutexLocker locker(&m_mutex);
        m_totalBytes += size;
        m_doneBytes += size - rangesLength(entry.ranges);
    }
    return NEC_NO_ERROR;
}

void DownloadManager::_downloadFile()
{
    reportTransferProgress();
    m_rangeIndex = 0;
    m_writeFailed = false;
    const Entry &entry = m_entries.at(m_current);
    if (entry.complete || entry.ranges.isEmpty()) {
        rangeFinished();
        return;
    }
    fetchCurrentRange();
}

void DownloadManager::fetchCurrentRange()
{
    if (shouldStop()) {
        fail(NEC_CANCELLED);
        return;
    }
    const Entry &entry = m_entries.at(m_current);
    const DownloadFiles::ByteRange range = entry.ranges.at(m_rangeIndex);
    if (!m_partialFile.isOpen()) {
        m_partialFile.setFileName(entry.partialPath);
        // Unbuffered, so that a failing write is reported by the write itself.
        if (!vktcommon::openNoFollow(m_partialFile, QIODevice::ReadWrite | QIODevice::Unbuffered)) {
            fail(NEC_CANNOT_OPEN_FILE);
            return;
        }
    }
    if (!m_partialFile.seek(range.first)) {
        fail(NEC_CANNOT_OPEN_FILE);
        return;
    }
    m_downloader->download(entry.record.url, entry.chunkSize, range.first, range.second, m_continueListener);
}

void DownloadManager::_chunkReady(const QByteArray &_baChunk, quint64 _nCount)
{
    if (m_writeFailed)
        return;
    if (shouldStop()) {
        m_downloader->stop();
        return;
    }
    if (!writeChunk(_baChunk.constData(), qint64(_nCount))) {
        m_writeFailed = true;
        m_downloader->stop();
        return;
    }
    addDoneBytes(_nCount);
    reportTransferProgress();
}

void DownloadManager::_downloadComplete(QString _strError)
{
    if (shouldStop()) {
        fail(NEC_CANCELLED);
        return;
    }
    if (m_writeFailed) {
        fail(NEC_CANNOT_WRITE);
        return;
    }
    if (!_strError.isEmpty()) {
        stop();
        emit downloadComplete(_strError);
        return;
    }
    ++m_rangeIndex;
    if (m_rangeIndex < m_entries.at(m_current).ranges.size()) {
        fetchCurrentRange();
        return;
    }
    rangeFinished();
}

void DownloadManager::_downloadComplete(NETWORK_ERROR_CODE _nErrorCode)
{
    fail(_nErrorCode);
}

void DownloadManager::rangeFinished()
{
    m_partialFile.close();
    {
        QMutexLocker locker(&m_mutex);
        ++m_current;
        if (m_current < m_entries.size()) {
            locker.unlock();
            emit downloadNextFile();
            return;
        }
    }
    verify();
}

void DownloadManager::verify()
{
    setStage(Verifying);
    emit updateVerificationStarted();
    reportProgress(0);

    quint64 bytesToVerify = 0;
    for (const Entry &entry : qAsConst(m_entries)) {
        if (!entry.complete)
            bytesToVerify += entry.record.size;
    }
    quint64 verifiedBytes = 0;
    int failures = 0;
    for (Entry &entry : m_entries) {
        if (entry.complete)
            continue;
        if (shouldStop()) {
            fail(NEC_CANCELLED);
            return;
        }
        QFile partial(entry.partialPath);
        if (!partial.open(QIODevice::ReadOnly)) {
            fail(NEC_CANNOT_RENAME);
            return;
        }
        vktcommon::PartialProgressListener progress(m_progressListener, share(verifiedBytes, bytesToVerify),
                                                    share(verifiedBytes + entry.record.size, bytesToVerify));
        verifiedBytes += entry.record.size;
        const QByteArray digest = DownloadFiles::fileSha1Text(partial, m_continueListener, &progress);
        partial.close();
        if (shouldStop()) {
            fail(NEC_CANCELLED);
            return;
        }
        // Only a file whose every byte matches the record's digest ever gets the final name.
        if (!digest.isEmpty() && digest == entry.record.extraBytes.toLower()) {
            // A rename replaces a link that stands under the final name; it never writes through it.
            if (!QFile::rename(entry.partialPath, entry.finalPath)) {
                fail(NEC_CANNOT_RENAME);
                return;
            }
            entry.complete = true;
        } else {
            ++failures;
        }
    }
    reportProgress(100);
    if (failures == 0) {
        finish();
        return;
    }
    ++m_retryCount;
    if (m_retryCount < maxFailedVerifications)
        processChunks();
    else
        fail(NEC_DOWNLOAD_ERROR);
}

void DownloadManager::finish()
{
    stop();
    emit downloadComplete(QString());
}

void DownloadManager::fail(NETWORK_ERROR_CODE code)
{
    stop();
    emit downloadComplete(code);
}

void DownloadManager::stop()
{
    m_partialFile.close();
    m_progressListener = nullptr;
    m_continueListener = nullptr;
    setStage(Idle);
}

void DownloadManager::setStage(Stage stage)
{
    QMutexLocker locker(&m_mutex);
    m_stage = stage;
}

void DownloadManager::addDoneBytes(quint64 bytes)
{
    QMutexLocker locker(&m_mutex);
    m_doneBytes += bytes;
}

bool DownloadManager::writeChunk(const char *data, qint64 count)
{
    // Written in slices: on this system large single writes into the page cache are markedly slower.
    for (qint64 offset = 0; offset < count; offset += writeSliceSize) {
        const qint64 slice = qMin(writeSliceSize, count - offset);
        if (m_partialFile.write(data + offset, slice) != slice)
            return false;
    }
    return true;
}

bool DownloadManager::shouldStop() const
{
    return m_continueListener && !m_continueListener->shouldContinue();
}

void DownloadManager::reportProgress(int percent)
{
    if (m_progressListener)
        m_progressListener->setProgress(percent);
}

void DownloadManager::reportTransferProgress()
{
    quint64 done = 0;
    quint64 total = 0;
    {
        QMutexLocker locker(&m_mutex);
        done = m_doneBytes;
        total = m_totalBytes;
    }
    reportProgress(share(qMin(done, total), total));
}
