#include "downloadfiles.h"

#include "downloadedfilepath.h"
#include "listeners.h"
#include "partialfilescan.h"
#include "sha1context.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>

namespace DownloadFiles {

namespace {

void reportProgress(vktcommon::ProgressListener *progressListener, quint64 done, quint64 total)
{
    if (progressListener && total > 0)
        progressListener->setProgress(int(done * 100 / total));
}

} // namespace

quint64 chunkCount(quint64 size, quint64 chunkSize)
{
    // Rounded up without the sum that wraps for a chunk size near 2^64.
    return size / chunkSize + (size % chunkSize != 0 ? 1 : 0);
}

bool isSha1Text(const QByteArray &text)
{
    if (text.size() != 40)
        return false;
    for (const char c : text) {
        const bool isHex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!isHex)
            return false;
    }
    return true;
}

QString partialFilePath(const QString &downloadsFolder, const QByteArray &sha1Text, int number)
{
    if (!isSha1Text(sha1Text))
        return {};
    QString name = QString::fromLatin1(sha1Text);
    if (number > 0)
        name += QLatin1Char('.') + QString::number(number);
    return vktcommon::downloadedFilePath(downloadsFolder, name);
}

bool isComplete(const QString &downloadsFolder, const PackageFile &file, vktcommon::ContinueListener *continueListener)
{
    const QString path = vktcommon::downloadedFilePath(downloadsFolder, file.fileName);
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile() || quint64(info.size()) != file.size)
        return false;
    if (!isSha1Text(file.fileName.toLatin1()))
        return true;
    QFile finished(path);
    return finished.open(QIODevice::ReadOnly)
           && fileSha1Text(finished, continueListener) == file.extraBytes.toLower();
}

bool areChunksTrusted(quint64 fileSize, const QVector<QByteArray> &chunkDigests, quint64 chunkSize)
{
    return chunkSize > 0 && quint64(chunkDigests.size()) >= chunkCount(fileSize, chunkSize);
}

RangeResult computeRanges(QIODevice &partialFile, quint64 fileSize, const QVector<QByteArray> &chunkDigests,
                          quint64 chunkSize, vktcommon::ContinueListener *continueListener,
                          QVector<ByteRange> &ranges, vktcommon::ProgressListener *progressListener)
{
    PartialFileScan scan(partialFile, fileSize, chunkDigests, chunkSize, nullptr);
    for (;;) {
        ByteRange range;
        switch (scan.next(continueListener, range, progressListener)) {
        case PartialFileScan::RangeFound:
            ranges.append(range);
            break;
        case PartialFileScan::EndReached:
            return RangesComputed;
        case PartialFileScan::Cancelled:
            return RangesCancelled;
        case PartialFileScan::ReadFailed:
            return RangesReadFailed;
        }
    }
}

QByteArray fileSha1Text(QIODevice &file, vktcommon::ContinueListener *continueListener,
                        vktcommon::ProgressListener *progressListener)
{
    const quint64 start = quint64(file.pos());
    const quint64 total = quint64(file.size()) - start;
    Sha1Context digest;
    QByteArray block(verificationBlockSize, Qt::Uninitialized);
    while (!file.atEnd()) {
        if (vktcommon::stopRequested(continueListener))
            return {};
        const qint64 count = file.read(block.data(), block.size());
        if (count <= 0 || !digest.add(block.constData(), count))
            return {};
        reportProgress(progressListener, quint64(file.pos()) - start, total);
    }
    return digest.finishHex();
}

} // namespace DownloadFiles
