#include "httpdownloader.h"

#include "listeners.h"
#include "networkreply.h"

#include <QMutexLocker>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <utility>

namespace {

constexpr qint64 readPieceSize = 8192;
// Keeps the access manager from buffering far ahead of the disk.
constexpr qint64 replyReadBufferSize = 1048576;

// The first byte of a "Content-Range: bytes A-B/N" header, -1 when there is none.
qint64 contentRangeStart(const QByteArray &header)
{
    const QByteArray prefix("bytes ");
    if (!header.startsWith(prefix))
        return -1;
    const qsizetype dash = header.indexOf('-', prefix.size());
    bool ok = false;
    const qint64 start = header.mid(prefix.size(), dash - prefix.size()).trimmed().toLongLong(&ok);
    return ok && dash > 0 ? start : -1;
}

} // namespace

HttpDownloader::HttpDownloader(QObject *parent) : QObject(parent)
{
    m_cancelTimer.setInterval(cancelCheckIntervalMs);
    connect(&m_cancelTimer, &QTimer::timeout, this, &HttpDownloader::_timerTimeout);
    replaceManager();
}

void HttpDownloader::download(const QUrl &url, quint64 chunkSize, qint64 firstByte, qint64 lastByte,
                              vktcommon::ContinueListener *continueListener)
{
    if (m_reply) {
        QNetworkReply *abandoned = m_reply;
        m_reply = nullptr;
        abandoned->disconnect(this);
        abandoned->abort();
    }
    m_listener = continueListener;
    m_firstByte = firstByte;
    m_lastByte = lastByte;
    const quint64 bufferSize = chunkSize == 0 ? maxChunkBufferSize : qMin(chunkSize, maxChunkBufferSize);
    m_buffer.resize(qsizetype(bufferSize));
    m_bufferCount = 0;
    m_delivered = 0;
    m_redirectCount = 0;
    send(url);
}

void HttpDownloader::send(const QUrl &url)
{
    m_url = url;
    m_bodyOffset = -1;
    m_badAnswer = false;

    QNetworkRequest request(url);
    request.setRawHeader("Accept", "*/*");
    request.setRawHeader("Range", QByteArray("bytes=") + QByteArray::number(m_firstByte) + '-'
                                      + QByteArray::number(m_lastByte));
    // Redirects are counted and followed here, with the same range.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);

    m_reply = m_manager->get(request);
    if (!m_reply) {
        emit downloadComplete(NEC_CONNECTION_ERROR);
        return;
    }
    m_reply->setReadBufferSize(replyReadBufferSize);
    connect(m_reply, &QNetworkReply::readyRead, this, &HttpDownloader::_readyRead, Qt::UniqueConnection);
    if (!m_cancelTimer.isActive())
        m_cancelTimer.start();
}

void HttpDownloader::stop()
{
    m_cancelTimer.stop();
    if (m_reply && !m_reply->isFinished())
        m_reply->abort();
}

qint32 HttpDownloader::speed() const
{
    QMutexLocker locker(&m_meterMutex);
    return m_speedMeter.speed();
}

qint32 HttpDownloader::timeLeft(quint64 remainingBytes) const
{
    QMutexLocker locker(&m_meterMutex);
    return m_timeLeftMeter.timeLeft(remainingBytes);
}

bool HttpDownloader::shouldStop() const
{
    return m_listener && !m_listener->shouldContinue();
}

void HttpDownloader::_timerTimeout()
{
    if (!shouldStop())
        return;
    m_cancelTimer.stop();
    if (m_reply && !m_reply->isFinished())
        m_reply->abort();
}

bool HttpDownloader::acceptsBody(QNetworkReply *reply)
{
    if (m_bodyOffset >= 0)
        return true;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const int code = status.toInt();
    if (code != 200 && code != 206) {
        if (code == 407 && reply->manager() == m_manager)
            replaceManager();
        return false;
    }
    if (code == 206) {
        if (contentRangeStart(reply->rawHeader("Content-Range")) != m_firstByte) {
            m_badAnswer = true;
            return false;
        }
        m_bodyOffset = m_firstByte;
    } else {
        // A server or proxy that ignored the Range header sends the whole file from byte 0.
        m_bodyOffset = 0;
    }
    return true;
}

void HttpDownloader::_readyRead()
{
    QNetworkReply *reply = m_reply;
    if (!reply)
        return;
    if (shouldStop()) {
        m_cancelTimer.stop();
        if (!reply->isFinished())
            reply->abort();
        return;
    }
    if (!acceptsBody(reply)) {
        reply->readAll();
        if (m_badAnswer)
            reply->abort();
        return;
    }
    feedMeters(reply->bytesAvailable());
    while (reply->bytesAvailable() > 0) {
        if (m_bodyOffset < m_firstByte) {
            const qint64 skipped = reply->skip(qMin(reply->bytesAvailable(), m_firstByte - m_bodyOffset));
            if (skipped <= 0)
                break;
            m_bodyOffset += skipped;
            continue;
        }
        const qint64 wanted = rangeLength() - m_delivered - m_bufferCount;
        if (wanted == 0) {
            // Bytes beyond the range (a whole-file answer, or a server sending more than asked) are not wanted.
            reply->abort();
            return;
        }
        const qint64 room = qint64(m_buffer.size()) - m_bufferCount;
        const qint64 count = reply->read(m_buffer.data() + m_bufferCount, qMin(qMin(readPieceSize, room), wanted));
        if (count <= 0)
            break;
        m_bufferCount += count;
        m_bodyOffset += count;
        if (m_bufferCount == qint64(m_buffer.size()) || m_delivered + m_bufferCount == rangeLength()) {
            emitBuffer();
            if (m_reply != reply)
                return; // the receiver stopped the download
        }
        if (shouldStop()) {
            reply->abort();
            return;
        }
    }
    QMutexLocker locker(&m_meterMutex);
    m_speedMeter.restart();
    m_timeLeftMeter.restart();
}

void HttpDownloader::emitBuffer()
{
    if (m_bufferCount == 0)
        return;
    const qint64 count = m_bufferCount;
    m_bufferCount = 0;
    m_delivered += count;
    // The receiver may keep the bytes (a digest taken on another thread): the next chunk goes into a fresh
    // buffer instead of a copy of this one made by the next write.
    const QByteArray chunk = std::exchange(m_buffer, QByteArray(m_buffer.size(), Qt::Uninitialized));
    emit chunkReady(chunk, quint64(count));
}

void HttpDownloader::feedMeters(qint64 bytes)
{
    QMutexLocker locker(&m_meterMutex);
    for (SpeedMeter *meter : {&m_speedMeter, &m_timeLeftMeter}) {
        meter->stop();
        meter->add(quint64(bytes));
        meter->commit();
    }
}

void HttpDownloader::_replyFinished(QNetworkReply *_pReply)
{
    _pReply->deleteLater();
    if (_pReply != m_reply)
        return; // dropped by a newer range
    m_reply = nullptr;
    m_cancelTimer.stop();

    if (shouldStop()) {
        emit downloadComplete(NEC_CANCELLED);
        return;
    }
    if (m_badAnswer) {
        emit downloadComplete(NEC_DOWNLOAD_ERROR);
        return;
    }
    emitBuffer();
    if (m_reply)
        return; // the receiver has already moved on
    // A whole range counts as delivered even when the reply was cut off after it on purpose.
    if (m_delivered == rangeLength()) {
        emit downloadComplete(QString());
        return;
    }
    if (_pReply->error() != QNetworkReply::NoError) {
        emit downloadComplete(networkErrorText(_pReply));
        return;
    }
    if (const QUrl target = redirectionTarget(_pReply, m_url); !target.isEmpty()) {
        if (m_redirectCount < maxRedirects) {
            ++m_redirectCount;
            send(target);
            return;
        }
        emit downloadComplete(NEC_CONNECTION_ERROR);
        return;
    }
    // The answer ended early without an error: it did not hold the range.
    emit downloadComplete(NEC_DOWNLOAD_ERROR);
}

void HttpDownloader::replaceManager()
{
    // Every manager uses the application-wide proxy (Qt's default), so proxy settings made on the GUI
    // thread reach this one.
    m_manager = replaceAccessManager(this, m_manager, m_reply);
    connect(m_manager, &QNetworkAccessManager::proxyAuthenticationRequired, this,
            &HttpDownloader::proxyAuthenticationRequired);
    connect(m_manager, &QNetworkAccessManager::finished, this, &HttpDownloader::_replyFinished);
}
