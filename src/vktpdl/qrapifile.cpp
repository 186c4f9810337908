#include "qrapifile.h"

namespace vktpdl {

namespace {

constexpr quint32 normalAttributes = RF_NORMAL;
constexpr qint64 largestMove = 0x7FFFFFFF; // one move of the remote file pointer is a signed 32-bit distance
constexpr qint64 largestTransfer = 0xFFFFFFFF;

// The remote access and creation for an open mode; false for a mode the file does not offer.
bool remoteMode(QIODevice::OpenMode mode, quint32 &access, quint32 &creation)
{
    switch (int(mode & ~QIODevice::Unbuffered)) {
    case QIODevice::NotOpen:
        // A handle that only asks for the position and size.
        access = 0;
        creation = RC_OPEN_EXISTING;
        return true;
    case QIODevice::ReadOnly:
        // Reading must not leave an empty file behind where there was none.
        access = RA_READ;
        creation = RC_OPEN_EXISTING;
        return true;
    case QIODevice::WriteOnly:
        access = RA_WRITE;
        creation = RC_OPEN_ALWAYS;
        return true;
    case QIODevice::ReadWrite:
        access = RA_READ | RA_WRITE;
        creation = RC_OPEN_ALWAYS;
        return true;
    case QIODevice::Truncate:
        access = RA_READ | RA_WRITE;
        creation = RC_TRUNCATE_EXISTING;
        return true;
    case QIODevice::WriteOnly | QIODevice::Truncate:
        access = RA_WRITE;
        creation = RC_CREATE_ALWAYS;
        return true;
    default:
        return false;
    }
}

} // namespace

QRapiFile::QRapiFile(RemoteApi &remoteApi, const QString &path, QObject *parent)
    : QIODevice(parent), m_api(remoteApi), m_path(path)
{
}

QRapiFile::~QRapiFile()
{
    if (isOpen())
        close();
}

bool QRapiFile::open(OpenMode mode)
{
    quint32 access = 0;
    quint32 creation = 0;
    if (isOpen() || !remoteMode(mode, access, creation))
        return false;
    m_handle = m_api.createFile(m_path, access, 0, creation, normalAttributes);
    if (m_handle == RemoteApi::INVALID_HANDLE) {
        setErrorString(tr("The file %1 cannot be opened on the device (error %2).").arg(m_path).arg(m_api.lastError()));
        return false;
    }
    // Truncation alone opens the file for reading and writing. Unbuffered: every read and write goes to the
    // device at the position the device keeps.
    const OpenMode opened = (mode & ~Unbuffered) == Truncate ? (ReadWrite | Truncate) : mode;
    return QIODevice::open(opened | Unbuffered);
}

void QRapiFile::close()
{
    commit();
}

bool QRapiFile::commit()
{
    const bool kept = m_handle == RemoteApi::INVALID_HANDLE || m_api.closeHandle(m_handle);
    m_handle = RemoteApi::INVALID_HANDLE;
    QIODevice::close();
    return kept;
}

qint64 QRapiFile::pos() const
{
    if (m_handle == RemoteApi::INVALID_HANDLE)
        return 0;
    const quint32 position = m_api.setFilePointer(m_handle, 0, RM_CURRENT);
    return position == REMOTE_INVALID ? 0 : qint64(position);
}

qint64 QRapiFile::size() const
{
    if (m_handle == RemoteApi::INVALID_HANDLE)
        return 0;
    const quint32 size = m_api.fileSize(m_handle);
    return size == REMOTE_INVALID ? 0 : qint64(size);
}

// Positions of 2 GiB and more take two moves. The position 4 GiB - 1 cannot be told from the remote
// API's failure value and is refused.
bool QRapiFile::seek(qint64 position)
{
    if (m_handle == RemoteApi::INVALID_HANDLE || position < 0 || position >= qint64(REMOTE_INVALID))
        return false;
    quint32 reached;
    if (position <= largestMove) {
        reached = m_api.setFilePointer(m_handle, qint32(position), RM_BEGIN);
    } else {
        reached = m_api.setFilePointer(m_handle, qint32(largestMove), RM_BEGIN);
        if (reached != REMOTE_INVALID)
            reached = m_api.setFilePointer(m_handle, qint32(position - largestMove), RM_CURRENT);
    }
    if (reached == REMOTE_INVALID || qint64(reached) != position)
        return false;
    return QIODevice::seek(position);
}

qint64 QRapiFile::readData(char *data, qint64 length)
{
    if (length <= 0)
        return 0;
    quint32 done = 0;
    if (!m_api.readFile(m_handle, data, quint32(qMin(length, largestTransfer)), done)) {
        setErrorString(tr("Reading from the device failed (error %1).").arg(m_api.lastError()));
        return -1;
    }
    return qint64(done);
}

qint64 QRapiFile::writeData(const char *data, qint64 length)
{
    if (length <= 0)
        return 0;
    quint32 done = 0;
    if (!m_api.writeFile(m_handle, data, quint32(qMin(length, largestTransfer)), done)) {
        setErrorString(tr("Writing to the device failed (error %1).").arg(m_api.lastError()));
        return -1;
    }
    return qint64(done);
}

} // namespace vktpdl
