#pragma once

#include "navigatorrecord.h"

namespace vktpdl {

class FileSystem;

// Where a program package's navigator goes on the device, and whether it fits the navigator there.
struct PackageTarget
{
    QString executablePath;
    QString launcherPath; // empty: the launcher on the device stays as it is
    bool compatible = false;
};

// Decides the target from the current navigator and the package's navigator (paths inside the package).
// A navigator starts itself when its executable is its launcher; names are compared ignoring case.
PackageTarget packageTarget(const NavigatorRecord &current, const NavigatorRecord &package, const FileSystem &files);

} // namespace vktpdl
