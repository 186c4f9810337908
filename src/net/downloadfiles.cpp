#include "downloadfiles.h"

#include "downloadedfilepath.h"
#include "listeners.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <openssl/evp.h>

#include <memory>

namespace DownloadFiles {

namespace {

bool shouldStop(vktcommon::ContinueListener *continueListener)
{
    return continueListener && !continueListener->shouldContinue();
}

QByteArray hexText(const unsigned char *digest, unsigned int length)
{
    return QByteArray(reinterpret_cast<const char *>(digest), int(length)).toHex();
}

using DigestContext = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

// OpenSSL's SHA-1, which is markedly faster than Qt's on large files.
DigestContext newSha1Context()
{
    DigestContext context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (context && EVP_DigestInit_ex(context.get(), EVP_sha1(), nullptr) != 1)
        context.reset();
    return context;
}

QByteArray finalSha1Text(EVP_MD_CTX *context)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int digestLength = 0;
    if (EVP_DigestFinal_ex(context, digest, &digestLength) != 1)
        return {};
    return hexText(digest, digestLength);
}

// SHA-1 text of the next length bytes, read through block (so memory stays bounded whatever the chunk
// size); read tells how many bytes there were.
QByteArray sha1TextOfNext(QIODevice &device, qint64 length, QByteArray &block, qint64 &read)
{
    read = 0;
    const DigestContext context = newSha1Context();
    if (!context)
        return {};
    while (read < length) {
        const qint64 count = device.read(block.data(), qMin(qint64(block.size()), length - read));
        if (count <= 0)
            break;
        if (EVP_DigestUpdate(context.get(), block.constData(), size_t(count)) != 1)
            return {};
        read += count;
    }
    return finalSha1Text(context.get());
}

void reportProgress(vktcommon::ProgressListener *progressListener, quint64 done, quint64 total)
{
    if (progressListener && total > 0)
        progressListener->setProgress(int(done * 100 / total));
}

// Rounded up without the sum that wraps for a chunk size near 2^64.
quint64 chunkCount(quint64 size, quint64 chunkSize)
{
    return size / chunkSize + (size % chunkSize != 0 ? 1 : 0);
}

} // namespace

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
    if (fileSize == 0)
        return RangesComputed;
    if (!areChunksTrusted(fileSize, chunkDigests, chunkSize)) {
        ranges.append({0, qint64(fileSize - 1)});
        return RangesComputed;
    }
    // Bytes beyond the record's size are never kept, so only the part up to fileSize is checked.
    const quint64 partialSize = qMin(quint64(partialFile.size()), fileSize);
    const quint64 chunks = chunkCount(partialSize, chunkSize);
    qint64 runStart = -1;
    QByteArray block(verificationBlockSize, Qt::Uninitialized);
    for (quint64 chunk = 0; chunk < chunks; ++chunk) {
        if (shouldStop(continueListener))
            return RangesCancelled;
        const qint64 chunkStart = qint64(chunk * chunkSize);
        const qint64 wanted = qint64(qMin(chunkSize, partialSize - quint64(chunkStart)));
        if (!partialFile.seek(chunkStart))
            return RangesReadFailed;
        qint64 read = 0;
        const QByteArray digest = sha1TextOfNext(partialFile, wanted, block, read);
        if (read == 0)
            return RangesReadFailed;
        const bool matches = read == wanted && digest == chunkDigests.at(qsizetype(chunk)).toLower();
        if (!matches && runStart < 0) {
            runStart = chunkStart;
        } else if (matches && runStart >= 0) {
            ranges.append({runStart, chunkStart - 1});
            runStart = -1;
        }
        reportProgress(progressListener, chunk + 1, chunks);
    }
    if (runStart >= 0)
        ranges.append({runStart, qint64(fileSize - 1)});
    else if (partialSize < fileSize)
        ranges.append({qint64(partialSize), qint64(fileSize - 1)});
    return RangesComputed;
}

QByteArray fileSha1Text(QIODevice &file, vktcommon::ContinueListener *continueListener,
                        vktcommon::ProgressListener *progressListener)
{
    const quint64 start = quint64(file.pos());
    const quint64 total = quint64(file.size()) - start;
    const DigestContext context = newSha1Context();
    if (!context)
        return {};
    QByteArray block(verificationBlockSize, Qt::Uninitialized);
    while (!file.atEnd()) {
        if (shouldStop(continueListener))
            return {};
        const qint64 count = file.read(block.data(), block.size());
        if (count <= 0)
            return {};
        if (EVP_DigestUpdate(context.get(), block.constData(), size_t(count)) != 1)
            return {};
        reportProgress(progressListener, quint64(file.pos()) - start, total);
    }
    return finalSha1Text(context.get());
}

} // namespace DownloadFiles
