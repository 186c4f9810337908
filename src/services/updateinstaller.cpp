#include "updateinstaller.h"

#include "checkedcopy.h"
#include "devicehandler.h"
#include "downloadedfilepath.h"
#include "installedmapsfile.h"
#include "partialprogresslistener.h"
#include "sha1digest.h"
#include "transferstatistics.h"
#include "updatejobfile.h"

#include <QFile>

using vktpdl::DE_DOWNLOAD_DAMAGED;
using vktpdl::DE_NO_ERROR;
using vktpdl::DE_NOT_ENOUGH_SPACE;
using vktpdl::DE_NOT_SUPPORTED;

namespace {

// Room kept beside a map's copy for the file system's own needs and the job record.
constexpr quint64 spareBytes = 1024 * 1024;

bool containsName(const QStringList &names, const QString &name)
{
    return names.contains(name, Qt::CaseInsensitive);
}

QStringList fileNames(const QList<MapInfo> &maps)
{
    QStringList names;
    for (const MapInfo &map : maps)
        names.append(map.file.fileName);
    return names;
}

} // namespace

UpdateInstaller::UpdateInstaller(vktpdl::DeviceHandler &device, const QString &downloadsFolder,
                                 vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
    : m_device(device), m_downloadsFolder(downloadsFolder), m_progress(progress), m_continue(cont)
{
}

QString UpdateInstaller::packagePath(const ProductInfo &package) const
{
    if (package.kind != ProductInfo::NavigatorPackage)
        return QString();
    return vktcommon::downloadedFilePath(m_downloadsFolder, package.file.fileName);
}

QString UpdateInstaller::downloadedMap(const MapInfo &map) const
{
    return vktcommon::downloadedFilePath(m_downloadsFolder, map.file.fileName);
}

int UpdateInstaller::checkPackage(const ProductInfo &package)
{
    const QString path = packagePath(package);
    if (path.isEmpty())
        return DE_NOT_SUPPORTED;
    return m_device.checkPackage(path, qint64(package.file.size), m_progress, m_continue);
}

int UpdateInstaller::installPackage(const ProductInfo &package, const QString &jobFolder, const UpdateJobRecord &job)
{
    const QString path = packagePath(package);
    if (path.isEmpty())
        return DE_NOT_SUPPORTED;
    int result = jobFolder.isEmpty() ? DE_NO_ERROR : UpdateJobFile::write(m_device, jobFolder, job);
    if (result == DE_NO_ERROR)
        result = m_device.installPackage(path, qint64(package.file.size), m_progress, m_continue);
    if (result == DE_NO_ERROR && !jobFolder.isEmpty()) {
        result = UpdateJobFile::remove(m_device, jobFolder);
        if (result == DE_NO_ERROR)
            result = m_device.syncVolume(jobFolder);
    }
    if (result == DE_NO_ERROR)
        QFile::remove(path);
    return result;
}

int UpdateInstaller::installMaps(UpdateJobRecord &job, const QString &contentFolder, const QString &mapsFolder,
                                 const std::function<int()> &deleteOldMapData, TransferStatistics &statistics)
{
    // Every map is checked before the first change, so that a bad list leaves the device as it was.
    for (const MapInfo &map : std::as_const(job.mapsToInstall)) {
        if (map.kind != ProductInfo::MapPackage || map.file.size == 0 || downloadedMap(map).isEmpty()
            || !Sha1Digest::isSha1Text(QString::fromLatin1(map.file.extraBytes)))
            return DE_NOT_SUPPORTED;
    }
    for (const MapInfo &map : std::as_const(job.mapsToDelete)) {
        if (!vktcommon::isPlainFileName(map.file.fileName))
            return DE_NOT_SUPPORTED;
    }
    int result = UpdateJobFile::write(m_device, contentFolder, job);
    if (result != DE_NO_ERROR)
        return result;

    const QList<MapInfo> left = job.mapsLeft();
    quint64 total = 0;
    for (const MapInfo &map : left)
        total += map.file.size;
    if (total > 0)
        statistics.setTotal(total);
    quint64 done = 0;
    bool oldMapDataDeleted = false;
    for (const MapInfo &map : left) {
        result = makeRoom(job, map, contentFolder, mapsFolder, deleteOldMapData, oldMapDataDeleted);
        if (result != DE_NO_ERROR)
            return result;
        vktcommon::PartialProgressListener range(m_progress, int(done * 100 / total),
                                                 int((done + map.file.size) * 100 / total));
        statistics.setFileName(map.file.fileName);
        const QString source = downloadedMap(map);
        result = vktpdl::putFileChecked(m_device, m_device.joinPath(mapsFolder, map.file.fileName), source,
                                        QString::fromLatin1(map.file.extraBytes), &range, m_continue);
        // A stale file under the map's name counted as downloaded: the next download fetches it anew.
        if (result == DE_DOWNLOAD_DAMAGED)
            QFile::remove(source);
        if (result != DE_NO_ERROR)
            return result;
        job.installed.append(map.file.fileName);
        result = UpdateJobFile::write(m_device, contentFolder, job);
        if (result != DE_NO_ERROR)
            return result;
        done += map.file.size;
    }

    // The maps that others replace or that the user removed, now that the new maps are in place; a map
    // replaced under its own name went with the rename.
    const QStringList installing = fileNames(job.mapsToInstall);
    for (const MapInfo &map : std::as_const(job.mapsToDelete)) {
        if (containsName(installing, map.file.fileName))
            continue;
        result = m_device.deleteFile(m_device.joinPath(mapsFolder, map.file.fileName));
        if (result != DE_NO_ERROR)
            return result;
    }
    return m_device.flushFolder(mapsFolder);
}

int UpdateInstaller::makeRoom(UpdateJobRecord &job, const MapInfo &map, const QString &contentFolder,
                              const QString &mapsFolder, const std::function<int()> &deleteOldMapData,
                              bool &oldMapDataDeleted)
{
    const QStringList installing = fileNames(job.mapsToInstall);
    const auto removable = [&](const QString &name) {
        return !containsName(job.installed, name) && m_device.isFile(m_device.joinPath(mapsFolder, name));
    };
    for (;;) {
        quint64 free = 0;
        // With the free space unknown, the copy itself tells whether the map fits.
        if (m_device.freeSpace(mapsFolder, free) != DE_NO_ERROR || free >= map.file.size + spareBytes)
            return DE_NO_ERROR;
        // What the job removes anyway goes first: the maps it deletes, then the old map data.
        QString victim;
        for (const MapInfo &doomed : std::as_const(job.mapsToDelete)) {
            if (!containsName(installing, doomed.file.fileName) && removable(doomed.file.fileName)) {
                victim = doomed.file.fileName;
                break;
            }
        }
        if (victim.isEmpty() && job.deleteOldMapData && !oldMapDataDeleted && deleteOldMapData) {
            oldMapDataDeleted = true;
            const int result = deleteOldMapData();
            if (result != DE_NO_ERROR)
                return result;
            continue;
        }
        // Then the old map under this map's name, then those under the names of the maps still to come.
        if (victim.isEmpty() && removable(map.file.fileName))
            victim = map.file.fileName;
        for (qsizetype i = installing.indexOf(map.file.fileName) + 1; victim.isEmpty() && i < installing.size(); ++i) {
            if (removable(installing.at(i)))
                victim = installing.at(i);
        }
        if (victim.isEmpty())
            return DE_NOT_ENOUGH_SPACE;
        const int result = removeEarly(job, contentFolder, mapsFolder, victim);
        if (result != DE_NO_ERROR)
            return result;
    }
}

int UpdateInstaller::removeEarly(UpdateJobRecord &job, const QString &contentFolder, const QString &mapsFolder,
                                 const QString &fileName)
{
    // Recorded before it happens: the record then tells that the map is missing on purpose.
    job.removedEarly.append(fileName);
    int result = UpdateJobFile::write(m_device, contentFolder, job);
    if (result == DE_NO_ERROR)
        result = m_device.deleteFile(m_device.joinPath(mapsFolder, fileName));
    return result == DE_NO_ERROR ? m_device.flushFolder(mapsFolder) : result;
}

int UpdateInstaller::finishMapJob(const UpdateJobRecord &job, const QString &contentFolder, const QString &mapsFolder)
{
    int result = m_device.syncVolume(mapsFolder);
    if (result != DE_NO_ERROR)
        return result;
    QStringList removed = job.removedEarly;
    for (const MapInfo &map : job.mapsToDelete)
        removed.append(map.file.fileName);
    const QList<InstalledMapsFile::Entry> entries =
        InstalledMapsFile::afterJob(InstalledMapsFile::read(m_device, contentFolder), job.mapsToInstall, removed);
    result = InstalledMapsFile::write(m_device, contentFolder, entries);
    if (result == DE_NO_ERROR)
        result = UpdateJobFile::remove(m_device, contentFolder);
    return result == DE_NO_ERROR ? m_device.syncVolume(contentFolder) : result;
}
