#pragma once

#include "dottedversion.h"

#include <QByteArray>
#include <QString>

namespace vktpdl {

// One navigator executable found on a storage device.
struct NavigatorRecord
{
    QString executablePath; // the navigator program itself
    QString launcherPath;   // the executable the device starts when it differs; may be empty
    QByteArray identifier;  // SHA-1 of the executable as 40 lower-case hexadecimal digits
    DottedVersion version;
    bool isReadOnly = false; // the executable's volume is write-protected
};

} // namespace vktpdl
