#include "downloadresumethreadedtask.h"

#include "updatedownloader.h"

#include <QDir>
#include <QMetaMethod>
#include <QMutexLocker>
#include <QSettings>

namespace {

// The downloads folder of the user's settings: the stored folder, or "VKT/downloads" in the home folder.
QString settingsDownloadsFolder()
{
    const QString stored = QSettings().value(QStringLiteral("downloadsDirectory")).toString();
    if (!stored.isEmpty())
        return stored;
    return QDir(QDir::homePath()).filePath(QStringLiteral("VKT/downloads"));
}

} // namespace

DownloadResumeThreadedTask::DownloadResumeThreadedTask(QObject *parent)
    : QThread(parent)
{
}

DownloadResumeThreadedTask::~DownloadResumeThreadedTask()
{
    wait();
}

void DownloadResumeThreadedTask::setup(const QList<PackageFile> &fileRecords, const QString &language,
                                       vktcommon::ProgressListener *progressListener,
                                       vktcommon::ContinueListener *continueListener)
{
    m_fileRecords = fileRecords;
    m_language = language;
    m_progressListener = progressListener;
    m_continueListener = continueListener;
}

void DownloadResumeThreadedTask::setServerBaseUrl(const QString &baseUrl)
{
    m_serverBaseUrl = baseUrl;
}

void DownloadResumeThreadedTask::setDownloadsFolder(const QString &folder)
{
    m_downloadsFolder = folder;
}

bool DownloadResumeThreadedTask::getStatus(TransferStatusInfo &info, int &stage)
{
    QMutexLocker locker(&m_downloaderMutex);
    if (m_downloader == nullptr)
        return false;
    m_downloader->getStatus(info, stage);
    return true;
}

void DownloadResumeThreadedTask::_proxyAuthenticationRequired(const QNetworkProxy &_proxy,
                                                              QAuthenticator *_pAuthenticator)
{
    // Nobody to ask (the command-line tool): the login stays empty and the request fails at once
    // instead of waiting for an answer that never comes.
    if (!isSignalConnected(QMetaMethod::fromSignal(&DownloadResumeThreadedTask::proxyAuthenticationRequired)))
        return;
    // The GUI thread can lock the mutex only once this thread waits, so the wake-up cannot be missed.
    QMutex mutex;
    QWaitCondition waitCondition;
    QMutexLocker locker(&mutex);
    Q_EMIT proxyAuthenticationRequired(_proxy, _pAuthenticator, &waitCondition, &mutex);
    waitCondition.wait(&mutex);
}

void DownloadResumeThreadedTask::run()
{
    const QString folder = m_downloadsFolder.isEmpty() ? settingsDownloadsFolder() : m_downloadsFolder;
    auto *downloader = new UpdateDownloader(folder, m_serverBaseUrl);
    {
        QMutexLocker locker(&m_downloaderMutex);
        m_downloader = downloader;
    }

    using Downloader = UpdateDownloader;
    using Task = DownloadResumeThreadedTask;
    connect(downloader, qOverload<QString>(&Downloader::downloadComplete), this,
            qOverload<QString>(&Task::downloadComplete));
    connect(downloader, qOverload<NETWORK_ERROR_CODE>(&Downloader::downloadComplete), this,
            qOverload<NETWORK_ERROR_CODE>(&Task::downloadComplete));
    connect(downloader, &Downloader::chunkDownloadStarted, this, &Task::chunkDownloadStarted);
    connect(downloader, &Downloader::chunksProcessingStarted, this, &Task::chunksProcessingStarted);
    connect(downloader, &Downloader::updateDownloadStarted, this, &Task::updateDownloadStarted);
    connect(downloader, &Downloader::updateVerificationStarted, this, &Task::updateVerificationStarted);
    connect(downloader, &Downloader::downloadStatusUpdate, this, &Task::downloadStatusUpdate);
    // quit() is safe from any thread; called directly it ends the loop without a trip through the GUI thread.
    connect(downloader, qOverload<QString>(&Downloader::downloadComplete), this, &QThread::quit,
            Qt::DirectConnection);
    connect(downloader, qOverload<NETWORK_ERROR_CODE>(&Downloader::downloadComplete), this, &QThread::quit,
            Qt::DirectConnection);
    connect(downloader, &Downloader::proxyAuthenticationRequired, this, &Task::_proxyAuthenticationRequired,
            Qt::DirectConnection);

    downloader->start(m_fileRecords, m_language, m_progressListener, m_continueListener);
    exec();

    {
        QMutexLocker locker(&m_downloaderMutex);
        m_downloader = nullptr;
    }
    delete downloader;
}
