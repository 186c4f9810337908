#pragma once

#include "enums.h"

#include <QList>
#include <QString>
#include <QStringList>

struct DottedVersion;
struct MapInfo;

// What createBackup hands to Backup::create for a backup type: the folders to back up and the
// description the user later recognises the backup by.
namespace BackupDescription {

// Program and maps: the navigator's install folder, then the Maps folder; maps only: the Maps folder.
// An empty Maps folder (none on the device) is left out.
QStringList folders(BACKUP_TYPE type, const QString &installFolder, const QString &mapsFolder);
// "Korwind Navigator 1.2.3.4\n" for program and maps, then the installed maps as
// "Maps for Korwind Navigator: name(version) ..." when there are any.
QString text(BACKUP_TYPE type, const DottedVersion &navigatorVersion, const QList<MapInfo> &installedMaps);

} // namespace BackupDescription
