#include "downloadmanager.h"

#include "backgroundsha1.h"
#include "downloadedfilepath.h"
#include "httpdownloader.h"
#include "listeners.h"
#include "nofollow.h"
#include "partialfilescan.h"
#include "partialprogresslistener.h"

#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QSet>

namespace {

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
    quint64 totalBytes = 0;
    quint64 doneBytes = 0;
    bool anyIncomplete = false;
    for (Entry &entry : m_entries) {
        if (shouldStop()) {
            fail(NEC_CANCELLED);
            return;
        }
        entry.complete = DownloadFiles::isComplete(m_downloadsFolder, entry.record, m_continueListener);
        entry.wholeFileDigest.clear();
        totalBytes += entry.record.size;
        if (entry.complete)
            doneBytes += entry.record.size;
        else
            anyIncomplete = true;
    }

    m_partialBytes = 0;
    m_checkedBytes = 0;
    const NETWORK_ERROR_CODE code = prepareFiles(m_partialBytes);
    if (code != NEC_NO_ERROR) {
        fail(code);
        return;
    }
    {
        QMutexLocker locker(&m_mutex);
        m_totalBytes = totalBytes;
        m_doneBytes = doneBytes;
        m_current = 0;
    }
    if (!anyIncomplete) {
        reportProgress(100);
        finish();
        return;
    }
    scanOn();
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

void DownloadManager::scanOn()
{
    while (m_current < m_entries.size()) {
        Entry &entry = m_entries[m_current];
        if (!entry.complete) {
            if (!m_scan) {
                if (shouldStop()) {
                    fail(NEC_CANCELLED);
                    return;
                }
                const NETWORK_ERROR_CODE code = openScan(entry);
                if (code != NEC_NO_ERROR) {
                    fail(code);
                    return;
                }
            }
            // Until the first range is fetched the progress is the share of the partial files checked;
            // from then on it is the share of the bytes done.
            const bool checking = m_stage == ProcessingChunks;
            vktcommon::PartialProgressListener progress(m_progressListener, share(m_checkedBytes, m_partialBytes),
                                                        share(m_checkedBytes + m_scan->partialSize(), m_partialBytes));
            const PartialFileScan::Step step = m_scan->next(m_continueListener, m_range, checking ? &progress : nullptr);
            addDoneBytes(m_scan->keptBytes() - m_keptBytes);
            m_keptBytes = m_scan->keptBytes();
            switch (step) {
            case PartialFileScan::Cancelled:
                fail(NEC_CANCELLED);
                return;
            case PartialFileScan::ReadFailed:
                fail(NEC_DOWNLOAD_ERROR);
                return;
            case PartialFileScan::RangeFound:
                fetchRange();
                return;
            case PartialFileScan::EndReached:
                break;
            }
            // A digest over fewer or more bytes than the record's could only match by accident.
            if (m_wholeFile->size() == entry.record.size)
                entry.wholeFileDigest = m_wholeFile->finishHex();
            m_checkedBytes += m_scan->partialSize();
            closeScan();
        }
        QMutexLocker locker(&m_mutex);
        ++m_current;
    }
    enterDownloading();
    verify();
}

NETWORK_ERROR_CODE DownloadManager::openScan(const Entry &entry)
{
    m_partialFile.setFileName(entry.partialPath);
    // Unbuffered, so that a failing write is reported by the write itself.
    if (!vktcommon::openNoFollow(m_partialFile, QIODevice::ReadWrite | QIODevice::Unbuffered))
        return NEC_CANNOT_OPEN_FILE;
    m_wholeFile = std::make_unique<BackgroundSha1>();
    m_scan = std::make_unique<PartialFileScan>(m_partialFile, entry.record.size, entry.chunkDigests, entry.chunkSize,
                                               m_wholeFile.get());
    m_keptBytes = 0;
    return NEC_NO_ERROR;
}

void DownloadManager::closeScan()
{
    m_scan.reset();
    m_wholeFile.reset();
    m_partialFile.close();
}

void DownloadManager::enterDownloading()
{
    if (m_stage == Downloading)
        return;
    reportProgress(100);
    setStage(Downloading);
    emit updateDownloadStarted();
    reportTransferProgress();
}

void DownloadManager::fetchRange()
{
    enterDownloading();
    if (shouldStop()) {
        fail(NEC_CANCELLED);
        return;
    }
    reportTransferProgress();
    if (!m_partialFile.seek(m_range.first)) {
        fail(NEC_CANNOT_OPEN_FILE);
        return;
    }
    m_writeFailed = false;
    const Entry &entry = m_entries.at(m_current);
    m_downloader->download(entry.record.url, entry.chunkSize, m_range.first, m_range.second, m_continueListener);
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
    m_scan->addFetched(_baChunk, qint64(_nCount));
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
    if (!m_scan->rangeFetched()) {
        fail(NEC_DOWNLOAD_ERROR);
        return;
    }
    // The rest of the file is read on from the event loop, not inside the HTTP downloader's signal.
    emit downloadNextFile();
}

void DownloadManager::_downloadComplete(NETWORK_ERROR_CODE _nErrorCode)
{
    fail(_nErrorCode);
}

void DownloadManager::_downloadFile()
{
    scanOn();
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
        // The digest was taken over every byte of the partial file, in order, as it was read and fetched:
        // only a file that matches the record's digest ever gets the final name.
        if (!entry.wholeFileDigest.isEmpty() && entry.wholeFileDigest == entry.record.extraBytes.toLower()) {
            // A rename replaces a link that stands under the final name; it never writes through it.
            if (!QFile::rename(entry.partialPath, entry.finalPath)) {
                fail(NEC_CANNOT_RENAME);
                return;
            }
            entry.complete = true;
        } else {
            ++failures;
        }
        verifiedBytes += entry.record.size;
        reportProgress(share(verifiedBytes, bytesToVerify));
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
    closeScan();
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
