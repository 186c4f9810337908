#pragma once

#include "productinfo.h"
#include "updatejobrecord.h"

#include <QList>
#include <QString>

#include <functional>

namespace vktcommon {
class ContinueListener;
class ProgressListener;
} // namespace vktcommon

namespace vktpdl {
class DeviceHandler;
}

class TransferStatistics;

// Puts downloaded updates onto one device so that nothing can break them (docs/safe-installation.md):
// every job is recorded on the device before its first change and until its last, every file goes in
// under a temporary name, flushed, read back and renamed, and old data goes only when no longer needed.
// Every operation returns a DEVICE_ERROR code.
class UpdateInstaller
{
public:
    UpdateInstaller(vktpdl::DeviceHandler &device, const QString &downloadsFolder,
                    vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont);

    // 20 when the record is not a program package with a plain file name.
    int checkPackage(const ProductInfo &package);
    // With a job folder (a content folder of the device) the job is recorded there while it runs. On
    // success the downloaded package is deleted; on failure it stays for another try.
    int installPackage(const ProductInfo &package, const QString &jobFolder, const UpdateJobRecord &job);

    // Carries out the map job recorded (or to be recorded) in contentFolder: the maps still to install go
    // into mapsFolder, then the maps to delete go. Where the card cannot hold a map beside the old files,
    // what the job removes anyway goes first (deleteOldMapData removes the old map data), then the old
    // map under the new one's name, each step recorded. Refuses the whole job with 20 before anything
    // changes when a map is not a server map, is empty, or has no plain file name or SHA-1 text; a
    // downloaded map that differs from its record (25) is removed from the downloads folder.
    int installMaps(UpdateJobRecord &job, const QString &contentFolder, const QString &mapsFolder,
                    const std::function<int()> &deleteOldMapData, TransferStatistics &statistics);
    // Ends a map job: the volume synced, the record of installed maps brought up to date, the job record
    // removed and the volume synced again. Only then is the job done.
    int finishMapJob(const UpdateJobRecord &job, const QString &contentFolder, const QString &mapsFolder);

private:
    QString packagePath(const ProductInfo &package) const;
    QString downloadedMap(const MapInfo &map) const;
    // Frees room for map beside the files in mapsFolder; see installMaps.
    int makeRoom(UpdateJobRecord &job, const MapInfo &map, const QString &contentFolder, const QString &mapsFolder,
                 const std::function<int()> &deleteOldMapData, bool &oldMapDataDeleted);
    int removeEarly(UpdateJobRecord &job, const QString &contentFolder, const QString &mapsFolder,
                    const QString &fileName);

    vktpdl::DeviceHandler &m_device;
    QString m_downloadsFolder;
    vktcommon::ProgressListener *m_progress;
    vktcommon::ContinueListener *m_continue;
};
