#pragma once

#include "devicedescription.h"
#include "devicehandler.h"
#include "phoneconnectivityapi.h"

#include <memory>

class PhoneConnectivityLibrary;

namespace vktcommon {
class InstallationProgressListener;
}

namespace vktpdl {

// A Symbian phone reached through the file-system part of the phone connectivity library: its drives with
// backslash paths ("\\E:\Folder"), its installed applications (the navigator among them) and the
// installation of application packages. A phone whose file system cannot be opened stays in the device
// list, and every operation that needs the phone returns 2; one that goes away (or whose card does) while
// it is used makes the operations that need it return 11.
class SymbianDeviceHandler final : public DeviceHandler
{
public:
    // Opens the phone's file system and registers for its notifications.
    SymbianDeviceHandler(std::shared_ptr<PhoneConnectivityLibrary> library, const QString &serialNumber,
                         const DeviceDescription &description);
    ~SymbianDeviceHandler() override;
    SymbianDeviceHandler(const SymbianDeviceHandler &) = delete;
    SymbianDeviceHandler &operator=(const SymbianDeviceHandler &) = delete;

    // The library's copy keeps the file's name: a put under another name than the PC file's is written in
    // blocks instead, and a get must keep the name but for letter case (15). Neither replaces a file.
    int putFile(const QString &destination, const QString &source, vktcommon::ProgressListener *progress,
                vktcommon::ContinueListener *cont) override;
    int getFile(const QString &destination, const QString &source, vktcommon::ProgressListener *progress,
                vktcommon::ContinueListener *cont) override;
    // A file that is not there counts as deleted.
    int deleteFile(const QString &path) override;
    // Nothing to do when the folder exists.
    int createFolder(const QString &parent, const QString &name) override;
    int createDirectory(const QString &path) override;
    int removeDirectory(const QString &path, bool recursive) override;
    int listFolders(const QString &folder, const QString &pattern, QStringList &names) override;
    int listFiles(const QString &folder, const QString &pattern, QStringList &names) override;
    int openFile(const QString &path, QIODevice *&device) override;
    int freeSpace(const QString &path, quint64 &bytes) override;
    QChar separator() const override;
    // Replaces a file at destination in one step; 20 with a library that has no move call.
    int renameFile(const QString &source, const QString &destination) override;
    // The phone has a change on its drive when the call that made it returns, so these only make sure
    // that the file, the folder or the drive is there and the phone still answers.
    int flushFile(const QString &path) override;
    int flushFolder(const QString &path) override;
    int syncVolume(const QString &path) override;

    int kind() const override;
    int getDeviceDescription(DeviceDescription &description) override;
    // The navigator's version from the list of installed applications; 6 when its version cannot be read.
    int getNavigatorInfo(NavigatorInfo &info, vktcommon::ProgressListener *progress,
                         vktcommon::ContinueListener *cont) override;
    // The phone may ask its user to confirm; the progress listener hears of it when it is an installation
    // listener.
    int installPackage(const QString &packagePath, qint64 packageSize, vktcommon::ProgressListener *progress,
                       vktcommon::ContinueListener *cont) override;
    // The memory cards ("\\E:"); the phone memory C: is not one.
    int listRoots(QStringList &roots) override;
    int pathFlags() const override;

    // The library's notification during copies and installations; PCL_E_CANCELLED stops the call.
    PclResult notify(quint32 state, quint32 value);

private:
    class Listening;

    int copy(quint32 direction, const QString &phonePath, const QString &pcPath,
             vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont);
    // Writes the PC file to the phone through a block transfer; what is abandoned is never kept.
    int writeInBlocks(const QString &phonePath, const QString &pcPath, vktcommon::ContinueListener *cont);
    // The library's answer when asked for the file or folder at path; what it hands out is released.
    PclResult ask(const QString &path, bool folder) const;
    // 0 when the file or folder is there, else what keeps it from being asked.
    int confirmThere(const QString &path, bool folder);
    // The code of a failed call: 11 when the phone said it is gone and was answered with cancel.
    int failure(PclResult result, int code) const;
    int listEntries(const QString &folder, const QString &pattern, bool folders, QStringList &names);
    void report(int percent) const;

    const std::shared_ptr<PhoneConnectivityLibrary> m_library;
    const QString m_serialNumber;
    const DeviceDescription m_description;
    const PclFileSystemNotify m_notifyTarget;
    PclHandle m_fileSystem = 0;
    // Set for the time of one operation.
    vktcommon::ProgressListener *m_progress = nullptr;
    vktcommon::ContinueListener *m_continue = nullptr;
    vktcommon::InstallationProgressListener *m_installation = nullptr;
    bool m_phoneGone = false;
};

// The device code of a library result: cancelled 16, the phone out of reach 11, any other failure the
// operation's own code.
int deviceErrorOf(PclResult result, int failure);

} // namespace vktpdl
