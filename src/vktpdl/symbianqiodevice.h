#pragma once

#include "phoneconnectivityapi.h"

#include <QIODevice>
#include <QMutex>
#include <QString>
#include <QWaitCondition>

#include <memory>
#include <thread>

class PhoneConnectivityLibrary;

namespace vktpdl {

// A file of a phone read or written as a stream through the library's block transfer. A worker thread runs
// the transfer; the library calls it back with one block at a time, and the block is handed over between
// the worker and the caller strictly one at a time. Opened read-only it reads the file; opened for writing
// it replaces the file, which the phone takes over when the device is closed; a device destroyed while
// open for writing cancels the write, and the phone keeps what it had under the name. Sequential: no
// position, no seeking; the size is the file's when reading, else 0.
class SymbianQIODevice final : public QIODevice
{
public:
    static constexpr quint32 blockSize = 131072;

    // path is the file's phone path; the device is not open yet.
    SymbianQIODevice(std::shared_ptr<PhoneConnectivityLibrary> library, PclHandle fileSystem, const QString &path);
    ~SymbianQIODevice() override;

    // Fails when already open, when a file to read cannot be found, or when the transfer does not start.
    bool open(OpenMode mode) override;
    // Ends the transfer: a read still running is cancelled, a write is completed with what was written.
    void close() override;
    bool isSequential() const override;
    qint64 pos() const override;
    bool seek(qint64 position) override;
    qint64 size() const override;
    qint64 bytesAvailable() const override;
    bool atEnd() const override;

    // The library's result once the transfer has ended (after close: whether the phone took a written
    // file); PCL_OK while it runs.
    PclResult transferResult() const;

    // Worker side: the library's block notification.
    PclResult onBlock(quint32 *state, uint8_t *data, quint32 *length);

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    void transfer();
    // Asks the worker for its next step and waits until it has taken it (or the transfer ended).
    void handOver();
    // Marks the device inactive, wakes the worker and waits for it to end; a write is completed when
    // commit is set, else cancelled.
    void stopTransfer(bool commit);

    const std::shared_ptr<PhoneConnectivityLibrary> m_library;
    const PclHandle m_fileSystem;
    const QString m_path;
    QString m_folder;
    QString m_name;
    bool m_reading = true;
    qint64 m_size = 0;
    std::thread m_worker;

    // Everything below is shared with the worker, under the mutex.
    mutable QMutex m_mutex;
    QWaitCondition m_wantEvent;    // W: the caller wants the next block, or has data ready
    QWaitCondition m_handedEvent;  // R: a block was handed over or consumed
    QWaitCondition m_startedEvent; // S: the transfer started
    bool m_wanted = false;
    bool m_handedOver = false;
    bool m_started = false;
    bool m_active = false;  // the caller still wants the transfer
    bool m_commit = false;  // a write that ends is to be completed
    bool m_running = false; // the library's transfer has not returned yet
    PclResult m_result = PCL_OK;
    // Reading: the library's current block.
    const char *m_block = nullptr;
    qint64 m_blockLength = 0;
    qint64 m_blockOffset = 0;
    qint64 m_delivered = 0;
    // Writing: the caller's bytes waiting for the worker, and how many it took.
    const char *m_pending = nullptr;
    qint64 m_pendingLength = 0;
    qint64 m_taken = 0;
};

} // namespace vktpdl
