#include "foldersnapshot.h"
#include "localfilesystem.h"
#include "testlisteners.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/statvfs.h>
#include <unistd.h>

using vktpdl::LocalFileSystem;

static QStringList strings(std::initializer_list<const char *> texts)
{
    QStringList list;
    for (const char *text : texts)
        list.append(QString::fromUtf8(text));
    return list;
}

class LocalFileSystemTest : public QObject
{
    Q_OBJECT

private:
    QString path(const QString &pattern) const
    {
        QString text = pattern;
        return text.replace(QStringLiteral("%T"), m_dir->path());
    }

    void writeFile(const QString &file, const QByteArray &content)
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(content), content.size());
    }

    QByteArray readFile(const QString &file)
    {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    LocalFileSystem m_fs;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        writeFile(m_dir->filePath(QStringLiteral("file")), "content");
    }

    void pathHelpers_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("joined");
        QTest::newRow("plain") << "/data" << "x.nm3" << "/data/x.nm3";
        QTest::newRow("folder ends with separator") << "/data/" << "x.nm3" << "/data/x.nm3";
        QTest::newRow("root") << "/" << "x" << "/x";
        QTest::newRow("empty first part") << "" << "x" << "";
        QTest::newRow("empty second part") << "/data" << "" << "";
    }
    void pathHelpers()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QString, joined);
        QCOMPARE(m_fs.joinPath(a, b), joined);
        if (joined.isEmpty() || a.endsWith(QLatin1Char('/')))
            return;
        // Splitting a joined path gives its parts back.
        QCOMPARE(m_fs.parentPath(joined), a);
        QCOMPARE(m_fs.fileName(joined), b);
    }

    void splitWithoutSeparator()
    {
        QString parent = QStringLiteral("old");
        QString name;
        m_fs.splitPath(QStringLiteral("x.nm3"), parent, name);
        QCOMPARE(parent, QString());
        QCOMPARE(name, QStringLiteral("x.nm3"));
    }

    void createDirectory_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("folderAfter");
        QTest::newRow("relative path") << "sub/dir" << 21 << "";
        QTest::newRow("single character") << "x" << 21 << "";
        QTest::newRow("empty path") << "" << 21 << "";
        QTest::newRow("existing file") << "%T/file" << 0 << "";
        QTest::newRow("existing folder") << "%T" << 0 << "%T";
        QTest::newRow("every missing level") << "%T/a/b/c" << 0 << "%T/a/b/c";
        QTest::newRow("doubled and trailing separators") << "%T//p//q/" << 0 << "%T/p/q";
        QTest::newRow("below a file") << "%T/file/x" << 21 << "";
    }
    void createDirectory()
    {
        QFETCH(QString, target);
        QFETCH(int, result);
        QFETCH(QString, folderAfter);
        QCOMPARE(m_fs.createDirectory(path(target)), result);
        if (!folderAfter.isEmpty())
            QVERIFY(QFileInfo(path(folderAfter)).isDir());
        QVERIFY(QFileInfo(path(QStringLiteral("%T/file"))).isFile());
        QCOMPARE(m_fs.createFolder(m_dir->path(), QStringLiteral("made")), 0);
        QVERIFY(QFileInfo(path(QStringLiteral("%T/made"))).isDir());
    }

    void deleteAndRemove_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::addColumn<bool>("recursive");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("result");
        QTest::newRow("delete missing file") << false << false << "%T/missing" << 0;
        QTest::newRow("delete below missing folder") << false << false << "%T/missing/x" << 0;
        QTest::newRow("delete below a file") << false << false << "%T/file/x" << 0;
        QTest::newRow("delete a folder") << false << false << "%T/tree" << 13;
        QTest::newRow("delete existing file") << false << false << "%T/file" << 0;
        QTest::newRow("remove missing folder") << true << false << "%T/missing" << 0;
        QTest::newRow("remove missing folder recursively") << true << true << "%T/missing" << 0;
        QTest::newRow("remove a file as folder") << true << false << "%T/file" << 13;
        QTest::newRow("remove non-empty folder") << true << false << "%T/tree" << 13;
        QTest::newRow("remove tree") << true << true << "%T/tree" << 0;
    }
    void deleteAndRemove()
    {
        QFETCH(bool, folder);
        QFETCH(bool, recursive);
        QFETCH(QString, target);
        QFETCH(int, result);
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("tree/sub/deeper")));
        writeFile(path(QStringLiteral("%T/tree/a")), "a");
        writeFile(path(QStringLiteral("%T/tree/sub/deeper/b")), "b");
        QCOMPARE(folder ? m_fs.removeDirectory(path(target), recursive) : m_fs.deleteFile(path(target)), result);
        if (result == 0)
            QVERIFY(!QFileInfo::exists(path(target)));
        else
            QVERIFY(QFileInfo::exists(path(target)));
    }

    void removeTreeLeavesLinkTargets()
    {
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("outside")));
        writeFile(path(QStringLiteral("%T/outside/keep")), "keep");
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("tree")));
        QVERIFY(QFile::link(path(QStringLiteral("%T/outside")), path(QStringLiteral("%T/tree/link"))));
        QCOMPARE(m_fs.removeDirectory(path(QStringLiteral("%T/tree")), true), 0);
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("%T/tree"))));
        QCOMPARE(readFile(path(QStringLiteral("%T/outside/keep"))), QByteArray("keep"));
    }

    void listing_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("folders");
        QTest::addColumn<QStringList>("names");
        const QStringList kept{QStringLiteral("kept")};
        QTest::newRow("all files") << "%T/list" << "*" << false
                                   << (kept + strings({".hidden", "A.txt", "b.TXT", "c.dat", "link"}));
        QTest::newRow("extension in other case") << "%T/list" << "*.txt" << false
                                                 << (kept + strings({"A.txt", "b.TXT"}));
        QTest::newRow("question mark") << "%T/list" << "?.DAT" << false << (kept + strings({"c.dat"}));
        QTest::newRow("all folders, no dot entries") << "%T/list" << "*" << true
                                                     << (kept + strings({"KorwindContent", "sub"}));
        QTest::newRow("folder by name in other case") << "%T/list" << "korwindcontent" << true
                                                      << (kept + strings({"KorwindContent"}));
        QTest::newRow("no match") << "%T/list" << "*.nm3" << false << kept;
        QTest::newRow("missing folder") << "%T/missing" << "*" << false << kept;
        QTest::newRow("a file as folder") << "%T/file" << "*" << true << kept;
    }
    void listing()
    {
        QFETCH(QString, folder);
        QFETCH(QString, pattern);
        QFETCH(bool, folders);
        QFETCH(QStringList, names);
        QDir top(m_dir->path());
        QVERIFY(top.mkpath(QStringLiteral("list/sub")));
        QVERIFY(top.mkpath(QStringLiteral("list/KorwindContent")));
        for (const char *name : {"A.txt", "b.TXT", "c.dat", ".hidden"})
            writeFile(path(QStringLiteral("%T/list/")) + QLatin1String(name), "x");
        QVERIFY(QFile::link(path(QStringLiteral("%T/list/sub")), path(QStringLiteral("%T/list/link"))));

        QStringList found{QStringLiteral("kept")};
        const int result = folders ? m_fs.listFolders(path(folder), pattern, found)
                                   : m_fs.listFiles(path(folder), pattern, found);
        QCOMPARE(result, 0);
        QCOMPARE(found, names);
    }

    void patterns_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("matches");
        QTest::newRow("star matches empty") << "" << "*" << true;
        QTest::newRow("star in the middle") << "abc" << "a*c" << true;
        QTest::newRow("star needs the rest") << "abd" << "a*c" << false;
        QTest::newRow("backtracking") << "aXbYbc" << "a*bc" << true;
        QTest::newRow("question mark is one character") << "ab" << "a?c" << false;
        QTest::newRow("letter case") << "MAP.nm3" << "*.NM3" << true;
        QTest::newRow("non-ASCII letter case") << "ÄRGER" << "ärger" << true;
        QTest::newRow("suffix must end the name") << "a.nm3x" << "*.nm3" << false;
        QTest::newRow("brackets are plain") << "m[1].nm3" << "m[1]*" << true;
    }
    void patterns()
    {
        QFETCH(QString, name);
        QFETCH(QString, pattern);
        QFETCH(bool, matches);
        QCOMPARE(vktpdl::matchesPattern(name, pattern), matches);
    }

    void copy_data()
    {
        QTest::addColumn<bool>("put");
        QTest::newRow("putFile") << true;
        QTest::newRow("getFile") << false;
    }
    void copy()
    {
        QFETCH(bool, put);
        QByteArray content(3 * 1024 * 1024 + 17, Qt::Uninitialized);
        for (qsizetype i = 0; i < content.size(); ++i)
            content[i] = char(i * 7 / 5);
        const QString source = path(QStringLiteral("%T/source"));
        writeFile(source, content);
        QFile dated(source);
        QVERIFY(dated.open(QIODevice::Append));
        QVERIFY(dated.setFileTime(QDateTime(QDate(2020, 5, 1), QTime(12, 0)), QFileDevice::FileModificationTime));
        dated.close();
        const auto copy = [&](const QString &to, vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont) {
            return put ? m_fs.putFile(to, source, progress, cont) : m_fs.getFile(to, source, progress, cont);
        };

        RecordingProgress progress;
        const QString copied = path(QStringLiteral("%T/copied"));
        QCOMPARE(copy(copied, &progress, nullptr), 0);
        QCOMPARE(readFile(copied), content);
        QCOMPARE(QFileInfo(copied).lastModified(), QFileInfo(source).lastModified());
        QCOMPARE(progress.values.first(), 0);
        QCOMPARE(progress.values.last(), 100);
        QVERIFY(std::is_sorted(progress.values.cbegin(), progress.values.cend()));

        QCOMPARE(copy(path(QStringLiteral("%T/file")), nullptr, nullptr), 11);
        QCOMPARE(readFile(path(QStringLiteral("%T/file"))), QByteArray("content"));
        QCOMPARE(copy(path(QStringLiteral("%T/missing/copy")), nullptr, nullptr), 11);
        QCOMPARE(put ? m_fs.putFile(path(QStringLiteral("%T/x")), path(QStringLiteral("%T/missing")), nullptr, nullptr)
                     : m_fs.getFile(path(QStringLiteral("%T/x")), path(QStringLiteral("%T/missing")), nullptr, nullptr),
                 11);

        StopAfter stopAfterFirstChunk(1);
        QCOMPARE(copy(path(QStringLiteral("%T/cancelled")), nullptr, &stopAfterFirstChunk), 16);
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("%T/cancelled"))));
        StopAfter stopAtOnce(0);
        QCOMPARE(copy(path(QStringLiteral("%T/cancelled")), nullptr, &stopAtOnce), 16);
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("%T/cancelled"))));
    }

    void volumeQueries()
    {
        quint64 bytes = 0;
        QCOMPARE(m_fs.freeSpace(m_dir->path(), bytes), 0);
        struct statvfs info;
        QCOMPARE(::statvfs(QFile::encodeName(m_dir->path()).constData(), &info), 0);
        const quint64 expected = quint64(info.f_bavail) * info.f_frsize;
        QVERIFY(bytes + (64 << 20) > expected && bytes < expected + (64 << 20));
        QCOMPARE(m_fs.freeSpace(path(QStringLiteral("%T/missing")), bytes), 6);

    }

    // Read-only is decided for the folder a write goes to and for the user who runs the program: an
    // ordinary user cannot write "/" (the mount point of home and temporary folders alike), yet may
    // write in a folder of their own there.
    void readOnlyIsTheWrittenFolders()
    {
        QVERIFY(!m_fs.isReadOnly(m_dir->path()));
        QVERIFY(!m_fs.isReadOnly(path(QStringLiteral("%T/file"))));
        QVERIFY(!m_fs.isReadOnly(path(QStringLiteral("%T/not/yet/there"))));
        QVERIFY(!m_fs.isReadOnly(QStringLiteral("relative/path")));
        QVERIFY(m_fs.isReadOnly(QStringLiteral("/proc/self/status")));
        QVERIFY(!m_fs.isFileSystemReadOnly(m_dir->path()));
        // The probe file does not stay.
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{QStringLiteral("file")});

        if (::geteuid() == 0)
            QSKIP("permissions do not bind the super-user");
        const QString locked = path(QStringLiteral("%T/locked"));
        QVERIFY(QDir().mkpath(locked + QStringLiteral("/open")));
        QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
        const bool lockedIsReadOnly = m_fs.isReadOnly(locked);
        const bool missingBelowIsReadOnly = m_fs.isReadOnly(locked + QStringLiteral("/missing"));
        const bool openBelowIsReadOnly = m_fs.isReadOnly(locked + QStringLiteral("/open"));
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(lockedIsReadOnly);
        QVERIFY(missingBelowIsReadOnly);
        QVERIFY(!openBelowIsReadOnly);
        QVERIFY(!m_fs.isFileSystemReadOnly(locked));
    }

    // A symbolic link that stands where something is written is never followed: its target stays as it was.
    void writesNeverFollowALink_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("result");
        QTest::newRow("remove a linked folder recursively") << "removeTree" << 13;
        QTest::newRow("empty a linked folder") << "emptyFolder" << 6;
        QTest::newRow("create a folder where a link is") << "createDirectory" << 21;
        QTest::newRow("open a linked file for writing") << "writeFile" << 6;
        QTest::newRow("delete a linked file") << "deleteFile" << 0;
    }
    void writesNeverFollowALink()
    {
        QFETCH(QString, operation);
        QFETCH(int, result);
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("victim")));
        writeFile(path(QStringLiteral("%T/victim/keep")), "keep");
        QVERIFY(QFile::link(path(QStringLiteral("%T/victim")), path(QStringLiteral("%T/folder"))));
        QVERIFY(QFile::link(path(QStringLiteral("%T/victim/keep")), path(QStringLiteral("%T/linked"))));
        const QString folder = path(QStringLiteral("%T/folder"));
        const QString linked = path(QStringLiteral("%T/linked"));

        int actual = -1;
        if (operation == QLatin1String("removeTree")) {
            actual = m_fs.removeDirectory(folder, true);
        } else if (operation == QLatin1String("emptyFolder")) {
            actual = m_fs.emptyFolder(folder);
        } else if (operation == QLatin1String("createDirectory")) {
            actual = m_fs.createDirectory(folder);
        } else if (operation == QLatin1String("writeFile")) {
            QIODevice *opened = nullptr;
            QCOMPARE(m_fs.openFile(linked, opened), 0);
            const std::unique_ptr<QIODevice> device(opened);
            actual = device->open(QIODevice::WriteOnly) ? 0 : 6;
            QVERIFY(device->open(QIODevice::ReadOnly));
            QCOMPARE(device->readAll(), QByteArray("keep"));
        } else {
            actual = m_fs.deleteFile(linked);
            QVERIFY(!QFileInfo(linked).isSymLink());
        }
        QCOMPARE(actual, result);
        QCOMPARE(readFile(path(QStringLiteral("%T/victim/keep"))), QByteArray("keep"));
    }

    // Below a confining folder (a volume someone else filled) no level of a path may be a link.
    void confinedPathsNeverPassALink_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("result");
        QTest::newRow("copy into a linked folder") << "putFile" << 11;
        QTest::newRow("delete through a linked folder") << "deleteFile" << 13;
        QTest::newRow("create below a linked folder") << "createDirectory" << 21;
        QTest::newRow("remove below a linked folder") << "removeDirectory" << 13;
        QTest::newRow("list below a linked folder") << "listFiles" << 6;
        QTest::newRow("open below a linked folder") << "openFile" << 6;
    }
    void confinedPathsNeverPassALink()
    {
        QFETCH(QString, operation);
        QFETCH(int, result);
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("volume")));
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("victim/sub")));
        writeFile(path(QStringLiteral("%T/victim/keep")), "keep");
        QVERIFY(QFile::link(path(QStringLiteral("%T/victim")), path(QStringLiteral("%T/volume/Maps"))));
        const QMap<QString, QByteArray> victimBefore = folderSnapshot(path(QStringLiteral("%T/victim")));
        LocalFileSystem volume({path(QStringLiteral("%T/volume"))});
        const QString through = path(QStringLiteral("%T/volume/Maps/"));

        int actual = -1;
        QStringList names;
        QIODevice *opened = nullptr;
        if (operation == QLatin1String("putFile"))
            actual = volume.putFile(through + QStringLiteral("new"), path(QStringLiteral("%T/file")), nullptr, nullptr);
        else if (operation == QLatin1String("deleteFile"))
            actual = volume.deleteFile(through + QStringLiteral("keep"));
        else if (operation == QLatin1String("createDirectory"))
            actual = volume.createDirectory(through + QStringLiteral("new/deeper"));
        else if (operation == QLatin1String("removeDirectory"))
            actual = volume.removeDirectory(through + QStringLiteral("sub"), true);
        else if (operation == QLatin1String("listFiles"))
            actual = volume.listFiles(through + QStringLiteral("sub"), QStringLiteral("*"), names);
        else
            actual = volume.openFile(through + QStringLiteral("keep"), opened);
        delete opened;
        QCOMPARE(actual, result);
        QCOMPARE(folderSnapshot(path(QStringLiteral("%T/victim"))), victimBefore);
        // Outside the confining folder the same link is followed as the user laid it.
        QCOMPARE(m_fs.createDirectory(path(QStringLiteral("%T/volume/Maps/made"))), 0);
        QVERIFY(QFileInfo(path(QStringLiteral("%T/victim/made"))).isDir());
    }

    void fileQueries()
    {
        QVERIFY(m_fs.isFile(path(QStringLiteral("%T/file"))));
        QVERIFY(!m_fs.isFile(m_dir->path()));
        QVERIFY(!m_fs.isFile(path(QStringLiteral("%T/missing"))));

        qint64 size = -1;
        QCOMPARE(m_fs.fileSize(path(QStringLiteral("%T/file")), size), 0);
        QCOMPARE(size, 7);
        QCOMPARE(m_fs.fileSize(path(QStringLiteral("%T/missing")), size), 6);

        QIODevice *opened = nullptr;
        QCOMPARE(m_fs.openFile(path(QStringLiteral("%T/file")), opened), 0);
        const std::unique_ptr<QIODevice> device(opened);
        QVERIFY(device && !device->isOpen());
        QVERIFY(device->open(QIODevice::ReadOnly));
        QCOMPARE(device->readAll(), QByteArray("content"));
        QCOMPARE(m_fs.separator(), QLatin1Char('/'));
    }
};

QTEST_GUILESS_MAIN(LocalFileSystemTest)
#include "tst_localfilesystem.moc"
