#pragma once

#include "mapinfo.h"

#include <QList>
#include <QString>

namespace vktpdl {
class FileSystem;
}

// What the program installed into a content folder's Maps folder, "KorwindInstalledMaps.xml" beside it:
// each map's file name, size and SHA-1 with its code and version, so that a map file that later differs
// in size from its installation is seen as damaged. Results are DEVICE_ERROR codes.
namespace InstalledMapsFile {

struct Entry
{
    QString fileName;
    quint64 size = 0;
    QString sha1;
    QString code;
    qint32 majorVersion = 0;
    qint32 minorVersion = 0;
};

// A missing or unreadable record is empty: it only ever adds the damage a size shows.
QList<Entry> read(vktpdl::FileSystem &device, const QString &contentFolder);
int write(vktpdl::FileSystem &device, const QString &contentFolder, const QList<Entry> &entries);
int remove(vktpdl::FileSystem &device, const QString &contentFolder);

// The record after a map job: the installed maps replace entries of their names, removed maps go.
QList<Entry> afterJob(const QList<Entry> &before, const QList<MapInfo> &installed, const QStringList &removed);
// Sets isDamaged on each installed map (file name = its path) whose entry has its code and version but
// another size.
void markDamaged(const vktpdl::FileSystem &device, const QList<Entry> &entries, QList<MapInfo> &maps);

} // namespace InstalledMapsFile
