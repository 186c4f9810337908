#pragma once

#include <QElapsedTimer>
#include <QQueue>
#include <QtGlobal>

// Transfer speed over a sliding window of recent samples, and the time left at that speed.
class SpeedMeter
{
public:
    explicit SpeedMeter(qint64 windowMilliseconds);

    // Counts the stopwatch's time since restart() as pending and stops it.
    void stop();
    void restart();
    void add(quint64 bytes);
    void addTime(qint64 milliseconds);
    // Turns the pending time and bytes into a sample; bytes without time wait for the next commit.
    void commit();

    // Bytes per second, -1 when nothing was measured or the value does not fit.
    qint32 speed() const;
    // Whole seconds for the remaining bytes, -1 when unknown.
    qint32 timeLeft(quint64 remainingBytes) const;

private:
    struct Sample
    {
        qint64 milliseconds;
        quint64 bytes;
    };

    qint64 m_windowMilliseconds;
    qint64 m_summedMilliseconds = 0;
    quint64 m_summedBytes = 0;
    qint64 m_pendingMilliseconds = 0;
    quint64 m_pendingBytes = 0;
    QQueue<Sample> m_samples;
    QElapsedTimer m_stopwatch;
};
