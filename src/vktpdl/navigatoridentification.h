#pragma once

#include "navigatorrecord.h"
#include "listeners.h"

#include <QList>
#include <QStringList>

#include <functional>

namespace vktpdl {

class FileSystem;

// How navigator executables are recognised on any file system: by the launcher name tables and by the
// internal name in their version resource. Results are DEVICE_ERROR codes.

// The name's base (before the last dot) is a known launcher name and its extension one of the
// launcher extensions, ignoring case.
bool isLauncherCandidate(const QString &fileName);

// Appends the full paths of the files below folder (at any depth) whose name satisfies matches: the
// files of a folder first, then its subfolders. The folders of an unfinished program swap are not entered;
// the folders that hold them are appended to swapParents when given. 16 when the continue listener
// answers false.
int collectFiles(FileSystem &files, const QString &folder, const std::function<bool(const QString &)> &matches,
                 QStringList &paths, vktcommon::ContinueListener *cont, QStringList *swapParents = nullptr);

// The file's version resource names it a navigator (its internal name is in the navigator table).
bool isNavigatorExecutable(FileSystem &files, const QString &path);

// Fills executable and launcher path for a launcher candidate: a navigator itself (its launcher is the
// only other executable of its folder that is no navigator), or a launcher with a navigator beside it.
// 5 when it is neither.
int identifyNavigator(FileSystem &files, const QString &candidate, NavigatorRecord &record);

// The fixed file version of the executable's version resource; 5 without one.
int readNavigatorVersion(FileSystem &files, const QString &path, DottedVersion &version,
                         vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont);

// SHA-1 of the file as 40 lower-case hexadecimal digits; 6 when the file cannot be read.
int computeIdentifier(FileSystem &files, const QString &path, QByteArray &identifier,
                      vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont);

// Drops each record that repeats the executable and launcher path of the record just before it.
void dropRepeatedNavigators(QList<NavigatorRecord> &records);

} // namespace vktpdl
