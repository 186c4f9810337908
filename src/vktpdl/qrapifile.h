#pragma once

#include "remoteapi.h"

#include <QIODevice>
#include <QString>

namespace vktpdl {

// A file on a Windows CE device as a random-access Qt I/O device, over the remote API. Open modes:
// no mode and read-only open an existing file; write-only and read-write create a missing file and keep what an
// existing one holds; write-only with truncation creates or empties it; truncation alone empties an
// existing file for reading and writing; other modes fail. Positions stay below 4 GiB.
class QRapiFile final : public QIODevice
{
    Q_OBJECT

public:
    // remoteApi must outlive the file.
    QRapiFile(RemoteApi &remoteApi, const QString &path, QObject *parent = nullptr);
    ~QRapiFile() override;

    bool open(OpenMode mode) override;
    void close() override;
    // Closes the file and tells whether the device kept what was written to it.
    bool commit();
    bool isSequential() const override { return false; }
    // The remote file's position and size; 0 when they cannot be read.
    qint64 pos() const override;
    qint64 size() const override;
    bool seek(qint64 position) override;

protected:
    qint64 readData(char *data, qint64 length) override;
    qint64 writeData(const char *data, qint64 length) override;

private:
    RemoteApi &m_api;
    QString m_path;
    RemoteApi::Handle m_handle = RemoteApi::INVALID_HANDLE;
};

} // namespace vktpdl
