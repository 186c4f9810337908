#pragma once

#include "enums.h"
#include "packagefile.h"
#include "transferstatusinfo.h"

#include <QAuthenticator>
#include <QList>
#include <QMutex>
#include <QNetworkProxy>
#include <QString>
#include <QThread>
#include <QWaitCondition>

namespace vktcommon {
class ContinueListener;
class ProgressListener;
}

class UpdateDownloader;

// The download thread: hosts the update downloader and its helpers for one download of package
// files, forwards their signals and lets the GUI thread answer a proxy login while the thread waits.
class DownloadResumeThreadedTask : public QThread
{
    Q_OBJECT

public:
    explicit DownloadResumeThreadedTask(QObject *parent = nullptr);
    ~DownloadResumeThreadedTask() override;

    // Call before start(); the listeners must outlive the thread.
    void setup(const QList<PackageFile> &fileRecords, const QString &language,
               vktcommon::ProgressListener *progressListener, vktcommon::ContinueListener *continueListener);
    // The server asked for chunk digests: the build's address unless changed (tests do). Before start().
    void setServerBaseUrl(const QString &baseUrl);
    // The folder the files go to; unless set, the "downloadsDirectory" setting or its default. Before start().
    void setDownloadsFolder(const QString &folder);

    // False while no downloader exists; otherwise the transfer status and the stage (0..3).
    bool getStatus(TransferStatusInfo &info, int &stage);

Q_SIGNALS:
    void downloadComplete(QString _strError);
    void downloadComplete(NETWORK_ERROR_CODE _nErrorCode);
    void chunkDownloadStarted();
    void chunksProcessingStarted();
    void updateDownloadStarted();
    void updateVerificationStarted();
    void downloadStatusUpdate(TransferStatusInfo _statusInfo);
    void proxyAuthenticationRequired(const QNetworkProxy &_proxy, QAuthenticator *_pAuthenticator,
                                     QWaitCondition *_pWaitCondition, QMutex *_pMutex);

private Q_SLOTS:
    // Called directly on the download thread; blocks until the GUI thread has answered, and answers with
    // no login at once when nothing is connected to ask the user.
    void _proxyAuthenticationRequired(const QNetworkProxy &_proxy, QAuthenticator *_pAuthenticator);

protected:
    void run() override;

private:
    QList<PackageFile> m_fileRecords;
    QString m_language;
    QString m_serverBaseUrl;
    QString m_downloadsFolder;
    vktcommon::ProgressListener *m_progressListener = nullptr;
    vktcommon::ContinueListener *m_continueListener = nullptr;
    QMutex m_downloaderMutex;
    UpdateDownloader *m_downloader = nullptr;
};
