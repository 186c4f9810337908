// vkt-ceappmgr: the emulated Windows CE application manager, started by the update center with an
// installation description; it installs onto the emulated device that VKT_CE_DEVICE names.
//
//   vkt-ceappmgr DESCRIPTION.ini
#include "applicationmanager.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 2) {
        std::fputs("usage: vkt-ceappmgr DESCRIPTION.ini\n", stderr);
        return 2;
    }
    const QString device = qEnvironmentVariable("VKT_CE_DEVICE");
    if (device.isEmpty()) {
        std::fputs("vkt-ceappmgr: no device is connected (VKT_CE_DEVICE is not set)\n", stderr);
        return 1;
    }
    QString error;
    if (!ApplicationManager(device).installDescription(arguments.at(1), error)) {
        std::fprintf(stderr, "vkt-ceappmgr: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
