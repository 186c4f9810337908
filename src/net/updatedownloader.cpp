#include "updatedownloader.h"

#include "downloadmanager.h"
#include "informationclient.h"

UpdateDownloader::UpdateDownloader(const QString &downloadsFolder, const QString &serverBaseUrl, QObject *parent)
    : QObject(parent),
      m_informationClient(new InformationClient(this)),
      m_downloadManager(new DownloadManager(downloadsFolder, this))
{
    if (!serverBaseUrl.isEmpty())
        m_informationClient->setBaseUrl(serverBaseUrl);

    using Client = InformationClient;
    connect(m_informationClient, qOverload<QVector<QByteArray>, quint64>(&Client::getUpdateInfoComplete), this,
            &UpdateDownloader::chunkInfoDownloaded);
    connect(this, &UpdateDownloader::chunkInfoDownloaded, this, &UpdateDownloader::_chunkInfoDownloaded,
            Qt::QueuedConnection);
    connect(m_informationClient, qOverload<SERVER_REPLY_STATUS_CODE, QString>(&Client::getUpdateInfoComplete), this,
            &UpdateDownloader::_chunkInfoRefused);
    connect(m_informationClient, qOverload<QString>(&Client::getUpdateInfoComplete), this,
            qOverload<QString>(&UpdateDownloader::downloadComplete));
    connect(m_informationClient, qOverload<NETWORK_ERROR_CODE>(&Client::getUpdateInfoComplete), this,
            qOverload<NETWORK_ERROR_CODE>(&UpdateDownloader::downloadComplete));
    connect(m_informationClient, &Client::proxyAuthenticationRequired, this,
            &UpdateDownloader::proxyAuthenticationRequired);

    using Manager = DownloadManager;
    connect(m_downloadManager, &Manager::chunksProcessingStarted, this, &UpdateDownloader::chunksProcessingStarted);
    connect(m_downloadManager, &Manager::updateDownloadStarted, this, &UpdateDownloader::updateDownloadStarted);
    connect(m_downloadManager, &Manager::updateVerificationStarted, this,
            &UpdateDownloader::updateVerificationStarted);
    connect(m_downloadManager, qOverload<QString>(&Manager::downloadComplete), this,
            qOverload<QString>(&UpdateDownloader::downloadComplete));
    connect(m_downloadManager, qOverload<NETWORK_ERROR_CODE>(&Manager::downloadComplete), this,
            qOverload<NETWORK_ERROR_CODE>(&UpdateDownloader::downloadComplete));
    connect(m_downloadManager, &Manager::downloadStatusUpdate, this, &UpdateDownloader::downloadStatusUpdate);
    connect(m_downloadManager, &Manager::proxyAuthenticationRequired, this,
            &UpdateDownloader::proxyAuthenticationRequired);
}

UpdateDownloader::~UpdateDownloader() = default;

void UpdateDownloader::start(const QList<PackageFile> &fileRecords, const QString &language,
                             vktcommon::ProgressListener *progressListener,
                             vktcommon::ContinueListener *continueListener)
{
    emit chunkDownloadStarted();
    m_downloadManager->reset();
    m_language = language;
    m_progressListener = progressListener;
    m_continueListener = continueListener;
    m_fileRecords = fileRecords;
    m_current = 0;
    if (m_fileRecords.isEmpty())
        m_downloadManager->start(m_progressListener, m_continueListener);
    else
        requestCurrentChunkInfo();
}

void UpdateDownloader::getStatus(TransferStatusInfo &info, int &stage) const
{
    m_downloadManager->getStatus(info, stage);
}

void UpdateDownloader::requestCurrentChunkInfo()
{
    const PackageFile &record = m_fileRecords.at(m_current);
    if (m_downloadManager->isComplete(record))
        emit chunkInfoDownloaded(QVector<QByteArray>(), 0);
    else
        m_informationClient->requestFileInfo(record.extraText, m_language, m_continueListener);
}

void UpdateDownloader::_chunkInfoDownloaded(QVector<QByteArray> _chunkDigests, quint64 _nChunkSize)
{
    if (!m_downloadManager->addFile(m_fileRecords.at(m_current), _chunkDigests, _nChunkSize))
        return;
    ++m_current;
    if (m_current < m_fileRecords.size())
        requestCurrentChunkInfo();
    else
        m_downloadManager->start(m_progressListener, m_continueListener);
}

void UpdateDownloader::_chunkInfoRefused(SERVER_REPLY_STATUS_CODE, QString)
{
    // The server would not describe the file; waiting would never end, so the download fails.
    emit downloadComplete(NEC_CONTENT_ERROR);
}
