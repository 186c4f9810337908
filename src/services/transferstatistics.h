#pragma once

#include "transferstatusinfo.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QString>

// The figures of a running map copy: written by the copying worker, read by the one-second timer of
// the interface thread, hence the mutex. -1 (for the byte counts: their all-ones value) means unknown.
class TransferStatistics
{
public:
    static constexpr quint64 unknownBytes = TransferStatusInfo::unknownBytes;

    // Restarts the clock and makes every figure unknown; from now on progress is recorded.
    void start();
    void stop();
    bool isRunning() const;

    void setTotal(quint64 total); // and nothing done yet
    void setFileName(const QString &fileName);

    // Records percent of the total as done, with the speed and time left since start.
    void recordProgress(int percent);
    // The same, at elapsedMs milliseconds after start.
    void recordProgressAt(int percent, qint64 elapsedMs);

    TransferStatusInfo snapshot() const;

private:
    void recordLocked(int percent, qint64 elapsedMs);

    mutable QMutex m_mutex;
    TransferStatusInfo m_info;
    QElapsedTimer m_clock;
    bool m_running = false;
};
