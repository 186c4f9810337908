#include "backgroundsha1.h"

#include "sha1context.h"

#include <QMutexLocker>
#include <QThread>

namespace {

// Enough for the thread to run on while the caller fills the next block.
constexpr qint64 maxQueuedBytes = 4 * 1024 * 1024;

} // namespace

BackgroundSha1::BackgroundSha1() : m_digest(new Sha1Context), m_committed(new Sha1Context)
{
    m_committed->copyFrom(*m_digest);
    // On one core a thread only adds switching.
    if (QThread::idealThreadCount() > 1) {
        m_thread = QThread::create([this] { work(); });
        m_thread->start();
    }
}

BackgroundSha1::~BackgroundSha1()
{
    if (!m_thread)
        return;
    {
        QMutexLocker locker(&m_mutex);
        m_steps.clear();
        m_ending = true;
        m_changed.wakeAll();
    }
    m_thread->wait();
    delete m_thread;
}

void BackgroundSha1::add(const QByteArray &bytes, qint64 count)
{
    if (count <= 0)
        return;
    m_size += quint64(count);
    hand({Step::Add, bytes, count});
}

void BackgroundSha1::commit()
{
    m_committedSize = m_size;
    hand({Step::Commit, {}, 0});
}

void BackgroundSha1::rollback()
{
    m_size = m_committedSize;
    hand({Step::Rollback, {}, 0});
}

QByteArray BackgroundSha1::finishHex()
{
    if (m_thread) {
        QMutexLocker locker(&m_mutex);
        while (!m_steps.isEmpty() || m_busy)
            m_changed.wait(&m_mutex);
    }
    return m_digest->finishHex();
}

void BackgroundSha1::hand(Step step)
{
    if (!m_thread) {
        apply(step);
        return;
    }
    QMutexLocker locker(&m_mutex);
    while (m_queuedBytes > 0 && m_queuedBytes + step.count > maxQueuedBytes)
        m_changed.wait(&m_mutex);
    m_queuedBytes += step.count;
    m_steps.enqueue(std::move(step));
    m_changed.wakeAll();
}

void BackgroundSha1::apply(const Step &step)
{
    switch (step.kind) {
    case Step::Add:
        m_digest->add(step.bytes.constData(), step.count);
        break;
    case Step::Commit:
        m_committed->copyFrom(*m_digest);
        break;
    case Step::Rollback:
        m_digest->copyFrom(*m_committed);
        break;
    }
}

void BackgroundSha1::work()
{
    QMutexLocker locker(&m_mutex);
    for (;;) {
        while (m_steps.isEmpty() && !m_ending)
            m_changed.wait(&m_mutex);
        if (m_steps.isEmpty())
            return;
        Step step = m_steps.dequeue();
        m_busy = true;
        locker.unlock();
        apply(step);
        const qint64 count = step.count;
        step = {}; // the block is released outside the lock
        locker.relock();
        m_busy = false;
        m_queuedBytes -= count;
        m_changed.wakeAll();
    }
}
