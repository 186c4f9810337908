#include "filesystem.h"

#include "listeners.h"
#include "sha1digest.h"

#include <QIODevice>

#include <memory>

namespace vktpdl {

FileSystem::~FileSystem() = default;

bool FileSystem::isReadOnly(const QString &)
{
    return false;
}

int FileSystem::fileSize(const QString &path, qint64 &size)
{
    QIODevice *opened = nullptr;
    const int result = openFile(path, opened);
    if (result != DE_NO_ERROR)
        return result;
    const std::unique_ptr<QIODevice> device(opened);
    if (!device || !device->open(QIODevice::ReadOnly))
        return DE_WRONG_REPLY;
    size = device->size();
    return DE_NO_ERROR;
}

int FileSystem::readFileStart(const QString &path, qint64 maxBytes, QByteArray &bytes, qint64 &size)
{
    QIODevice *opened = nullptr;
    const int result = openFile(path, opened);
    if (result != DE_NO_ERROR)
        return result;
    const std::unique_ptr<QIODevice> device(opened);
    if (!device || !device->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return DE_WRONG_REPLY;
    size = device->size();
    bytes = device->read(maxBytes);
    return DE_NO_ERROR;
}

bool FileSystem::isFile(const QString &)
{
    return true;
}

int FileSystem::fileStamp(const QString &, FileStamp &stamp)
{
    stamp = FileStamp();
    return DE_NO_ERROR;
}

int FileSystem::renameFile(const QString &, const QString &)
{
    return DE_NOT_SUPPORTED;
}

int FileSystem::exchangeFolders(const QString &, const QString &)
{
    return DE_NOT_SUPPORTED;
}

int FileSystem::flushFile(const QString &)
{
    return DE_NO_ERROR;
}

int FileSystem::flushFolder(const QString &)
{
    return DE_NO_ERROR;
}

int FileSystem::syncVolume(const QString &)
{
    return DE_NO_ERROR;
}

int FileSystem::fileSha1(const QString &path, QString &sha1, vktcommon::ProgressListener *progress,
                         vktcommon::ContinueListener *cont)
{
    QIODevice *opened = nullptr;
    const int result = openFile(path, opened);
    const std::unique_ptr<QIODevice> device(opened);
    if (result != DE_NO_ERROR)
        return result;
    if (!device || !device->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return DE_TRANSFER_ERROR;
    const qint64 size = device->size();
    Sha1Digest digest;
    QByteArray block(qsizetype(1) << 20, Qt::Uninitialized);
    qint64 done = 0;
    for (;;) {
        if (vktcommon::stopRequested(cont))
            return DE_CANCELLED;
        const qint64 count = device->read(block.data(), block.size());
        if (count < 0)
            return DE_TRANSFER_ERROR;
        if (count == 0)
            break;
        if (!digest.add(block.constData(), count))
            return DE_TRANSFER_ERROR;
        done += count;
        if (size > 0)
            vktcommon::reportProgress(progress, int(qMin<qint64>(done, size) * 100 / size));
    }
    sha1 = digest.finish();
    return sha1.isEmpty() ? DE_TRANSFER_ERROR : DE_NO_ERROR;
}

void FileSystem::splitPath(const QString &path, QString &parent, QString &name) const
{
    const qsizetype at = path.lastIndexOf(separator());
    if (at < 0) {
        parent.clear();
        name = path;
        return;
    }
    parent = path.left(at);
    name = path.mid(at + 1);
}

QString FileSystem::fileName(const QString &path) const
{
    QString parent;
    QString name;
    splitPath(path, parent, name);
    return name;
}

QString FileSystem::parentPath(const QString &path) const
{
    QString parent;
    QString name;
    splitPath(path, parent, name);
    return parent;
}

QString FileSystem::joinPath(const QString &a, const QString &b) const
{
    if (a.isEmpty() || b.isEmpty())
        return QString();
    if (a.endsWith(separator()))
        return a + b;
    return a + separator() + b;
}

int FileSystem::emptyFolder(const QString &path)
{
    QStringList files;
    int result = listFiles(path, QStringLiteral("*"), files);
    if (result != DE_NO_ERROR)
        return result;
    for (const QString &name : files) {
        result = deleteFile(joinPath(path, name));
        if (result != DE_NO_ERROR)
            return result;
    }
    QStringList folders;
    result = listFolders(path, QStringLiteral("*"), folders);
    if (result != DE_NO_ERROR)
        return result;
    for (const QString &name : folders) {
        result = removeTree(joinPath(path, name));
        if (result != DE_NO_ERROR)
            return result;
    }
    return DE_NO_ERROR;
}

int FileSystem::removeTree(const QString &path)
{
    const int result = emptyFolder(path);
    return result != DE_NO_ERROR ? result : removeDirectory(path, false);
}

} // namespace vktpdl
