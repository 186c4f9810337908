#include "backupdescription.h"

#include "dottedversion.h"
#include "mapinfo.h"

#include <QCoreApplication>

namespace BackupDescription {

QStringList folders(BACKUP_TYPE type, const QString &installFolder, const QString &mapsFolder)
{
    QStringList folders;
    if (type == BT_PROGRAM_AND_MAPS)
        folders.append(installFolder);
    if (!mapsFolder.isEmpty())
        folders.append(mapsFolder);
    return folders;
}

QString text(BACKUP_TYPE type, const DottedVersion &navigatorVersion, const QList<MapInfo> &installedMaps)
{
    QString text;
    if (type == BT_PROGRAM_AND_MAPS)
        text = QCoreApplication::translate("Backup", "Korwind Navigator %1\n").arg(navigatorVersion.toString());
    if (installedMaps.isEmpty())
        return text;
    text += QCoreApplication::translate("Backup", "Maps for Korwind Navigator:");
    for (const MapInfo &map : installedMaps)
        text += QStringLiteral(" %1(%2)").arg(map.name, map.version);
    return text;
}

} // namespace BackupDescription
