#include "packagecompatibility.h"

#include "filesystem.h"

namespace vktpdl {

namespace {

bool startsItself(const NavigatorRecord &navigator)
{
    return navigator.executablePath == navigator.launcherPath;
}

bool sameName(const FileSystem &files, const QString &a, const QString &b)
{
    return files.fileName(a).compare(files.fileName(b), Qt::CaseInsensitive) == 0;
}

} // namespace

PackageTarget packageTarget(const NavigatorRecord &current, const NavigatorRecord &package, const FileSystem &files)
{
    PackageTarget target;
    if (current.launcherPath.isEmpty() && !package.launcherPath.isEmpty()) {
        target.executablePath = current.executablePath;
        target.compatible = false;
    } else if (package.launcherPath.isEmpty()) {
        target.executablePath = current.executablePath;
        target.compatible = sameName(files, current.executablePath, package.executablePath);
    } else if (startsItself(current) == startsItself(package)) {
        target.executablePath = current.executablePath;
        target.launcherPath = current.launcherPath;
        target.compatible = sameName(files, current.executablePath, package.executablePath)
                            && sameName(files, current.launcherPath, package.launcherPath);
    } else if (startsItself(current)) {
        target.launcherPath = current.launcherPath;
        target.executablePath = files.joinPath(files.parentPath(current.executablePath),
                                               files.fileName(package.executablePath));
        target.compatible = false;
    } else {
        target.executablePath = current.launcherPath;
        target.launcherPath = current.launcherPath;
        target.compatible = sameName(files, current.launcherPath, package.launcherPath);
    }
    return target;
}

} // namespace vktpdl
