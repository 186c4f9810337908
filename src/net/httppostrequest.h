#pragma once

#include "enums.h"

#include <QAuthenticator>
#include <QByteArray>
#include <QNetworkProxy>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

class HTTPPostRequestData;
class QNetworkAccessManager;
class QNetworkReply;

namespace vktcommon {
class ContinueListener;
}

// One form POST to the update server at a time, with redirects, cancellation and proxy refusals.
// The result comes only by the requestComplete signals.
class HttpPostRequest : public QObject
{
    Q_OBJECT

public:
    static constexpr unsigned maxRedirects = 5;

    explicit HttpPostRequest(QObject *parent = nullptr);

    // Starts a new request chain; a chain still under way is dropped without a signal. The data is
    // borrowed and must live until the chain has ended (redirects post it again, newly signed).
    void post(HTTPPostRequestData *data, const QUrl &url, vktcommon::ContinueListener *listener);

    QString errorText() const { return m_errorText; }

Q_SIGNALS:
    // The body and an error text; an empty text means success.
    void requestComplete(QByteArray _baResponse, QString _strError);
    // Cancelled (5), or the request could not be made or redirected too often (8).
    void requestComplete(NETWORK_ERROR_CODE _nErrorCode);
    void proxyAuthenticationRequired(const QNetworkProxy &_proxy, QAuthenticator *_pAuthenticator);

private Q_SLOTS:
    void _replyFinished(QNetworkReply *_pReply);
    void _readyRead();
    void _timerTimeout();

private:
    void send(const QUrl &url);
    void replaceManager();
    QString _makeErrorString(const QNetworkReply *reply) const;

    QNetworkAccessManager *m_manager = nullptr;
    QNetworkReply *m_reply = nullptr;
    HTTPPostRequestData *m_data = nullptr;
    vktcommon::ContinueListener *m_listener = nullptr;
    QUrl m_url;
    QByteArray m_responseData;
    QString m_errorText;
    unsigned m_redirectCount = 0;
    // A stalled server sends nothing, so cancellation is also looked for on a timer.
    QTimer m_cancelTimer;
};
