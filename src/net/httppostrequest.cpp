#include "httppostrequest.h"

#include "httppostrequestdata.h"
#include "listeners.h"
#include "networkerrortext.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {

constexpr int cancelCheckIntervalMs = 1000;
constexpr qint64 readPieceSize = 8192;

} // namespace

HttpPostRequest::HttpPostRequest(QObject *parent) : QObject(parent)
{
    m_cancelTimer.setInterval(cancelCheckIntervalMs);
    connect(&m_cancelTimer, &QTimer::timeout, this, &HttpPostRequest::_timerTimeout);
    replaceManager();
}

void HttpPostRequest::post(HTTPPostRequestData *data, const QUrl &url, vktcommon::ContinueListener *listener)
{
    if (m_reply) {
        QNetworkReply *abandoned = m_reply;
        m_reply = nullptr;
        abandoned->disconnect(this);
        abandoned->abort();
    }
    m_redirectCount = 0;
    m_data = data;
    m_listener = listener;
    send(url);
}

void HttpPostRequest::send(const QUrl &url)
{
    m_responseData.clear();
    m_errorText.clear();
    m_url = url;

    QNetworkRequest request(url);
    request.setRawHeader("Accept", "*/*");
    request.setRawHeader("Content-Type", "application/x-www-form-urlencoded");
    // Redirects are followed here, re-posting the form with a new signature.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);

    m_reply = m_manager->post(request, m_data->toByteArray());
    if (!m_reply) {
        m_listener = nullptr;
        emit requestComplete(NEC_CONNECTION_ERROR);
        return;
    }
    connect(m_reply, &QNetworkReply::readyRead, this, &HttpPostRequest::_readyRead);
    connect(m_manager, &QNetworkAccessManager::finished, this, &HttpPostRequest::_replyFinished,
            Qt::UniqueConnection);
    m_cancelTimer.start();
}

void HttpPostRequest::_timerTimeout()
{
    if (m_reply && m_listener && !m_listener->shouldContinue())
        m_reply->abort();
}

void HttpPostRequest::_readyRead()
{
    QNetworkReply *reply = m_reply;
    if (!reply)
        return;
    if (m_listener && !m_listener->shouldContinue()) {
        reply->abort();
        return;
    }
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && status.toInt() != 200 && status.toInt() != 206) {
        if (status.toInt() == 407 && reply->manager() == m_manager)
            replaceManager();
        reply->readAll();
        return;
    }
    while (reply->bytesAvailable() > 0)
        m_responseData += reply->read(readPieceSize);
}

void HttpPostRequest::_replyFinished(QNetworkReply *_pReply)
{
    _pReply->deleteLater();
    if (_pReply != m_reply)
        return; // dropped by a newer chain
    m_reply = nullptr;
    m_cancelTimer.stop();

    if (m_listener && !m_listener->shouldContinue()) {
        m_listener = nullptr;
        m_redirectCount = 0;
        emit requestComplete(NEC_CANCELLED);
        return;
    }

    bool redirectRefused = false;
    if (_pReply->error() != QNetworkReply::NoError) {
        m_errorText = _makeErrorString(_pReply);
    } else {
        const QUrl target = _pReply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
        const QUrl resolved = m_url.resolved(target);
        if (target.isValid() && resolved != m_url) {
            if (m_redirectCount < maxRedirects) {
                ++m_redirectCount;
                send(resolved);
                return;
            }
            redirectRefused = true;
        }
    }

    m_listener = nullptr;
    m_redirectCount = 0;
    if (redirectRefused)
        emit requestComplete(NEC_CONNECTION_ERROR);
    else
        emit requestComplete(m_responseData, m_errorText);
}

void HttpPostRequest::replaceManager()
{
    // A proxy's refusal stays cached in the access manager; a fresh one asks for credentials again.
    QNetworkAccessManager *previous = m_manager;
    m_manager = new QNetworkAccessManager(this);
    connect(m_manager, &QNetworkAccessManager::proxyAuthenticationRequired, this,
            &HttpPostRequest::proxyAuthenticationRequired);
    // The reply in flight belongs to the old manager, which goes once that reply is gone.
    if (previous)
        connect(m_reply, &QObject::destroyed, previous, &QObject::deleteLater);
}

QString HttpPostRequest::_makeErrorString(const QNetworkReply *reply) const
{
    return networkErrorText(reply);
}
