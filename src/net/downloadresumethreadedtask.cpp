#include "downloadresumethreadedtask.h"

#include <QMutexLocker>

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

bool DownloadResumeThreadedTask::getStatus(TransferStatusInfo &info, int &stage)
{
    QMutexLocker locker(&m_downloaderMutex);
    if (m_downloader == nullptr)
        return false;
    info = TransferStatusInfo();
    stage = 0;
    return true;
}

void DownloadResumeThreadedTask::_proxyAuthenticationRequired(const QNetworkProxy &_proxy,
                                                              QAuthenticator *_pAuthenticator)
{
    // The GUI thread can lock the mutex only once this thread waits, so the wake-up cannot be missed.
    QMutex mutex;
    QWaitCondition waitCondition;
    QMutexLocker locker(&mutex);
    Q_EMIT proxyAuthenticationRequired(_proxy, _pAuthenticator, &waitCondition, &mutex);
    waitCondition.wait(&mutex);
}

void DownloadResumeThreadedTask::run()
{
    // The update downloader is not part of this build yet: the download ends as a failed download.
    Q_EMIT chunkDownloadStarted();
    Q_EMIT downloadComplete(NEC_DOWNLOAD_ERROR);
}
