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

namespace vktcommon {
class ContinueListener;
class ProgressListener;
}

class HttpDownloader;

// Brings a list of files into the downloads folder: finds which chunks of each partial file are
// missing or damaged, fetches only those ranges, verifies every file as a whole and gives it its
// final name. The end comes by exactly one of the downloadComplete signals.
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
        QVector<DownloadFiles::ByteRange> ranges;
        bool complete = false; // decided once per pass, and when verified
    };

    // Gives every entry a partial file that is neither another entry's partial file nor any final file.
    void assignPartialFiles();
    void processChunks();
    NETWORK_ERROR_CODE prepareFiles(quint64 &partialBytes);
    NETWORK_ERROR_CODE computeAllRanges(quint64 partialBytes, bool &anyIncomplete);
    void fetchCurrentRange();
    void rangeFinished();
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
    QFile m_partialFile;
    int m_rangeIndex = 0;
    bool m_writeFailed = false;
    int m_retryCount = 0;
    // Guards stage, doneBytes, totalBytes and the current entry against the status query.
    mutable QMutex m_mutex;
};
