#pragma once

#include "enums.h"
#include "speedmeter.h"

#include <QAuthenticator>
#include <QByteArray>
#include <QMutex>
#include <QNetworkProxy>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace vktcommon {
class ContinueListener;
}

// Fetches one byte range of a file by HTTP GET and hands it on in pieces of one chunk, never a byte
// outside the range. The end comes by exactly one of the downloadComplete signals.
class HttpDownloader : public QObject
{
    Q_OBJECT

public:
    static constexpr unsigned maxRedirects = 5;
    static constexpr int cancelCheckIntervalMs = 3000;
    // The chunk buffer never grows beyond this, whatever chunk size the server names.
    static constexpr quint64 maxChunkBufferSize = 2097152;

    explicit HttpDownloader(QObject *parent = nullptr);

    // firstByte and lastByte inclusive. A range still under way is dropped without a signal.
    void download(const QUrl &url, quint64 chunkSize, qint64 firstByte, qint64 lastByte,
                  vktcommon::ContinueListener *continueListener);
    void stop();

    // May be asked from another thread.
    qint32 speed() const;
    qint32 timeLeft(quint64 remainingBytes) const;

Q_SIGNALS:
    void chunkReady(const QByteArray &_baChunk, quint64 _nCount);
    // Empty text: the whole range was delivered; otherwise the transport error text.
    void downloadComplete(QString _strError);
    // Cancelled (5), a request that cannot be made or a sixth redirect (8), or an answer that does not
    // deliver the range asked for (6).
    void downloadComplete(NETWORK_ERROR_CODE _nErrorCode);
    void proxyAuthenticationRequired(const QNetworkProxy &_proxy, QAuthenticator *_pAuthenticator);

private Q_SLOTS:
    void _replyFinished(QNetworkReply *_pReply);
    void _readyRead();
    void _timerTimeout();

private:
    void send(const QUrl &url);
    void replaceManager();
    bool shouldStop() const;
    bool acceptsBody(QNetworkReply *reply);
    void take(const char *data, qint64 count);
    void emitBuffer();
    void feedMeters(qint64 bytes);
    qint64 rangeLength() const { return m_lastByte - m_firstByte + 1; }

    QNetworkAccessManager *m_manager = nullptr;
    QNetworkReply *m_reply = nullptr;
    vktcommon::ContinueListener *m_listener = nullptr;
    QUrl m_url;
    qint64 m_firstByte = 0;
    qint64 m_lastByte = -1;
    QByteArray m_buffer;
    qint64 m_bufferCount = 0;
    qint64 m_delivered = 0;
    // File offset of the next body byte: the range's start for 206, 0 for a 200 with the whole file.
    qint64 m_bodyOffset = -1;
    bool m_badAnswer = false;
    unsigned m_redirectCount = 0;
    // A stalled server sends nothing, so cancellation is also looked for on a timer.
    QTimer m_cancelTimer;
    mutable QMutex m_meterMutex;
    SpeedMeter m_speedMeter{5000};
    SpeedMeter m_timeLeftMeter{8000};
};
