#include "speedmeter.h"

#include <limits>

SpeedMeter::SpeedMeter(qint64 windowMilliseconds)
    : m_windowMilliseconds(windowMilliseconds)
{
}

void SpeedMeter::stop()
{
    if (!m_stopwatch.isValid())
        return;
    addTime(m_stopwatch.elapsed());
    m_stopwatch.invalidate();
}

void SpeedMeter::restart()
{
    m_stopwatch.start();
}

void SpeedMeter::add(quint64 bytes)
{
    m_pendingBytes += bytes;
}

void SpeedMeter::addTime(qint64 milliseconds)
{
    m_pendingMilliseconds += milliseconds;
}

void SpeedMeter::commit()
{
    stop();
    if (m_pendingMilliseconds == 0)
        return;
    m_summedMilliseconds += m_pendingMilliseconds;
    m_summedBytes += m_pendingBytes;
    while (m_summedMilliseconds > m_windowMilliseconds && !m_samples.isEmpty()) {
        const Sample oldest = m_samples.dequeue();
        m_summedMilliseconds -= oldest.milliseconds;
        m_summedBytes -= oldest.bytes;
    }
    m_samples.enqueue({m_pendingMilliseconds, m_pendingBytes});
    m_pendingMilliseconds = 0;
    m_pendingBytes = 0;
}

qint32 SpeedMeter::speed() const
{
    if (m_summedMilliseconds <= 0)
        return -1;
    const quint64 perSecond = m_summedBytes / quint64(m_summedMilliseconds) * 1000
        + m_summedBytes % quint64(m_summedMilliseconds) * 1000 / quint64(m_summedMilliseconds);
    if (perSecond > quint64(std::numeric_limits<qint32>::max()))
        return -1;
    return qint32(perSecond);
}

qint32 SpeedMeter::timeLeft(quint64 remainingBytes) const
{
    const qint32 bytesPerSecond = speed();
    if (bytesPerSecond <= 0)
        return -1;
    const quint64 seconds = remainingBytes / quint64(bytesPerSecond);
    if (seconds > quint64(std::numeric_limits<qint32>::max()))
        return -1;
    return qint32(seconds);
}
