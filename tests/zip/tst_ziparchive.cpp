#include "archiveerror.h"
#include "filenode.h"
#include "foldernode.h"
#include "testlisteners.h"
#include "ziparchive.h"
#include "zipforge.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using vktpdl::FileNode;
using vktpdl::FolderNode;
using vktpdl::ZipNode;

namespace {

ZipForge::Entry entry(const char *name, const QByteArray &data, quint16 method = 8)
{
    ZipForge::Entry made;
    made.name = name;
    made.data = data;
    made.method = method;
    return made;
}

QByteArray forge(const QList<ZipForge::Entry> &entries, const QByteArray &comment = QByteArray())
{
    ZipForge forge;
    for (const ZipForge::Entry &one : entries)
        forge.add(one);
    return forge.build(comment);
}

// One entry's archive with one field changed: in the central header, the local header or both.
enum Where { Central = 1, Local = 2, Both = 3 };
QByteArray withField(const ZipForge::Entry &one, Where where, int centralField, int localField, quint32 value,
                     int width = 4)
{
    ZipForge forge;
    forge.add(one);
    QByteArray bytes = forge.build();
    const auto put = [&](qsizetype at) { width == 2 ? put16(bytes, at, quint16(value)) : put32(bytes, at, value); };
    if (where & Central)
        put(forge.central(0) + centralField);
    if (where & Local)
        put(forge.local(0) + localField);
    return bytes;
}

QByteArray pseudoRandom(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(seed);
    for (char &byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

QByteArray text(const char *name, int length)
{
    return QByteArray(name).repeated(length / int(qstrlen(name)) + 1).left(length);
}

QList<FileNode *> filesBelow(ZipNode *node)
{
    QList<FileNode *> files;
    for (ZipNode *child : node->children()) {
        if (child->isFileNode())
            files.append(static_cast<FileNode *>(child));
        else
            files.append(filesBelow(child));
    }
    return files;
}

} // namespace

class ZipArchiveTest : public QObject
{
    Q_OBJECT

private:
    QString archiveFile(const QByteArray &bytes)
    {
        const QString path = m_work->filePath(QStringLiteral("archive.zip"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return QString();
        return path;
    }

    int openBytes(ZipArchive &archive, const QByteArray &bytes)
    {
        return archive.open(archiveFile(bytes), bytes.size());
    }

    QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The extraction folder is the only thing in its parent, so an escape is easy to see.
    void verifyNothingOutsideDestination()
    {
        QCOMPARE(QDir(m_outer->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{QStringLiteral("out")});
    }

    std::unique_ptr<QTemporaryDir> m_work;
    std::unique_ptr<QTemporaryDir> m_outer;
    QString m_out;
    QTemporaryDir m_sources;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_sources.isValid());
        QDir top(m_sources.path());
        QVERIFY(top.mkpath(QStringLiteral("a/b")));
        QVERIFY(top.mkpath(QStringLiteral("Kärtchen")));
        const QList<QPair<QString, QByteArray>> files{
            {QStringLiteral("a/b/c.txt"), text("c ", 1000)},
            {QStringLiteral("a/d.txt"), text("d", 10)},
            {QStringLiteral("e.txt"), text("e", 1)},
            {QStringLiteral("empty.txt"), QByteArray()},
            // Spans several 256 KiB blocks, half of it incompressible.
            {QStringLiteral("big.bin"), pseudoRandom(700000, 7) + text("navigation ", 900000)},
            {QStringLiteral("Kärtchen/Straße.txt"), text("ß", 300)},
        };
        for (const auto &file : files) {
            QFile out(top.filePath(file.first));
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(file.second);
        }
    }

    void init()
    {
        m_work = std::make_unique<QTemporaryDir>();
        m_outer = std::make_unique<QTemporaryDir>();
        QVERIFY(m_work->isValid() && m_outer->isValid());
        m_out = m_outer->filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkdir(m_out));
    }

    void archivesOfRealTools_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("fileCount");
        const QString python = QStringLiteral(
            "import io, os, sys, zipfile\n"
            "mode, out = sys.argv[1], sys.argv[2]\n"
            "class Pipe(io.RawIOBase):\n"
            "    def __init__(self, f): self.f = f\n"
            "    def writable(self): return True\n"
            "    def write(self, b): return self.f.write(b)\n"
            "target = Pipe(open(out, 'wb')) if mode == 'unseekable' else out\n"
            "method = zipfile.ZIP_STORED if mode == 'stored' else zipfile.ZIP_DEFLATED\n"
            "names = sorted(os.path.relpath(os.path.join(d, f)) for d, _, fs in os.walk('.') for f in fs)\n"
            "with zipfile.ZipFile(target, 'w', method) as z:\n"
            "    for name in names: z.write(name)\n");
        const QString zipFiles = QStringLiteral("a e.txt empty.txt big.bin");
        QTest::newRow("zip, deflated") << "zip" << QStringLiteral("zip -q -r \"$OUT\" ") + zipFiles << 5;
        QTest::newRow("zip, stored") << "zip" << QStringLiteral("zip -q -0 -r \"$OUT\" ") + zipFiles << 5;
        QTest::newRow("zip into a pipe, data descriptors")
            << "zip" << QStringLiteral("zip -q -r - ") + zipFiles + QStringLiteral(" | cat > \"$OUT\"") << 5;
        QTest::newRow("python, deflated, UTF-8 names")
            << "python3" << QStringLiteral("python3 -c \"$SCRIPT\" deflated \"$OUT\"") << 6;
        QTest::newRow("python, stored") << "python3" << QStringLiteral("python3 -c \"$SCRIPT\" stored \"$OUT\"") << 6;
        QTest::newRow("python, unseekable, data descriptors")
            << "python3" << QStringLiteral("python3 -c \"$SCRIPT\" unseekable \"$OUT\"") << 6;
        m_pythonScript = python;
    }
    void archivesOfRealTools()
    {
        QFETCH(QString, program);
        QFETCH(QString, command);
        QFETCH(int, fileCount);
        if (QStandardPaths::findExecutable(program).isEmpty())
            QSKIP("the archiving tool is not installed (tools/debian-packages.txt lists it)");
        const QString archivePath = m_work->filePath(QStringLiteral("real.zip"));
        QProcess tool;
        tool.setWorkingDirectory(m_sources.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("OUT"), archivePath);
        environment.insert(QStringLiteral("SCRIPT"), m_pythonScript);
        tool.setProcessEnvironment(environment);
        tool.start(QStringLiteral("bash"), {QStringLiteral("-c"), command});
        QVERIFY(tool.waitForFinished(60000));
        QVERIFY2(tool.exitCode() == 0, tool.readAllStandardError().constData());

        ZipArchive archive;
        QCOMPARE(archive.open(archivePath, QFileInfo(archivePath).size()), int(AE_NO_ERROR));
        ZipNode *deep = archive.root()->find(QStringLiteral("a/b/c.txt"));
        QVERIFY(deep && deep->isFileNode());
        QCOMPARE(deep->size(), quint32(1000));
        RecordingProgress progress;
        QCOMPARE(archive.root()->extract(m_out, &progress, nullptr), int(AE_NO_ERROR));
        QVERIFY(std::is_sorted(progress.values.cbegin(), progress.values.cend()));
        QVERIFY(progress.values.last() >= 99 && progress.values.last() <= 100);

        const QList<FileNode *> files = filesBelow(archive.root());
        QCOMPARE(files.size(), fileCount);
        for (FileNode *file : files) {
            const QByteArray expected = readFile(m_sources.filePath(file->fullName()));
            QCOMPARE(readFile(m_out + QLatin1Char('/') + file->fullName()), expected);
        }
        verifyNothingOutsideDestination();
    }

    void treeOrderAndFind()
    {
        ZipArchive archive;
        QCOMPARE(openBytes(archive, forge({entry("a/b/c.txt", "c"), entry("a/", QByteArray(), 0),
                                           entry("a/d.txt", "dd"), entry("e.txt", "eee")})),
                 int(AE_NO_ERROR));
        FolderNode *root = archive.root();
        QCOMPARE(root->name(), QString());
        QCOMPARE(root->size(), quint32(6));
        const QList<ZipNode *> top = root->children();
        QCOMPARE(top.size(), 2);
        QVERIFY(top[0]->isFileNode() && top[0]->name() == QLatin1String("e.txt"));
        QVERIFY(top[1]->isFolderNode() && top[1]->name() == QLatin1String("a"));
        const QList<ZipNode *> inA = top[1]->children();
        QCOMPARE(inA.size(), 2);
        QCOMPARE(inA[0]->name(), QStringLiteral("d.txt"));
        QVERIFY(inA[1]->isFolderNode() && inA[1]->name() == QLatin1String("b"));
        QCOMPARE(inA[1]->children().size(), 1);

        QCOMPARE(root->find(QStringLiteral("a/b/c.txt")), inA[1]->children().first());
        QCOMPARE(root->find(QStringLiteral("a")), top[1]);
        QCOMPARE(root->find(QString()), root);
        QCOMPARE(root->find(QStringLiteral("a/x")), nullptr);
        QCOMPARE(root->find(QStringLiteral("e.txt/x")), nullptr);
        QCOMPARE(root->find(QStringLiteral("A/d.txt")), nullptr);

        QCOMPARE(top[1]->extract(m_out, nullptr, nullptr), int(AE_NO_ERROR));
        QCOMPARE(readFile(m_out + QStringLiteral("/d.txt")), QByteArray("dd"));
        QCOMPARE(readFile(m_out + QStringLiteral("/b/c.txt")), QByteArray("c"));
    }

    void openResults_data()
    {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<int>("result");
        const QByteArray valid = forge({entry("x.txt", "x")});
        QTest::newRow("shorter than an end record") << QByteArray(21, 'P') << int(AE_INVALID_ARCHIVE);
        QTest::newRow("no end record") << QByteArray(300, 'P') << int(AE_CORRUPTED);
        QTest::newRow("comment of 256 bytes") << forge({entry("x.txt", "x")}, QByteArray(256, 'c')) << int(AE_NO_ERROR);
        QTest::newRow("comment of 257 bytes") << forge({entry("x.txt", "x")}, QByteArray(257, 'c')) << int(AE_CORRUPTED);
        QTest::newRow("end record only") << forge({}) << int(AE_INVALID_ARCHIVE);
        QTest::newRow("unsupported method in an entry never extracted")
            << forge({entry("x.txt", "x"), entry("y.txt", "y", 12)}) << int(AE_UNSUPPORTED_FORMAT);
        QTest::newRow("empty name") << forge({entry("", "x")}) << int(AE_INVALID_ARCHIVE);
        QTest::newRow("name of 260 characters") << forge({entry(QByteArray(260, 'n').constData(), "x")})
                                                << int(AE_NO_ERROR);
        QTest::newRow("name of 261 characters") << forge({entry(QByteArray(261, 'n').constData(), "x")})
                                                << int(AE_INVALID_ARCHIVE);

        ZipForge one;
        one.add(entry("x.txt", "x"));
        QByteArray bytes = one.build();
        put32(bytes, one.end() + ZipForge::endDirectoryOffset, quint32(one.end()));
        QTest::newRow("directory starts at the end record") << bytes << int(AE_INVALID_ARCHIVE);
        bytes = valid;
        put32(bytes, one.end() + ZipForge::endDirectoryOffset, 0);
        QTest::newRow("directory offset at a local header: no entries listed") << bytes << int(AE_NO_ERROR);
        bytes = valid;
        put16(bytes, one.central(0) + ZipForge::centralNameLength, 0xFFFF);
        QTest::newRow("name runs past the end") << bytes << int(AE_CANNOT_READ);
        bytes = valid;
        put16(bytes, one.central(0) + 30, 0xFFFF);
        QTest::newRow("extra field runs past the end") << bytes << int(AE_CANNOT_READ);
        bytes = valid;
        bytes.replace(one.end() - 8, 4, "PK\x01\x02");
        put32(bytes, one.end() + ZipForge::endDirectoryOffset, quint32(one.end() - 8));
        QTest::newRow("central header cut by the end of file") << bytes << int(AE_CANNOT_READ);
        bytes = valid;
        put16(bytes, one.end() + ZipForge::endEntryCount, 7);
        QTest::newRow("entry count not trusted") << bytes << int(AE_NO_ERROR);
        bytes = valid;
        put16(bytes, one.end() + ZipForge::endEntryCount, 0);
        QTest::newRow("entry count zero") << bytes << int(AE_EMPTY_ARCHIVE);
    }
    void openResults()
    {
        QFETCH(QByteArray, archive);
        QFETCH(int, result);
        ZipArchive reader;
        QCOMPARE(openBytes(reader, archive), result);
        QCOMPARE(reader.root() != nullptr, result == AE_NO_ERROR);
    }

    void openFromDeviceAndReopen()
    {
        ZipArchive archive;
        QCOMPARE(archive.open(m_work->filePath(QStringLiteral("missing.zip")), 100), int(AE_CANNOT_OPEN));
        QCOMPARE(archive.root(), nullptr);

        QByteArray bytes = forge({entry("x.txt", "first")});
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QCOMPARE(archive.open(&buffer), int(AE_NO_ERROR));
        QCOMPARE(archive.root()->children().first()->extract(m_out, nullptr, nullptr), int(AE_NO_ERROR));
        QCOMPARE(readFile(m_out + QStringLiteral("/x.txt")), QByteArray("first"));

        QCOMPARE(openBytes(archive, forge({entry("y.txt", "second"), entry("z.txt", "")})), int(AE_NO_ERROR));
        QCOMPARE(archive.root()->children().size(), 2);
        archive.close();
        QCOMPARE(archive.root(), nullptr);
    }

    void entryNames_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<quint16>("flags");
        QTest::addColumn<QString>("path");
        QTest::newRow("UTF-8 flag") << QByteArray("Kärtchen/Straße.txt") << quint16(0x0800)
                                    << QStringLiteral("Kärtchen/Straße.txt");
        QTest::newRow("code page 437 without the flag") << QByteArray("\x8e\x99/\xe1\x9b.txt") << quint16(0)
                                                        << QStringLiteral("ÄÖ/ß¢.txt");
        QTest::newRow("UTF-8 bytes without the flag are code page 437")
            << QByteArray("\xc3\xa4.txt") << quint16(0) << QStringLiteral("├ñ.txt");
        QTest::newRow("backslash is part of the name") << QByteArray("a\\b.txt") << quint16(0)
                                                       << QStringLiteral("a\\b.txt");
        QTest::newRow("invalid UTF-8 gives no entry") << QByteArray("\xff\xfe.txt") << quint16(0x0800) << QString();
        QTest::newRow("overlong UTF-8 gives no entry") << QByteArray("\xc0\xae\xc0\xae/x") << quint16(0x0800)
                                                       << QString();
    }
    void entryNames()
    {
        QFETCH(QByteArray, name);
        QFETCH(quint16, flags);
        QFETCH(QString, path);
        ZipForge::Entry one = entry(name.constData(), "named");
        one.flags = flags;
        ZipArchive archive;
        QCOMPARE(openBytes(archive, forge({one})), int(AE_NO_ERROR));
        const QList<FileNode *> files = filesBelow(archive.root());
        if (path.isEmpty()) {
            QVERIFY(files.isEmpty());
            return;
        }
        QCOMPARE(files.size(), 1);
        QCOMPARE(files.first()->fullName(), path);
        QCOMPARE(archive.root()->find(path), files.first());
        QCOMPARE(archive.root()->extract(m_out, nullptr, nullptr), int(AE_NO_ERROR));
        QCOMPARE(readFile(m_out + QLatin1Char('/') + path), QByteArray("named"));
    }

    void namesLeavingTheDestination_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("parent folder") << QByteArray("../evil.txt");
        QTest::newRow("parent folder deeper down") << QByteArray("a/b/../../../evil.txt");
        QTest::newRow("only the parent") << QByteArray("..");
        QTest::newRow("absolute") << QByteArray("/tmp/evil.txt");
        QTest::newRow("drive letter") << QByteArray("C:evil.txt");
        QTest::newRow("backslash parent") << QByteArray("a\\..\\..\\evil.txt");
        QTest::newRow("backslash absolute") << QByteArray("\\evil.txt");
        QTest::newRow("NUL inside") << QByteArray("a\0/../../evil.txt", 17);
    }
    void namesLeavingTheDestination()
    {
        QFETCH(QByteArray, name);
        ZipForge::Entry bad = entry("", "evil");
        bad.name = name;
        ZipArchive archive;
        QCOMPARE(openBytes(archive, forge({entry("good.txt", "good"), bad})), int(AE_INVALID_ARCHIVE));
        QCOMPARE(archive.root(), nullptr);

        // A harmless central name whose local header says otherwise is refused at extraction.
        ZipForge::Entry disguised = entry("evil.txt", "evil");
        disguised.localName = name;
        QCOMPARE(openBytes(archive, forge({disguised})), int(AE_NO_ERROR));
        QCOMPARE(archive.root()->extract(m_out, nullptr, nullptr), int(AE_PARSE_ERROR));
        verifyNothingOutsideDestination();
        QVERIFY(QDir(m_out).isEmpty());
    }

    void extraction_data()
    {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("content");
        const QByteArray data = text("the quick brown fox ", 5000);
        const ZipForge::Entry deflated = entry("x.bin", data);
        const ZipForge::Entry stored = entry("x.bin", data, 0);
        ZipForge::Entry signedDescriptor = deflated;
        signedDescriptor.descriptor = ZipForge::SignedDescriptor;
        ZipForge::Entry unsignedDescriptor = deflated;
        unsignedDescriptor.descriptor = ZipForge::UnsignedDescriptor;
        const quint32 compressedSize = quint32(ZipForge::deflateRaw(data).size());

        QTest::newRow("deflated") << forge({deflated}) << int(AE_NO_ERROR) << data;
        QTest::newRow("stored") << forge({stored}) << int(AE_NO_ERROR) << data;
        QTest::newRow("zero-length stored") << forge({entry("x.bin", QByteArray(), 0)}) << int(AE_NO_ERROR) << QByteArray("");
        QTest::newRow("zero-length deflated") << forge({entry("x.bin", QByteArray())}) << int(AE_NO_ERROR) << QByteArray("");
        QTest::newRow("descriptor with signature") << forge({signedDescriptor}) << int(AE_NO_ERROR) << data;
        QTest::newRow("descriptor without signature") << forge({unsignedDescriptor}) << int(AE_NO_ERROR) << data;

        for (const auto &[descriptor, label] : {std::pair{signedDescriptor, "signed"}, std::pair{unsignedDescriptor, "unsigned"}}) {
            ZipForge one;
            one.add(descriptor);
            QByteArray bytes = one.build();
            const qsizetype fields = one.descriptor(0) + (descriptor.descriptor == ZipForge::SignedDescriptor ? 4 : 0);
            bytes[fields] = char(bytes[fields] ^ 1);
            QTest::addRow("wrong CRC in %s descriptor", label) << bytes << int(AE_PARSE_ERROR) << QByteArray();
            bytes = one.build();
            put32(bytes, fields + 8, 1);
            QTest::addRow("wrong size in %s descriptor", label) << bytes << int(AE_PARSE_ERROR) << QByteArray();
            bytes = one.build();
            bytes.chop(bytes.size() - one.descriptor(0) - 2);
            bytes += one.build().mid(one.central(0));
            const qsizetype shift = one.central(0) - (one.descriptor(0) + 2);
            put32(bytes, one.end() - shift + ZipForge::endDirectoryOffset, quint32(one.central(0) - shift));
            QTest::addRow("%s descriptor cut, directory read as descriptor", label) << bytes << int(AE_PARSE_ERROR) << QByteArray();
        }
        QTest::newRow("descriptor beyond the end") << withField(signedDescriptor, Central, ZipForge::centralCompressedSize, 0, 0x7FFFFFFF)
                                                   << int(AE_CANNOT_READ) << QByteArray();

        QTest::newRow("wrong local signature") << withField(deflated, Local, 0, 0, 0x04034b51) << int(AE_INVALID_ARCHIVE)
                                               << QByteArray();
        QTest::newRow("local method differs") << withField(deflated, Local, 0, ZipForge::localMethod, 0, 2)
                                              << int(AE_PARSE_ERROR) << QByteArray();
        QTest::newRow("local flags differ") << withField(deflated, Local, 0, ZipForge::localFlags, 0x0002, 2)
                                            << int(AE_PARSE_ERROR) << QByteArray();
        QTest::newRow("local CRC differs") << withField(deflated, Local, 0, ZipForge::localCrc, 1) << int(AE_PARSE_ERROR)
                                           << QByteArray();
        QTest::newRow("local size differs") << withField(deflated, Local, 0, ZipForge::localUncompressedSize, 1)
                                            << int(AE_PARSE_ERROR) << QByteArray();
        QTest::newRow("local name empty") << withField(deflated, Local, 0, ZipForge::localNameLength, 0, 2)
                                          << int(AE_PARSE_ERROR) << QByteArray();
        ZipForge::Entry renamed = deflated;
        renamed.localName = QByteArray("y.bin");
        QTest::newRow("local name differs") << forge({renamed}) << int(AE_PARSE_ERROR) << QByteArray();
        QTest::newRow("local header beyond the end") << withField(deflated, Central, 42, 0, 0x7FFFFFF0)
                                                     << int(AE_CANNOT_READ) << QByteArray();

        QTest::newRow("wrong CRC") << withField(deflated, Both, ZipForge::centralCrc, ZipForge::localCrc, 0x12345678)
                                   << int(AE_CORRUPTED) << QByteArray();
        QTest::newRow("uncompressed size too small")
            << withField(deflated, Both, ZipForge::centralUncompressedSize, ZipForge::localUncompressedSize, 1000)
            << int(AE_CORRUPTED) << QByteArray();
        QTest::newRow("uncompressed size too large")
            << withField(deflated, Both, ZipForge::centralUncompressedSize, ZipForge::localUncompressedSize, 200000)
            << int(AE_CORRUPTED) << QByteArray();
        QTest::newRow("deflate stream longer than its compressed size")
            << withField(deflated, Both, ZipForge::centralCompressedSize, ZipForge::localCompressedSize, compressedSize - 5)
            << int(AE_INFLATE_ERROR) << QByteArray();
        QTest::newRow("stored data beyond the end")
            << withField(stored, Both, ZipForge::centralCompressedSize, ZipForge::localCompressedSize, 0x00FFFFFF)
            << int(AE_CANNOT_READ) << QByteArray();
        ZipForge::Entry damaged = deflated;
        damaged.compressed = QByteArray(64, '\xff');
        QTest::newRow("damaged deflate data") << forge({damaged}) << int(AE_INFLATE_ERROR) << QByteArray();
    }
    void extraction()
    {
        QFETCH(QByteArray, archive);
        QFETCH(int, result);
        QFETCH(QByteArray, content);
        ZipArchive reader;
        QCOMPARE(openBytes(reader, archive), int(AE_NO_ERROR));
        QCOMPARE(reader.root()->children().size(), 1);
        QCOMPARE(reader.root()->extract(m_out, nullptr, nullptr), result);
        if (!content.isNull())
            QCOMPARE(readFile(m_out + QStringLiteral("/x.bin")), content);
        verifyNothingOutsideDestination();
    }

    void outputCannotBeCreated()
    {
        ZipArchive archive;
        QCOMPARE(openBytes(archive, forge({entry("x.txt", "x")})), int(AE_NO_ERROR));
        QCOMPARE(archive.root()->extract(m_out + QStringLiteral("/missing/deeper"), nullptr, nullptr),
                 int(AE_CANNOT_CREATE_FILE));
    }

    // Links already in the destination (a device's folder) are never written through nor entered.
    void linksInTheDestination_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<int>("result");
        QTest::newRow("file that is a link") << QByteArray("x.txt") << int(AE_CANNOT_CREATE_FILE);
        QTest::newRow("folder that is a link") << QByteArray("sub/y.txt") << int(AE_CANNOT_CREATE_DIRECTORY);
    }
    void linksInTheDestination()
    {
        QFETCH(QByteArray, name);
        QFETCH(int, result);
        const QString outside = m_outer->filePath(QStringLiteral("outside.txt"));
        const QString elsewhere = m_outer->filePath(QStringLiteral("elsewhere"));
        QFile target(outside);
        QVERIFY(target.open(QIODevice::WriteOnly) && target.write("theirs") == 6);
        target.close();
        QVERIFY(QDir().mkdir(elsewhere));
        QVERIFY(QFile::link(QStringLiteral("../outside.txt"), m_out + QStringLiteral("/x.txt")));
        QVERIFY(QFile::link(QStringLiteral("../elsewhere"), m_out + QStringLiteral("/sub")));

        ZipArchive archive;
        QCOMPARE(openBytes(archive, forge({entry(name.constData(), "ours")})), int(AE_NO_ERROR));
        QCOMPARE(archive.root()->extract(m_out, nullptr, nullptr), result);
        QCOMPARE(readFile(outside), QByteArray("theirs"));
        QVERIFY(QDir(elsewhere).isEmpty());
    }

    void progressOfEmptyFiles()
    {
        ZipArchive archive;
        QCOMPARE(openBytes(archive, forge({entry("a/x", QByteArray(), 0), entry("a/y", QByteArray()), entry("z", QByteArray(), 0)})),
                 int(AE_NO_ERROR));
        RecordingProgress tree;
        QCOMPARE(archive.root()->extract(m_out, &tree, nullptr), int(AE_NO_ERROR));
        for (int value : std::as_const(tree.values))
            QVERIFY(value >= 0 && value <= 100);
        QVERIFY(QFileInfo(m_out + QStringLiteral("/a/y")).isFile());

        RecordingProgress file;
        QCOMPARE(archive.root()->find(QStringLiteral("z"))->extract(m_out, &file, nullptr), int(AE_NO_ERROR));
        QCOMPARE(file.values, (QList<int>{0, 0, 100}));
    }

    void progressOverATree()
    {
        ZipArchive archive;
        const QByteArray block(262144, 'b');
        QCOMPARE(openBytes(archive, forge({entry("one", block + block + "1", 0), entry("sub/two", block + "2", 0)})),
                 int(AE_NO_ERROR));
        RecordingProgress progress;
        QCOMPARE(archive.root()->extract(m_out, &progress, nullptr), int(AE_NO_ERROR));
        // "one" has the range 0..66 (its blocks at 0, 33 and 66 percent), "sub/two" 66..99 through
        // the range of its folder; every mapping truncates.
        QCOMPARE(progress.values, (QList<int>{0, 0, 21, 43, 66, 66, 66, 82, 98}));
    }

    void cancellation_data()
    {
        QTest::addColumn<quint16>("method");
        QTest::addColumn<int>("answers");
        QTest::addColumn<qint64>("writtenAtMost");
        QTest::newRow("stored, before anything") << quint16(0) << 0 << qint64(-1);
        QTest::newRow("stored, after the first block") << quint16(0) << 2 << qint64(262144);
        QTest::newRow("deflated, after the first block") << quint16(8) << 2 << qint64(4 * 262144);
        QTest::newRow("stored, after the last block") << quint16(0) << 6 << qint64(1048577);
    }
    void cancellation()
    {
        QFETCH(quint16, method);
        QFETCH(int, answers);
        QFETCH(qint64, writtenAtMost);
        const QByteArray data = pseudoRandom(1048577, 3);
        ZipArchive archive;
        QCOMPARE(openBytes(archive, forge({entry("big.bin", data, method)})), int(AE_NO_ERROR));
        StopAfter stop(answers);
        QCOMPARE(archive.root()->extract(m_out, nullptr, &stop), int(AE_CANCELLED));
        const QFileInfo partial(m_out + QStringLiteral("/big.bin"));
        if (writtenAtMost < 0) {
            QVERIFY(!partial.exists());
            return;
        }
        QVERIFY(partial.exists());
        QVERIFY(partial.size() > 0 && partial.size() <= writtenAtMost);
        QCOMPARE(readFile(partial.filePath()), data.left(partial.size()));
    }

private:
    QString m_pythonScript;
};

QTEST_GUILESS_MAIN(ZipArchiveTest)
#include "tst_ziparchive.moc"
