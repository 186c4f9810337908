#include "devicedocument.h"

#include "checkedcopy.h"
#include "filesystem.h"

#include <QDir>
#include <QIODevice>
#include <QTemporaryFile>

#include <memory>

namespace DeviceDocument {

namespace {

// Our documents are a few kilobytes; anything far larger is not ours.
constexpr qint64 documentLimit = 4 * 1024 * 1024;

} // namespace

int write(vktpdl::FileSystem &device, const QString &path, const QByteArray &document)
{
    QTemporaryFile file(QDir(QDir::tempPath()).filePath(QStringLiteral("KorwindDocument-XXXXXX")));
    if (!file.open() || file.write(document) != document.size() || !file.flush())
        return vktpdl::DE_TRANSFER_ERROR;
    return vktpdl::putFileChecked(device, path, file.fileName(), QString(), nullptr, nullptr);
}

int read(vktpdl::FileSystem &device, const QString &path, QByteArray &document)
{
    document.clear();
    if (!device.isFile(path))
        return vktpdl::DE_NO_ERROR;
    QIODevice *opened = nullptr;
    const int result = device.openFile(path, opened);
    const std::unique_ptr<QIODevice> file(opened);
    if (result != vktpdl::DE_NO_ERROR)
        return result;
    if (!file || !file->open(QIODevice::ReadOnly))
        return vktpdl::DE_WRONG_REPLY;
    document = file->read(documentLimit + 1);
    return document.size() > documentLimit ? vktpdl::DE_WRONG_REPLY : vktpdl::DE_NO_ERROR;
}

int remove(vktpdl::FileSystem &device, const QString &path)
{
    const int result = device.deleteFile(path);
    return result == vktpdl::DE_NO_ERROR ? device.flushFolder(device.parentPath(path)) : result;
}

} // namespace DeviceDocument
