#include "backup.h"

#include "backuperror.h"
#include "checkedcopy.h"
#include "devicedescription.h"
#include "filecache.h"
#include "filestamps.h"
#include "listeners.h"
#include "midevicehandler.h"
#include "partialprogresslistener.h"
#include "replacingfile.h"
#include "sha1digest.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QIODevice>
#include <QSet>
#include <QXmlStreamWriter>

#include <algorithm>
#include <memory>

namespace {

const QString dateFormat = QStringLiteral("dd.MM.yyyy");
constexpr int descriptorVersion = 2;

// Unique paths come from files on the PC: one that names nothing, or that climbs with "..", could
// lead a restoration outside the backed-up volume.
bool isSafeUniquePath(const QString &path)
{
    QString components = path;
    components.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return !path.isEmpty() && !components.split(QLatin1Char('/')).contains(QStringLiteral(".."));
}

QByteArray fingerprint(QStringList texts)
{
    std::sort(texts.begin(), texts.end());
    return QCryptographicHash::hash(texts.join(QString()).toUtf8(), QCryptographicHash::Sha1);
}

// Where entry [done, done + size) of total falls in 0..100; an empty file is a point.
void setRangeBySize(vktcommon::PartialProgressListener &listener, int start, int span, quint64 done, quint64 size,
                    quint64 total)
{
    if (total == 0) {
        listener.setRange(start, start + span);
        return;
    }
    listener.setRange(start + int(done * span / total), start + int((done + size) * span / total));
}

std::unique_ptr<QIODevice> openForReading(vktpdl::MIDeviceHandler &device, const QString &path)
{
    QIODevice *opened = nullptr;
    if (device.openFile(path, opened) != vktpdl::DE_NO_ERROR || !opened)
        return nullptr;
    std::unique_ptr<QIODevice> file(opened);
    return file->open(QIODevice::ReadOnly) ? std::move(file) : nullptr;
}

// A missing folder lists as empty on some file systems; a backup of it would be empty and its
// restoration would wipe the folder, so it is a device failure instead.
bool folderExists(vktpdl::MIDeviceHandler &device, const QString &folder)
{
    QString parent;
    QString name;
    device.splitPath(folder, parent, name);
    QStringList names;
    return !parent.isEmpty() && device.listFolders(parent, QStringLiteral("*"), names) == vktpdl::DE_NO_ERROR
           && names.contains(name);
}

// A folder inside one already enumerated (the navigator installed at the volume root holds the Maps
// folder) adds no files of its own: listing them twice would restore each file twice.
bool isWithin(vktpdl::MIDeviceHandler &device, const QString &folder, const QStringList &earlier)
{
    const QChar separator = device.separator();
    for (const QString &outer : earlier) {
        const QString prefix = outer.endsWith(separator) ? outer : outer + separator;
        if (folder == outer || folder.startsWith(prefix))
            return true;
    }
    return false;
}

// The path with every level that exists resolved (links, "." and ".."), the rest appended as given.
QString resolvedPath(const QString &path)
{
    QString existing = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    QString rest;
    while (!QFileInfo::exists(existing) && existing != QLatin1String("/")) {
        rest = QLatin1Char('/') + QFileInfo(existing).fileName() + rest;
        existing = QFileInfo(existing).path();
    }
    const QString canonical = QFileInfo(existing).canonicalFilePath();
    return (canonical == QLatin1String("/") ? QString() : canonical) + rest;
}

// A backups folder inside a backed-up folder would be emptied by the restoration, and one holding a
// backed-up folder would have its own files backed up and restored; both lose the backups.
bool overlapsBackupsFolder(const QString &backupsFolder, const QStringList &folders)
{
    const QString backups = resolvedPath(backupsFolder) + QLatin1Char('/');
    for (const QString &folder : folders) {
        const QString covered = resolvedPath(folder) + QLatin1Char('/');
        if (backups.startsWith(covered) || covered.startsWith(backups))
            return true;
    }
    return false;
}

// Room kept beside a restored file for the file system's own needs.
constexpr quint64 restoreSpareBytes = 1024 * 1024;

// Appends the files below folder that are not among keep (case-folded paths).
int listExtraFiles(vktpdl::MIDeviceHandler &device, const QString &folder, const QStringList &keep,
                   QStringList &extras)
{
    QStringList names;
    int result = device.listFiles(folder, QStringLiteral("*"), names);
    for (const QString &name : std::as_const(names)) {
        const QString path = device.joinPath(folder, name);
        if (!keep.contains(path.toCaseFolded()))
            extras.append(path);
    }
    QStringList folders;
    if (result == vktpdl::DE_NO_ERROR)
        result = device.listFolders(folder, QStringLiteral("*"), folders);
    for (const QString &name : std::as_const(folders)) {
        if (result == vktpdl::DE_NO_ERROR)
            result = listExtraFiles(device, device.joinPath(folder, name), keep, extras);
    }
    return result;
}

// Removes the empty folders below folder that the backup did not hold, as its emptying once did.
void removeFoldersNotIn(vktpdl::MIDeviceHandler &device, const QString &folder, const QStringList &kept)
{
    QStringList names;
    device.listFolders(folder, QStringLiteral("*"), names);
    for (const QString &name : std::as_const(names)) {
        const QString child = device.joinPath(folder, name);
        removeFoldersNotIn(device, child, kept);
        if (!kept.contains(child))
            device.removeDirectory(child, false);
    }
}

// The descriptor files of a backups folder, in name order.
QStringList descriptorFiles(const QString &backupsFolder)
{
    QStringList paths;
    const QFileInfoList entries = QDir(backupsFolder).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (entry.suffix().compare(QLatin1String("xml"), Qt::CaseInsensitive) == 0)
            paths.append(entry.filePath());
    }
    return paths;
}

// Adds every well-formed "Sha1sum" of every descriptor file, readable as a backup or not; false when a
// descriptor cannot be opened.
bool addDigestsNamedByDescriptors(const QString &backupsFolder, QSet<QString> &digests)
{
    for (const QString &path : descriptorFiles(backupsFolder)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        QDomDocument document;
        if (!document.setContent(&file))
            continue;
        const QDomNodeList sums = document.elementsByTagName(QStringLiteral("Sha1sum"));
        for (int i = 0; i < sums.size(); ++i) {
            const QString text = sums.at(i).toElement().text().trimmed();
            if (Sha1Digest::isSha1Text(text))
                digests.insert(text.toLower());
        }
    }
    return true;
}

// Unique path -> the contents earlier backups recorded for it.
QHash<QString, QStringList> recordedContents(const QList<Backup> &backups)
{
    QHash<QString, QStringList> contents;
    for (const Backup &backup : backups) {
        for (const BackupFileEntry &file : backup.files())
            contents[file.uniquePath].append(file.sha1);
    }
    return contents;
}

// Copies one device file into the cache and sets entry's SHA-1: 0..70 for the copy, 70..100 for the
// digest, which is taken while copying. When an earlier backup recorded the same path with stored
// content of the same size, the file is probably unchanged: it is only digested, and copied only
// when its content turns out to be new.
int backUpFile(vktpdl::MIDeviceHandler &device, const FileCache &cache, BackupFileEntry &entry,
               const QStringList &recorded, vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    vktcommon::PartialProgressListener copyProgress(progress, 0, 70);
    const bool probablyStored = std::any_of(recorded.begin(), recorded.end(), [&](const QString &sha1) {
        return cache.sizeOf(sha1) == qint64(entry.size);
    });
    if (probablyStored) {
        const std::unique_ptr<QIODevice> source = openForReading(device, entry.devicePath);
        if (!source)
            return BE_DEVICE_FAILED;
        const int result = cache.digest(*source, entry.sha1, &copyProgress, cont);
        if (result != BE_NO_ERROR)
            return result;
        // The stored copy (on the PC's disk, quick to read) is checked as well: one damaged by a crash
        // is stored anew.
        if (cache.sizeOf(entry.sha1) == qint64(entry.size) && cache.verify(entry.sha1, nullptr, nullptr) == BE_NO_ERROR) {
            vktcommon::reportProgress(progress, 100);
            return BE_NO_ERROR;
        }
        copyProgress.setRange(70, 100);
    }
    const std::unique_ptr<QIODevice> source = openForReading(device, entry.devicePath);
    if (!source)
        return BE_DEVICE_FAILED;
    const int result = cache.store(*source, entry.sha1, &copyProgress, cont);
    if (result == BE_NO_ERROR)
        vktcommon::reportProgress(progress, 100);
    return result;
}

QString deviceNameOf(vktpdl::MIDeviceHandler &device)
{
    vktpdl::DeviceDescription description;
    if (device.getDeviceDescription(description) != vktpdl::DE_NO_ERROR || description.name.isEmpty())
        return QCoreApplication::translate("Backup", "Unknown device");
    return description.name;
}

} // namespace

Backup::Backup(const QString &backupsFolder)
    : m_backupsFolder(backupsFolder)
{
}

QString Backup::descriptorName(const QString &backupsFolder, const QDate &date)
{
    const QString base = QStringLiteral("backup_") + date.toString(dateFormat);
    const QDir folder(backupsFolder);
    QString name = base + QStringLiteral(".xml");
    for (int number = 1; folder.exists(name); ++number)
        name = base + QLatin1Char('_') + QString::number(number) + QStringLiteral(".xml");
    return name;
}

int Backup::create(const QStringList &folders, const QString &description, vktpdl::MIDeviceHandler &device,
                   vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    m_files.clear();
    m_folders.clear();
    if (overlapsBackupsFolder(m_backupsFolder, folders))
        return BE_BACKUPS_FOLDER_COVERED;
    QStringList enumerated;
    for (const QString &folder : folders) {
        if (!folderExists(device, folder))
            return BE_DEVICE_FAILED;
        if (!isWithin(device, folder, enumerated)) {
            const int result = enumerate(device, folder);
            if (result != BE_NO_ERROR)
                return result;
            enumerated.append(folder);
        }
        const BackupFolderEntry entry{folder, device.toPortablePath(folder)};
        if (entry.uniquePath.isEmpty())
            return BE_DEVICE_FAILED;
        m_folders.append(entry);
    }

    const FileCache cache(m_backupsFolder);
    if (!cache.create())
        return BE_PC_FAILED;
    quint64 total = 0;
    for (const BackupFileEntry &entry : m_files)
        total += entry.size;
    const QList<Backup> existing = list(m_backupsFolder);
    const QHash<QString, QStringList> recorded = recordedContents(existing);
    // Taken before the first stamp, so that no stamp is younger than its recording.
    const qint64 startedMs = QDateTime::currentMSecsSinceEpoch();
    FileStamps remembered(m_backupsFolder);
    remembered.load();
    FileStamps seen(m_backupsFolder);
    vktcommon::PartialProgressListener fileProgress(progress);
    quint64 done = 0;
    for (BackupFileEntry &entry : m_files) {
        setRangeBySize(fileProgress, 0, 100, done, entry.size, total);
        vktpdl::FileStamp stamp;
        if (device.fileStamp(entry.devicePath, stamp) != vktpdl::DE_NO_ERROR)
            stamp = vktpdl::FileStamp();
        // A remembered digest counts only while its content is still stored.
        const QString trusted = remembered.trustedSha1(entry.uniquePath, stamp);
        int result = BE_NO_ERROR;
        if (!trusted.isEmpty() && cache.sizeOf(trusted) == qint64(entry.size)) {
            entry.sha1 = trusted;
            vktcommon::reportProgress(&fileProgress, 100);
        } else {
            result = backUpFile(device, cache, entry, recorded.value(entry.uniquePath), &fileProgress, cont);
        }
        if (result != BE_NO_ERROR) {
            // The cleanup runs to its end even after a cancellation.
            collectUnusedCacheFiles(m_backupsFolder, list(m_backupsFolder), nullptr);
            return result;
        }
        seen.insert(entry.uniquePath, stamp, entry.sha1);
        done += entry.size;
    }

    computeFingerprints();
    for (const Backup &other : existing) {
        if (other.m_filesFingerprint == m_filesFingerprint && other.m_foldersFingerprint == m_foldersFingerprint) {
            m_description = other.m_description;
            m_deviceName = other.m_deviceName;
            m_date = other.m_date;
            m_descriptorFileName = other.m_descriptorFileName;
            seen.save(startedMs);
            return BE_NO_ERROR;
        }
    }

    m_description = description;
    m_date = QDate::currentDate();
    m_deviceName = deviceNameOf(device);
    m_descriptorFileName = descriptorName(m_backupsFolder, m_date);
    if (!writeDescriptor(QDir(m_backupsFolder).filePath(m_descriptorFileName))) {
        m_descriptorFileName.clear();
        collectUnusedCacheFiles(m_backupsFolder, list(m_backupsFolder), nullptr);
        return BE_PC_FAILED;
    }
    // The stamps only save work: a store that cannot be written leaves the backup as good.
    seen.save(startedMs);
    return BE_NO_ERROR;
}

int Backup::enumerate(vktpdl::MIDeviceHandler &device, const QString &folder)
{
    QStringList names;
    if (device.listFiles(folder, QStringLiteral("*"), names) != vktpdl::DE_NO_ERROR)
        return BE_DEVICE_FAILED;
    for (const QString &name : names) {
        BackupFileEntry entry;
        entry.devicePath = device.joinPath(folder, name);
        entry.uniquePath = device.toPortablePath(entry.devicePath);
        qint64 size = 0;
        if (entry.uniquePath.isEmpty() || device.fileSize(entry.devicePath, size) != vktpdl::DE_NO_ERROR)
            return BE_DEVICE_FAILED;
        entry.size = quint64(size);
        m_files.append(entry);
    }
    QStringList subfolders;
    if (device.listFolders(folder, QStringLiteral("*"), subfolders) != vktpdl::DE_NO_ERROR)
        return BE_DEVICE_FAILED;
    for (const QString &name : subfolders) {
        const int result = enumerate(device, device.joinPath(folder, name));
        if (result != BE_NO_ERROR)
            return result;
    }
    return BE_NO_ERROR;
}

void Backup::computeFingerprints()
{
    QStringList files;
    for (const BackupFileEntry &entry : m_files)
        files.append(entry.uniquePath + QStringLiteral(" : ") + entry.sha1);
    QStringList folders;
    for (const BackupFolderEntry &entry : m_folders)
        folders.append(entry.uniquePath);
    m_filesFingerprint = fingerprint(files);
    m_foldersFingerprint = fingerprint(folders);
}

bool Backup::writeDescriptor(const QString &filePath) const
{
    // Written aside and renamed into place, so a full disk never leaves half a descriptor.
    vktcommon::ReplacingFile file(filePath);
    if (!file.open())
        return false;
    QXmlStreamWriter xml(file.device());
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("BackupInfo"));
    xml.writeStartElement(QStringLiteral("Version"));
    xml.writeTextElement(QStringLiteral("VersionNumber"), QString::number(descriptorVersion));
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("Info"));
    xml.writeTextElement(QStringLiteral("Date"), m_date.toString(dateFormat));
    xml.writeTextElement(QStringLiteral("Description"), m_description);
    xml.writeTextElement(QStringLiteral("DeviceName"), m_deviceName);
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("FileList"));
    for (const BackupFileEntry &entry : m_files) {
        xml.writeStartElement(QStringLiteral("File"));
        xml.writeTextElement(QStringLiteral("UniquePath"), entry.uniquePath);
        xml.writeTextElement(QStringLiteral("Sha1sum"), entry.sha1);
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("FolderList"));
    for (const BackupFolderEntry &entry : m_folders) {
        xml.writeStartElement(QStringLiteral("Folder"));
        xml.writeTextElement(QStringLiteral("UniquePath"), entry.uniquePath);
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return !xml.hasError() && file.commit();
}

bool Backup::readDescriptor(const QString &filePath)
{
    QFile file(filePath);
    QDomDocument document;
    if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file))
        return false;
    const QDomElement root = document.documentElement();
    if (root.tagName() != QLatin1String("BackupInfo"))
        return false;
    const QDomElement versionNumber =
        root.firstChildElement(QStringLiteral("Version")).firstChildElement(QStringLiteral("VersionNumber"));
    bool isNumber = false;
    if (versionNumber.isNull() || versionNumber.text().toInt(&isNumber) != descriptorVersion || !isNumber)
        return false;
    const QDomElement info = root.firstChildElement(QStringLiteral("Info"));
    const QDomElement date = info.firstChildElement(QStringLiteral("Date"));
    const QDomElement description = info.firstChildElement(QStringLiteral("Description"));
    const QDomElement deviceName = info.firstChildElement(QStringLiteral("DeviceName"));
    const QDomElement fileList = root.firstChildElement(QStringLiteral("FileList"));
    const QDomElement folderList = root.firstChildElement(QStringLiteral("FolderList"));
    if (date.isNull() || description.isNull() || deviceName.isNull() || fileList.isNull() || folderList.isNull())
        return false;

    QList<BackupFileEntry> files;
    for (QDomElement element = fileList.firstChildElement(QStringLiteral("File")); !element.isNull();
         element = element.nextSiblingElement(QStringLiteral("File"))) {
        const QDomElement uniquePath = element.firstChildElement(QStringLiteral("UniquePath"));
        const QDomElement sha1 = element.firstChildElement(QStringLiteral("Sha1sum"));
        if (uniquePath.isNull() || sha1.isNull())
            continue;
        // The digest becomes a cache file name and the path a place on the device.
        if (!isSafeUniquePath(uniquePath.text()) || !Sha1Digest::isSha1Text(sha1.text()))
            return false;
        BackupFileEntry entry;
        entry.uniquePath = uniquePath.text();
        entry.sha1 = sha1.text().toLower();
        files.append(entry);
    }
    QList<BackupFolderEntry> folders;
    for (QDomElement element = folderList.firstChildElement(QStringLiteral("Folder")); !element.isNull();
         element = element.nextSiblingElement(QStringLiteral("Folder"))) {
        const QDomElement uniquePath = element.firstChildElement(QStringLiteral("UniquePath"));
        if (uniquePath.isNull())
            continue;
        if (!isSafeUniquePath(uniquePath.text()))
            return false;
        folders.append({QString(), uniquePath.text()});
    }

    m_files = files;
    m_folders = folders;
    m_date = QDate::fromString(date.text(), dateFormat);
    m_description = description.text();
    m_deviceName = deviceName.text();
    const QFileInfo location(filePath);
    m_backupsFolder = location.absolutePath();
    m_descriptorFileName = location.fileName();
    computeFingerprints();
    return true;
}

QList<Backup> Backup::list(const QString &backupsFolder)
{
    QList<Backup> backups;
    for (const QString &path : descriptorFiles(backupsFolder)) {
        Backup backup(backupsFolder);
        if (backup.readDescriptor(path))
            backups.append(backup);
    }
    return backups;
}

bool Backup::bind(vktpdl::MIDeviceHandler &device)
{
    // A folder that does not resolve would be emptied nowhere, and a backup without files would
    // otherwise be offered for every device.
    bool restorable = true;
    for (BackupFileEntry &entry : m_files) {
        entry.devicePath = device.fromPortablePath(entry.uniquePath);
        restorable = restorable && !entry.devicePath.isEmpty();
    }
    for (BackupFolderEntry &entry : m_folders) {
        entry.devicePath = device.fromPortablePath(entry.uniquePath);
        restorable = restorable && !entry.devicePath.isEmpty();
    }
    return restorable;
}

int Backup::restore(vktpdl::MIDeviceHandler &device, vktcommon::ProgressListener *progress,
                    vktcommon::ContinueListener *cont)
{
    if (!bind(device))
        return BE_NOT_RESTORABLE;
    QStringList folderPaths;
    for (const BackupFolderEntry &entry : std::as_const(m_folders))
        folderPaths.append(entry.devicePath);
    if (overlapsBackupsFolder(m_backupsFolder, folderPaths))
        return BE_BACKUPS_FOLDER_COVERED;

    // Progress 0..20: every stored content is read and checked before anything on the device changes,
    // so that a damaged cache file never replaces a sound file.
    const FileCache cache(m_backupsFolder);
    QHash<QString, qint64> contents;
    for (BackupFileEntry &entry : m_files) {
        entry.cachePath = cache.pathOf(entry.sha1);
        contents.insert(entry.sha1, qMax<qint64>(0, cache.sizeOf(entry.sha1)));
    }
    quint64 storedTotal = 0;
    for (const qint64 size : std::as_const(contents))
        storedTotal += quint64(size);
    vktcommon::PartialProgressListener checkProgress(progress);
    quint64 checked = 0;
    for (auto content = contents.constBegin(); content != contents.constEnd(); ++content) {
        setRangeBySize(checkProgress, 0, 20, checked, quint64(content.value()), storedTotal);
        const int result = cache.verify(content.key(), &checkProgress, cont);
        if (result != BE_NO_ERROR)
            return result;
        checked += quint64(content.value());
    }

    // The backed-up folders come back even when they were empty.
    QSet<QString> created;
    QStringList toCreate;
    for (const BackupFolderEntry &entry : m_folders)
        toCreate.append(entry.devicePath);
    for (const BackupFileEntry &entry : m_files)
        toCreate.append(device.parentPath(entry.devicePath));
    for (const QString &folder : toCreate) {
        if (created.contains(folder))
            continue;
        if (device.createDirectory(folder) != vktpdl::DE_NO_ERROR)
            return BE_DEVICE_FAILED;
        created.insert(folder);
    }

    // What the folders hold beyond the backup goes at the end, or first where the card has no room for
    // a restored file beside the files it replaces.
    QStringList extras;
    QStringList restored;
    for (const BackupFileEntry &entry : std::as_const(m_files))
        restored.append(entry.devicePath.toCaseFolded());
    for (const QString &folder : std::as_const(folderPaths)) {
        if (listExtraFiles(device, folder, restored, extras) != vktpdl::DE_NO_ERROR)
            return BE_DEVICE_FAILED;
    }
    bool extrasDeleted = false;
    const auto deleteExtras = [&]() {
        extrasDeleted = true;
        for (const QString &path : std::as_const(extras)) {
            if (device.deleteFile(path) != vktpdl::DE_NO_ERROR)
                return false;
        }
        return true;
    };

    quint64 total = 0;
    for (BackupFileEntry &entry : m_files) {
        entry.size = quint64(qMax<qint64>(0, cache.sizeOf(entry.sha1)));
        total += entry.size;
    }
    vktcommon::PartialProgressListener fileProgress(progress);
    quint64 done = 0;
    for (const BackupFileEntry &entry : m_files) {
        // Each file takes its name whole, checked against its digest, or not at all: a restoration cut
        // short leaves sound files, and the next one picks up from there.
        quint64 free = 0;
        if (device.freeSpace(device.parentPath(entry.devicePath), free) == vktpdl::DE_NO_ERROR
            && free < entry.size + restoreSpareBytes) {
            if (!extrasDeleted && !deleteExtras())
                return BE_DEVICE_FAILED;
            if (device.deleteFile(entry.devicePath) != vktpdl::DE_NO_ERROR)
                return BE_DEVICE_FAILED;
        }
        setRangeBySize(fileProgress, 20, 75, done, entry.size, total);
        const int result = vktpdl::putFileChecked(device, entry.devicePath, entry.cachePath, entry.sha1, &fileProgress, cont);
        if (result == vktpdl::DE_CANCELLED)
            return BE_CANCELLED;
        if (result != vktpdl::DE_NO_ERROR)
            return BE_DEVICE_FAILED;
        done += entry.size;
    }
    if (!extrasDeleted && !deleteExtras())
        return BE_DEVICE_FAILED;
    for (const QString &folder : std::as_const(folderPaths))
        removeFoldersNotIn(device, folder, toCreate);
    for (const QString &folder : std::as_const(folderPaths)) {
        if (device.syncVolume(folder) != vktpdl::DE_NO_ERROR)
            return BE_DEVICE_FAILED;
    }
    vktcommon::reportProgress(progress, 100);
    return BE_NO_ERROR;
}

int Backup::remove(vktcommon::ContinueListener *cont)
{
    if (!QFile::remove(QDir(m_backupsFolder).filePath(m_descriptorFileName)))
        return BE_PC_FAILED;
    return collectUnusedCacheFiles(m_backupsFolder, list(m_backupsFolder), cont);
}

int Backup::collectUnusedCacheFiles(const QString &backupsFolder, const QList<Backup> &backups,
                                    vktcommon::ContinueListener *cont)
{
    QSet<QString> needed;
    for (const Backup &backup : backups) {
        for (const BackupFileEntry &entry : backup.m_files)
            needed.insert(entry.sha1);
    }
    // A descriptor this program does not list (another version's, or one it refuses) still keeps the
    // contents it names; one that cannot be opened right now keeps everything.
    if (!addDigestsNamedByDescriptors(backupsFolder, needed))
        return BE_NO_ERROR;
    return FileCache(backupsFolder).removeAllBut(needed, cont);
}

BackupInfo Backup::info() const
{
    BackupInfo info;
    info.description = m_description;
    info.title = m_deviceName;
    info.date = m_date;
    info.id = QFileInfo(m_descriptorFileName).completeBaseName();
    return info;
}
