#include "machineroots.h"

#include <QtGlobal>

MachineRoots MachineRoots::under(const QString &root)
{
    MachineRoots roots;
    roots.sysfs = root + QStringLiteral("/sys");
    roots.mountInfo = root + QStringLiteral("/proc/self/mountinfo");
    roots.udevData = root + QStringLiteral("/run/udev/data");
    return roots;
}

MachineRoots MachineRoots::fromEnvironment()
{
    const QString root = qEnvironmentVariable("VKT_MACHINE_ROOT");
    return root.isEmpty() ? MachineRoots() : under(root);
}
