// Which byte ranges of a partial file are fetched again, the whole-file digest taken while the
// partial file is read once and repaired, the file names a download may use, the completeness test
// and the whole-file digest of a finished file.

#include "backgroundsha1.h"
#include "downloadedfilepath.h"
#include "downloadfiles.h"
#include "partialfilescan.h"
#include "testlisteners.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using DownloadFiles::ByteRange;

namespace {

constexpr quint64 chunkSize = 16;

// Six chunks of distinct bytes, the last one short: 5 * 16 + 7 bytes.
QByteArray serverFile()
{
    QByteArray bytes;
    for (int i = 0; i < 5 * 16 + 7; ++i)
        bytes.append(char('a' + i % 26 + i / 16));
    return bytes;
}

QVector<QByteArray> digestsOf(const QByteArray &file)
{
    QVector<QByteArray> digests;
    for (qsizetype start = 0; start < file.size(); start += qsizetype(chunkSize))
        digests.append(QCryptographicHash::hash(file.mid(start, qsizetype(chunkSize)), QCryptographicHash::Sha1).toHex());
    return digests;
}

QByteArray damaged(QByteArray bytes, const QVector<int> &chunks)
{
    for (const int chunk : chunks)
        bytes[chunk * int(chunkSize) + 1] = '#';
    return bytes;
}

QByteArray sha1Hex(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

// A partial file that counts the bytes read from it.
class CountingBuffer final : public QBuffer
{
public:
    using QBuffer::QBuffer;
    qint64 bytesRead = 0;

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 count = QBuffer::readData(data, maxSize);
        bytesRead += qMax<qint64>(count, 0);
        return count;
    }
};

} // namespace

class DownloadRangesTest : public QObject
{
    Q_OBJECT

private slots:
    void ranges_data()
    {
        const QByteArray file = serverFile();
        const qint64 last = file.size() - 1;
        QTest::addColumn<QByteArray>("partial");
        QTest::addColumn<QVector<QByteArray>>("digests");
        QTest::addColumn<quint64>("chunk");
        QTest::addColumn<QVector<ByteRange>>("expected");
        const QVector<QByteArray> digests = digestsOf(file);
        QTest::newRow("complete and intact") << file << digests << chunkSize << QVector<ByteRange>{};
        QTest::newRow("empty partial file") << QByteArray() << digests << chunkSize << QVector<ByteRange>{{0, last}};
        QTest::newRow("chunks 2 and 3 damaged") << damaged(file, {1, 2}) << digests << chunkSize
                                                << QVector<ByteRange>{{16, 47}};
        QTest::newRow("two separate runs") << damaged(file, {0, 3, 4}) << digests << chunkSize
                                           << QVector<ByteRange>{{0, 15}, {48, 79}};
        QTest::newRow("damaged short last chunk") << damaged(file, {5}) << digests << chunkSize
                                                  << QVector<ByteRange>{{80, last}};
        QTest::newRow("cut at a chunk border") << file.left(32) << digests << chunkSize
                                               << QVector<ByteRange>{{32, last}};
        QTest::newRow("cut inside a chunk") << file.left(40) << digests << chunkSize
                                            << QVector<ByteRange>{{32, last}};
        QTest::newRow("damage then cut") << damaged(file, {0}).left(48) << digests << chunkSize
                                         << QVector<ByteRange>{{0, 15}, {48, last}};
        QTest::newRow("larger than the record") << file + QByteArray("trailing") << digests << chunkSize
                                                << QVector<ByteRange>{};
        QTest::newRow("upper-case digests") << file << QVector<QByteArray>{digests.at(0).toUpper(), digests.at(1),
                                                                            digests.at(2), digests.at(3),
                                                                            digests.at(4), digests.at(5)}
                                            << chunkSize << QVector<ByteRange>{};
        QTest::newRow("chunk size 0 fetches whole") << file << digests << quint64(0) << QVector<ByteRange>{{0, last}};
        QTest::newRow("too few digests fetch whole") << file << digests.mid(0, 5) << chunkSize
                                                     << QVector<ByteRange>{{0, last}};
        // Rounding the chunk count up must not wrap it to 0, which would trust an empty list.
        QTest::newRow("chunk size near 2^64 without digests fetches whole")
            << damaged(file, {0}) << QVector<QByteArray>{} << ~quint64(0) << QVector<ByteRange>{{0, last}};
    }
    void ranges()
    {
        QFETCH(QByteArray, partial);
        QFETCH(QVector<QByteArray>, digests);
        QFETCH(quint64, chunk);
        QFETCH(QVector<ByteRange>, expected);
        QBuffer buffer(&partial);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QVector<ByteRange> ranges;
        QCOMPARE(DownloadFiles::computeRanges(buffer, quint64(serverFile().size()), digests, chunk, nullptr, ranges),
                 DownloadFiles::RangesComputed);
        QCOMPARE(ranges, expected);
    }

    void rangesStopAndReadFailure()
    {
        QByteArray file = serverFile();
        QBuffer buffer(&file);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        FlagContinueListener stop;
        stop.mayContinue = false;
        QVector<ByteRange> ranges;
        QCOMPARE(DownloadFiles::computeRanges(buffer, quint64(file.size()), digestsOf(file), chunkSize, &stop, ranges),
                 DownloadFiles::RangesCancelled);

        QBuffer unreadable(&file);
        QVERIFY(unreadable.open(QIODevice::WriteOnly));
        QCOMPARE(DownloadFiles::computeRanges(unreadable, quint64(file.size()), digestsOf(file), chunkSize, nullptr,
                                              ranges),
                 DownloadFiles::RangesReadFailed);
        QVERIFY(ranges.isEmpty());
    }

    // The scan stops at each range; the test fetches it from the server's file in small pieces, as the
    // network delivers them. The digest must be the server file's, and the partial file read once (but for
    // the part of a chunk too large to keep, which is read again).
    void wholeFileDigestInOneRead_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("partial");
        QTest::addColumn<quint64>("chunk");
        QTest::addColumn<int>("ranges");
        QTest::addColumn<qint64>("readAgain");

        const QByteArray file = serverFile();
        QTest::newRow("intact") << file << file << chunkSize << 0 << qint64(0);
        QTest::newRow("damage at the start, in the middle and at the end")
            << file << damaged(file, {0, 2, 5}) << chunkSize << 3 << qint64(0);
        QTest::newRow("run of two, then intact chunks") << file << damaged(file, {1, 2}) << chunkSize << 1 << qint64(0);
        QTest::newRow("damage then cut inside a chunk") << file << damaged(file, {0}).left(40) << chunkSize << 2
                                                        << qint64(0);
        QTest::newRow("empty partial file") << file << QByteArray() << chunkSize << 1 << qint64(0);
        QTest::newRow("larger than the record") << file << file + QByteArray("trailing") << chunkSize << 0 << qint64(0);
        QTest::newRow("untrusted list: fetched whole") << file << damaged(file, {3}) << quint64(0) << 1 << qint64(0);

        // Chunks of 3 MiB: of the intact chunk after a damaged one only 2 MiB are kept, 1 MiB is read again.
        const quint64 big = 3 * 1024 * 1024;
        QByteArray large(int(2 * big + 1000), Qt::Uninitialized);
        for (int i = 0; i < large.size(); ++i)
            large[i] = char(i * 31 + i / 4099);
        QByteArray largeDamaged = large;
        largeDamaged[5] = char(~largeDamaged.at(5));
        QTest::newRow("large chunk after a damaged one") << large << largeDamaged << big << 1 << qint64(1024 * 1024);
    }
    void wholeFileDigestInOneRead()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, partial);
        QFETCH(quint64, chunk);
        QFETCH(int, ranges);
        QFETCH(qint64, readAgain);
        QVector<QByteArray> digests;
        for (qsizetype start = 0; chunk > 0 && start < file.size(); start += qsizetype(chunk))
            digests.append(sha1Hex(file.mid(start, qsizetype(chunk))));
        CountingBuffer buffer(&partial);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        BackgroundSha1 wholeFile;
        PartialFileScan scan(buffer, quint64(file.size()), digests, chunk, &wholeFile);

        int fetched = 0;
        ByteRange range;
        PartialFileScan::Step step;
        while ((step = scan.next(nullptr, range)) == PartialFileScan::RangeFound) {
            ++fetched;
            for (qint64 at = range.first; at <= range.second; at += 7) {
                const QByteArray piece = file.mid(at, qMin<qint64>(7, range.second - at + 1));
                scan.addFetched(piece, piece.size());
            }
            QVERIFY(scan.rangeFetched());
        }
        QCOMPARE(step, PartialFileScan::EndReached);
        QCOMPARE(fetched, ranges);
        QCOMPARE(wholeFile.size(), quint64(file.size()));
        QCOMPARE(wholeFile.finishHex(), sha1Hex(file));
        const qint64 looked = chunk == 0 ? 0 : qMin(partial.size(), file.size());
        QCOMPARE(buffer.bytesRead, looked + readAgain);
    }

    void partialFileNames_data()
    {
        QTest::addColumn<QByteArray>("sha1");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("lower-case digest") << QByteArray("0123456789abcdef0123456789abcdef01234567") << true;
        QTest::newRow("upper-case digest") << QByteArray("0123456789ABCDEF0123456789ABCDEF01234567") << true;
        QTest::newRow("39 digits") << QByteArray("0123456789abcdef0123456789abcdef0123456") << false;
        QTest::newRow("41 digits") << QByteArray("0123456789abcdef0123456789abcdef012345678") << false;
        QTest::newRow("not hex") << QByteArray("0123456789abcdef0123456789abcdef0123456g") << false;
        QTest::newRow("parent path") << QByteArray("../../../../../../../../../../etc/passwd0") << false;
        QTest::newRow("empty") << QByteArray() << false;
    }
    void partialFileNames()
    {
        QFETCH(QByteArray, sha1);
        QFETCH(bool, accepted);
        const QString path = DownloadFiles::partialFilePath(QStringLiteral("/downloads"), sha1);
        QCOMPARE(!path.isEmpty(), accepted);
        if (accepted)
            QCOMPARE(path, QStringLiteral("/downloads/") + QString::fromLatin1(sha1));
    }

    void finalFileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("plain") << "maps.zip" << true;
        QTest::newRow("parent") << ".." << false;
        QTest::newRow("slash") << "../maps.zip" << false;
        QTest::newRow("backslash") << "..\\maps.zip" << false;
        QTest::newRow("absolute") << "/etc/passwd" << false;
        QTest::newRow("empty") << "" << false;
    }
    void finalFileNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        QCOMPARE(!vktcommon::downloadedFilePath(QStringLiteral("/downloads"), name).isEmpty(), accepted);
    }

    void completeness()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QFile file(folder.filePath(QStringLiteral("maps.zip")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("12345");
        file.close();
        PackageFile record;
        record.fileName = QStringLiteral("maps.zip");
        record.size = 5;
        QVERIFY(DownloadFiles::isComplete(folder.path(), record));
        record.size = 6;
        QVERIFY(!DownloadFiles::isComplete(folder.path(), record));
        record.fileName = QStringLiteral("other.zip");
        record.size = 5;
        QVERIFY(!DownloadFiles::isComplete(folder.path(), record));

        // A link under the final name is no download of ours.
        QVERIFY(QFile::link(file.fileName(), folder.filePath(QStringLiteral("linked.zip"))));
        record.fileName = QStringLiteral("linked.zip");
        QVERIFY(!DownloadFiles::isComplete(folder.path(), record));

        // A final name that is a SHA-1 text may be an unverified partial file: only its digest tells.
        record.extraBytes = QCryptographicHash::hash("12345", QCryptographicHash::Sha1).toHex();
        record.fileName = QString::fromLatin1(record.extraBytes);
        QVERIFY(QFile::copy(file.fileName(), folder.filePath(record.fileName)));
        QVERIFY(DownloadFiles::isComplete(folder.path(), record));
        record.extraBytes = QCryptographicHash::hash("54321", QCryptographicHash::Sha1).toHex();
        QVERIFY(!DownloadFiles::isComplete(folder.path(), record));
    }

    void wholeFileDigest_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("empty") << 0;
        QTest::newRow("one block") << int(DownloadFiles::verificationBlockSize);
        QTest::newRow("block and a bit") << int(DownloadFiles::verificationBlockSize) + 3;
    }
    void wholeFileDigest()
    {
        QFETCH(int, size);
        QByteArray bytes(size, Qt::Uninitialized);
        for (int i = 0; i < size; ++i)
            bytes[i] = char(i * 7 + i / 1000);
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QCOMPARE(DownloadFiles::fileSha1Text(buffer, nullptr),
                 QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
    }

    void wholeFileDigestStops()
    {
        QByteArray bytes(1000, 'x');
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        FlagContinueListener stop;
        stop.mayContinue = false;
        QVERIFY(DownloadFiles::fileSha1Text(buffer, &stop).isEmpty());
    }
};

QTEST_GUILESS_MAIN(DownloadRangesTest)
#include "tst_downloadranges.moc"
