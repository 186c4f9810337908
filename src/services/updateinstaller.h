#pragma once

#include "mapinfo.h"
#include "productinfo.h"

#include <QList>
#include <QString>

namespace vktcommon {
class ContinueListener;
class ProgressListener;
} // namespace vktcommon

namespace vktpdl {
class DeviceHandler;
}

class TransferStatistics;

// Puts downloaded updates onto one device: checks and installs a program package, deletes the
// installed maps a selection replaces and copies new map files from the downloads folder.
// Every operation returns a DEVICE_ERROR code.
class UpdateInstaller
{
public:
    UpdateInstaller(vktpdl::DeviceHandler &device, const QString &downloadsFolder,
                    vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont);

    // 20 when the record is not a program package with a plain file name.
    int checkPackage(const ProductInfo &package);
    // On success the downloaded package is deleted; on failure it stays for another try.
    int installPackage(const ProductInfo &package);

    // Deletes the maps' files (full device paths), stopping at the first failure.
    int deleteMaps(const QList<MapInfo> &maps);
    // Copies the downloaded maps into mapsFolder, replacing files of the same name, with each map's
    // share of the progress in proportion to its size. Refuses the whole list with 20 before anything is
    // copied when a map is not a server map, is empty, has a name that is not one plain file name or no
    // SHA-1 text. Each downloaded file's SHA-1 is taken while it is copied: a file that differs from its
    // record (25) leaves no copy on the device and is removed from the downloads folder, so that the next
    // download fetches it again.
    int copyMaps(const QList<MapInfo> &maps, const QString &mapsFolder, TransferStatistics &statistics);

private:
    QString packagePath(const ProductInfo &package) const;

    vktpdl::DeviceHandler &m_device;
    QString m_downloadsFolder;
    vktcommon::ProgressListener *m_progress;
    vktcommon::ContinueListener *m_continue;
};
