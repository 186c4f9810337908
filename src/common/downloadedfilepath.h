#pragma once

#include <QString>

namespace vktcommon {

// One plain file name: not empty, not "." or "..", no separator and no NUL character.
bool isPlainFileName(const QString &name);

// Where a downloaded file of this name lives: an absolute, native path inside the downloads folder;
// empty when the name is not one plain file name, so a name from the server never leads elsewhere.
QString downloadedFilePath(const QString &downloadsFolder, const QString &fileName);

} // namespace vktcommon
