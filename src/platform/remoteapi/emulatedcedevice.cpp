#include "emulatedcedevice.h"

#include "localfilesystem.h"
#include "syncfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QStringList>

#include <algorithm>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype maxPathLength = 260; // characters of a device path, its NUL included

bool hostStatus(const QString &path, struct stat &info)
{
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

quint32 errorOf(int error)
{
    switch (error) {
    case ENOENT:
        return RE_PATH_NOT_FOUND;
    case EEXIST:
        return RE_FILE_EXISTS;
    case ENOSPC:
    case EDQUOT:
        return RE_DISK_FULL;
    case ENOTEMPTY:
        return RE_DIRECTORY_NOT_EMPTY;
    default:
        return RE_ACCESS_DENIED;
    }
}

// The entry of folder named like name: spelt exactly, else the first equal to it ignoring case.
QString entryNamed(const QString &folder, const QString &name)
{
    struct stat info;
    if (hostStatus(folder + QLatin1Char('/') + name, info))
        return name;
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    const auto found = std::find_if(entries.cbegin(), entries.cend(), [&](const QString &entry) {
        return entry.compare(name, Qt::CaseInsensitive) == 0;
    });
    return found != entries.cend() ? *found : QString();
}

// The result of a change to the entries of the folder that holds hostPath, once they are on the disk.
quint32 changedIn(const QString &hostPath, bool changed)
{
    if (!changed)
        return errorOf(errno);
    return vktcommon::syncFolder(QFileInfo(hostPath).path()) ? RE_SUCCESS : RE_WRITE_FAULT;
}

bool isBadLevel(const QString &level)
{
    return level == QLatin1String(".") || level == QLatin1String("..") || level.contains(QLatin1Char('/'))
           || level.contains(QChar(0)) || level.contains(QLatin1Char('*')) || level.contains(QLatin1Char('?'));
}

} // namespace

EmulatedCeDevice::EmulatedCeDevice(const QString &folder) : m_folder(folder) {}

QString EmulatedCeDevice::registryPath() const
{
    return m_folder + QStringLiteral("/registry.txt");
}

quint32 EmulatedCeDevice::resolve(const QString &path, Resolved &resolved) const
{
    resolved = Resolved();
    if (!path.startsWith(QLatin1Char('\\')))
        return RE_PATH_NOT_FOUND;
    if (path.size() >= maxPathLength)
        return RE_NAME_TOO_LONG;
    const QStringList levels = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (std::any_of(levels.cbegin(), levels.cend(), isBadLevel))
        return RE_INVALID_NAME;

    QString host = m_folder + QStringLiteral("/files");
    struct stat info;
    if (!hostStatus(host, info) || !S_ISDIR(info.st_mode))
        return RE_PATH_NOT_FOUND;
    for (qsizetype i = 0; i + 1 < levels.size(); ++i) {
        const QString name = entryNamed(host, levels.at(i));
        if (name.isEmpty())
            return RE_PATH_NOT_FOUND;
        host += QLatin1Char('/') + name;
        if (!hostStatus(host, info))
            return RE_PATH_NOT_FOUND;
        if (S_ISLNK(info.st_mode))
            return RE_ACCESS_DENIED;
        if (!S_ISDIR(info.st_mode))
            return RE_PATH_NOT_FOUND;
        resolved.key += QLatin1Char('\\') + levels.at(i).toCaseFolded();
    }
    if (levels.isEmpty()) {
        resolved.exists = true;
        resolved.isFolder = true;
    } else {
        const QString name = entryNamed(host, levels.last());
        host += QLatin1Char('/') + (name.isEmpty() ? levels.last() : name);
        resolved.key += QLatin1Char('\\') + levels.last().toCaseFolded();
        resolved.exists = !name.isEmpty() && hostStatus(host, info);
        resolved.isLink = resolved.exists && S_ISLNK(info.st_mode);
        resolved.isFolder = resolved.exists && S_ISDIR(info.st_mode);
    }
    resolved.hostPath = host;
    return RE_SUCCESS;
}

QMap<QString, quint32> EmulatedCeDevice::listedAttributes() const
{
    QMap<QString, quint32> listed;
    QFile file(m_folder + QStringLiteral("/attributes.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return listed;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const qsizetype space = line.indexOf(QLatin1Char(' '));
        if (line.startsWith(QLatin1Char('#')) || space <= 0)
            continue;
        bool ok = false;
        const quint32 attributes = line.left(space).toUInt(&ok, 16);
        const QStringList levels = line.mid(space + 1).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
        if (ok && !levels.isEmpty())
            listed.insert(QLatin1Char('\\') + levels.join(QLatin1Char('\\')).toCaseFolded(), attributes);
    }
    return listed;
}

quint32 EmulatedCeDevice::attributesOf(const Resolved &resolved, const QMap<QString, quint32> &listed) const
{
    const auto entry = listed.constFind(resolved.key);
    const quint32 own = (entry != listed.cend() ? *entry : 0) & ~quint32(RF_DIRECTORY);
    if (resolved.isFolder)
        return RF_DIRECTORY | own;
    const quint32 file = entry != listed.cend() ? own : quint32(RF_ARCHIVE);
    return resolved.isLink ? (file | RF_REPARSE_POINT) : file;
}

quint32 EmulatedCeDevice::resolveExisting(const QString &path, Resolved &resolved) const
{
    const quint32 error = resolve(path, resolved);
    if (error != RE_SUCCESS)
        return error;
    return resolved.exists ? RE_SUCCESS : RE_FILE_NOT_FOUND;
}

quint32 EmulatedCeDevice::attributes(const QString &path, quint32 &attributes) const
{
    Resolved resolved;
    const quint32 error = resolveExisting(path, resolved);
    if (error != RE_SUCCESS)
        return error;
    attributes = attributesOf(resolved, listedAttributes());
    return RE_SUCCESS;
}

quint32 EmulatedCeDevice::find(const QString &pattern, QList<RemoteFindData> &entries) const
{
    entries.clear();
    const qsizetype separator = pattern.lastIndexOf(QLatin1Char('\\'));
    if (separator < 0)
        return RE_PATH_NOT_FOUND;
    const QString namePattern = pattern.mid(separator + 1);
    Resolved folder;
    const quint32 error = resolve(pattern.left(separator + 1), folder);
    if (error != RE_SUCCESS)
        return error;
    if (folder.isLink)
        return RE_ACCESS_DENIED;
    if (!folder.exists || !folder.isFolder)
        return RE_PATH_NOT_FOUND;
    if (namePattern.isEmpty())
        return RE_FILE_NOT_FOUND;

    const QMap<QString, quint32> listed = listedAttributes();
    const QStringList names = QDir(folder.hostPath)
                                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                             QDir::Name | QDir::IgnoreCase);
    for (const QString &name : names) {
        if (!vktpdl::matchesPattern(name, namePattern))
            continue;
        Resolved entry;
        entry.hostPath = folder.hostPath + QLatin1Char('/') + name;
        entry.key = folder.key + QLatin1Char('\\') + name.toCaseFolded();
        struct stat info;
        if (!hostStatus(entry.hostPath, info))
            continue;
        entry.exists = true;
        entry.isLink = S_ISLNK(info.st_mode);
        entry.isFolder = S_ISDIR(info.st_mode);
        RemoteFindData data;
        data.name = name;
        data.attributes = attributesOf(entry, listed);
        data.size = S_ISREG(info.st_mode) ? quint64(info.st_size) : 0;
        entries.append(data);
    }
    return entries.isEmpty() ? RE_NO_MORE_FILES : RE_SUCCESS;
}

quint32 EmulatedCeDevice::createFolder(const QString &path)
{
    Resolved resolved;
    const quint32 error = resolve(path, resolved);
    if (error != RE_SUCCESS)
        return error;
    if (resolved.exists)
        return RE_ALREADY_EXISTS;
    return changedIn(resolved.hostPath, ::mkdir(QFile::encodeName(resolved.hostPath).constData(), 0777) == 0);
}

quint32 EmulatedCeDevice::removeFolder(const QString &path)
{
    Resolved resolved;
    const quint32 error = resolveExisting(path, resolved);
    if (error != RE_SUCCESS)
        return error;
    if (!resolved.isFolder)
        return RE_NOT_A_DIRECTORY;
    if (resolved.key.isEmpty())
        return RE_ACCESS_DENIED;
    return changedIn(resolved.hostPath, ::rmdir(QFile::encodeName(resolved.hostPath).constData()) == 0);
}

quint32 EmulatedCeDevice::deleteFile(const QString &path)
{
    Resolved resolved;
    const quint32 error = resolveExisting(path, resolved);
    if (error != RE_SUCCESS)
        return error;
    if (resolved.isFolder)
        return RE_ACCESS_DENIED;
    return changedIn(resolved.hostPath, ::unlink(QFile::encodeName(resolved.hostPath).constData()) == 0);
}

quint32 EmulatedCeDevice::moveEntry(const QString &source, const QString &destination)
{
    Resolved from;
    quint32 error = resolveExisting(source, from);
    if (error != RE_SUCCESS)
        return error;
    Resolved to;
    error = resolve(destination, to);
    if (error != RE_SUCCESS)
        return error;
    if (from.key.isEmpty() || to.key.isEmpty())
        return RE_ACCESS_DENIED;
    QString target = to.hostPath;
    if (to.exists) {
        if (to.hostPath != from.hostPath)
            return RE_ALREADY_EXISTS;
        // The entry itself under another spelling: the host has no entry of that spelling yet.
        target = QFileInfo(to.hostPath).path() + QLatin1Char('/')
                 + destination.split(QLatin1Char('\\'), Qt::SkipEmptyParts).constLast();
        if (target == from.hostPath)
            return RE_SUCCESS;
    }
    // NOREPLACE keeps even an entry that appeared meanwhile.
    if (::renameat2(AT_FDCWD, QFile::encodeName(from.hostPath).constData(), AT_FDCWD,
                    QFile::encodeName(target).constData(), RENAME_NOREPLACE)
        != 0)
        return errno == EEXIST ? quint32(RE_ALREADY_EXISTS) : errorOf(errno);
    const QString fromFolder = QFileInfo(from.hostPath).path();
    const bool synced = vktcommon::syncFolder(QFileInfo(target).path())
                        && (fromFolder == QFileInfo(target).path() || vktcommon::syncFolder(fromFolder));
    return synced ? RE_SUCCESS : RE_WRITE_FAULT;
}

quint32 EmulatedCeDevice::openFile(const QString &path, quint32 access, quint32 creation, QFile &file)
{
    Resolved resolved;
    quint32 error = resolve(path, resolved);
    if (error != RE_SUCCESS)
        return error;
    if (resolved.isFolder || resolved.isLink)
        return RE_ACCESS_DENIED;
    const bool reads = access & RA_READ;
    const bool writes = access & RA_WRITE;
    if (writes && resolved.exists && (attributesOf(resolved, listedAttributes()) & RF_READONLY))
        return RE_ACCESS_DENIED;

    int flags = O_CLOEXEC | O_NOFOLLOW | (writes ? (reads ? O_RDWR : O_WRONLY) : O_RDONLY);
    switch (creation) {
    case RC_CREATE_NEW:
        if (resolved.exists)
            return RE_FILE_EXISTS;
        flags |= O_CREAT | O_EXCL;
        break;
    case RC_CREATE_ALWAYS:
        flags |= O_CREAT | (writes ? O_TRUNC : 0);
        break;
    case RC_OPEN_EXISTING:
        if (!resolved.exists)
            return RE_FILE_NOT_FOUND;
        break;
    case RC_OPEN_ALWAYS:
        flags |= O_CREAT;
        break;
    case RC_TRUNCATE_EXISTING:
        if (!writes)
            return RE_INVALID_PARAMETER;
        if (!resolved.exists)
            return RE_FILE_NOT_FOUND;
        flags |= O_TRUNC;
        break;
    default:
        return RE_INVALID_PARAMETER;
    }
    int fd;
    do {
        fd = ::open(QFile::encodeName(resolved.hostPath).constData(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return errorOf(errno);
    const QIODevice::OpenMode mode = (reads || !writes ? QIODevice::ReadOnly : QIODevice::NotOpen)
                                     | (writes ? QIODevice::WriteOnly : QIODevice::NotOpen) | QIODevice::Unbuffered;
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        error = RE_ACCESS_DENIED;
    }
    return error;
}

quint32 EmulatedCeDevice::freeSpace(const QString &path, quint64 &bytes) const
{
    Resolved resolved;
    const quint32 error = resolveExisting(path, resolved);
    if (error != RE_SUCCESS)
        return error;
    const QStorageInfo storage(m_folder + QStringLiteral("/files"));
    if (!storage.isValid())
        return RE_NOT_READY;
    bytes = quint64(storage.bytesAvailable());
    return RE_SUCCESS;
}
