#include "contentfolderscanner.h"
#include "faultyfilesystem.h"
#include "mapfilewriter.h"
#include "testlisteners.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <memory>

using namespace vktcommon;
using vktpdl::DE_CANCELLED;
using vktpdl::DE_DELETE_ERROR;
using vktpdl::DE_NO_ERROR;
using vktpdl::DE_NOT_SUPPORTED;
using vktpdl::DE_TRANSFER_ERROR;
using vktpdl::DE_TRANSPORT_ERROR;
using vktpdl::DE_WRONG_REPLY;

namespace {

MapFileRecipe mapRecipe(const QByteArray &code, quint32 headerVersion)
{
    MapFileRecipe recipe;
    recipe.headerVersion = headerVersion;
    recipe.entryCount = 2;
    recipe.firstVersion = 20112;
    recipe.secondVersion = 20110630;
    recipe.packageCode = code;
    recipe.titles = {{1033, "Poland"}, {1049, "Польша"}};
    recipe.versionTexts = {{1033, "2011Q2"}};
    recipe.conditions = {{"korwind.base", 1, 20104, 7}};
    return recipe;
}

// What readInfo left in the identity file.
ContentFolderIdentity identityOnDisk(const QString &path)
{
    QFile file(path);
    ContentFolderIdentity identity;
    if (!file.open(QIODevice::ReadOnly))
        return identity;
    QXmlStreamReader xml(&file);
    if (xml.readNextStartElement() && xml.name() == QLatin1String("KorwindContentInfo")) {
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("Version"))
                identity.version = xml.readElementText();
            else if (xml.name() == QLatin1String("UID"))
                identity.uid = xml.readElementText();
            else
                xml.skipCurrentElement();
        }
    }
    return xml.hasError() ? ContentFolderIdentity() : identity;
}

} // namespace

class TestContentFolderScanner : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void search();
    void searchFailures();
    void storageRoot();
    void createdIdentity();
    void damagedIdentity_data();
    void damagedIdentity();
    void identityUnderOtherCase();
    void identityWriteFailure();
    void identityNeverWrittenThroughALink();
    void createStructure();
    void mapsFolder();
    void listMaps();
    void listMapsWithoutHeaders();
    void listMapsCreatesMaps();
    void listMapsCancelled();
    void listMapsFailures();
    void otherFiles();
    void otherFilesDeletion();
    void otherFilesFailures();

private:
    QString path(const QString &relative) const { return m_dir->filePath(relative); }
    void createFile(const QString &relative, const QByteArray &bytes = QByteArray());
    void createDir(const QString &relative) { QVERIFY(QDir().mkpath(path(relative))); }
    std::unique_ptr<ContentFolderScanner> scanner(int pathFlags = 2);
    // A scanner that has searched and found exactly one content folder, cardA/KorwindContent.
    std::unique_ptr<ContentFolderScanner> searchedScanner(int pathFlags = 2);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FaultyFileSystem> m_fs;
    QStringList m_roots;
    int m_rootsResult = DE_NO_ERROR;
};

void TestContentFolderScanner::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_fs = std::make_unique<FaultyFileSystem>();
    m_roots = {path("cardA"), path("cardB")};
    m_rootsResult = DE_NO_ERROR;
    createDir("cardA");
    createDir("cardB");
}

void TestContentFolderScanner::createFile(const QString &relative, const QByteArray &bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path(relative)).path()));
    QFile file(path(relative));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

std::unique_ptr<ContentFolderScanner> TestContentFolderScanner::scanner(int pathFlags)
{
    return std::make_unique<ContentFolderScanner>(
        m_fs.get(), [this](QStringList &roots) { roots += m_roots; return m_rootsResult; }, pathFlags);
}

std::unique_ptr<ContentFolderScanner> TestContentFolderScanner::searchedScanner(int pathFlags)
{
    QDir().mkpath(path("cardA/KorwindContent"));
    auto result = scanner(pathFlags);
    if (result->search(nullptr, nullptr) != DE_NO_ERROR || result->count() != 1)
        qWarning("the fixture's content folder was not found");
    return result;
}

void TestContentFolderScanner::search()
{
    createDir("cardA/KorwindContent");
    createDir("cardA/korwindcontent");
    createDir("cardA/KorwindContentOld");
    createDir("cardB/KORWINDCONTENT");
    createFile("cardB/KorwindContent.txt");
    m_roots.append(path("cardC"));

    auto s = scanner();
    RecordingProgress progress;
    QCOMPARE(s->search(&progress, nullptr), DE_NO_ERROR);
    QCOMPARE(s->count(), 3);
    QCOMPARE(s->path(0), path("cardA/KorwindContent"));
    QCOMPARE(s->path(1), path("cardA/korwindcontent"));
    QCOMPARE(s->path(2), path("cardB/KORWINDCONTENT"));
    QCOMPARE(s->path(3), QString());
    QCOMPARE(s->path(-1), QString());
    QCOMPARE(progress.values, QList<int>({0, 10, 40, 70, 100, 100}));

    // A second search starts from an empty list.
    m_roots = {path("cardB")};
    QCOMPARE(s->search(nullptr, nullptr), DE_NO_ERROR);
    QCOMPARE(s->count(), 1);

    m_roots.clear();
    progress.values.clear();
    QCOMPARE(s->search(&progress, nullptr), DE_NO_ERROR);
    QCOMPARE(s->count(), 0);
    QCOMPARE(progress.values, QList<int>({0, 100}));
}

void TestContentFolderScanner::searchFailures()
{
    createDir("cardA/KorwindContent");
    createDir("cardB/KorwindContent");
    auto s = scanner();

    StopAfter stopAtSecondRoot(1);
    QCOMPARE(s->search(nullptr, &stopAtSecondRoot), DE_CANCELLED);
    QCOMPARE(s->count(), 0);

    m_fs->listErrors.insert(path("cardB"), DE_WRONG_REPLY);
    QCOMPARE(s->search(nullptr, nullptr), DE_WRONG_REPLY);
    QCOMPARE(s->count(), 0);

    m_rootsResult = DE_TRANSFER_ERROR;
    QCOMPARE(s->search(nullptr, nullptr), DE_TRANSFER_ERROR);
    QCOMPARE(s->count(), 0);
}

void TestContentFolderScanner::storageRoot()
{
    createDir("cardA/KorwindContent");
    createDir("cardB/korwindcontent");
    m_fs->extraFolders.insert(path("cardB"), {"Elsewhere"});
    m_roots.append("/");
    m_fs->extraFolders.insert("/", {"KorwindContent"});
    auto s = scanner();
    QCOMPARE(s->search(nullptr, nullptr), DE_NO_ERROR);
    QCOMPARE(s->count(), 4);
    QCOMPARE(s->storageRootOf(0), path("cardA"));
    QCOMPARE(s->storageRootOf(1), path("cardB/Elsewhere")); // no KorwindContent in it: its own root
    QCOMPARE(s->storageRootOf(2), path("cardB"));            // the folder's name in other letter case
    QCOMPARE(s->path(3), QStringLiteral("/KorwindContent"));
    QCOMPARE(s->storageRootOf(3), QStringLiteral("/"));
    QCOMPARE(s->storageRootOf(4), QString());
}

void TestContentFolderScanner::createdIdentity()
{
    auto s = searchedScanner();
    ContentFolderIdentity identity;
    QCOMPARE(s->readInfo(0, identity), DE_NO_ERROR);
    QCOMPARE(identity.version, QStringLiteral("1"));
    QVERIFY2(QRegularExpression(QStringLiteral("^\\{[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}\\}$"))
                 .match(identity.uid).hasMatch(),
             qPrintable(identity.uid));

    QFile file(path("cardA/KorwindContent/KorwindContentInfo.xml"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY2(text.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<KorwindContentInfo>\n    <Version>1</Version>"),
             text.constData());
    QCOMPARE(identityOnDisk(file.fileName()).uid, identity.uid);

    // Read again: the same identity, file untouched.
    ContentFolderIdentity again;
    QCOMPARE(s->readInfo(0, again), DE_NO_ERROR);
    QCOMPARE(again.uid, identity.uid);
    QCOMPARE(again.version, QStringLiteral("1"));

    // createInfo always makes a new one.
    QCOMPARE(s->createInfo(0, again), DE_NO_ERROR);
    QVERIFY(again.uid != identity.uid);
    QCOMPARE(identityOnDisk(file.fileName()).uid, again.uid);

    QCOMPARE(s->readInfo(1, again), DE_NOT_SUPPORTED);
    QCOMPARE(s->createInfo(-1, again), DE_NOT_SUPPORTED);
}

void TestContentFolderScanner::damagedIdentity_data()
{
    QTest::addColumn<QByteArray>("content");
    const QByteArray uid = "{0f8fad5b-d9cb-469f-a165-70867728950e}";
    QTest::newRow("not XML") << QByteArray("KorwindContentInfo Version=1");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("wrong root")
        << "<?xml version=\"1.0\"?><ContentInfo><Version>1</Version><UID>" + uid + "</UID></ContentInfo>";
    QTest::newRow("version 2") << "<KorwindContentInfo><Version>2</Version><UID>" + uid + "</UID></KorwindContentInfo>";
    QTest::newRow("version with spaces")
        << "<KorwindContentInfo><Version> 1 </Version><UID>" + uid + "</UID></KorwindContentInfo>";
    QTest::newRow("missing UID") << QByteArray("<KorwindContentInfo><Version>1</Version></KorwindContentInfo>");
    QTest::newRow("empty UID") << QByteArray("<KorwindContentInfo><Version>1</Version><UID/></KorwindContentInfo>");
    QTest::newRow("UID before version")
        << "<KorwindContentInfo><UID>" + uid + "</UID><Version>1</Version></KorwindContentInfo>";
    QTest::newRow("cut inside UID") << "<KorwindContentInfo><Version>1</Version><UID>" + uid.left(10);
    QTest::newRow("element inside UID")
        << "<KorwindContentInfo><Version>1</Version><UID><b>" + uid + "</b></UID></KorwindContentInfo>";
    QTest::newRow("far too large")
        << "<KorwindContentInfo><Version>1</Version><UID>" + uid + "</UID></KorwindContentInfo>"
               + QByteArray(70000, ' ');
}

void TestContentFolderScanner::damagedIdentity()
{
    QFETCH(QByteArray, content);
    createFile("cardA/KorwindContent/KorwindContentInfo.xml", content);
    auto s = searchedScanner();
    ContentFolderIdentity identity;
    QCOMPARE(s->readInfo(0, identity), DE_NO_ERROR);
    QCOMPARE(identity.version, QStringLiteral("1"));
    QCOMPARE(identity.uid.size(), 38);
    QVERIFY(identity.uid != QLatin1String("{0f8fad5b-d9cb-469f-a165-70867728950e}"));
    const ContentFolderIdentity written = identityOnDisk(path("cardA/KorwindContent/KorwindContentInfo.xml"));
    QCOMPARE(written.version, QStringLiteral("1"));
    QCOMPARE(written.uid, identity.uid);
}

void TestContentFolderScanner::identityUnderOtherCase()
{
    // Written by a device that spells the name differently: read and, when damaged, rewritten in place.
    createFile("cardA/KorwindContent/korwindcontentinfo.xml",
               "<KorwindContentInfo><Version>1</Version><UID>{kept}</UID></KorwindContentInfo>");
    auto s = searchedScanner();
    ContentFolderIdentity identity;
    QCOMPARE(s->readInfo(0, identity), DE_NO_ERROR);
    QCOMPARE(identity.uid, QStringLiteral("{kept}"));

    createFile("cardA/KorwindContent/korwindcontentinfo.xml", "damaged");
    QCOMPARE(s->readInfo(0, identity), DE_NO_ERROR);
    QCOMPARE(QDir(path("cardA/KorwindContent")).entryList(QDir::Files), QStringList({"korwindcontentinfo.xml"}));
    ContentFolderIdentity again;
    QCOMPARE(s->readInfo(0, again), DE_NO_ERROR);
    QCOMPARE(again.uid, identity.uid);
}

void TestContentFolderScanner::identityWriteFailure()
{
    auto s = searchedScanner();
    const QString info = path("cardA/KorwindContent/KorwindContentInfo.xml");
    // The copy under the temporary name fails, as on a full card.
    m_fs->putErrors.insert(info + ".kwpart", vktpdl::DE_TRANSFER_ERROR);
    ContentFolderIdentity identity;
    QCOMPARE(s->createInfo(0, identity), vktpdl::DE_TRANSFER_ERROR);
    QVERIFY(identity.uid.isEmpty());
    QCOMPARE(QDir(path("cardA/KorwindContent")).entryList(QDir::Files), QStringList());

    m_fs->putErrors.clear();
    m_fs->unopenable.insert(info);
    createFile("cardA/KorwindContent/KorwindContentInfo.xml", "anything");
    QCOMPARE(s->readInfo(0, identity), DE_WRONG_REPLY);
}

// A damaged identity file that is a link (a stick made on another system) is replaced by a file of our
// own, never written through: that would overwrite whatever the link leads to.
void TestContentFolderScanner::identityNeverWrittenThroughALink()
{
    createFile("outside.txt", "someone else's file");
    createDir("cardA/KorwindContent");
    const QString info = path("cardA/KorwindContent/KorwindContentInfo.xml");
    QVERIFY(QFile::link(path("outside.txt"), info));
    auto s = searchedScanner();
    ContentFolderIdentity identity;
    QCOMPARE(s->readInfo(0, identity), DE_NO_ERROR);
    QVERIFY(!identity.uid.isEmpty());
    QVERIFY(!QFileInfo(info).isSymLink());
    QFile outside(path("outside.txt"));
    QVERIFY(outside.open(QIODevice::ReadOnly));
    QCOMPARE(outside.readAll(), QByteArray("someone else's file"));
}

void TestContentFolderScanner::createStructure()
{
    createDir("cardB/KorwindContent");
    m_roots.prepend(path("cardX"));
    // The first root refuses; the others still get their folders, and the first error is reported.
    m_fs->createErrors.insert(path("cardX/KorwindContent"), vktpdl::DE_CANNOT_CREATE_FOLDER);
    auto s = scanner();
    QCOMPARE(s->createStructure(), vktpdl::DE_CANNOT_CREATE_FOLDER);
    QVERIFY(QFileInfo(path("cardA/KorwindContent/Maps")).isDir());
    QVERIFY(QFileInfo(path("cardB/KorwindContent/Maps")).isDir());
    QVERIFY(!QFileInfo::exists(path("cardX")));

    m_fs->createErrors.clear();
    QCOMPARE(s->createStructure(), DE_NO_ERROR);
    QCOMPARE(s->search(nullptr, nullptr), DE_NO_ERROR);
    QCOMPARE(s->count(), 3);

    m_rootsResult = DE_TRANSFER_ERROR;
    QCOMPARE(s->createStructure(), DE_TRANSFER_ERROR);
}

void TestContentFolderScanner::mapsFolder()
{
    auto s = searchedScanner();
    QString maps = "unchanged";
    QCOMPARE(s->mapsFolder(0, maps), DE_NOT_SUPPORTED);
    QCOMPARE(maps, QStringLiteral("unchanged"));
    createDir("cardA/KorwindContent/MAPS");
    QCOMPARE(s->mapsFolder(0, maps), DE_NO_ERROR);
    QCOMPARE(maps, path("cardA/KorwindContent/MAPS"));
    QCOMPARE(s->mapsFolder(1, maps), DE_NOT_SUPPORTED);

    // Two of them: ambiguous for mapsFolder, while listMaps takes the first one listed.
    createDir("cardA/KorwindContent/maps");
    QCOMPARE(s->mapsFolder(0, maps), DE_NOT_SUPPORTED);
    MapInventory inventory;
    QCOMPARE(s->listMaps(0, "en_US", nullptr, nullptr, inventory), DE_NO_ERROR);
    QCOMPARE(inventory.mapsPath, path("cardA/KorwindContent/MAPS"));
    QStringList other;
    QCOMPARE(s->listOtherFiles(0, other), DE_NOT_SUPPORTED);

    m_fs->listErrors.insert(path("cardA/KorwindContent"), DE_WRONG_REPLY);
    QCOMPARE(s->mapsFolder(0, maps), DE_WRONG_REPLY);
}

void TestContentFolderScanner::listMaps()
{
    const QByteArray v0 = writeMapFile(mapRecipe("korwind.pol", 0));
    createFile("cardA/KorwindContent/Maps/Poland.NM3", v0);
    createFile("cardA/KorwindContent/Maps/czech.nm3", writeMapFile(mapRecipe("korwind.cze", 2)));
    MapFileRecipe future = mapRecipe("korwind.future", 3);
    createFile("cardA/KorwindContent/Maps/Future.NM3", writeMapFile(future));
    createFile("cardA/KorwindContent/Maps/Broken.NM3", "not a map at all");
    createFile("cardA/KorwindContent/Maps/Poland.NM3.bak", v0);
    createFile("cardA/KorwindContent/Maps/readme.txt", "text");

    auto s = searchedScanner();
    RecordingProgress progress;
    MapInventory inventory;
    QCOMPARE(s->listMaps(0, "ru_RU", &progress, nullptr, inventory), DE_NO_ERROR);
    QCOMPARE(inventory.mapsPath, path("cardA/KorwindContent/Maps"));
    QCOMPARE(progress.values, QList<int>({0, 25, 50, 75, 100, 100}));
    QCOMPARE(inventory.maps.size(), 4);

    const MapInfo &broken = inventory.maps.at(0);
    QCOMPARE(broken.file.fileName, path("cardA/KorwindContent/Maps/Broken.NM3"));
    QCOMPARE(broken.name, QStringLiteral("Broken.NM3"));
    QCOMPARE(broken.kind, int(ProductInfo::InstalledMap));
    QCOMPARE(broken.file.size, quint64(16));
    QVERIFY(broken.code.isEmpty() && broken.version.isEmpty() && broken.description.isEmpty());
    QCOMPARE(broken.majorVersion, 0);
    QCOMPARE(broken.minorVersion, 0);

    const MapInfo &czech = inventory.maps.at(1);
    QCOMPARE(czech.code, QStringLiteral("korwind.cze"));
    QCOMPARE(czech.name, QStringLiteral("Польша"));
    QCOMPARE(czech.version, QStringLiteral("2011Q2"));
    QCOMPARE(czech.majorVersion, 20112);
    QCOMPARE(czech.minorVersion, 20110630);
    QCOMPARE(czech.description, QStringLiteral("This map is already installed"));
    QCOMPARE(czech.conflicts.size(), 1);
    QCOMPARE(czech.conflicts.at(0).code, QStringLiteral("korwind.base"));
    QCOMPARE(czech.conflicts.at(0).op, QStringLiteral(">="));
    QCOMPARE(czech.conflicts.at(0).majorVersion, 20104);
    QCOMPARE(czech.conflicts.at(0).minorVersion, 7);
    QVERIFY(czech.depends.isEmpty() && czech.replaces.isEmpty());

    QCOMPARE(inventory.maps.at(2).name, QStringLiteral("Future.NM3")); // header version 3
    QCOMPARE(inventory.maps.at(2).code, QString());
    QCOMPARE(inventory.maps.at(3).code, QStringLiteral("korwind.pol"));
    QCOMPARE(inventory.maps.at(3).file.size, quint64(v0.size()));
}

void TestContentFolderScanner::listMapsWithoutHeaders()
{
    createFile("cardA/KorwindContent/Maps/Poland.NM3", writeMapFile(mapRecipe("korwind.pol", 2)));
    auto s = searchedScanner(1);
    MapInventory inventory;
    QCOMPARE(s->listMaps(0, "en_US", nullptr, nullptr, inventory), DE_NO_ERROR);
    QCOMPARE(inventory.maps.size(), 1);
    QCOMPARE(inventory.maps.at(0).name, QStringLiteral("Poland.NM3"));
    QVERIFY(inventory.maps.at(0).code.isEmpty());
    QVERIFY(inventory.maps.at(0).conflicts.isEmpty());
}

void TestContentFolderScanner::listMapsCreatesMaps()
{
    auto s = searchedScanner();
    MapInventory inventory;
    RecordingProgress progress;
    QCOMPARE(s->listMaps(0, "en_US", &progress, nullptr, inventory), DE_NO_ERROR);
    QVERIFY(QFileInfo(path("cardA/KorwindContent/Maps")).isDir());
    QCOMPARE(inventory.mapsPath, path("cardA/KorwindContent/Maps"));
    QVERIFY(inventory.maps.isEmpty());
    QCOMPARE(progress.values, QList<int>({0, 100}));
    QCOMPARE(s->listMaps(1, "en_US", nullptr, nullptr, inventory), DE_NOT_SUPPORTED);
}

void TestContentFolderScanner::listMapsCancelled()
{
    for (const char *name : {"a.NM3", "b.NM3", "c.NM3"})
        createFile(QStringLiteral("cardA/KorwindContent/Maps/") + name, writeMapFile(mapRecipe("korwind.pol", 1)));
    auto s = searchedScanner();
    MapInventory inventory;
    inventory.maps.append(MapInfo()); // left over from an earlier listing
    StopAfter stopAtSecondFile(1);
    QCOMPARE(s->listMaps(0, "en_US", nullptr, &stopAtSecondFile, inventory), DE_CANCELLED);
    QCOMPARE(inventory.mapsPath, path("cardA/KorwindContent/Maps"));
    QVERIFY(inventory.maps.isEmpty());
}

void TestContentFolderScanner::listMapsFailures()
{
    createFile("cardA/KorwindContent/Maps/a.NM3", writeMapFile(mapRecipe("korwind.pol", 1)));
    auto s = searchedScanner();
    MapInventory inventory;

    m_fs->unopenable.insert(path("cardA/KorwindContent/Maps/a.NM3"));
    QCOMPARE(s->listMaps(0, "en_US", nullptr, nullptr, inventory), DE_WRONG_REPLY);
    QVERIFY(inventory.maps.isEmpty());

    m_fs->listErrors.insert(path("cardA/KorwindContent/Maps"), DE_TRANSFER_ERROR);
    QCOMPARE(s->listMaps(0, "en_US", nullptr, nullptr, inventory), DE_TRANSFER_ERROR);

    QVERIFY(QDir(path("cardA/KorwindContent/Maps")).removeRecursively());
    m_fs->createErrors.insert(path("cardA/KorwindContent/Maps"), vktpdl::DE_CANNOT_CREATE_FOLDER);
    QCOMPARE(s->listMaps(0, "en_US", nullptr, nullptr, inventory), vktpdl::DE_CANNOT_CREATE_FOLDER);

    // A root that joins to no path at all gives an empty content folder path.
    m_roots = {QString()};
    m_fs->extraFolders.insert(QString(), {"KorwindContent"});
    QCOMPARE(s->search(nullptr, nullptr), DE_NO_ERROR);
    QCOMPARE(s->count(), 1);
    QCOMPARE(s->listMaps(0, "en_US", nullptr, nullptr, inventory), DE_TRANSPORT_ERROR);
}

void TestContentFolderScanner::otherFiles()
{
    createFile("cardA/KorwindContent/Maps/a.NM3", QByteArray(100, 'm'));
    createFile("cardA/KorwindContent/Maps/old.dat", QByteArray(10, 'x'));
    createFile("cardA/KorwindContent/Maps/sub/x.idx", QByteArray(20, 'x'));
    createFile("cardA/KorwindContent/Maps/sub/deeper/y.nm3", QByteArray(100, 'm'));
    createFile("cardA/KorwindContent/Maps/sub2/z", QByteArray(5, 'x'));
    createFile("cardA/KorwindContent/outside.dat", QByteArray(1000, 'x'));
    auto s = searchedScanner();

    QStringList other;
    QCOMPARE(s->listOtherFiles(0, other), DE_NO_ERROR);
    QCOMPARE(other, QStringList({path("cardA/KorwindContent/Maps/old.dat"), path("cardA/KorwindContent/Maps/sub/x.idx"),
                                 path("cardA/KorwindContent/Maps/sub2/z")}));

    quint64 size = 0;
    QCOMPARE(s->otherFilesSize(0, size), DE_NO_ERROR); // measured on the way
    QCOMPARE(size, quint64(35));

    RecordingProgress progress;
    QCOMPARE(s->cacheOtherFileSizes(0, &progress, nullptr), DE_NO_ERROR);
    QCOMPARE(progress.values, QList<int>({0, 33, 66}));
    // The cache answers until the next search clears it.
    createFile("cardA/KorwindContent/Maps/old.dat", QByteArray(50, 'x'));
    QCOMPARE(s->otherFilesSize(0, size), DE_NO_ERROR);
    QCOMPARE(size, quint64(35));
    QCOMPARE(s->search(nullptr, nullptr), DE_NO_ERROR);
    QCOMPARE(s->otherFilesSize(0, size), DE_NO_ERROR);
    QCOMPARE(size, quint64(75));

    StopAfter stopAtSecondFile(1);
    QCOMPARE(s->cacheOtherFileSizes(0, nullptr, &stopAtSecondFile), DE_CANCELLED);
}

void TestContentFolderScanner::otherFilesDeletion()
{
    createFile("cardA/KorwindContent/Maps/a.NM3", "m");
    createFile("cardA/KorwindContent/Maps/b.nm3", "m");
    createFile("cardA/KorwindContent/Maps/old.dat", "x");
    createFile("cardA/KorwindContent/Maps/sub/x.idx", "x");
    createFile("cardA/KorwindContent/Maps/sub/deeper/y.NM3", "m");
    createDir("cardA/KorwindContent/Maps/sub/empty/emptier");
    createFile("cardA/KorwindContent/Maps/sub2/z.txt", "x");
    auto s = searchedScanner();

    RecordingProgress progress;
    QCOMPARE(s->deleteOtherFiles(0, &progress, nullptr), DE_NO_ERROR);
    QCOMPARE(progress.values, QList<int>({0, 33, 66}));
    QStringList left;
    QDirIterator it(path("cardA/KorwindContent"), QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        left.append(QDir(path("cardA/KorwindContent")).relativeFilePath(it.next()));
    left.sort();
    QCOMPARE(left, QStringList({"Maps", "Maps/a.NM3", "Maps/b.nm3", "Maps/sub", "Maps/sub/deeper", "Maps/sub/deeper/y.NM3"}));

    // Nothing left to delete; an empty Maps folder stays.
    QVERIFY(QFile::remove(path("cardA/KorwindContent/Maps/sub/deeper/y.NM3")));
    QCOMPARE(s->deleteOtherFiles(0, nullptr, nullptr), DE_NO_ERROR);
    QVERIFY(QFileInfo(path("cardA/KorwindContent/Maps")).isDir());
    QVERIFY(!QFileInfo::exists(path("cardA/KorwindContent/Maps/sub")));
}

void TestContentFolderScanner::otherFilesFailures()
{
    createFile("cardA/KorwindContent/Maps/one.dat", "x");
    createFile("cardA/KorwindContent/Maps/two.dat", "x");
    createFile("cardA/KorwindContent/Maps/sub/three.dat", "xy");
    auto s = searchedScanner();

    StopAfter stopAtSecondFile(1);
    QCOMPARE(s->deleteOtherFiles(0, nullptr, &stopAtSecondFile), DE_CANCELLED);
    QVERIFY(!QFileInfo::exists(path("cardA/KorwindContent/Maps/one.dat")));
    QVERIFY(QFileInfo::exists(path("cardA/KorwindContent/Maps/two.dat")));

    m_fs->deleteErrors.insert(path("cardA/KorwindContent/Maps/two.dat"), DE_DELETE_ERROR);
    QCOMPARE(s->deleteOtherFiles(0, nullptr, nullptr), DE_DELETE_ERROR);
    QVERIFY(QFileInfo::exists(path("cardA/KorwindContent/Maps/sub/three.dat")));

    m_fs->unopenable.insert(path("cardA/KorwindContent/Maps/sub/three.dat"));
    quint64 size = 99;
    QCOMPARE(s->otherFilesSize(0, size), DE_WRONG_REPLY);
    QCOMPARE(size, quint64(0));
    QCOMPARE(s->cacheOtherFileSizes(0, nullptr, nullptr), DE_WRONG_REPLY);

    m_fs->listErrors.insert(path("cardA/KorwindContent/Maps/sub"), DE_TRANSFER_ERROR);
    QStringList other;
    QCOMPARE(s->listOtherFiles(0, other), DE_TRANSFER_ERROR);
    QCOMPARE(s->otherFilesSize(5, size), DE_NOT_SUPPORTED);
    QCOMPARE(s->deleteOtherFiles(5, nullptr, nullptr), DE_NOT_SUPPORTED);
}

QTEST_GUILESS_MAIN(TestContentFolderScanner)
#include "tst_contentfolderscanner.moc"
