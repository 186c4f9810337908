#pragma once

#include <QString>

// Where the volume layer reads its description of the machine. Tests and the demo point it at a fixture
// tree laid out like the real one; a normal run reads the real machine.
struct MachineRoots
{
    QString sysfs = QStringLiteral("/sys");
    QString mountInfo = QStringLiteral("/proc/self/mountinfo");
    QString udevData = QStringLiteral("/run/udev/data"); // optional: machines without udev have none

    // root/sys, root/proc/self/mountinfo and root/run/udev/data.
    static MachineRoots under(const QString &root);
    // under() the folder named by VKT_MACHINE_ROOT when that variable is set, else the real machine.
    static MachineRoots fromEnvironment();
};
