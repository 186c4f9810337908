#pragma once

#include "dottedversion.h"

#include <QByteArray>
#include <QString>

namespace vktpdl {

// The navigator installation that a device reports about itself.
struct NavigatorInfo
{
    DottedVersion version;
    QByteArray identifier; // 40 lower-case hexadecimal digits
    QString folder;        // the folder holding the navigator executable
    QString description;
};

} // namespace vktpdl
