#include "checkedcopy.h"

#include "listeners.h"
#include "partialprogresslistener.h"
#include "sha1digest.h"

#include <QFile>
#include <QIODevice>

#include <atomic>
#include <functional>
#include <future>

namespace vktpdl {

namespace {

const QString temporaryExtension = QStringLiteral(".kwpart");
constexpr qint64 digestBlockSize = 1 << 20;
// The read-back costs about a third of the write on the cards people use.
constexpr int copyShare = 75;

// The SHA-1 of a file of the PC; empty when it cannot be read or when abandoned is set (the copy
// failed, the digest is not needed).
QString pcFileSha1(const QString &path, const std::atomic_bool &abandoned)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
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

QString temporaryPathOf(const QString &path)
{
    return path + temporaryExtension;
}

bool isTemporaryName(const QString &name)
{
    return name.endsWith(temporaryExtension, Qt::CaseInsensitive);
}

int putFileChecked(FileSystem &files, const QString &destination, const QString &source, const QString &expectedSha1,
                   vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    const QString temporary = temporaryPathOf(destination);
    // A leftover of an interrupted copy is only in the way.
    int result = files.deleteFile(temporary);
    if (result != DE_NO_ERROR)
        return result;

    // The source is digested beside the copy (from the page cache the copy fills), so that a download
    // damaged on the PC is told apart from a device that damages what it is given.
    std::atomic_bool abandoned{false};
    std::future<QString> sourceDigest = std::async(std::launch::async, pcFileSha1, source, std::cref(abandoned));
    vktcommon::PartialProgressListener share(progress, 0, copyShare);
    result = files.putFile(temporary, source, &share, cont);
    if (result == DE_NO_ERROR)
        result = files.flushFile(temporary);
    abandoned = result != DE_NO_ERROR;
    const QString sourceSha1 = sourceDigest.get();
    const QString wanted = expectedSha1.isEmpty() ? sourceSha1 : expectedSha1.toLower();
    if (result == DE_NO_ERROR && sourceSha1.isEmpty())
        result = DE_TRANSFER_ERROR;
    else if (result == DE_NO_ERROR && sourceSha1 != wanted)
        result = DE_DOWNLOAD_DAMAGED;

    if (result == DE_NO_ERROR) {
        QString readBack;
        share.setRange(copyShare, 100);
        result = files.fileSha1(temporary, readBack, &share, cont);
        if (result == DE_NO_ERROR && readBack != wanted)
            result = DE_READ_BACK_MISMATCH;
    }
    if (result == DE_NO_ERROR)
        result = files.renameFile(temporary, destination);
    if (result != DE_NO_ERROR) {
        files.deleteFile(temporary);
        return result;
    }
    return files.flushFolder(files.parentPath(destination));
}

} // namespace vktpdl
