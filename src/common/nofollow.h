#pragma once

#include <QIODevice>
#include <QString>

class QFile;

// Writing where someone else may have planted a symbolic link: a file that is a link is never opened for
// writing, and a folder that is a link is never entered.
namespace vktcommon {

// Opens file in mode; when mode writes, a symbolic link at the file's name is refused instead of followed
// (its target is left alone) and the file is created when missing unless mode says ExistingOnly.
bool openNoFollow(QFile &file, QIODevice::OpenMode mode);

// True when path itself is a symbolic link (whatever it points to, even nothing).
bool isSymbolicLink(const QString &path);

// Makes the folder at path when it is missing (its parent must exist); true when path is then a folder
// and not a symbolic link to one.
bool makeRealFolder(const QString &path);

} // namespace vktcommon
