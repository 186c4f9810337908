#pragma once

#include "localfilesystem.h"
#include "machineroots.h"
#include "midevicehandler.h"
#include "navigatorrecord.h"
#include "packagecompatibility.h"
#include "removablevolumes.h"

#include <QHash>
#include <QList>

#include <memory>
#include <vector>

namespace vktpdl {

// A navigation device (or a phone in storage mode) that shows up as one or more USB volumes of the PC:
// the PC's own file operations on its volumes, its navigators, program packages, and paths that find
// their file again after the device was plugged in under other mount points.
class StorageCardDevice final : public MIDeviceHandler
{
public:
    // volumes are mount points. Identifies the volumes on the machine that roots describes; when every
    // one is identified, the display name is rebuilt from their labels and names. Without volumeFiles the
    // volumes are reached through the PC's own file system, confined to them.
    StorageCardDevice(const QString &displayName, const QStringList &volumes,
                      const MachineRoots &roots = MachineRoots::fromEnvironment(),
                      std::unique_ptr<FileSystem> volumeFiles = nullptr);

    QString displayName() const;
    // The caption of the first disk that names one.
    QString modelText() const;

    int putFile(const QString &destination, const QString &source, vktcommon::ProgressListener *progress,
                vktcommon::ContinueListener *cont) override;
    int getFile(const QString &destination, const QString &source, vktcommon::ProgressListener *progress,
                vktcommon::ContinueListener *cont) override;
    int deleteFile(const QString &path) override;
    int createFolder(const QString &parent, const QString &name) override;
    int createDirectory(const QString &path) override;
    int removeDirectory(const QString &path, bool recursive) override;
    int listFolders(const QString &folder, const QString &pattern, QStringList &names) override;
    int listFiles(const QString &folder, const QString &pattern, QStringList &names) override;
    int openFile(const QString &path, QIODevice *&device) override;
    int readFileStart(const QString &path, qint64 maxBytes, QByteArray &bytes, qint64 &size) override;
    int freeSpace(const QString &path, quint64 &bytes) override;
    // The volume is write-protected, or the user cannot write the folder that a write at path goes to.
    bool isReadOnly(const QString &path) override;
    QChar separator() const override;
    bool isFile(const QString &path) override;
    // Unknown (empty) outside this device's volumes.
    int fileStamp(const QString &path, FileStamp &stamp) override;
    int renameFile(const QString &source, const QString &destination) override;
    int exchangeFolders(const QString &first, const QString &second) override;
    int flushFile(const QString &path) override;
    int flushFolder(const QString &path) override;
    int syncVolume(const QString &path) override;
    int fileSha1(const QString &path, QString &sha1, vktcommon::ProgressListener *progress,
                 vktcommon::ContinueListener *cont) override;

    int kind() const override;
    int getDeviceDescription(DeviceDescription &description) override;
    int checkPackage(const QString &packagePath, qint64 packageSize, vktcommon::ProgressListener *progress,
                     vktcommon::ContinueListener *cont) override;
    int installPackage(const QString &packagePath, qint64 packageSize, vktcommon::ProgressListener *progress,
                       vktcommon::ContinueListener *cont) override;
    int listRoots(QStringList &roots) override;
    // The volume's label, whether it is a card (docs/storage-devices.md), its size and free space.
    int describeStorage(const QString &root, StorageInfo &storage) override;
    int pathFlags() const override;
    QString navigatorDataPath() override;
    int findNavigators(vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont) override;

    int listNavigators(QList<NavigatorRecord> &navigators, vktcommon::ProgressListener *progress,
                       vktcommon::ContinueListener *cont) override;
    int inspectExecutable(const QString &path, NavigatorRecord &record, vktcommon::ProgressListener *progress,
                          vktcommon::ContinueListener *cont) override;
    void selectNavigator(const NavigatorRecord &record) override;
    // The volume's identity, '|' and the path below its mount point; empty outside this device's volumes.
    QString toPortablePath(const QString &path) override;
    QString fromPortablePath(const QString &portablePath) override;
    QString dataPathFor(const QString &path) override;

private:
    bool identifyVolumes(const MachineRoots &roots);
    // The volume of path is mounted read-only or its disk is write-protected.
    bool isWriteProtected(const QString &path) const;
    // The identified volume whose mount point holds path (the deepest one), or null.
    const VolumeIdentity *volumeOf(const QString &path) const;
    // The volume that holds path is still the one that was mounted when the device was found: after an
    // unplug, writes must not land in the folder the mount point leaves behind.
    bool isStillMounted(const QString &path) const;
    // Whether a KorwindContent folder lies anywhere below folder.
    bool holdsContentFolder(const QString &folder);
    int installOtherFiles(const QString &extracted, const QString &packageFolder, const QString &volumeRoot,
                          vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont);

    QString m_displayName;
    QString m_modelText;
    QStringList m_volumes;
    std::vector<VolumeIdentity> m_volumeRecords; // sorted by volume name
    NavigatorRecord m_current;
    NavigatorRecord m_packageNavigator; // paths inside the package
    PackageTarget m_target;
    QList<NavigatorRecord> m_found;
    std::unique_ptr<FileSystem> m_files; // the volumes; confined to them: nothing planted there leads elsewhere
    LocalFileSystem m_pcFiles;           // the PC's work folders
    QHash<QString, quint64> m_mountedDevices; // mount point -> the file system's device number when found
};

} // namespace vktpdl
