#include "applicationcycle.h"
#include "applicationdata.h"
#include "programfolder.h"
#include "sharedtypes.h"

#include <QGuiApplication>

int main(int argc, char **argv)
{
    // The Windows build initialises COM here for the device searches; Linux has no counterpart.
    QCoreApplication::setApplicationName(QStringLiteral("Korwind Navigator update center"));
    QCoreApplication::setOrganizationName(QStringLiteral("DRQ"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("korwind.example"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VKT_VERSION));
    // Lets desktop launchers match the window to the installed entry (and show its progress there).
    QGuiApplication::setDesktopFileName(ApplicationData::desktopId());
    registerSharedTypes();

    ApplicationData applicationData(programFolder());
    return runApplicationCycles([&] { return runOneCycle(argc, argv); });
}
