#include "symbianqiodevice.h"

#include "phoneconnectivitylibrary.h"

#include <QMutexLocker>

#include <cstring>

namespace vktpdl {

namespace {

PclResult blockHandler(void *context, uint32_t *state, uint8_t *data, uint32_t *length)
{
    return static_cast<SymbianQIODevice *>(context)->onBlock(state, data, length);
}

} // namespace

SymbianQIODevice::SymbianQIODevice(std::shared_ptr<PhoneConnectivityLibrary> library, PclHandle fileSystem,
                                   const QString &path)
    : m_library(std::move(library)), m_fileSystem(fileSystem), m_path(path)
{
    const qsizetype at = path.lastIndexOf(QLatin1Char('\\'));
    m_folder = at < 0 ? QString() : path.left(at);
    m_name = path.mid(at + 1);
}

SymbianQIODevice::~SymbianQIODevice()
{
    // Whoever drops a device without closing it gave up on what it wrote.
    if (m_worker.joinable())
        stopTransfer(false);
    if (isOpen())
        QIODevice::close();
}

bool SymbianQIODevice::open(OpenMode mode)
{
    if (isOpen() || !m_library || !m_fileSystem || m_name.isEmpty())
        return false;
    m_reading = !(mode & WriteOnly);
    m_size = 0;
    if (m_reading) {
        PclFileInfo *info = nullptr;
        if (m_library->getFileInfo(m_fileSystem, m_path, info) != PCL_OK || !info)
            return false;
        m_size = qint64(info->size);
        m_library->freeFileInfo(info);
    }
    {
        const QMutexLocker lock(&m_mutex);
        m_wanted = m_handedOver = m_started = false;
        m_active = m_running = true;
        m_commit = false;
        m_result = PCL_OK;
        m_block = nullptr;
        m_blockLength = m_blockOffset = m_delivered = 0;
        m_pending = nullptr;
        m_pendingLength = m_taken = 0;
    }
    m_worker = std::thread([this] { transfer(); });
    bool started;
    {
        const QMutexLocker lock(&m_mutex);
        while (!m_started)
            m_startedEvent.wait(&m_mutex);
        // An empty file may be read whole before the first look.
        started = m_running || m_result == PCL_OK;
    }
    if (!started) {
        stopTransfer(false);
        return false;
    }
    return QIODevice::open(mode | Unbuffered);
}

void SymbianQIODevice::close()
{
    if (m_worker.joinable())
        stopTransfer(true);
    if (isOpen())
        QIODevice::close();
}

PclResult SymbianQIODevice::transferResult() const
{
    const QMutexLocker lock(&m_mutex);
    return m_result;
}

void SymbianQIODevice::stopTransfer(bool commit)
{
    {
        const QMutexLocker lock(&m_mutex);
        m_active = false;
        m_commit = commit;
        m_wanted = true;
        m_wantEvent.wakeAll();
    }
    m_worker.join();
}

void SymbianQIODevice::transfer()
{
    const PclBlockNotify target = {this, &blockHandler};
    const PclResult result = m_reading ? m_library->readFileInBlocks(m_fileSystem, &target, blockSize, m_name, m_folder)
                                       : m_library->writeFileInBlocks(m_fileSystem, &target, blockSize, m_name, m_folder);
    const QMutexLocker lock(&m_mutex);
    m_running = false;
    m_result = result;
    m_block = nullptr;
    m_blockLength = m_blockOffset = 0;
    m_started = m_handedOver = true;
    m_startedEvent.wakeAll();
    m_handedEvent.wakeAll();
}

PclResult SymbianQIODevice::onBlock(quint32 *state, uint8_t *data, quint32 *length)
{
    if (!state || !length || (*length > 0 && !data))
        return PCL_E_CANCELLED;
    if (PhoneConnectivityLibrary::saysIgnore(*state))
        return PCL_OK;
    if (PhoneConnectivityLibrary::saysPhoneIsGone(*state))
        return PCL_E_CANCELLED;
    QMutexLocker lock(&m_mutex);
    if (m_reading) {
        if (!m_active)
            return PCL_E_CANCELLED;
        m_block = reinterpret_cast<const char *>(data);
        m_blockLength = *length;
        m_blockOffset = 0;
        m_handedOver = m_started = true;
        m_handedEvent.wakeAll();
        m_startedEvent.wakeAll();
        while (!m_wanted)
            m_wantEvent.wait(&m_mutex);
        m_wanted = false;
        // The block belongs to the library again.
        m_block = nullptr;
        m_blockLength = m_blockOffset = 0;
        return m_active ? PCL_OK : PCL_E_CANCELLED;
    }
    m_started = true;
    m_startedEvent.wakeAll();
    while (m_active && !m_wanted)
        m_wantEvent.wait(&m_mutex);
    m_wanted = false;
    if (!m_active) {
        if (!m_commit)
            return PCL_E_CANCELLED;
        *length = 0;
        *state |= PCL_BLOCK_LAST;
        return PCL_OK;
    }
    m_taken = qMin<qint64>(m_pendingLength, *length);
    if (m_taken > 0)
        std::memcpy(data, m_pending, size_t(m_taken));
    *length = quint32(m_taken);
    m_handedOver = true;
    m_handedEvent.wakeAll();
    return PCL_OK;
}

void SymbianQIODevice::handOver()
{
    m_handedOver = false;
    m_wanted = true;
    m_wantEvent.wakeAll();
    while (!m_handedOver)
        m_handedEvent.wait(&m_mutex);
}

qint64 SymbianQIODevice::readData(char *data, qint64 maxSize)
{
    if (!m_reading)
        return -1;
    const QMutexLocker lock(&m_mutex);
    qint64 copied = 0;
    while (copied < maxSize) {
        const qint64 left = m_blockLength - m_blockOffset;
        if (left > 0) {
            const qint64 count = qMin(left, maxSize - copied);
            std::memcpy(data + copied, m_block + m_blockOffset, size_t(count));
            m_blockOffset += count;
            m_delivered += count;
            copied += count;
            continue;
        }
        if (!m_running)
            break;
        handOver();
        if (m_blockLength == 0)
            break;
    }
    // The end of the file, or -1 for the end of a transfer that failed.
    if (copied == 0 && !m_running)
        return m_result == PCL_OK ? 0 : -1;
    return copied;
}

qint64 SymbianQIODevice::writeData(const char *data, qint64 size)
{
    if (m_reading)
        return -1;
    const QMutexLocker lock(&m_mutex);
    qint64 written = 0;
    while (written < size && m_running) {
        m_pending = data + written;
        m_pendingLength = qMin<qint64>(size - written, blockSize);
        m_taken = 0;
        handOver();
        m_pending = nullptr;
        m_pendingLength = 0;
        if (m_taken == 0)
            break;
        written += m_taken;
    }
    return written == 0 && size > 0 ? -1 : written;
}

bool SymbianQIODevice::isSequential() const
{
    return true;
}

qint64 SymbianQIODevice::pos() const
{
    return -1;
}

bool SymbianQIODevice::seek(qint64)
{
    return false;
}

qint64 SymbianQIODevice::size() const
{
    return m_reading ? m_size : 0;
}

qint64 SymbianQIODevice::bytesAvailable() const
{
    const QMutexLocker lock(&m_mutex);
    return m_blockLength - m_blockOffset + QIODevice::bytesAvailable();
}

bool SymbianQIODevice::atEnd() const
{
    if (!isOpen() || !m_reading)
        return true;
    const QMutexLocker lock(&m_mutex);
    return m_blockOffset >= m_blockLength && (!m_running || m_delivered >= m_size);
}

} // namespace vktpdl
