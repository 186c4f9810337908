#pragma once

#include <QString>

namespace vktcommon {

// Puts the entries of a folder (files made, renamed or deleted in it) on the disk, so that a change reported
// as done survives a power loss; a folder that is a symbolic link is not entered. False when the disk says
// it could not.
bool syncFolder(const QString &folder);

} // namespace vktcommon
