#pragma once

#include "emulatedcedevice.h"
#include "remoteapi.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <map>
#include <memory>

class QFile;

// The remote API with one Windows CE device connected, emulated over the device's folder (EmulatedCeDevice)
// and two more files there:
//   connection.txt        optional "key=value" lines: "name" (the device's name, default "Windows CE device"),
//                         "os-version" (major.minor[.build], default 5.2; "none": it cannot be read),
//                         "init" ("answers", the default; "fails": the init event reports a failure;
//                         "never": it is never signalled; "refused": the start itself fails) and
//                         "init-delay-ms" (when the init event is signalled, default 0)
//   desktop-registry.txt  the PC's registry as far as the sync software goes (RegistryTextFile); without it
//                         the sync software is not installed
//   disconnected          while it exists the device is unplugged: a connection breaks at its next call (and
//                         stays broken until a new init), the init event never comes, no device is listed
// A written file is on the host's disk once its handle is closed.
// invoke loads the device library (the host build of a module, as installed on the device) from a private
// copy and calls its function; that module works on the device VKT_CE_DEVICE names, so invoke fails for
// any other. Replies live on the C heap.
class EmulatedRemoteApi final : public RemoteApi
{
public:
    explicit EmulatedRemoteApi(const QString &deviceFolder);
    ~EmulatedRemoteApi() override;

    // Between a successful init and uninit.
    bool isConnected() const { return m_connected; }

    qint32 startInit() override;
    INIT_WAIT waitForInit(int msecs, qint32 &initResult) override;
    void uninit() override;
    quint32 lastError() const override { return m_lastError; }

    Handle createFile(const QString &path, quint32 access, quint32 shareMode, quint32 creation,
                      quint32 attributes) override;
    bool readFile(Handle file, char *buffer, quint32 size, quint32 &done) override;
    bool writeFile(Handle file, const char *buffer, quint32 size, quint32 &done) override;
    quint32 setFilePointer(Handle file, qint32 distance, quint32 moveMethod) override;
    quint32 fileSize(Handle file) override;
    bool closeHandle(Handle file) override;
    Handle findFirstFile(const QString &pattern, RemoteFindData &data) override;
    bool findNextFile(Handle search, RemoteFindData &data) override;
    bool findClose(Handle search) override;
    quint32 fileAttributes(const QString &path) override;
    bool createDirectory(const QString &path) override;
    bool removeDirectory(const QString &path) override;
    bool deleteFile(const QString &path) override;
    bool moveFile(const QString &source, const QString &destination) override;
    bool freeSpace(const QString &path, quint64 &bytes) override;

    bool deviceVersion(RemoteOsVersion &version) override;
    quint32 deviceRegistryValue(const QString &key, const QString &name, quint32 bufferSize,
                                RegistryValue &value) override;
    quint32 openDeviceRegistryKey(const QString &key) override;
    qint32 invoke(const QString &dll, const QString &function, const QByteArray &input, quint32 &outputSize,
                  unsigned char *&output) override;
    void freeReply(unsigned char *output) override;

    bool enumerateDevices(QList<RemoteDeviceInfo> &devices) override;
    quint32 desktopRegistryValue(const QString &key, const QString &name, quint32 bufferSize,
                                 RegistryValue &value) override;

private:
    enum InitMode { InitAnswers, InitFails, InitNever, InitRefused };
    struct Connection
    {
        QString name;
        bool hasVersion = true;
        RemoteOsVersion version;
        InitMode init = InitAnswers;
        int initDelayMs = 0;
    };
    struct OpenFile
    {
        std::unique_ptr<QFile> file;
        quint32 access = 0;
    };
    struct Search
    {
        QList<RemoteFindData> entries;
        qsizetype next = 0;
    };

    Connection connection() const;
    bool unplugged() const;
    // False (with lastError RE_NOT_READY) while no connection is made, or once it broke.
    bool connected();
    // Sets lastError and answers whether it is success.
    bool succeeded(quint32 error);
    // The open file, when connected and opened with the access bits; else null with lastError set.
    OpenFile *usableFile(Handle file, quint32 access = 0);
    quint32 registryValue(const QString &path, const QString &key, const QString &name, quint32 bufferSize,
                          RegistryValue &value) const;

    EmulatedCeDevice m_device;
    bool m_started = false;
    bool m_connected = false;
    Connection m_connection;
    QElapsedTimer m_initClock;
    quint32 m_lastError = RE_SUCCESS;
    Handle m_nextHandle = 1;
    std::map<Handle, OpenFile> m_files;
    std::map<Handle, Search> m_searches;
    std::unique_ptr<QTemporaryDir> m_moduleCopies;
    int m_copies = 0;
};
