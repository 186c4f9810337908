#pragma once

#include "devicehandler.h"

#include <QList>

namespace vktpdl {

struct NavigatorRecord;

// A device whose volumes the PC reaches as its own storage: it lists its navigators and names its
// paths in a form that finds them again under another mount point.
class MIDeviceHandler : public DeviceHandler
{
public:
    // The navigators of the last findNavigators, each with its identifier.
    virtual int listNavigators(QList<NavigatorRecord> &navigators, vktcommon::ProgressListener *progress,
                               vktcommon::ContinueListener *cont) = 0;
    // Examines an executable the user picked; 5 when it is not a navigator executable.
    virtual int inspectExecutable(const QString &path, NavigatorRecord &record,
                                  vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont) = 0;
    // Makes the record the current navigator, which checkPackage and installPackage work on.
    virtual void selectNavigator(const NavigatorRecord &record) = 0;
    virtual QString toPortablePath(const QString &path) = 0;
    // Empty when the volume is not present.
    virtual QString fromPortablePath(const QString &portablePath) = 0;
    // The storage root where the navigator at path keeps its data, from its settings; empty when unknown.
    virtual QString dataPathFor(const QString &path) = 0;
};

} // namespace vktpdl
