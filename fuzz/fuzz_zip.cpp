// Feeds arbitrary bytes to the zip reader and extracts whatever it accepts into a sandbox folder;
// aborts when anything appears in the sandbox beside the extraction folder.
#include "archiveerror.h"
#include "foldernode.h"
#include "ziparchive.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

void quiet(QtMsgType, const QMessageLogContext &, const QString &)
{
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool silenced = (qInstallMessageHandler(quiet), true);
    static QTemporaryDir sandbox;
    static const QString out = sandbox.filePath(QStringLiteral("out"));
    Q_UNUSED(silenced);

    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    ZipArchive archive;
    if (archive.open(&buffer) != AE_NO_ERROR)
        return 0;
    QDir().mkdir(out);
    archive.root()->extract(out, nullptr, nullptr);
    const QStringList beside = QDir(sandbox.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    if (beside != QStringList{QStringLiteral("out")})
        std::abort();
    QDir(out).removeRecursively();
    return 0;
}
