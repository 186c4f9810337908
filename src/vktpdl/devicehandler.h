#pragma once

#include "filesystem.h"
#include "storageinfo.h"

namespace vktpdl {

struct DeviceDescription;
struct NavigatorInfo;

enum DEVICE_KIND : int { DK_ACTIVESYNC = 1, DK_STORAGE = 2, DK_SYMBIAN = 3 };

// Values of pathFlags: with PF_EXECUTABLE_PATHS the navigator's executable path and identifier mean
// something and are checked for write protection; with PF_NO_MAP_HEADERS map headers are not read.
enum PATH_FLAGS : int { PF_NO_MAP_HEADERS = 1, PF_EXECUTABLE_PATHS = 2 };

// A connected device: its file system and what the update center asks of every kind of device.
// The defaults are the answers of the kinds that have nothing to do for an operation.
class DeviceHandler : public FileSystem
{
public:
    virtual int kind() const = 0;
    virtual int getDeviceDescription(DeviceDescription &description) = 0;
    // Default: not supported (20).
    virtual int getNavigatorInfo(NavigatorInfo &info, vktcommon::ProgressListener *progress,
                                 vktcommon::ContinueListener *cont);
    // Whether the device-side module must be installed first. Default: no.
    virtual int checkModule(bool &mustInstall);
    virtual int installModule(vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont);
    // May the program package be installed? 24 warns that it may not fit the device. Default: yes.
    virtual int checkPackage(const QString &packagePath, qint64 packageSize, vktcommon::ProgressListener *progress,
                             vktcommon::ContinueListener *cont);
    virtual int installPackage(const QString &packagePath, qint64 packageSize, vktcommon::ProgressListener *progress,
                               vktcommon::ContinueListener *cont) = 0;
    virtual int listRoots(QStringList &roots) = 0;
    // What the lists say of one of those roots. Default: the root and its free space.
    virtual int describeStorage(const QString &root, StorageInfo &storage);
    virtual int pathFlags() const = 0;
    // The storage root the current navigator keeps its data on; default: none.
    virtual QString navigatorDataPath();
    // Looks for navigator executables on the device. Default: nothing to look for.
    virtual int findNavigators(vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont);
};

} // namespace vktpdl
