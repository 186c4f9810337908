// A download process killed in the middle of a larger file, then started again: the second run
// fetches only the rest and verifies the file, and no final file ever exists unverified.

#include "standinserverprocess.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr qint64 fileSize = 40 * 1024 * 1024;
constexpr qint64 chunk = 2097152;
const QString fileName = QStringLiteral("large.bin");

QByteArray sha1Hex(const QByteArray &data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex();
}

QByteArray fileSha1(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    return file.open(QIODevice::ReadOnly) && hash.addData(&file) ? hash.result().toHex() : QByteArray();
}

} // namespace

class tst_InterruptedDownload : public QObject
{
    Q_OBJECT

private:
    StandInServerProcess m_server;
    QTemporaryDir m_catalogue;
    QTemporaryDir m_downloads;
    QByteArray m_sha1;
    // Set when a final file was seen whose content is not the record's.
    bool m_unverifiedFinalSeen = false;

    QString finalPath() const { return m_downloads.filePath(fileName); }
    QString partialPath() const { return m_downloads.filePath(QString::fromLatin1(m_sha1)); }

    void startDownload(QProcess &process)
    {
        const QString url = m_server.baseUrl() + QStringLiteral("/files/") + fileName;
        const QString line = QStringLiteral("%1,%2,%1,%3,%4").arg(fileName).arg(fileSize).arg(QString::fromLatin1(m_sha1), url);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral(VKT_DOWNLOAD_TOOL),
                      {QStringLiteral("--server"), m_server.baseUrl(), QStringLiteral("--folder"), m_downloads.path(), line});
    }

    // A rename is atomic, so a final file, once there, must already hold the whole verified content.
    void checkFinalFile()
    {
        if (QFile::exists(finalPath()) && fileSha1(finalPath()) != m_sha1)
            m_unverifiedFinalSeen = true;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QByteArray content(fileSize, Qt::Uninitialized);
        QRandomGenerator generator(40);
        generator.fillRange(reinterpret_cast<quint32 *>(content.data()), content.size() / 4);
        m_sha1 = sha1Hex(content);
        QVERIFY(writeCatalogueFile(m_catalogue.path(), QStringLiteral("files/") + fileName, content));
        QVERIFY2(m_server.start(m_catalogue.path()), qPrintable(m_server.errorText()));
    }

    void killedRunIsCompletedByTheNextOne()
    {
        // Throttled so that the kill lands in the middle of the file.
        QVERIFY(m_server.setFaults("[{\"path\": \"/files/*\", \"rate\": 20000000}]"));
        QProcess first;
        startDownload(first);
        QVERIFY(first.waitForStarted());
        QVERIFY(QTest::qWaitFor([&] {
            checkFinalFile();
            return QFileInfo(partialPath()).size() >= 5 * chunk || first.state() == QProcess::NotRunning;
        }, 20000));
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        QVERIFY(first.waitForFinished());
        QVERIFY(!QFile::exists(finalPath()));
        const qint64 kept = QFileInfo(partialPath()).size();
        QVERIFY(kept >= 5 * chunk && kept < fileSize);

        QVERIFY(m_server.reset());
        QProcess second;
        startDownload(second);
        QVERIFY(second.waitForStarted());
        QVERIFY(QTest::qWaitFor([&] {
            checkFinalFile();
            return second.state() == QProcess::NotRunning;
        }, 30000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(!m_unverifiedFinalSeen);
        QCOMPARE(fileSha1(finalPath()), m_sha1);
        QVERIFY(!QFile::exists(partialPath()));

        // Only the tail from the first incomplete chunk was fetched again.
        QStringList ranges;
        for (const QJsonValue &request : m_server.requests()) {
            if (request.toObject().value(QStringLiteral("method")).toString() == QLatin1String("GET"))
                ranges << request.toObject().value(QStringLiteral("range")).toString();
        }
        QCOMPARE(ranges.size(), 1);
        const qint64 resumedAt = kept / chunk * chunk;
        QCOMPARE(ranges.first(), QStringLiteral("bytes=%1-%2").arg(resumedAt).arg(fileSize - 1));
    }
};

QTEST_MAIN(tst_InterruptedDownload)
#include "tst_interrupteddownload.moc"
