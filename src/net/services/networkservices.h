#pragma once

#include "abstractnetworkservices.h"
#include "networksettings.h"
#include "proxyloginprompt.h"
#include "enums.h"
#include "listeners.h"

#include <QAuthenticator>
#include <QMutex>
#include <QNetworkProxy>
#include <QTimer>
#include <QWaitCondition>

#include <atomic>
#include <functional>
#include <memory>

class DownloadResumeThreadedTask;
class InformationClient;

// The programs' door to the update server: update checks, device reports and downloads, their
// cancellation and error texts, and the application-wide proxy with its login prompt.
class NetworkServices final : public AbstractNetworkServices,
                              public vktcommon::ProgressListener,
                              public vktcommon::ContinueListener
{
    Q_OBJECT

public:
    using SettingsSource = std::function<NetworkSettings()>;

    // settings is asked afresh before every operation and whenever the proxy is configured. Without a
    // login prompt a proxy that asks for credentials is refused.
    explicit NetworkServices(SettingsSource settings, std::unique_ptr<ProxyLoginPrompt> login = nullptr,
                             QObject *parent = nullptr);
    ~NetworkServices() override;

    // The server questions and chunk digests go to: the build's address unless changed (tests do).
    void setServerBaseUrl(const QString &baseUrl);

    void setProxyCredentials(const QString &_strUser, const QString &_strPassword) override;
    void checkSelfUpdate() override;
    void checkNavigatorUpdate(const DeviceInfo &_device, const KorwindExeInfo &_installation,
                              const QString &_strReport) override;
    void checkMapUpdates(const DottedVersion &_navigatorVersion) override;
    void startDownload(const QList<PackageFile> &_files) override;

    void setProgress(int percent) override;
    bool shouldContinue() override;

    // The user-visible text of a network error code; empty for codes that have none.
    static QString errorText(NETWORK_ERROR_CODE code);
    // Appended to the error of a failed self-update check; its link opens the connection settings.
    static QString connectionHint();

public Q_SLOTS:
    void cancelNetworkOperation() override;

private Q_SLOTS:
    void _updateCheckFinished(NETWORK_ERROR_CODE _nErrorCode);
    void _updateCheckFinished(SERVER_REPLY_STATUS_CODE _nStatus, QString _strMessage);
    void _updateCheckFinished(QString _strError);
    void _taskFinished(NETWORK_ERROR_CODE _nErrorCode);
    void _timerTimeout();
    void _downloadThreadFinished();
    void _proxyAuthenticationRequired(const QNetworkProxy &_proxy, QAuthenticator *_pAuthenticator);
    void _proxyAuthenticationRequired(const QNetworkProxy &_proxy, QAuthenticator *_pAuthenticator,
                                      QWaitCondition *_pWaitCondition, QMutex *_pMutex);

private:
    void startOperation();
    void finishCheckWithText(const QString &text);

    SettingsSource m_settings;
    InformationClient *m_client;
    QString m_serverBaseUrl;
    // Written only on this thread; the download thread only reads it.
    std::atomic_bool m_mayContinue{true};
    bool m_addHint = false;
    QTimer m_statusTimer;
    DownloadResumeThreadedTask *m_downloadTask = nullptr;
    std::unique_ptr<ProxyLoginPrompt> m_login;
};
