#include "filecache.h"

#include "backuperror.h"
#include "listeners.h"
#include "nofollow.h"
#include "sha1digest.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QTemporaryFile>

#include <unistd.h>

namespace {

constexpr qint64 blockSize = 262144;

// Reads the opened source to its end, digesting every block and writing it to sink when one is given;
// the continue listener is asked after each block.
int readThrough(QIODevice &source, QIODevice *sink, QString &sha1, vktcommon::ProgressListener *progress,
                vktcommon::ContinueListener *cont)
{
    const qint64 size = source.size();
    Sha1Digest digest;
    QByteArray block(blockSize, Qt::Uninitialized);
    qint64 done = 0;
    for (;;) {
        if (vktcommon::stopRequested(cont))
            return BE_CANCELLED;
        const qint64 count = source.read(block.data(), block.size());
        if (count < 0)
            return BE_DEVICE_FAILED;
        if (count == 0)
            break;
        if (!digest.add(block.constData(), count) || (sink && sink->write(block.constData(), count) != count))
            return BE_PC_FAILED;
        done += count;
        if (progress && size > 0)
            progress->setProgress(int(qMin(done, size) * 100 / size));
    }
    sha1 = digest.finish();
    if (sha1.isEmpty())
        return BE_PC_FAILED;
    if (progress)
        progress->setProgress(100);
    return BE_NO_ERROR;
}

} // namespace

FileCache::FileCache(const QString &backupsFolder)
    : m_folder(QDir(backupsFolder).filePath(QStringLiteral("filecache")))
{
}

bool FileCache::create() const
{
    return QDir().mkpath(QFileInfo(m_folder).path()) && vktcommon::makeRealFolder(m_folder);
}

QString FileCache::pathOf(const QString &sha1) const
{
    if (!Sha1Digest::isSha1Text(sha1))
        return QString();
    const QString name = sha1.toLower();
    return m_folder + QLatin1Char('/') + name.at(0) + QLatin1Char('/') + name.at(1) + QLatin1Char('/') + name;
}

qint64 FileCache::sizeOf(const QString &sha1) const
{
    const QString path = pathOf(sha1);
    if (path.isEmpty())
        return -1;
    const QFileInfo info(path);
    return info.isFile() ? info.size() : -1;
}

int FileCache::verify(const QString &sha1, vktcommon::ProgressListener *progress,
                      vktcommon::ContinueListener *cont) const
{
    QFile stored(pathOf(sha1));
    if (sizeOf(sha1) < 0 || !stored.open(QIODevice::ReadOnly))
        return BE_CACHE_FILES_MISSING;
    QString digest;
    const int result = readThrough(stored, nullptr, digest, progress, cont);
    if (result == BE_CANCELLED)
        return result;
    return result == BE_NO_ERROR && digest == sha1.toLower() ? BE_NO_ERROR : BE_CACHE_FILES_MISSING;
}

int FileCache::digest(QIODevice &source, QString &sha1, vktcommon::ProgressListener *progress,
                      vktcommon::ContinueListener *cont) const
{
    return readThrough(source, nullptr, sha1, progress, cont);
}

int FileCache::store(QIODevice &source, QString &sha1, vktcommon::ProgressListener *progress,
                     vktcommon::ContinueListener *cont) const
{
    QTemporaryFile temporary(m_folder + QStringLiteral("/temp_XXXXXX"));
    // Asking for the name gives the file one even where Qt would keep it unnamed, so a copy in
    // progress is visible in the cache like any other.
    if (!temporary.open() || temporary.fileName().isEmpty())
        return BE_PC_FAILED;
    const int result = readThrough(source, &temporary, sha1, progress, cont);
    if (result != BE_NO_ERROR)
        return result;
    // On the disk before it gets its name: after a power loss a cache file is whole or not there.
    if (!temporary.flush() || ::fsync(temporary.handle()) != 0)
        return BE_PC_FAILED;
    // Content stored already is kept only when it is sound; an emptied or damaged file is replaced.
    if (sizeOf(sha1) == temporary.size() && verify(sha1, nullptr, nullptr) == BE_NO_ERROR)
        return BE_NO_ERROR;
    const QString target = pathOf(sha1);
    const QString level1 = QFileInfo(QFileInfo(target).path()).path();
    // Restored files take the cache file's permissions; the temporary file's owner-only ones would stick.
    if (!vktcommon::makeRealFolder(level1) || !vktcommon::makeRealFolder(QFileInfo(target).path())
        || !temporary.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther)
        || (QFileInfo::exists(target) && !QFile::remove(target)) || !temporary.rename(target))
        return BE_PC_FAILED;
    temporary.setAutoRemove(false);
    return BE_NO_ERROR;
}

int FileCache::removeAllBut(const QSet<QString> &needed, vktcommon::ContinueListener *cont) const
{
    // Walking a cache folder that is a link would remove whatever files it leads to.
    if (!QFileInfo(m_folder).isDir() || vktcommon::isSymbolicLink(m_folder))
        return BE_PC_FAILED;
    QDirIterator files(m_folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        if (!needed.contains(files.fileName()) && !QFile::remove(path))
            return BE_PC_FAILED;
        if (vktcommon::stopRequested(cont))
            return BE_CANCELLED;
    }
    return BE_NO_ERROR;
}
