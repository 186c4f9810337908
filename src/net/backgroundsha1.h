#pragma once

#include <QByteArray>
#include <QMutex>
#include <QQueue>
#include <QWaitCondition>

#include <memory>

class QThread;
class Sha1Context;

// The SHA-1 of bytes handed over in order, taken on a thread of its own where the machine has a core to
// spare, so that the caller meanwhile reads, writes or hashes the same bytes in another way. Bytes added
// since the last commit can be taken back. Used from one thread.
class BackgroundSha1
{
public:
    BackgroundSha1();
    ~BackgroundSha1();
    BackgroundSha1(const BackgroundSha1 &) = delete;
    BackgroundSha1 &operator=(const BackgroundSha1 &) = delete;

    // The first count bytes of bytes. The array is shared, not copied: write into a fresh array next time.
    void add(const QByteArray &bytes, qint64 count);
    void commit();
    // Takes back what was added since the last commit.
    void rollback();
    // Bytes in the digest: added and not taken back.
    quint64 size() const { return m_size; }
    // 40 lower-case hexadecimal digits of those bytes; empty when the engine failed. Ends the digest.
    QByteArray finishHex();

private:
    struct Step
    {
        enum Kind { Add, Commit, Rollback } kind = Add;
        QByteArray bytes;
        qint64 count = 0;
    };

    void hand(Step step);
    void apply(const Step &step);
    void work();

    std::unique_ptr<Sha1Context> m_digest;
    std::unique_ptr<Sha1Context> m_committed;
    quint64 m_size = 0;
    quint64 m_committedSize = 0;
    // With a thread: steps waiting for it, their bytes bounded so that memory stays small.
    QThread *m_thread = nullptr;
    QMutex m_mutex;
    QWaitCondition m_changed;
    QQueue<Step> m_steps;
    qint64 m_queuedBytes = 0;
    bool m_busy = false;
    bool m_ending = false;
};
