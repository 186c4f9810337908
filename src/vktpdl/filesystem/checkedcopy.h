#pragma once

#include "filesystem.h"

#include <QString>

namespace vktpdl {

// The name a file is written under before it takes its own: in the same folder, so that the rename
// never leaves the volume, and with an extension that neither the navigator nor the map list reads.
QString temporaryPathOf(const QString &path);
bool isTemporaryName(const QString &name);

// Puts a file of the PC onto a file system so that its final name never holds part of it: the copy goes
// under the temporary name, is flushed, read back from the device and compared with expectedSha1 (40
// hexadecimal digits; when empty, the digest the source had while it was copied), and only then is it
// renamed over destination and the folder flushed. A failed or cancelled copy leaves no temporary file.
// 25: the source is not what expectedSha1 says; 26: the device gave back other bytes than it was given.
int putFileChecked(FileSystem &files, const QString &destination, const QString &source, const QString &expectedSha1,
                   vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont);

} // namespace vktpdl
