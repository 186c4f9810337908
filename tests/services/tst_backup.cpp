#include "backup.h"
#include "backupdescription.h"
#include "backuperror.h"
#include "devicedescription.h"
#include "dottedversion.h"
#include "filestamps.h"
#include "foldersnapshot.h"
#include "mapinfo.h"
#include "midevicehandler.h"
#include "storagefixture.h"
#include "testlisteners.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTest>
#include <QXmlStreamReader>

#include <algorithm>
#include <csignal>
#include <functional>
#include <memory>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using vktpdl::MIDeviceHandler;

namespace {

QByteArray pattern(char fill, int size)
{
    QByteArray bytes(size, fill);
    for (int i = 0; i < size; i += 4096)
        bytes[i] = char(i / 4096);
    return bytes;
}

// Element names in document order.
QStringList elementNames(const QString &path)
{
    QFile file(path);
    QStringList names;
    if (!file.open(QIODevice::ReadOnly))
        return names;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement)
            names.append(xml.name().toString());
    }
    return names;
}

bool replaceInFile(const QString &path, const QByteArray &before, const QByteArray &after)
{
    QByteArray bytes = readFile(path);
    if (!bytes.contains(before))
        return false;
    return writeFile(path, bytes.replace(before, after));
}

class CallOnce : public vktcommon::ProgressListener
{
public:
    explicit CallOnce(std::function<void()> action) : m_action(std::move(action)) {}
    void setProgress(int) override
    {
        if (m_action)
            std::exchange(m_action, nullptr)();
    }

private:
    std::function<void()> m_action;
};

// Files grow no larger than limit while it lives, as on a disk that is full.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_saved);
        const rlimit limited{limit, m_saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }

private:
    rlimit m_saved;
};

// Says stop after a number of answers and notes how many temporary files the cache held then.
class StopAndLook : public vktcommon::ContinueListener
{
public:
    StopAndLook(int answers, const QString &cacheFolder) : m_left(answers), m_cacheFolder(cacheFolder) {}
    bool shouldContinue() override
    {
        if (m_left-- > 0)
            return true;
        if (temporaryFiles < 0)
            temporaryFiles = int(QDir(m_cacheFolder).entryList({"temp_*"}, QDir::Files).size());
        return false;
    }
    int temporaryFiles = -1;

private:
    int m_left;
    QString m_cacheFolder;
};

// Names the files whose content is read in the watched folders while it lives (listings are not reads).
class ReadWatch
{
public:
    explicit ReadWatch(const QStringList &folders) : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        for (const QString &folder : folders)
            m_ok = m_fd >= 0 && inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_ACCESS) >= 0;
    }
    ~ReadWatch()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    bool isValid() const { return m_ok; }
    QStringList readFiles()
    {
        alignas(inotify_event) char buffer[4096];
        QStringList names;
        for (ssize_t count; (count = read(m_fd, buffer, sizeof buffer)) > 0;) {
            for (char *at = buffer; at < buffer + count;) {
                const auto *event = reinterpret_cast<const inotify_event *>(at);
                if (event->len > 0 && !(event->mask & IN_ISDIR))
                    names.append(QString::fromUtf8(event->name));
                at += sizeof(inotify_event) + event->len;
            }
        }
        names.removeDuplicates();
        names.sort();
        return names;
    }

private:
    int m_fd;
    bool m_ok = false;
};

QString sha1Of(const QByteArray &bytes)
{
    return QString(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
}

} // namespace

class TestBackup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void createWritesDescriptorAndCache();
    void secondBackupOfTheDay();
    void unchangedBackupIsNotWrittenTwice();
    void sharedContentsSurviveDeletion();
    void restoreAfterReplug();
    void programAtTheVolumeRoot();
    void missingCacheFileChangesNothing();
    void damagedCacheFiles_data();
    void damagedCacheFiles();
    void backupsFolderInsideABackedUpFolder();
    void linksInTheBackupsFolderAreNotFollowed();
    void unreadableDescriptors_data();
    void unreadableDescriptors();
    void unlistedDescriptorKeepsItsContents();
    void failedBackupLeavesNothing_data();
    void failedBackupLeavesNothing();
    void cancelledRestorationAndDeletion();
    void secondBackupReadsOnlyWhatMayHaveChanged_data();
    void secondBackupReadsOnlyWhatMayHaveChanged();
    void descriptionTexts_data();
    void descriptionTexts();

private:
    QString card(const QString &path = QString()) const { return m_machine->volume("card") + path; }
    QString backups() const { return m_machine->path() + "/backups"; }
    QStringList folders() const { return {card("/Navi"), card("/KorwindContent/Maps")}; }
    // Plugs the stick in under mountPoint (moving its files there) and searches it again.
    MIDeviceHandler *plug(const QString &mountPoint);
    QStringList descriptors() const;
    QStringList cacheFiles() const;
    QString cachePath(const QString &sha1) const
    {
        return backups() + "/filecache/" + sha1.left(1) + "/" + sha1.mid(1, 1) + "/" + sha1;
    }
    // Rewrites the stamp store as if it had been recorded well after the files last changed.
    static bool ageStamps(const QString &backupsFolder);
    int createBackup(const QStringList &folders, const QString &description = "maps",
                     vktcommon::ProgressListener *progress = nullptr, vktcommon::ContinueListener *cont = nullptr);

    std::unique_ptr<StorageMachine> m_machine;
    std::unique_ptr<vktpdl::DeviceManager> m_manager;
    FixtureMachine m_fixture;
    QString m_mountPoint;
    MIDeviceHandler *m_device = nullptr;
};

void TestBackup::init()
{
    m_manager.reset();
    m_machine = std::make_unique<StorageMachine>();
    QVERIFY(m_machine->isValid());
    QVERIFY(writeFile(card("/Navi/navi.exe"), pattern('n', 4000)));
    QVERIFY(writeFile(card("/KorwindContent/Maps/a.nm3"), pattern('a', 300 * 1024)));
    QVERIFY(writeFile(card("/KorwindContent/Maps/b.nm3"), pattern('b', 600 * 1024)));
    QVERIFY(writeFile(card("/KorwindContent/Maps/sub/c.nm3"), pattern('a', 300 * 1024)));
    QVERIFY(writeFile(card("/KorwindContent/KorwindContentInfo.xml"), "<KorwindContentInfo/>"));
    m_fixture = FixtureMachine();
    m_fixture.usbDevices.append(StorageMachine::stick("S1", {card()}));
    m_mountPoint = card();
    QVERIFY(m_machine->write(m_fixture));
    m_manager = m_machine->manager();
    QCOMPARE(m_manager->searchDevices(nullptr, nullptr), 0);
    m_device = m_manager->storageDevice(0);
    QVERIFY(m_device);
}

MIDeviceHandler *TestBackup::plug(const QString &mountPoint)
{
    if (!QDir().rename(m_mountPoint, mountPoint))
        return nullptr;
    m_mountPoint = mountPoint;
    m_fixture.usbDevices.first().luns.first().volumes.first().mountPoint = mountPoint;
    if (!m_machine->write(m_fixture))
        return nullptr;
    m_manager = m_machine->manager();
    m_manager->searchDevices(nullptr, nullptr);
    return m_manager->storageDevice(0);
}

QStringList TestBackup::descriptors() const
{
    return QDir(backups()).entryList({"*.xml"}, QDir::Files, QDir::Name);
}

QStringList TestBackup::cacheFiles() const
{
    QStringList names;
    QDirIterator it(backups() + "/filecache", QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        names.append(it.fileName());
    }
    names.sort();
    return names;
}

int TestBackup::createBackup(const QStringList &folders, const QString &description,
                             vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    Backup backup(backups());
    return backup.create(folders, description, *m_device, progress, cont);
}

void TestBackup::createWritesDescriptorAndCache()
{
    Backup backup(backups());
    RecordingProgress progress;
    QCOMPARE(backup.create(folders(), "Korwind Navigator 1.0.0.0\n", *m_device, &progress, nullptr), BE_NO_ERROR);
    const QString today = QDate::currentDate().toString("dd.MM.yyyy");
    QCOMPARE(backup.descriptorFileName(), "backup_" + today + ".xml");
    QCOMPARE(descriptors(), QStringList{backup.descriptorFileName()});
    QVERIFY(std::is_sorted(progress.values.begin(), progress.values.end()));
    QCOMPARE(progress.values.last(), 100);

    // Four files, three distinct contents: a.nm3 and sub/c.nm3 are alike.
    QCOMPARE(backup.files().size(), 4);
    QCOMPARE(backup.files().at(0).devicePath, card("/Navi/navi.exe"));
    QCOMPARE(backup.files().at(3).devicePath, card("/KorwindContent/Maps/sub/c.nm3"));
    QCOMPARE(backup.files().at(1).sha1, backup.files().at(3).sha1);
    QCOMPARE(backup.files().at(1).sha1, QString(QCryptographicHash::hash(pattern('a', 300 * 1024),
                                                                         QCryptographicHash::Sha1).toHex()));
    QCOMPARE(cacheFiles().size(), 3);
    const QString sha1 = backup.files().at(2).sha1;
    QCOMPARE(readFile(backups() + "/filecache/" + sha1.left(1) + "/" + sha1.mid(1, 1) + "/" + sha1),
             pattern('b', 600 * 1024));
    QVERIFY(QDir(backups() + "/filecache").entryList({"temp_*"}, QDir::Files).isEmpty());

    QStringList expected{"BackupInfo", "Version", "VersionNumber", "Info", "Date", "Description", "DeviceName",
                         "FileList"};
    for (int i = 0; i < 4; ++i)
        expected << "File" << "UniquePath" << "Sha1sum";
    expected << "FolderList" << "Folder" << "UniquePath" << "Folder" << "UniquePath";
    const QString descriptor = backups() + "/" + backup.descriptorFileName();
    QCOMPARE(elementNames(descriptor), expected);
    QVERIFY(readFile(descriptor).contains("<VersionNumber>2</VersionNumber>"));
    QVERIFY(readFile(descriptor).contains("<Date>" + today.toUtf8() + "</Date>"));

    const QList<Backup> listed = Backup::list(backups());
    QCOMPARE(listed.size(), 1);
    const Backup &read = listed.first();
    vktpdl::DeviceDescription description;
    m_device->getDeviceDescription(description);
    QVERIFY(!description.name.isEmpty());
    QCOMPARE(read.info().title, description.name);
    QCOMPARE(read.info().description, QString("Korwind Navigator 1.0.0.0\n"));
    QCOMPARE(read.info().date, QDate::currentDate());
    QCOMPARE(read.files().size(), 4);
    QCOMPARE(read.files().at(2).uniquePath, backup.files().at(2).uniquePath);
    QCOMPARE(read.filesFingerprint(), backup.filesFingerprint());
    QCOMPARE(read.foldersFingerprint(), backup.foldersFingerprint());
    QCOMPARE(read.folders().at(1).uniquePath, m_device->toPortablePath(card("/KorwindContent/Maps")));
}

void TestBackup::secondBackupOfTheDay()
{
    QCOMPARE(createBackup(folders()), BE_NO_ERROR);
    QVERIFY(writeFile(card("/KorwindContent/Maps/b.nm3"), "changed"));
    Backup second(backups());
    QCOMPARE(second.create(folders(), "maps", *m_device, nullptr, nullptr), BE_NO_ERROR);
    const QString base = "backup_" + QDate::currentDate().toString("dd.MM.yyyy");
    QCOMPARE(second.descriptorFileName(), base + "_1.xml");
    QCOMPARE(second.info().id, base + "_1");
    QCOMPARE(descriptors().size(), 2);
    // A third name skips every name in use, whatever made it.
    QVERIFY(writeFile(backups() + "/" + base + "_2.xml", "not a backup"));
    QCOMPARE(Backup::descriptorName(backups(), QDate::currentDate()), base + "_3.xml");
    QCOMPARE(Backup::descriptorName(backups(), QDate(2026, 12, 5)), QString("backup_05.12.2026.xml"));
}

void TestBackup::unchangedBackupIsNotWrittenTwice()
{
    QCOMPARE(createBackup(folders(), "first"), BE_NO_ERROR);
    const QString name = descriptors().first();
    const QString today = QDate::currentDate().toString("dd.MM.yyyy");
    QVERIFY(replaceInFile(backups() + "/" + name, "<Date>" + today.toUtf8(), "<Date>01.02.2020"));
    const QByteArray before = readFile(backups() + "/" + name);
    const QStringList cache = cacheFiles();

    Backup again(backups());
    RecordingProgress progress;
    QCOMPARE(again.create(folders(), "second", *m_device, &progress, nullptr), BE_NO_ERROR);
    QCOMPARE(descriptors(), QStringList{name});
    QCOMPARE(readFile(backups() + "/" + name), before);
    QCOMPARE(cacheFiles(), cache);
    QCOMPARE(again.descriptorFileName(), name);
    QCOMPARE(again.info().description, QString("first"));
    QCOMPARE(again.info().date, QDate(2020, 2, 1));
    QCOMPARE(progress.values.last(), 100);
}

void TestBackup::sharedContentsSurviveDeletion()
{
    Backup first(backups());
    QCOMPARE(first.create(folders(), "first", *m_device, nullptr, nullptr), BE_NO_ERROR);
    // Same size, other bytes: the unchanged-looking file must still be stored anew.
    const QByteArray changed = pattern('B', 600 * 1024);
    QVERIFY(writeFile(card("/KorwindContent/Maps/b.nm3"), changed));
    Backup second(backups());
    QCOMPARE(second.create(folders(), "second", *m_device, nullptr, nullptr), BE_NO_ERROR);
    QCOMPARE(cacheFiles().size(), 4);
    QVERIFY(second.files().at(2).sha1 != first.files().at(2).sha1);

    QCOMPARE(Backup::list(backups()).size(), 2);
    QCOMPARE(first.remove(nullptr), BE_NO_ERROR);
    QCOMPARE(descriptors(), QStringList{second.descriptorFileName()});
    QStringList kept;
    for (const BackupFileEntry &file : second.files())
        kept.append(file.sha1);
    kept.removeDuplicates();
    kept.sort();
    QCOMPARE(cacheFiles(), kept);

    QVERIFY(writeFile(card("/KorwindContent/Maps/b.nm3"), "lost"));
    Backup restored = Backup::list(backups()).first();
    QCOMPARE(restored.restore(*m_device, nullptr, nullptr), BE_NO_ERROR);
    QCOMPARE(readFile(card("/KorwindContent/Maps/b.nm3")), changed);

    QCOMPARE(restored.remove(nullptr), BE_NO_ERROR);
    QVERIFY(descriptors().isEmpty());
    QVERIFY(cacheFiles().isEmpty());
}

void TestBackup::restoreAfterReplug()
{
    const QMap<QString, QByteArray> original = folderSnapshot(card());
    QCOMPARE(createBackup(folders()), BE_NO_ERROR);

    // Plugged in again under another mount point, beside a stick that the backup knows nothing of.
    QVERIFY(writeFile(m_machine->volume("other") + "/KorwindContent/Maps/a.nm3", "other stick"));
    m_fixture.usbDevices.append(StorageMachine::stick("S2", {m_machine->volume("other")}));
    MIDeviceHandler *device = plug(m_machine->volume("replugged"));
    QVERIFY(device);
    MIDeviceHandler *other = m_manager->storageDevice(1);
    QVERIFY(other);
    QVERIFY(QFile::remove(m_machine->volume("replugged") + "/KorwindContent/Maps/sub/c.nm3"));
    QVERIFY(writeFile(m_machine->volume("replugged") + "/KorwindContent/Maps/added.nm3", "added later"));
    QVERIFY(writeFile(m_machine->volume("replugged") + "/Navi/navi.exe", "newer program"));

    Backup backup = Backup::list(backups()).first();
    const QMap<QString, QByteArray> otherBefore = folderSnapshot(m_machine->volume("other"));
    QVERIFY(!backup.bind(*other));
    QCOMPARE(backup.restore(*other, nullptr, nullptr), BE_NOT_RESTORABLE);
    QCOMPARE(folderSnapshot(m_machine->volume("other")), otherBefore);

    QVERIFY(backup.bind(*device));
    QCOMPARE(backup.files().at(3).devicePath, m_machine->volume("replugged") + "/KorwindContent/Maps/sub/c.nm3");
    RecordingProgress progress;
    QCOMPARE(backup.restore(*device, &progress, nullptr), BE_NO_ERROR);
    QCOMPARE(folderSnapshot(m_machine->volume("replugged")), original);
    QVERIFY(std::is_sorted(progress.values.begin(), progress.values.end()));
    QCOMPARE(progress.values.last(), 100);
}

// The install folder is then the volume root and holds the Maps folder: each file is backed up and
// restored once, and the root (a mount point on a real device) is emptied, never removed.
void TestBackup::programAtTheVolumeRoot()
{
    QVERIFY(writeFile(card("/navi.exe"), "program at the root"));
    const QMap<QString, QByteArray> original = folderSnapshot(card());
    QCOMPARE(createBackup({card(), card("/KorwindContent/Maps")}), BE_NO_ERROR);
    Backup backup = Backup::list(backups()).first();
    const qsizetype fileCount = std::count_if(original.keyBegin(), original.keyEnd(),
                                              [](const QString &path) { return !path.endsWith('/'); });
    QCOMPARE(backup.files().size(), fileCount);

    QVERIFY(writeFile(card("/added later.txt"), "added later"));
    struct stat before = {};
    QCOMPARE(::stat(QFile::encodeName(card()).constData(), &before), 0);
    QCOMPARE(backup.restore(*m_device, nullptr, nullptr), BE_NO_ERROR);
    struct stat after = {};
    QCOMPARE(::stat(QFile::encodeName(card()).constData(), &after), 0);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(folderSnapshot(card()), original);
}

void TestBackup::missingCacheFileChangesNothing()
{
    Backup backup(backups());
    QCOMPARE(backup.create(folders(), "maps", *m_device, nullptr, nullptr), BE_NO_ERROR);
    const QString sha1 = backup.files().at(2).sha1;
    QVERIFY(QFile::remove(backups() + "/filecache/" + sha1.left(1) + "/" + sha1.mid(1, 1) + "/" + sha1));
    QVERIFY(writeFile(card("/KorwindContent/Maps/added.nm3"), "added later"));
    const QMap<QString, QByteArray> before = folderSnapshot(card());
    QCOMPARE(Backup::list(backups()).first().restore(*m_device, nullptr, nullptr), BE_CACHE_FILES_MISSING);
    QCOMPARE(folderSnapshot(card()), before);
}

void TestBackup::damagedCacheFiles_data()
{
    QTest::addColumn<QByteArray>("damage"); // what b.nm3's cache file holds after a crash
    QTest::addColumn<bool>("aged");         // the second backup trusts the stamps of the first
    QTest::addColumn<bool>("repaired");     // the second backup stores the content again
    QTest::newRow("emptied") << QByteArray() << false << true;
    QTest::newRow("emptied, stamps trusted") << QByteArray() << true << true;
    QTest::newRow("same size, other bytes") << pattern('x', 600 * 1024) << false << true;
    // Trusted stamps read neither the file nor its stored copy; the restoration's own check finds it.
    QTest::newRow("same size, other bytes, stamps trusted") << pattern('x', 600 * 1024) << true << false;
}

// A cache file emptied or damaged (a crash before it reached the disk) is never restored: the
// restoration checks every content it needs before it changes anything, and a later backup stores a
// content again when its stored copy is not sound.
void TestBackup::damagedCacheFiles()
{
    QFETCH(QByteArray, damage);
    QFETCH(bool, aged);
    QFETCH(bool, repaired);
    Backup first(backups());
    QCOMPARE(first.create(folders(), "first", *m_device, nullptr, nullptr), BE_NO_ERROR);
    const QString stored = cachePath(first.files().at(2).sha1);
    QVERIFY(writeFile(stored, damage));
    QVERIFY(writeFile(card("/KorwindContent/Maps/added.nm3"), "added later"));
    const QMap<QString, QByteArray> before = folderSnapshot(card());
    QCOMPARE(Backup::list(backups()).first().restore(*m_device, nullptr, nullptr), BE_CACHE_FILES_MISSING);
    QCOMPARE(folderSnapshot(card()), before);

    QVERIFY(QFile::remove(card("/KorwindContent/Maps/added.nm3")));
    if (aged)
        QVERIFY(ageStamps(backups()));
    Backup second(backups());
    QCOMPARE(second.create(folders(), "second", *m_device, nullptr, nullptr), BE_NO_ERROR);
    QCOMPARE(readFile(stored) == pattern('b', 600 * 1024), repaired);
    if (!repaired)
        return;
    QVERIFY(writeFile(card("/KorwindContent/Maps/b.nm3"), "lost"));
    QCOMPARE(Backup::list(backups()).first().restore(*m_device, nullptr, nullptr), BE_NO_ERROR);
    QCOMPARE(readFile(card("/KorwindContent/Maps/b.nm3")), pattern('b', 600 * 1024));
}

// Backups kept on the device, in a folder that a backup covers (the navigator at the volume root): the
// restoration would empty them with the rest, so neither creation nor restoration goes ahead.
void TestBackup::backupsFolderInsideABackedUpFolder()
{
    const QMap<QString, QByteArray> original = folderSnapshot(card());
    Backup onDevice(card("/backups"));
    QCOMPARE(onDevice.create({card(), card("/KorwindContent/Maps")}, "all", *m_device, nullptr, nullptr),
             BE_BACKUPS_FOLDER_COVERED);
    QCOMPARE(folderSnapshot(card()), original);

    // A backup made elsewhere, its folder then moved onto the device.
    QCOMPARE(createBackup({card(), card("/KorwindContent/Maps")}), BE_NO_ERROR);
    QVERIFY(QDir().rename(backups(), card("/backups")));
    const QMap<QString, QByteArray> moved = folderSnapshot(card());
    const QList<Backup> listed = Backup::list(card("/backups"));
    QCOMPARE(listed.size(), 1);
    Backup backup = listed.first();
    QCOMPARE(backup.restore(*m_device, nullptr, nullptr), BE_BACKUPS_FOLDER_COVERED);
    QCOMPARE(folderSnapshot(card()), moved);
}

// A backups folder that others may write: links planted in it lead nowhere.
void TestBackup::linksInTheBackupsFolderAreNotFollowed()
{
    const QString victim = m_machine->path() + "/victim";
    QVERIFY(writeFile(victim + "/letter.txt", "mine"));
    QVERIFY(QDir().mkpath(backups()));
    QVERIFY(QFile::link(victim, backups() + "/filecache"));
    QCOMPARE(createBackup(folders()), BE_PC_FAILED);
    QCOMPARE(Backup::collectUnusedCacheFiles(backups(), {}, nullptr), BE_PC_FAILED);
    QCOMPARE(QDir(victim).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"letter.txt"});
    QCOMPARE(readFile(victim + "/letter.txt"), QByteArray("mine"));

    // A link as one of the cache's levels.
    QVERIFY(QFile::remove(backups() + "/filecache"));
    const QString navi = sha1Of(pattern('n', 4000));
    QVERIFY(QDir().mkpath(backups() + "/filecache"));
    QVERIFY(QFile::link(victim, backups() + "/filecache/" + navi.left(1)));
    QCOMPARE(createBackup({card("/Navi")}), BE_PC_FAILED);
    QCOMPARE(QDir(victim).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"letter.txt"});

    // Links at the names of the stamps and of today's descriptor (one that leads nowhere yet): the files
    // take their places.
    QVERIFY(QFile::remove(backups() + "/filecache/" + navi.left(1)));
    QVERIFY(QFile::link(victim + "/letter.txt", backups() + "/filecache.stamps"));
    const QString descriptor = backups() + "/" + Backup::descriptorName(backups(), QDate::currentDate());
    QVERIFY(QFile::link(victim + "/planted.xml", descriptor));
    QCOMPARE(createBackup({card("/Navi")}), BE_NO_ERROR);
    QCOMPARE(QDir(victim).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"letter.txt"});
    QCOMPARE(readFile(victim + "/letter.txt"), QByteArray("mine"));
    QVERIFY(!QFileInfo(backups() + "/filecache.stamps").isSymLink());
    QVERIFY(!QFileInfo(descriptor).isSymLink());
}

void TestBackup::unreadableDescriptors_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<bool>("listed");

    const QByteArray navi = QCryptographicHash::hash(pattern('n', 4000), QCryptographicHash::Sha1).toHex();
    const QByteArray naviPath = "<UniquePath>uuid:S1-1|/Navi/navi.exe</UniquePath>";
    QTest::newRow("untouched") << QByteArray("<BackupInfo>") << QByteArray("<BackupInfo>") << true;
    QTest::newRow("digest in upper case") << navi << navi.toUpper() << true;
    QTest::newRow("File without digest skipped") << QByteArray("<FileList>")
                                                  << QByteArray("<FileList><File><UniquePath>x|/y</UniquePath></File>")
                                                  << true;
    QTest::newRow("not XML") << QByteArray("<BackupInfo>") << QByteArray("BackupInfo>") << false;
    QTest::newRow("other root") << QByteArray("BackupInfo>") << QByteArray("Backup>") << false;
    QTest::newRow("version 1") << QByteArray("<VersionNumber>2") << QByteArray("<VersionNumber>1") << false;
    QTest::newRow("version not a number") << QByteArray("<VersionNumber>2") << QByteArray("<VersionNumber>2a") << false;
    QTest::newRow("no description") << QByteArray("Description>") << QByteArray("Remark>") << false;
    QTest::newRow("no folder list") << QByteArray("FolderList>") << QByteArray("Folders>") << false;
    QTest::newRow("digest too short") << navi << navi.left(39) << false;
    QTest::newRow("digest not hexadecimal") << navi << QByteArray("../").repeated(13) + "x" << false;
    QTest::newRow("file path climbs out") << naviPath << QByteArray("<UniquePath>uuid:S1-1|/Navi/../../x</UniquePath>")
                                          << false;
    QTest::newRow("backslash climbs out") << naviPath << QByteArray("<UniquePath>uuid:S1-1|\\..\\x</UniquePath>")
                                          << false;
    QTest::newRow("folder path climbs out") << QByteArray("|/Navi</UniquePath>") << QByteArray("|/..</UniquePath>")
                                            << false;
    QTest::newRow("empty file path") << naviPath << QByteArray("<UniquePath></UniquePath>") << false;
}

void TestBackup::unreadableDescriptors()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(bool, listed);
    QCOMPARE(createBackup(folders()), BE_NO_ERROR);
    const QString path = backups() + "/" + descriptors().first();
    QVERIFY(replaceInFile(path, before, after));

    const QList<Backup> backupsListed = Backup::list(backups());
    QCOMPARE(backupsListed.size(), listed ? 1 : 0);
    if (!listed)
        return;
    Backup backup = backupsListed.first();
    QVERIFY(writeFile(card("/Navi/navi.exe"), "damaged"));
    QCOMPARE(backup.restore(*m_device, nullptr, nullptr), BE_NO_ERROR);
    QCOMPARE(readFile(card("/Navi/navi.exe")), pattern('n', 4000));
}

// A descriptor of another version is not listed, yet the collection must not take its contents.
void TestBackup::unlistedDescriptorKeepsItsContents()
{
    QCOMPARE(createBackup(folders()), BE_NO_ERROR);
    const QStringList stored = cacheFiles();
    const QString path = backups() + "/" + descriptors().first();
    QVERIFY(replaceInFile(path, "<VersionNumber>2", "<VersionNumber>3"));
    QVERIFY(Backup::list(backups()).isEmpty());

    QCOMPARE(Backup::collectUnusedCacheFiles(backups(), {}, nullptr), int(BE_NO_ERROR));
    QCOMPARE(cacheFiles(), stored);
    QVERIFY(QFile::remove(path));
    QCOMPARE(Backup::collectUnusedCacheFiles(backups(), {}, nullptr), int(BE_NO_ERROR));
    QVERIFY(cacheFiles().isEmpty());
}

void TestBackup::failedBackupLeavesNothing_data()
{
    QTest::addColumn<int>("answers");        // continue answers before the stop; -1: never stops
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("temporaryFiles"); // in the cache when the stop came

    // navi.exe is digested only (the earlier backup holds it), the maps are copied; a file of
    // n blocks takes n + 1 answers.
    QTest::newRow("cancel while digesting an unchanged file") << 0 << "" << int(BE_CANCELLED) << 0;
    QTest::newRow("cancel before a new file's first block") << 2 << "" << int(BE_CANCELLED) << 1;
    QTest::newRow("cancel inside a new file") << 3 << "" << int(BE_CANCELLED) << 1;
    QTest::newRow("cancel inside the last file") << 10 << "" << int(BE_CANCELLED) << 1;
    QTest::newRow("device unplugged during the backup") << -1 << "unplug" << int(BE_DEVICE_FAILED) << -1;
    QTest::newRow("device gone before the backup") << -1 << "gone" << int(BE_DEVICE_FAILED) << -1;
    QTest::newRow("PC disk full") << -1 << "full" << int(BE_PC_FAILED) << -1;
}

void TestBackup::failedBackupLeavesNothing()
{
    QFETCH(int, answers);
    QFETCH(QString, fault);
    QFETCH(int, expected);
    QFETCH(int, temporaryFiles);

    Backup earlier(backups());
    QCOMPARE(earlier.create({card("/Navi")}, "program", *m_device, nullptr, nullptr), BE_NO_ERROR);
    const QStringList earlierDescriptors = descriptors();
    const QStringList earlierCache = cacheFiles();
    QCOMPARE(earlierCache, QStringList{earlier.files().first().sha1});
    const QString store = FileStamps(backups()).filePath();
    const QByteArray earlierStamps = readFile(store);
    QVERIFY(!earlierStamps.isEmpty());

    StopAndLook stop(answers, backups() + "/filecache");
    CallOnce unplug([this] { QDir(card()).removeRecursively(); });
    int result = -1;
    if (fault == "gone")
        QVERIFY(QDir(card()).removeRecursively());
    if (fault == "full") {
        const FileSizeLimit limit(100 * 1024);
        result = createBackup(folders(), "maps", nullptr, nullptr);
    } else {
        result = createBackup(folders(), "maps", fault == "unplug" ? &unplug : nullptr,
                              answers >= 0 ? &stop : nullptr);
    }
    QCOMPARE(result, expected);
    QCOMPARE(stop.temporaryFiles, temporaryFiles);
    QCOMPARE(descriptors(), earlierDescriptors);
    QCOMPARE(cacheFiles(), earlierCache);
    QCOMPARE(Backup::list(backups()).size(), 1);
    QCOMPARE(readFile(store), earlierStamps);
}

void TestBackup::cancelledRestorationAndDeletion()
{
    const QMap<QString, QByteArray> original = folderSnapshot(card());
    Backup first(backups());
    QCOMPARE(first.create(folders(), "first", *m_device, nullptr, nullptr), BE_NO_ERROR);
    QVERIFY(writeFile(card("/KorwindContent/Maps/b.nm3"), "changed"));
    QVERIFY(writeFile(card("/KorwindContent/Maps/a.nm3"), "changed too"));
    QVERIFY(writeFile(card("/Navi/navi.exe"), "newer program"));
    Backup second(backups());
    QCOMPARE(second.create(folders(), "second", *m_device, nullptr, nullptr), BE_NO_ERROR);
    QVERIFY(writeFile(card("/KorwindContent/Maps/new.nm3"), "a map no backup holds"));

    // Stopped anywhere, a restoration leaves every file as it was or as the backup holds it, never
    // missing, emptied or half written; the check of the stored contents comes before any change.
    const QMap<QString, QByteArray> changed = folderSnapshot(card());
    StopAfter whileChecking(4);
    QCOMPARE(first.restore(*m_device, nullptr, &whileChecking), BE_CANCELLED);
    QCOMPARE(folderSnapshot(card()), changed);
    for (int answers = 5; answers < 40; ++answers) {
        StopAfter stop(answers);
        const int result = first.restore(*m_device, nullptr, &stop);
        QVERIFY(result == BE_CANCELLED || result == BE_NO_ERROR);
        const QMap<QString, QByteArray> now = folderSnapshot(card());
        for (auto entry = now.cbegin(); entry != now.cend(); ++entry) {
            QVERIFY2(entry.value() == original.value(entry.key(), "<none>")
                         || entry.value() == changed.value(entry.key(), "<none>"),
                     qPrintable(entry.key()));
        }
        for (auto entry = original.cbegin(); entry != original.cend(); ++entry)
            QVERIFY2(now.contains(entry.key()), qPrintable(entry.key() + " missing"));
        QVERIFY(writeFile(card("/KorwindContent/Maps/b.nm3"), "changed"));
        QVERIFY(writeFile(card("/KorwindContent/Maps/a.nm3"), "changed too"));
        QVERIFY(writeFile(card("/Navi/navi.exe"), "newer program"));
        QVERIFY(writeFile(card("/KorwindContent/Maps/new.nm3"), "a map no backup holds"));
    }
    QCOMPARE(first.restore(*m_device, nullptr, nullptr), BE_NO_ERROR);
    QCOMPARE(folderSnapshot(card()), original);
    QCOMPARE(second.restore(*m_device, nullptr, nullptr), BE_NO_ERROR);
    QMap<QString, QByteArray> secondContent = changed;
    secondContent.remove("KorwindContent/Maps/new.nm3");
    QCOMPARE(folderSnapshot(card()), secondContent);

    // The descriptor goes at once; the collection stops after its first removal and can run again.
    StopAfter collection(0);
    QCOMPARE(first.remove(&collection), BE_CANCELLED);
    QCOMPARE(descriptors(), QStringList{second.descriptorFileName()});
    // Six contents, of which the second backup needs four (c.nm3 still holds a.nm3's old bytes).
    QVERIFY(cacheFiles().size() > 4);
    QCOMPARE(Backup::collectUnusedCacheFiles(backups(), Backup::list(backups()), nullptr), BE_NO_ERROR);
    QCOMPARE(cacheFiles().size(), 4);
    QCOMPARE(Backup::list(backups()).first().restore(*m_device, nullptr, nullptr), BE_NO_ERROR);
    QCOMPARE(readFile(card("/KorwindContent/Maps/a.nm3")), QByteArray("changed too"));
}

bool TestBackup::ageStamps(const QString &backupsFolder)
{
    FileStamps stamps(backupsFolder);
    return stamps.load() && stamps.save(QDateTime::currentMSecsSinceEpoch() + 2 * FileStamps::racyGuardMs);
}

void TestBackup::secondBackupReadsOnlyWhatMayHaveChanged_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("aged");          // the stamps recorded well after the files' last change
    QTest::addColumn<QStringList>("read");   // the files whose content the second backup reads

    const QStringList all{"a.nm3", "b.nm3", "c.nm3", "navi.exe"};
    QTest::newRow("unchanged") << "" << true << QStringList();
    QTest::newRow("changed just before the first backup") << "" << false << all;
    QTest::newRow("same size, time set back") << "rewrite" << true << QStringList{"b.nm3"};
    QTest::newRow("cache file removed by hand") << "uncache" << true << QStringList{"b.nm3"};
    QTest::newRow("stamp store corrupt") << "corrupt" << true << all;
    QTest::newRow("stamp store truncated") << "truncate" << true << all;
}

void TestBackup::secondBackupReadsOnlyWhatMayHaveChanged()
{
    QFETCH(QString, change);
    QFETCH(bool, aged);
    QFETCH(QStringList, read);

    Backup first(backups());
    QCOMPARE(first.create(folders(), "first", *m_device, nullptr, nullptr), BE_NO_ERROR);
    const QString store = FileStamps(backups()).filePath();
    QVERIFY(QFile::exists(store));
    if (aged)
        QVERIFY(ageStamps(backups()));
    const QString b = card("/KorwindContent/Maps/b.nm3");
    const QByteArray rewritten = pattern('B', 600 * 1024);
    if (change == "rewrite") {
        struct stat before;
        QVERIFY(stat(QFile::encodeName(b).constData(), &before) == 0);
        QVERIFY(writeFile(b, rewritten));
        const timespec times[2] = {before.st_atim, before.st_mtim};
        QVERIFY(utimensat(AT_FDCWD, QFile::encodeName(b).constData(), times, 0) == 0);
    }
    if (change == "uncache")
        QVERIFY(QFile::remove(cachePath(first.files().at(2).sha1)));
    if (change == "corrupt")
        QVERIFY(writeFile(store, QByteArray(64, 'x')));
    if (change == "truncate")
        QVERIFY(writeFile(store, readFile(store).chopped(10)));

    ReadWatch watch({card("/Navi"), card("/KorwindContent/Maps"), card("/KorwindContent/Maps/sub")});
    QVERIFY(watch.isValid());
    Backup second(backups());
    RecordingProgress progress;
    QCOMPARE(second.create(folders(), "second", *m_device, &progress, nullptr), BE_NO_ERROR);
    QCOMPARE(watch.readFiles(), read);
    QVERIFY(std::is_sorted(progress.values.begin(), progress.values.end()));
    QCOMPARE(progress.values.last(), 100);

    // Whatever was trusted or read, the digests are the files' and their contents are stored.
    QCOMPARE(second.files().size(), first.files().size());
    for (const BackupFileEntry &file : second.files()) {
        QCOMPARE(file.sha1, sha1Of(readFile(file.devicePath)));
        QCOMPARE(readFile(cachePath(file.sha1)), readFile(file.devicePath));
    }
    QCOMPARE(second.files().at(2).sha1 == first.files().at(2).sha1, change != "rewrite");
    QCOMPARE(descriptors().size(), change == "rewrite" ? 2 : 1);

    // The store was refreshed: once its entries are old enough, nothing is read again.
    QVERIFY(ageStamps(backups()));
    watch.readFiles(); // the checks above read the files themselves
    Backup third(backups());
    QCOMPARE(third.create(folders(), "third", *m_device, nullptr, nullptr), BE_NO_ERROR);
    QCOMPARE(watch.readFiles(), QStringList());
    QCOMPARE(third.filesFingerprint(), second.filesFingerprint());
    QCOMPARE(third.descriptorFileName(), second.descriptorFileName());
}

void TestBackup::descriptionTexts_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("mapNames");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("folders");

    QTest::newRow("program and maps") << int(BT_PROGRAM_AND_MAPS) << QStringList{"Poland", "Ukraine"}
                                      << "Korwind Navigator 1.2.3.4\nMaps for Korwind Navigator: Poland(2011Q2) "
                                         "Ukraine(2011Q2)"
                                      << QStringList{"/Navi", "/Maps"};
    QTest::newRow("program without maps") << int(BT_PROGRAM_AND_MAPS) << QStringList() << "Korwind Navigator 1.2.3.4\n"
                                          << QStringList{"/Navi", "/Maps"};
    QTest::newRow("maps only") << int(BT_MAPS_ONLY) << QStringList{"Poland"}
                               << "Maps for Korwind Navigator: Poland(2011Q2)" << QStringList{"/Maps"};
    QTest::newRow("maps only, none installed") << int(BT_MAPS_ONLY) << QStringList() << "" << QStringList{"/Maps"};
}

void TestBackup::descriptionTexts()
{
    QFETCH(int, type);
    QFETCH(QStringList, mapNames);
    QFETCH(QString, text);
    QFETCH(QStringList, folders);
    QList<MapInfo> maps;
    for (const QString &name : mapNames) {
        MapInfo map;
        map.name = name;
        map.version = "2011Q2";
        maps.append(map);
    }
    const auto backupType = BACKUP_TYPE(type);
    QCOMPARE(BackupDescription::text(backupType, DottedVersion(1, 2, 3, 4), maps), text);
    QCOMPARE(BackupDescription::folders(backupType, "/Navi", "/Maps"), folders);
}

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
