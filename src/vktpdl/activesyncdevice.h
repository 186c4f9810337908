#pragma once

#include "devicehandler.h"

#include <QByteArray>

#include <functional>

class QIODevice;
class RemoteApi;

namespace vktpdl {

// A Windows CE or Windows Mobile device connected through the desktop's sync software, reached over its
// remote API. The device-side module (pxr) answers what only the device can tell: its storage roots and
// its navigator; the device installs it, and navigator packages, through the Windows CE application
// manager. Every operation except freeSpace, isFile, openFile and the installations returns 1 until
// connect has succeeded.
class ActiveSyncDevice final : public DeviceHandler
{
public:
    // The module's library on the device and the marker its installation leaves in the registry.
    static const QString moduleFile;
    static const QString moduleKey;
    static const QString moduleMarker;
    static constexpr quint32 requiredModuleVersion = 1;

    // remoteApi outlives the device. downloadsFolder names the folder the module cab and the installation
    // description are written to; programFolder holds "pxr.cab".
    ActiveSyncDevice(RemoteApi &remoteApi, std::function<QString()> downloadsFolder, const QString &programFolder);
    ~ActiveSyncDevice() override;
    ActiveSyncDevice(const ActiveSyncDevice &) = delete;
    ActiveSyncDevice &operator=(const ActiveSyncDevice &) = delete;

    // Starts the remote API and waits up to five seconds for the device: 18 without the sync software,
    // 1 when the remote API does not start, 2 when the connection fails, 3 when the device never answers,
    // 16 when cancelled.
    int connect(vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont);

    // Copy in both directions in chunks of 64 KiB. putFile replaces the device file's content once the PC
    // file has been read from; getFile never touches an existing PC file. A copy that fails or is cancelled
    // removes what it wrote. Once the connection has broken (the device went away), every operation that
    // needs the device gives 11.
    int putFile(const QString &destination, const QString &source, vktcommon::ProgressListener *progress,
                vktcommon::ContinueListener *cont) override;
    int getFile(const QString &destination, const QString &source, vktcommon::ProgressListener *progress,
                vktcommon::ContinueListener *cont) override;
    int deleteFile(const QString &path) override;
    int createFolder(const QString &parent, const QString &name) override;
    int createDirectory(const QString &path) override;
    int removeDirectory(const QString &path, bool recursive) override;
    // A missing folder lists nothing and succeeds.
    int listFolders(const QString &folder, const QString &pattern, QStringList &names) override;
    int listFiles(const QString &folder, const QString &pattern, QStringList &names) override;
    int openFile(const QString &path, QIODevice *&device) override;
    int freeSpace(const QString &path, quint64 &bytes) override;
    QChar separator() const override;
    bool isFile(const QString &path) override;
    // The device's move never replaces: a file in the way is deleted first, once the source is known to be
    // there. A folder in the way stays (11).
    int renameFile(const QString &source, const QString &destination) override;
    // A written file is on the device once it is closed, and a folder's changes once they are made, so these
    // only make sure that the entry is there and the device still answers (11 otherwise).
    int flushFile(const QString &path) override;
    int flushFolder(const QString &path) override;
    int syncVolume(const QString &path) override;

    int kind() const override;
    // Windows Mobile (operating system 5.1 or 5.2 with the key "SYSTEM\Versions") is supported, platform 1;
    // any other Windows CE device is not, platform 2.
    int getDeviceDescription(DeviceDescription &description) override;
    int getNavigatorInfo(NavigatorInfo &info, vktcommon::ProgressListener *progress,
                         vktcommon::ContinueListener *cont) override;
    // 0 with mustInstall when the module is missing; 4 or 6 with mustInstall when it does not answer its
    // version properly; 23 with mustInstall when its version is not the required one.
    int checkModule(bool &mustInstall) override;
    // Installs "pxr.cab" from the program's folder; 4 when the module still does not answer afterwards.
    int installModule(vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont) override;
    // Hands the cab to the application manager through "ApplicationUpdate.ini" in the downloads folder and
    // waits until the manager has ended: 17 when the description cannot be written, 18 without the manager,
    // 20 for an empty path or a command line of 260 characters or more, 19 when it does not run.
    int installPackage(const QString &packagePath, qint64 packageSize, vktcommon::ProgressListener *progress,
                       vktcommon::ContinueListener *cont) override;
    int listRoots(QStringList &roots) override;
    int pathFlags() const override;

    // The cab path as the description file names it: relative to the description file's folder, upper-cased,
    // with backslashes; empty when the two paths share no leading folder.
    static QString relativeCabPath(const QString &descriptionFile, const QString &cabFile);

private:
    // The module's own result (1 for a call that worked) and its reply.
    qint32 callModule(const QString &function, QByteArray &reply);
    int moduleVersion(quint32 &version);
    int list(const QString &folder, const QString &pattern, bool folders, QStringList &names);
    // The last remote call failed because the connection broke.
    bool connectionBroken() const;
    // code, or 11 when the connection broke.
    int failure(int code) const;
    int checkPresent(const QString &path, bool folder);
    int transfer(QIODevice &source, QIODevice &destination, vktcommon::ProgressListener *progress,
                 vktcommon::ContinueListener *cont);

    RemoteApi &m_api;
    std::function<QString()> m_downloadsFolder;
    QString m_programFolder;
    bool m_connected = false;
};

} // namespace vktpdl
