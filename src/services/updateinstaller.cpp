#include "updateinstaller.h"

#include "devicehandler.h"
#include "downloadedfilepath.h"
#include "partialprogresslistener.h"
#include "sha1digest.h"
#include "transferstatistics.h"

#include <QFile>

#include <atomic>
#include <functional>
#include <future>

using vktpdl::DE_DOWNLOAD_DAMAGED;
using vktpdl::DE_NO_ERROR;
using vktpdl::DE_NOT_SUPPORTED;

namespace {

constexpr qint64 digestBlockSize = 262144;

// The SHA-1 of a file of the PC as 40 lower-case hexadecimal digits; empty when it cannot be read or
// when abandoned is set (the copy failed, the digest is not needed).
QString fileSha1(const QString &path, const std::atomic_bool &abandoned)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    Sha1Digest digest;
    QByteArray block(digestBlockSize, Qt::Uninitialized);
    for (;;) {
        if (abandoned)
            return QString();
        const qint64 count = file.read(block.data(), block.size());
        if (count < 0)
            return QString();
        if (count == 0)
            return digest.finish();
        if (!digest.add(block.constData(), count))
            return QString();
    }
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

int UpdateInstaller::checkPackage(const ProductInfo &package)
{
    const QString path = packagePath(package);
    if (path.isEmpty())
        return DE_NOT_SUPPORTED;
    return m_device.checkPackage(path, qint64(package.file.size), m_progress, m_continue);
}

int UpdateInstaller::installPackage(const ProductInfo &package)
{
    const QString path = packagePath(package);
    if (path.isEmpty())
        return DE_NOT_SUPPORTED;
    const int result = m_device.installPackage(path, qint64(package.file.size), m_progress, m_continue);
    if (result == DE_NO_ERROR)
        QFile::remove(path);
    return result;
}

int UpdateInstaller::deleteMaps(const QList<MapInfo> &maps)
{
    for (const MapInfo &map : maps) {
        const int result = m_device.deleteFile(map.file.fileName);
        if (result != DE_NO_ERROR)
            return result;
    }
    return DE_NO_ERROR;
}

int UpdateInstaller::copyMaps(const QList<MapInfo> &maps, const QString &mapsFolder, TransferStatistics &statistics)
{
    // Every map is checked before the first copy, so a bad list leaves the device as it was.
    quint64 total = 0;
    QStringList sources;
    for (const MapInfo &map : maps) {
        const QString source = vktcommon::downloadedFilePath(m_downloadsFolder, map.file.fileName);
        if (map.kind != ProductInfo::MapPackage || map.file.size == 0 || source.isEmpty()
            || !Sha1Digest::isSha1Text(QString::fromLatin1(map.file.extraBytes)))
            return DE_NOT_SUPPORTED;
        sources.append(source);
        total += map.file.size;
    }
    statistics.setTotal(total);

    quint64 done = 0;
    for (qsizetype i = 0; i < maps.size(); ++i) {
        const MapInfo &map = maps.at(i);
        const QString destination = m_device.joinPath(mapsFolder, map.file.fileName);
        int result = m_device.deleteFile(destination);
        if (result != DE_NO_ERROR)
            return result;
        vktcommon::PartialProgressListener range(m_progress, int(done * 100 / total),
                                                 int((done + map.file.size) * 100 / total));
        statistics.setFileName(map.file.fileName);
        // The digest is read beside the device's own copy (from the page cache the copy fills), so it
        // costs no time of its own on a machine with a second core.
        std::atomic_bool abandoned{false};
        std::future<QString> digest = std::async(std::launch::async, fileSha1, sources.at(i), std::cref(abandoned));
        result = m_device.putFile(destination, sources.at(i), &range, m_continue);
        abandoned = result != DE_NO_ERROR;
        const QString sha1 = digest.get();
        if (result != DE_NO_ERROR)
            return result;
        if (sha1 != QString::fromLatin1(map.file.extraBytes).toLower()) {
            m_device.deleteFile(destination);
            QFile::remove(sources.at(i));
            return DE_DOWNLOAD_DAMAGED;
        }
        done += map.file.size;
    }
    return DE_NO_ERROR;
}
