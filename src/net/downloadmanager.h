#pragma once

#include "downloadfiles.h"
#include "enums.h"
#include "packagefile.h"
#include "transferstatusinfo.h"

#include <QAuthenticator>
#include <QByteArray>
#include <QFile>
#include <QMutex>
#include <QNetworkProxy>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QVector>

#include <memory>

namespace vktcommon {
class ContinueListener;
class ProgressListener;
}

class BackgroundSha1;
class HttpDownloader;
class PartialFileScan;

// Brings a list of files into the downloads folder: reads each partial file once, fetching the runs of
// missing or damaged chunks as it meets them, takes the whole-file digest of the result on the way,
// and gives a file its final name only when that digest is the record's. The end comes by exactly one
// of the downloadComplete signals.
class DownloadManager : public QObject
{
    Q_OBJECT

public:
    enum Stage { Idle = 0, ProcessingChunks = 1, Downloading = 2, Verifying = 3 };
    // Verification passes that may fail before the download gives up (two extra passes).
    static constexpr int maxFailedVerifications = 3;

    explicit DownloadManager(const QString &downloadsFolder, QObject *parent = nullptr);
    ~DownloadManager() override;

    void reset();
    // False, after the code has been emitted, when the record cannot be downloaded.
    bool addFile(const PackageFile &fileRecord, const QVector<QByteArray> &chunkDigests, quint64 chunkSize);
    void start(vktcommon::ProgressListener *progressListener, vktcommon::ContinueListener *continueListener);
    bool isComplete(const PackageFile &fileRecord) const;

    // May be asked from another thread.
    void getStatus(TransferStatusInfo &info, int &stage) const;

Q_SIGNALS:
    void chunksProcessingStarted();
    void updateDownloadStarted();
    void updateVerificationStarted();
    void downloadComplete(QString _strError);
    void downloadComplete(NETWORK_ERROR_CODE _nErrorCode);
    void downloadNextFile();
    void downloadStatusUpdate(TransferStatusInfo _statusInfo);
    void proxyAuthenticationRequired(const QNetworkProxy &_proxy, QAuthenticator *_pAuthenticator);

private Q_SLOTS:
    void _chunkReady(const QByteArray &_baChunk, quint64 _nCount);
    void _downloadComplete(QString _strError);
    void _downloadComplete(NETWORK_ERROR_CODE _nErrorCode);
    void _downloadFile();

private:
    struct Entry
    {
        PackageFile record;
        QString partialPath;
        QString finalPath;
        QVector<QByteArray> chunkDigests;
        quint64 chunkSize = 0;
        bool complete = false; // decided once per pass, and when verified
        QByteArray wholeFileDigest; // of the partial file as this pass left it; empty when unknown
    };

    // Gives every entry a partial file that is neither another entry's partial file nor any final file.
    void assignPartialFiles();
    void processChunks();
    NETWORK_ERROR_CODE prepareFiles(quint64 &partialBytes);
    // Reads on through the partial files until a range has to be fetched, or verifies when all are read.
    void scanOn();
    NETWORK_ERROR_CODE openScan(const Entry &entry);
    void closeScan();
    void enterDownloading();
    void fetchRange();
    void verify();
    void finish();
    void fail(NETWORK_ERROR_CODE code);
    void stop();
    void setStage(Stage stage);
    void addDoneBytes(quint64 bytes);
    bool writeChunk(const char *data, qint64 count);
    bool shouldStop() const;
    void reportProgress(int percent);
    void reportTransferProgress();

    const QString m_downloadsFolder;
    HttpDownloader *m_downloader;
    QVector<Entry> m_entries;
    int m_current = 0;
    Stage m_stage = Idle;
    quint64 m_doneBytes = 0;
    quint64 m_totalBytes = 0;
    vktcommon::ProgressListener *m_progressListener = nullptr;
    vktcommon::ContinueListener *m_continueListener = nullptr;
    // The partial file being read and written, its scan and the digest of the file it becomes.
    QFile m_partialFile;
    std::unique_ptr<BackgroundSha1> m_wholeFile;
    std::unique_ptr<PartialFileScan> m_scan;
    DownloadFiles::ByteRange m_range;
    quint64 m_keptBytes = 0; // of the scan, counted into doneBytes
    quint64 m_partialBytes = 0; // of all partial files, and of those read through, for the checking progress
    quint64 m_checkedBytes = 0;
    bool m_writeFailed = false;
    int m_retryCount = 0;
    // Guards stage, doneBytes, totalBytes and the current entry against the status query.
    mutable QMutex m_mutex;
};
