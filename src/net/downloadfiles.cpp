#include "downloadfiles.h"

#include "listeners.h"

#include <QDir>
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

bool isPlainFileName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
        && !name.contains(QChar(u'\0'));
}

QString pathInFolder(const QString &downloadsFolder, const QString &fileName)
{
    if (!isPlainFileName(fileName))
        return {};
    const QString absolute = QFileInfo(QDir(downloadsFolder), fileName).absoluteFilePath();
    return QDir::toNativeSeparators(QDir::cleanPath(absolute));
}

QByteArray hexText(const unsigned char *digest, unsigned int length)
{
    return QByteArray(reinterpret_cast<const char *>(digest), int(length)).toHex();
}

// OpenSSL's SHA-1, which is markedly faster than Qt's on large files.
QByteArray sha1Text(const QByteArray &bytes)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.constData(), size_t(bytes.size()), digest, &length, EVP_sha1(), nullptr) != 1)
        return {};
    return hexText(digest, length);
}

void reportProgress(vktcommon::ProgressListener *progressListener, quint64 done, quint64 total)
{
    if (progressListener && total > 0)
        progressListener->setProgress(int(done * 100 / total));
}

quint64 chunkCount(quint64 size, quint64 chunkSize)
{
    return (size + chunkSize - 1) / chunkSize;
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

QString partialFilePath(const QString &downloadsFolder, const QByteArray &sha1Text)
{
    if (!isSha1Text(sha1Text))
        return {};
    return pathInFolder(downloadsFolder, QString::fromLatin1(sha1Text));
}

QString finalFilePath(const QString &downloadsFolder, const QString &fileName)
{
    return pathInFolder(downloadsFolder, fileName);
}

bool isComplete(const QString &downloadsFolder, const PackageFile &file)
{
    const QString path = finalFilePath(downloadsFolder, file.fileName);
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.isFile() && quint64(info.size()) == file.size;
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
    for (quint64 chunk = 0; chunk < chunks; ++chunk) {
        if (shouldStop(continueListener))
            return RangesCancelled;
        const qint64 chunkStart = qint64(chunk * chunkSize);
        const qint64 wanted = qint64(qMin(chunkSize, partialSize - quint64(chunkStart)));
        if (!partialFile.seek(chunkStart))
            return RangesReadFailed;
        const QByteArray bytes = partialFile.read(wanted);
        if (bytes.isEmpty())
            return RangesReadFailed;
        const bool matches = bytes.size() == wanted && sha1Text(bytes) == chunkDigests.at(qsizetype(chunk)).toLower();
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
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (!context || EVP_DigestInit_ex(context.get(), EVP_sha1(), nullptr) != 1)
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
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int digestLength = 0;
    if (EVP_DigestFinal_ex(context.get(), digest, &digestLength) != 1)
        return {};
    return hexText(digest, digestLength);
}

} // namespace DownloadFiles
