#include "transferstatistics.h"

#include <QMutexLocker>

#include <limits>

namespace {

constexpr quint64 largest32 = quint64(std::numeric_limits<qint32>::max());

} // namespace

void TransferStatistics::start()
{
    QMutexLocker lock(&m_mutex);
    m_clock.restart();
    m_running = true;
    m_info.done = unknownBytes;
    m_info.total = unknownBytes;
    m_info.speed = -1;
    m_info.secondsLeft = -1;
}

void TransferStatistics::stop()
{
    QMutexLocker lock(&m_mutex);
    m_running = false;
}

bool TransferStatistics::isRunning() const
{
    QMutexLocker lock(&m_mutex);
    return m_running;
}

void TransferStatistics::setTotal(quint64 total)
{
    QMutexLocker lock(&m_mutex);
    m_info.done = 0;
    m_info.total = total;
}

void TransferStatistics::setFileName(const QString &fileName)
{
    QMutexLocker lock(&m_mutex);
    m_info.fileName = fileName;
}

void TransferStatistics::recordProgress(int percent)
{
    QMutexLocker lock(&m_mutex);
    if (m_running)
        recordLocked(percent, m_clock.elapsed());
}

void TransferStatistics::recordProgressAt(int percent, qint64 elapsedMs)
{
    QMutexLocker lock(&m_mutex);
    if (m_running)
        recordLocked(percent, elapsedMs);
}

void TransferStatistics::recordLocked(int percent, qint64 elapsedMs)
{
    // Before the copy names its total nothing can be worked out.
    if (m_info.total == unknownBytes)
        return;
    m_info.done = quint64(qBound(0, percent, 100)) * m_info.total / 100;
    m_info.speed = -1;
    m_info.secondsLeft = -1;
    if (elapsedMs <= 0)
        return;
    const quint64 speed = m_info.done * 1000 / quint64(elapsedMs);
    if (speed == 0 || speed > largest32)
        return;
    m_info.speed = qint32(speed);
    const quint64 left = (m_info.total - m_info.done) / speed;
    if (left <= largest32)
        m_info.secondsLeft = qint32(left);
}

TransferStatusInfo TransferStatistics::snapshot() const
{
    QMutexLocker lock(&m_mutex);
    return m_info;
}
