#pragma once

#include "enums.h"
#include "packagefile.h"
#include "transferstatusinfo.h"

#include <QAuthenticator>
#include <QByteArray>
#include <QList>
#include <QNetworkProxy>
#include <QObject>
#include <QString>
#include <QVector>

namespace vktcommon {
class ContinueListener;
class ProgressListener;
}

class DownloadManager;
class InformationClient;

// Asks the server for the chunk digests of every file that is not complete yet, then lets the
// download manager fetch and verify them. The end comes by exactly one of the downloadComplete signals.
class UpdateDownloader : public QObject
{
    Q_OBJECT

public:
    // serverBaseUrl: where the chunk digests are asked for; empty for the build's address.
    UpdateDownloader(const QString &downloadsFolder, const QString &serverBaseUrl, QObject *parent = nullptr);
    ~UpdateDownloader() override;

    void start(const QList<PackageFile> &fileRecords, const QString &language,
               vktcommon::ProgressListener *progressListener, vktcommon::ContinueListener *continueListener);
    // May be asked from another thread.
    void getStatus(TransferStatusInfo &info, int &stage) const;

Q_SIGNALS:
    void downloadComplete(QString _strError);
    void downloadComplete(NETWORK_ERROR_CODE _nErrorCode);
    void chunkDownloadStarted();
    void chunksProcessingStarted();
    void updateDownloadStarted();
    void updateVerificationStarted();
    void chunkInfoDownloaded(QVector<QByteArray> _chunkDigests, quint64 _nChunkSize);
    void downloadStatusUpdate(TransferStatusInfo _statusInfo);
    void proxyAuthenticationRequired(const QNetworkProxy &_proxy, QAuthenticator *_pAuthenticator);

public Q_SLOTS:
    void _chunkInfoDownloaded(QVector<QByteArray> _chunkDigests, quint64 _nChunkSize);

private Q_SLOTS:
    void _chunkInfoRefused(SERVER_REPLY_STATUS_CODE _nStatus, QString _strMessage);

private:
    void requestCurrentChunkInfo();

    InformationClient *m_informationClient;
    DownloadManager *m_downloadManager;
    QList<PackageFile> m_fileRecords;
    int m_current = 0;
    QString m_language;
    vktcommon::ProgressListener *m_progressListener = nullptr;
    vktcommon::ContinueListener *m_continueListener = nullptr;
};
