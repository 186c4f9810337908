#include "networkservices.h"

#include "downloadresumethreadedtask.h"
#include "informationclient.h"

#include <QCoreApplication>
#include <QMutexLocker>

NetworkServices::NetworkServices(SettingsSource settings, std::unique_ptr<ProxyLoginPrompt> login, QObject *parent)
    : AbstractNetworkServices(parent),
      m_settings(std::move(settings)),
      m_client(new InformationClient(this)),
      m_login(std::move(login))
{
    using C = InformationClient;
    connect(m_client, qOverload<SERVER_REPLY_STATUS_CODE, QString>(&C::getUpdateInfoComplete), this,
            qOverload<SERVER_REPLY_STATUS_CODE, QString>(&NetworkServices::_updateCheckFinished), Qt::QueuedConnection);
    connect(m_client, qOverload<QString>(&C::getUpdateInfoComplete), this,
            qOverload<QString>(&NetworkServices::_updateCheckFinished), Qt::QueuedConnection);
    connect(m_client, qOverload<NETWORK_ERROR_CODE>(&C::getUpdateInfoComplete), this,
            qOverload<NETWORK_ERROR_CODE>(&NetworkServices::_updateCheckFinished), Qt::QueuedConnection);
    connect(m_client, qOverload<ProductInfo>(&C::getUpdateInfoComplete), this,
            qOverload<ProductInfo>(&NetworkServices::updateFound), Qt::QueuedConnection);
    connect(m_client, qOverload<QList<ProductInfo>>(&C::getUpdateInfoComplete), this,
            qOverload<QList<ProductInfo>>(&NetworkServices::updateFound), Qt::QueuedConnection);
    connect(m_client, qOverload<QList<MapInfo>>(&C::getUpdateInfoComplete), this,
            qOverload<QList<MapInfo>>(&NetworkServices::updateFound), Qt::QueuedConnection);
    connect(m_client, &C::proxyAuthenticationRequired, this,
            qOverload<const QNetworkProxy &, QAuthenticator *>(&NetworkServices::_proxyAuthenticationRequired),
            Qt::DirectConnection);

    setProxyCredentials(QString(), QString());
}

NetworkServices::~NetworkServices()
{
    // The download thread calls back into this object: it has to end before this object does.
    m_mayContinue = false;
    if (m_downloadTask) {
        // A login request the thread waits on is answered (without a dialog, the download being cancelled).
        while (!m_downloadTask->wait(20))
            QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
        delete m_downloadTask;
    }
}

void NetworkServices::setServerBaseUrl(const QString &baseUrl)
{
    m_serverBaseUrl = baseUrl;
    m_client->setBaseUrl(baseUrl);
}

void NetworkServices::setProxyCredentials(const QString &_strUser, const QString &_strPassword)
{
    const NetworkSettings settings = m_settings();
    if (!settings.useProxy) {
        QNetworkProxy::setApplicationProxy(QNetworkProxy());
        return;
    }
    QNetworkProxy proxy(QNetworkProxy::HttpProxy, settings.proxyAddress, settings.proxyPort.toUShort());
    if (!_strUser.isEmpty()) {
        proxy.setUser(_strUser);
        proxy.setPassword(_strPassword);
    }
    QNetworkProxy::setApplicationProxy(proxy);
}

void NetworkServices::checkSelfUpdate()
{
    startOperation();
    m_addHint = true;
    m_client->requestSelfUpdateInfo(m_settings().language, this);
}

void NetworkServices::checkNavigatorUpdate(const DeviceInfo &_device, const KorwindExeInfo &_installation,
                                           const QString &_strReport)
{
    startOperation();
    m_client->requestProductsInfo(_device.kind, _installation.version, _installation.deviceName,
                                  _installation.checksum, _strReport, m_settings().language, this);
}

void NetworkServices::checkMapUpdates(const DottedVersion &_navigatorVersion)
{
    startOperation();
    m_client->requestMapsInfo(_navigatorVersion, m_settings().language, this);
}

void NetworkServices::startDownload(const QList<PackageFile> &_files)
{
    startOperation();
    using T = DownloadResumeThreadedTask;
    auto *task = new DownloadResumeThreadedTask(this);
    connect(task, qOverload<QString>(&T::downloadComplete), this, qOverload<QString>(&NetworkServices::taskFinished),
            Qt::QueuedConnection);
    connect(task, qOverload<NETWORK_ERROR_CODE>(&T::downloadComplete), this,
            qOverload<NETWORK_ERROR_CODE>(&NetworkServices::_taskFinished), Qt::QueuedConnection);
    connect(task, &T::chunkDownloadStarted, this, &NetworkServices::chunkDownloadStarted, Qt::QueuedConnection);
    connect(task, &T::chunksProcessingStarted, this, &NetworkServices::chunksProcessingStarted, Qt::QueuedConnection);
    connect(task, &T::updateDownloadStarted, this, &NetworkServices::updateDownloadStarted, Qt::QueuedConnection);
    connect(task, &T::updateVerificationStarted, this, &NetworkServices::updateVerificationStarted,
            Qt::QueuedConnection);
    connect(task, &T::downloadStatusUpdate, this, &NetworkServices::downloadStatusUpdate);
    connect(task, &QThread::finished, this, &NetworkServices::_downloadThreadFinished);
    connect(task, &T::proxyAuthenticationRequired, this,
            qOverload<const QNetworkProxy &, QAuthenticator *, QWaitCondition *, QMutex *>(
                &NetworkServices::_proxyAuthenticationRequired));

    const NetworkSettings settings = m_settings();
    if (!m_serverBaseUrl.isEmpty())
        task->setServerBaseUrl(m_serverBaseUrl);
    task->setDownloadsFolder(settings.downloadsFolder);
    task->setup(_files, settings.language, this, this);
    m_downloadTask = task;
    task->start(QThread::InheritPriority);

    if (!m_statusTimer.isActive()) {
        connect(&m_statusTimer, &QTimer::timeout, this, &NetworkServices::_timerTimeout, Qt::UniqueConnection);
        m_statusTimer.start(1000);
    }
}

void NetworkServices::setProgress(int percent)
{
    Q_EMIT showProgress(percent);
}

bool NetworkServices::shouldContinue()
{
    return m_mayContinue;
}

void NetworkServices::cancelNetworkOperation()
{
    m_mayContinue = false;
}

QString NetworkServices::errorText(NETWORK_ERROR_CODE code)
{
    switch (code) {
    case NEC_CANNOT_CREATE_FILE:
    case NEC_CANNOT_OPEN_FILE:
    case NEC_CANNOT_RENAME:
        return tr("Korwin Navigator update center can't create files on your system.");
    case NEC_CANNOT_WRITE:
        return tr("Can't write output, check free space.");
    case NEC_CANCELLED:
        return tr("Operation cancelled by user.");
    case NEC_DOWNLOAD_ERROR:
        return tr("Download error.");
    case NEC_CONNECTION_ERROR:
        return tr("Error connection to download updates.");
    case NEC_CONTENT_ERROR:
        return tr("Server content error. Try update later.");
    default:
        return QString();
    }
}

QString NetworkServices::connectionHint()
{
    return tr("<br>You need to check your network connection or connection <a href=\"")
           + QStringLiteral("show settings") + tr("\" style=\"color:black\">settings</a> in order to continue updating.");
}

void NetworkServices::_updateCheckFinished(NETWORK_ERROR_CODE _nErrorCode)
{
    finishCheckWithText(errorText(_nErrorCode));
}

void NetworkServices::_updateCheckFinished(SERVER_REPLY_STATUS_CODE _nStatus, QString _strMessage)
{
    m_addHint = false;
    UpdateCheckError result;
    result.code = _nStatus;
    result.message = _strMessage;
    Q_EMIT taskFinished(result);
}

void NetworkServices::_updateCheckFinished(QString _strError)
{
    finishCheckWithText(_strError);
}

void NetworkServices::_taskFinished(NETWORK_ERROR_CODE _nErrorCode)
{
    m_statusTimer.stop();
    m_addHint = false;
    // An empty text would read as success; a code without a text of its own is a failed download all the same.
    const QString text = errorText(_nErrorCode);
    Q_EMIT taskFinished(text.isEmpty() ? errorText(NEC_DOWNLOAD_ERROR) : text);
}

void NetworkServices::_timerTimeout()
{
    if (!m_statusTimer.isActive() || !m_downloadTask || !m_downloadTask->isRunning())
        return;
    TransferStatusInfo info;
    int stage = 0;
    if (m_downloadTask->getStatus(info, stage) && stage == 2)
        Q_EMIT downloadStatusUpdate(info);
}

void NetworkServices::_downloadThreadFinished()
{
    QObject *task = sender();
    // An older task may finish after a new download has started; the timer belongs to the new one.
    if (task == m_downloadTask) {
        m_statusTimer.stop();
        m_downloadTask = nullptr;
    }
    task->deleteLater();
}

void NetworkServices::_proxyAuthenticationRequired(const QNetworkProxy &_proxy, QAuthenticator *_pAuthenticator)
{
    QString user;
    QString password;
    if (!m_login || !m_login->askCredentials(user, password))
        return;
    _pAuthenticator->setUser(user);
    _pAuthenticator->setPassword(password);
    setProxyCredentials(user, password);
}

void NetworkServices::_proxyAuthenticationRequired(const QNetworkProxy &_proxy, QAuthenticator *_pAuthenticator,
                                                   QWaitCondition *_pWaitCondition, QMutex *_pMutex)
{
    // The lock succeeds only once the download thread waits, so the wake-up below cannot be missed.
    QMutexLocker locker(_pMutex);
    if (m_mayContinue)
        _proxyAuthenticationRequired(_proxy, _pAuthenticator);
    _pWaitCondition->wakeAll();
}

void NetworkServices::startOperation()
{
    m_mayContinue = true;
}

void NetworkServices::finishCheckWithText(const QString &text)
{
    UpdateCheckError result;
    result.detail = text;
    if (m_addHint && !text.isEmpty())
        result.detail += connectionHint();
    m_addHint = false;
    Q_EMIT taskFinished(result);
}
