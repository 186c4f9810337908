#include "safewritecases.h"

#include "checkedcopy.h"
#include "filesystem.h"
#include "testlisteners.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace SafeWriteCases {

namespace {

const QString mapName = QStringLiteral("europe.nm3");

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Several blocks or chunks of every transport, and not a whole number of them.
QByteArray mapBytes()
{
    QRandomGenerator generator(27);
    QByteArray bytes(600000 + 7, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

QString sha1Of(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
}

} // namespace

UnplugAt::UnplugAt(const QString &markerFile, int percent) : m_markerFile(markerFile), m_percent(percent) {}

void UnplugAt::setProgress(int percent)
{
    if (percent >= m_percent && !QFile::exists(m_markerFile))
        writeFile(m_markerFile, QByteArray());
}

void addCheckedCopyRows()
{
    QTest::addColumn<QByteArray>("old"); // "<missing>": no map there before
    QTest::newRow("new map") << QByteArray("<missing>");
    QTest::newRow("over a longer old map") << mapBytes() + mapBytes();
}

void checkCheckedCopy(vktpdl::FileSystem &files, const QString &deviceFolder, const QString &pcFolder)
{
    QFETCH(QByteArray, old);
    if (old != "<missing>")
        QVERIFY(writeFile(pcFolder + QLatin1Char('/') + mapName, old));
    QTemporaryDir downloads;
    const QByteArray data = mapBytes();
    const QString download = downloads.filePath(QStringLiteral("download.part"));
    QVERIFY(writeFile(download, data));

    RecordingProgress progress;
    QCOMPARE(putFileChecked(files, files.joinPath(deviceFolder, mapName), download, sha1Of(data), &progress, nullptr),
             int(vktpdl::DE_NO_ERROR));
    QCOMPARE(readFile(pcFolder + QLatin1Char('/') + mapName), data);
    QCOMPARE(entries(pcFolder), QStringList{mapName});
    QCOMPARE(progress.values.last(), 100);
}

void addFailedCopyRows(int missingSourceCode)
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("code");
    QTest::newRow("cancelled") << "cancelled" << int(vktpdl::DE_CANCELLED);
    QTest::newRow("download damaged") << "damaged" << int(vktpdl::DE_DOWNLOAD_DAMAGED);
    QTest::newRow("download missing") << "missing" << missingSourceCode;
}

void checkFailedCopy(vktpdl::FileSystem &files, const QString &deviceFolder, const QString &pcFolder)
{
    QFETCH(QString, fault);
    QVERIFY(writeFile(pcFolder + QLatin1Char('/') + mapName, "old map"));
    QTemporaryDir downloads;
    const QByteArray data = mapBytes();
    const QString download = downloads.filePath(QStringLiteral("download.part"));
    if (fault != QLatin1String("missing"))
        QVERIFY(writeFile(download, data));

    StopAfter stop(2);
    QTEST(putFileChecked(files, files.joinPath(deviceFolder, mapName), download,
                         fault == QLatin1String("damaged") ? QString(40, QLatin1Char('0')) : sha1Of(data), nullptr,
                         fault == QLatin1String("cancelled") ? &stop : nullptr),
          "code");
    QCOMPARE(readFile(pcFolder + QLatin1Char('/') + mapName), QByteArray("old map"));
    QCOMPARE(entries(pcFolder), QStringList{mapName});
}

void addRenameRows()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("inTheWay"); // "", "file" (holding "old") or "folder"
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("after"); // the folder's entries
    const int failed = vktpdl::DE_TRANSFER_ERROR;
    QTest::newRow("new name") << "new.part" << mapName << "" << 0 << QStringList{mapName};
    QTest::newRow("over a file") << "new.part" << mapName << "file" << 0 << QStringList{mapName};
    QTest::newRow("letter case only") << "new.part" << "NEW.PART" << "" << 0 << QStringList{"NEW.PART"};
    QTest::newRow("over a folder") << "new.part" << mapName << "folder" << failed << QStringList{mapName, "new.part"};
    QTest::newRow("source missing") << "missing" << mapName << "file" << failed << QStringList{mapName, "new.part"};
}

void checkRename(vktpdl::FileSystem &files, const QString &deviceFolder, const QString &pcFolder)
{
    QFETCH(QString, source);
    QFETCH(QString, target);
    QFETCH(QString, inTheWay);
    QFETCH(int, code);
    QFETCH(QStringList, after);
    QVERIFY(writeFile(pcFolder + QStringLiteral("/new.part"), "new"));
    if (inTheWay == QLatin1String("file"))
        QVERIFY(writeFile(pcFolder + QLatin1Char('/') + mapName, "old"));
    if (inTheWay == QLatin1String("folder"))
        QVERIFY(QDir(pcFolder).mkdir(mapName));
    const auto onDevice = [&](const QString &name) {
        return name.contains(files.separator()) ? name : files.joinPath(deviceFolder, name);
    };

    QCOMPARE(files.renameFile(onDevice(source), onDevice(target)), code);
    QCOMPARE(entries(pcFolder), after);
    // What moved holds what it held, and what a failure left in the way is untouched.
    QCOMPARE(readFile(pcFolder + QLatin1Char('/') + (code == 0 ? after.first() : QStringLiteral("new.part"))),
             QByteArray("new"));
    if (code != 0 && inTheWay == QLatin1String("file"))
        QCOMPARE(readFile(pcFolder + QLatin1Char('/') + mapName), QByteArray("old"));
}

} // namespace SafeWriteCases
