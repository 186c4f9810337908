// Whole downloads on the download thread against the stand-in server over loopback: which ranges are
// fetched for a given partial file, how faults of the server and the disk end, and that a final file
// only ever appears with the record's digest.

#include "downloadresumethreadedtask.h"
#include "informationclient.h"
#include "sharedtypes.h"
#include "standinserverprocess.h"
#include "testlisteners.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <signal.h>
#include <sys/resource.h>

namespace {

constexpr qint64 chunk = qint64(InformationClient::requestedChunkSize);
// Six chunks, the last one short.
constexpr qint64 fileSize = 5 * chunk + 1000;
const QString fileName = QStringLiteral("six.bin");

QByteArray sha1Hex(const QByteArray &data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex();
}

QByteArray makeContent()
{
    QByteArray content(fileSize, Qt::Uninitialized);
    QRandomGenerator generator(8);
    generator.fillRange(reinterpret_cast<quint32 *>(content.data()), content.size() / 4);
    return content;
}

// The content with one byte of each given chunk (numbered from 1) inverted.
QByteArray damaged(QByteArray content, std::initializer_list<int> chunks)
{
    for (const int number : chunks) {
        const qint64 offset = (number - 1) * chunk + 17;
        content[offset] = char(~content.at(offset));
    }
    return content;
}

QString rangeText(qint64 first, qint64 last)
{
    return QStringLiteral("bytes=%1-%2").arg(first).arg(last);
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// How one download ended, and the signals it gave on the way.
struct Outcome
{
    bool finished = false;
    QString error = QStringLiteral("(none)"); // empty on success
    int code = 0;
    QStringList events;
    int statusUpdates = 0;
    qint64 elapsedMs = 0;
};

} // namespace

class tst_Downloads : public QObject
{
    Q_OBJECT

private:
    StandInServerProcess m_server;
    QTemporaryDir m_catalogue;
    QByteArray m_content;
    std::unique_ptr<QTemporaryDir> m_downloads;
    FlagContinueListener m_listener;

    PackageFile record() const
    {
        PackageFile file;
        file.fileName = fileName;
        file.size = quint64(fileSize);
        file.extraText = fileName;
        file.extraBytes = sha1Hex(m_content);
        file.url = QUrl(m_server.baseUrl() + QStringLiteral("/files/") + fileName);
        return file;
    }
    QString partialPath() const { return m_downloads->filePath(QString::fromLatin1(sha1Hex(m_content))); }
    QString finalPath() const { return m_downloads->filePath(fileName); }

    QStringList fetchedRanges()
    {
        QStringList ranges;
        for (const QJsonValue &request : m_server.requests()) {
            const QJsonObject entry = request.toObject();
            if (entry.value(QStringLiteral("method")).toString() == QLatin1String("GET"))
                ranges << entry.value(QStringLiteral("range")).toString();
        }
        return ranges;
    }

    // Runs one download to its end; whileRunning is called once the transfer has begun.
    Outcome download(const QList<PackageFile> &files, const std::function<void(DownloadResumeThreadedTask &)> &whileRunning = {})
    {
        Outcome outcome;
        DownloadResumeThreadedTask task;
        task.setup(files, QStringLiteral("en_US"), nullptr, &m_listener);
        task.setServerBaseUrl(m_server.baseUrl());
        task.setDownloadsFolder(m_downloads->path());
        using T = DownloadResumeThreadedTask;
        connect(&task, qOverload<QString>(&T::downloadComplete), this, [&](const QString &error) {
            outcome.error = error;
            outcome.events << QStringLiteral("complete");
        });
        connect(&task, qOverload<NETWORK_ERROR_CODE>(&T::downloadComplete), this, [&](NETWORK_ERROR_CODE code) {
            outcome.code = code;
            outcome.events << QStringLiteral("code %1").arg(int(code));
        });
        connect(&task, &T::chunkDownloadStarted, this, [&] { outcome.events << QStringLiteral("chunk info"); });
        connect(&task, &T::chunksProcessingStarted, this, [&] { outcome.events << QStringLiteral("processing"); });
        connect(&task, &T::updateDownloadStarted, this, [&] { outcome.events << QStringLiteral("downloading"); });
        connect(&task, &T::updateVerificationStarted, this, [&] { outcome.events << QStringLiteral("verifying"); });
        connect(&task, &T::downloadStatusUpdate, this, [&] { ++outcome.statusUpdates; });
        QElapsedTimer clock;
        clock.start();
        task.start();
        if (whileRunning) {
            if (QTest::qWaitFor([&] { return outcome.events.contains(QLatin1String("downloading")); }, 10000))
                whileRunning(task);
        }
        // Asked of the thread, not waited for as a signal: a download that ends before the wait began
        // would otherwise count as one that never ended.
        outcome.finished = QTest::qWaitFor([&] { return task.isFinished(); }, 20000);
        outcome.elapsedMs = clock.elapsed();
        QTest::qWait(20); // the queued end signals
        return outcome;
    }

private Q_SLOTS:
    void initTestCase()
    {
        registerSharedTypes();
        m_content = makeContent();
        QVERIFY(writeCatalogueFile(m_catalogue.path(), QStringLiteral("files/") + fileName, m_content));
        QVERIFY2(m_server.start(m_catalogue.path()), qPrintable(m_server.errorText()));
    }

    void init()
    {
        QVERIFY(m_server.reset());
        m_downloads = std::make_unique<QTemporaryDir>();
        m_listener.mayContinue = true;
    }

    // What is already in the downloads folder decides which ranges are asked for; every download
    // ends with the verified file under its final name and no partial file.
    void fetchesOnlyWhatIsMissing_data()
    {
        QTest::addColumn<QByteArray>("partial");
        QTest::addColumn<QByteArray>("oldCopy"); // an unverified file under the final name
        QTest::addColumn<QStringList>("ranges");

        const QByteArray none;
        QTest::newRow("nothing yet") << none << none << QStringList{rangeText(0, fileSize - 1)};
        QTest::newRow("chunks 2 and 3 of 6 damaged")
            << damaged(m_content, {2, 3}) << none << QStringList{rangeText(chunk, 3 * chunk - 1)};
        QTest::newRow("chunks 1 and 5 damaged") << damaged(m_content, {1, 5}) << none
                                                << QStringList{rangeText(0, chunk - 1), rangeText(4 * chunk, 5 * chunk - 1)};
        QTest::newRow("last chunk damaged") << damaged(m_content, {6}) << none
                                            << QStringList{rangeText(5 * chunk, fileSize - 1)};
        QTest::newRow("start, middle and end damaged at once")
            << damaged(m_content, {1, 3, 6}) << none
            << QStringList{rangeText(0, chunk - 1), rangeText(2 * chunk, 3 * chunk - 1), rangeText(5 * chunk, fileSize - 1)};
        QTest::newRow("all chunks match") << m_content << none << QStringList();
        QTest::newRow("interrupted inside chunk 3")
            << m_content.left(2 * chunk + 5000) << none << QStringList{rangeText(2 * chunk, fileSize - 1)};
        QTest::newRow("partial larger than the record")
            << m_content + QByteArray(100, 'x') << none << QStringList{rangeText(0, fileSize - 1)};
        QTest::newRow("old copy of the wrong size becomes the partial file")
            << none << m_content.left(3 * chunk) << QStringList{rangeText(3 * chunk, fileSize - 1)};
        QTest::newRow("old copy replaces a partial file")
            << damaged(m_content, {1}) << m_content.left(chunk) << QStringList{rangeText(chunk, fileSize - 1)};
        QTest::newRow("old copy larger than the record")
            << none << m_content + QByteArray(10, 'x') << QStringList{rangeText(0, fileSize - 1)};
    }

    void fetchesOnlyWhatIsMissing()
    {
        QFETCH(QByteArray, partial);
        QFETCH(QByteArray, oldCopy);
        QFETCH(QStringList, ranges);
        if (!partial.isNull())
            QVERIFY(writeFile(partialPath(), partial));
        if (!oldCopy.isNull())
            QVERIFY(writeFile(finalPath(), oldCopy));

        const Outcome outcome = download({record()});
        QVERIFY(outcome.finished);
        QCOMPARE(outcome.error, QString());
        QCOMPARE(fetchedRanges(), ranges);
        QCOMPARE(outcome.events, (QStringList{"chunk info", "processing", "downloading", "verifying", "complete"}));
        QCOMPARE(sha1Hex(readFile(finalPath())), sha1Hex(m_content));
        QVERIFY(!QFile::exists(partialPath()));
    }

    void resumesAfterADroppedConnection()
    {
        QVERIFY(m_server.setFaults("[{\"path\": \"/files/six.bin\", \"times\": 1, \"dropAfter\": 5000000}]"));
        const Outcome first = download({record()});
        QVERIFY(first.finished);
        QVERIFY(!first.error.isEmpty());
        QVERIFY(!QFile::exists(finalPath()));
        QVERIFY(QFile::exists(partialPath()));
        // The server sent two chunks and part of the third; how much of that arrived before the cut depends on
        // the connection, so the whole chunks that did are counted here.
        const QByteArray kept = readFile(partialPath());
        qint64 wholeChunks = 0;
        while ((wholeChunks + 1) * chunk <= kept.size()
               && kept.mid(wholeChunks * chunk, chunk) == m_content.mid(wholeChunks * chunk, chunk))
            ++wholeChunks;
        QVERIFY(wholeChunks >= 1);

        QVERIFY(m_server.reset());
        const Outcome second = download({record()});
        QCOMPARE(second.error, QString());
        // The whole chunks are kept; the first broken one is fetched again from its first byte.
        QCOMPARE(fetchedRanges(), QStringList{rangeText(wholeChunks * chunk, fileSize - 1)});
        QCOMPARE(sha1Hex(readFile(finalPath())), sha1Hex(m_content));
    }

    void completeFilesAreNeitherFetchedNorVerified()
    {
        // Complete means the right size under the final name; the content is not looked at again.
        QVERIFY(writeFile(finalPath(), QByteArray(fileSize, 'c')));
        const Outcome outcome = download({record(), record()});
        QVERIFY(outcome.finished);
        QCOMPARE(outcome.error, QString());
        QCOMPARE(outcome.events, (QStringList{"chunk info", "processing", "complete"}));
        QCOMPARE(outcome.statusUpdates, 0);
        QVERIFY(m_server.requests().isEmpty());
    }

    void persistentCorruptionFailsAfterTheThirdVerification()
    {
        QVERIFY(m_server.setFaults("[{\"path\": \"/files/six.bin\", \"corrupt\": [3000000]}]"));
        const Outcome outcome = download({record()});
        QVERIFY(outcome.finished);
        QCOMPARE(outcome.code, int(NEC_DOWNLOAD_ERROR));
        QCOMPARE(outcome.events.count(QStringLiteral("verifying")), 3);
        // The first pass fetches everything, the two extra passes only the damaged chunk.
        QCOMPARE(fetchedRanges(), (QStringList{rangeText(0, fileSize - 1), rangeText(chunk, 2 * chunk - 1),
                                               rangeText(chunk, 2 * chunk - 1)}));
        QVERIFY(!QFile::exists(finalPath()));
        QCOMPARE(QFileInfo(partialPath()).size(), fileSize);
    }

    void stalledTransferIsCancelledWithinTheTimerInterval()
    {
        QVERIFY(m_server.setFaults("[{\"path\": \"/files/six.bin\", \"stallAfter\": 3000000, \"stallSeconds\": 60}]"));
        qint64 cancelledAfterMs = 0;
        QElapsedTimer clock;
        const Outcome outcome = download({record()}, [&](DownloadResumeThreadedTask &task) {
            // Wait until the stall: the first chunk is on disk and nothing more comes.
            QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(partialPath()).size(), chunk, 10000);
            TransferStatusInfo info;
            int stage = -1;
            QVERIFY(task.getStatus(info, stage));
            QCOMPARE(stage, 2);
            QCOMPARE(info.fileName, fileName);
            QCOMPARE(info.total, quint64(fileSize));
            QCOMPARE(info.done, quint64(chunk));
            clock.start();
            m_listener.mayContinue = false;
        });
        cancelledAfterMs = clock.elapsed();
        QVERIFY(outcome.finished);
        QCOMPARE(outcome.code, int(NEC_CANCELLED));
        QVERIFY2(cancelledAfterMs < 5000, qPrintable(QString::number(cancelledAfterMs)));
        QVERIFY(!QFile::exists(finalPath()));
        QVERIFY(QFile::exists(partialPath()));
    }

    // Whatever the server does wrong, a final file appears only with the record's digest.
    void serverFaults_data()
    {
        QTest::addColumn<QByteArray>("faults");
        QTest::addColumn<qint64>("recordSize");
        QTest::addColumn<QString>("expected"); // "ok", "transport error" or "code N"

        QTest::newRow("404") << QByteArray("[{\"path\": \"/files/*\", \"httpStatus\": 404}]") << fileSize
                             << "transport error";
        QTest::newRow("five redirects") << QByteArray("[{\"path\": \"/files/*\", \"redirects\": 5}]") << fileSize << "ok";
        QTest::newRow("endless redirects") << QByteArray("[{\"path\": \"/files/*\", \"redirects\": 6}]") << fileSize
                                           << "code 8";
        QTest::newRow("redirect to itself") << QByteArray("[{\"path\": \"/files/*\", \"redirectToSelf\": true}]")
                                            << fileSize << "code 6";
        QTest::newRow("range ignored, whole file with 200")
            << QByteArray("[{\"path\": \"/files/*\", \"ignoreRange\": true}]") << fileSize << "ok";
        QTest::newRow("record larger than the file") << QByteArray("[]") << fileSize + chunk << "transport error";
        QTest::newRow("record smaller than the file") << QByteArray("[]") << fileSize - 1000 << "code 6";
        QTest::newRow("unknown file") << QByteArray("[{\"path\": \"/fileInfo/\", \"body\": \"3,Unknown file\n0\"}]")
                                      << fileSize << "code 9";
        QTest::newRow("chunk information unreadable") << QByteArray("[{\"path\": \"/fileInfo/\", \"body\": \"0\nx\"}]")
                                                      << fileSize << "code 9";
    }

    void serverFaults()
    {
        QFETCH(QByteArray, faults);
        QFETCH(qint64, recordSize);
        QFETCH(QString, expected);
        QVERIFY(m_server.setFaults(faults));
        // Chunks 2 and 3 damaged, so that a ranged request is needed and a whole-file answer has to be cut.
        QVERIFY(writeFile(partialPath(), damaged(m_content, {2, 3})));
        PackageFile file = record();
        file.size = quint64(recordSize);

        const Outcome outcome = download({file});
        QVERIFY(outcome.finished);
        const QString result = outcome.error.isEmpty() ? QStringLiteral("ok")
                               : outcome.code != 0    ? QStringLiteral("code %1").arg(outcome.code)
                                                      : QStringLiteral("transport error");
        QCOMPARE(result, expected);
        if (result == QLatin1String("ok")) {
            QCOMPARE(sha1Hex(readFile(finalPath())), sha1Hex(m_content));
        } else {
            QVERIFY(!QFile::exists(finalPath()));
            QVERIFY(QFile::exists(partialPath()));
        }
    }

    void failingWritesEndWithCode4()
    {
        // A file size limit makes writes fail as on a full disk.
        struct rlimit saved;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limited = saved;
        limited.rlim_cur = rlim_t(3 * chunk);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const Outcome outcome = download({record()});
        setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY(outcome.finished);
        QCOMPARE(outcome.code, int(NEC_CANNOT_WRITE));
        QVERIFY(!QFile::exists(finalPath()));
        QVERIFY(QFile::exists(partialPath()));
    }

    // Partial and final files are never one file: not for a file named by its own SHA-1 text (a full-size
    // unverified file under that name is checked), nor for two records of one content.
    void partialAndFinalFilesStayApart()
    {
        PackageFile selfNamed = record();
        selfNamed.fileName = QString::fromLatin1(selfNamed.extraBytes);
        QVERIFY(writeFile(m_downloads->filePath(selfNamed.fileName), damaged(m_content, {4})));
        PackageFile copy = record();
        copy.fileName = QStringLiteral("copy.bin");

        const Outcome outcome = download({selfNamed, record(), copy});
        QVERIFY(outcome.finished);
        QCOMPARE(outcome.error, QString());
        for (const QString &name : {selfNamed.fileName, fileName, copy.fileName})
            QCOMPARE(sha1Hex(readFile(m_downloads->filePath(name))), sha1Hex(m_content));
        QCOMPARE(QDir(m_downloads->path()).entryList(QDir::Files).size(), 3);
    }

    // Links planted under the download's names lead nowhere: what they point to stays as it was.
    void plantedLinksAreNotFollowed()
    {
        QTemporaryDir elsewhere;
        const QString victim = elsewhere.filePath(QStringLiteral("victim"));
        const QByteArray theirs = damaged(m_content, {2});
        QVERIFY(writeFile(victim, theirs));
        QVERIFY(QFile::link(victim, partialPath()));
        const Outcome outcome = download({record()});
        QVERIFY(outcome.finished);
        QCOMPARE(outcome.error, QString());
        QCOMPARE(readFile(victim), theirs);
        QVERIFY(!QFileInfo(finalPath()).isSymLink());
        QCOMPARE(sha1Hex(readFile(finalPath())), sha1Hex(m_content));

        // A link to a file of the right size under the final name is not taken for the download.
        QVERIFY(QFile::remove(finalPath()));
        QVERIFY(QFile::link(victim, finalPath()));
        QCOMPARE(download({record()}).error, QString());
        QCOMPARE(readFile(victim), theirs);
        QCOMPARE(sha1Hex(readFile(finalPath())), sha1Hex(m_content));
    }

    // A proxy asks for a login and nobody is there to give one (the command-line tool): the download ends
    // at once instead of waiting for an answer that never comes.
    void proxyLoginWithoutListenerEnds()
    {
        QTcpServer proxy;
        QVERIFY(proxy.listen(QHostAddress::LocalHost));
        connect(&proxy, &QTcpServer::newConnection, this, [&proxy] {
            while (QTcpSocket *socket = proxy.nextPendingConnection()) {
                auto request = std::make_shared<QByteArray>();
                connect(socket, &QTcpSocket::readyRead, socket, [socket, request] {
                    request->append(socket->readAll());
                    if (!request->contains("\r\n\r\n"))
                        return;
                    request->clear();
                    socket->write("HTTP/1.1 407 Proxy Authentication Required\r\n"
                                  "Proxy-Authenticate: Basic realm=\"test\"\r\nContent-Length: 0\r\n\r\n");
                });
            }
        });
        QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"),
                                                         proxy.serverPort()));
        DownloadResumeThreadedTask task;
        PackageFile file = record();
        file.url = QUrl(QStringLiteral("http://updates.example/files/six.bin"));
        task.setup({file}, QStringLiteral("en_US"), nullptr, &m_listener);
        task.setServerBaseUrl(QStringLiteral("http://updates.example"));
        task.setDownloadsFolder(m_downloads->path());
        QSignalSpy failed(&task, qOverload<QString>(&DownloadResumeThreadedTask::downloadComplete));
        QSignalSpy finished(&task, &QThread::finished);
        task.start();
        const bool ended = finished.wait(10000);
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        QVERIFY(ended);
        QCOMPARE(failed.size(), 1);
        QVERIFY(!failed.first().first().toString().isEmpty());
        QVERIFY(!QFile::exists(finalPath()));
    }

    void badNamesFromTheServerWriteNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("sha1");
        QTest::newRow("path as file name") << QStringLiteral("../six.bin") << QByteArray();
        QTest::newRow("digest that is no SHA-1 text") << fileName << QByteArray("../../etc");
        QTest::newRow("empty file name") << QString() << QByteArray();
    }

    void badNamesFromTheServerWriteNothing()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, sha1);
        PackageFile file = record();
        file.fileName = name;
        if (!sha1.isEmpty())
            file.extraBytes = sha1;
        const Outcome outcome = download({file});
        QVERIFY(outcome.finished);
        QCOMPARE(outcome.code, name.isEmpty() ? int(NEC_NO_FILE_NAME) : int(NEC_CONTENT_ERROR));
        QVERIFY(QDir(m_downloads->path()).isEmpty());
        QVERIFY(fetchedRanges().isEmpty());
    }
};

QTEST_MAIN(tst_Downloads)
#include "tst_downloads.moc"
