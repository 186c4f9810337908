#include "localfilesystem.h"

#include "listeners.h"
#include "nofollow.h"
#include "sha1digest.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <vector>

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace vktpdl {

namespace {

constexpr qsizetype copyChunkSize = 1 << 20;
// Direct reads want an aligned buffer; large ones keep the device busy without the kernel's read-ahead.
constexpr size_t directReadSize = 8 << 20;
constexpr size_t directReadAlignment = 4096;
// The kernel's copy takes larger steps: fewer calls, and still a progress report every few milliseconds.
constexpr size_t kernelCopyChunkSize = 8 << 20;

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

bool existsAsAnything(const QByteArray &path)
{
    struct stat info;
    return ::lstat(path.constData(), &info) == 0;
}

bool writeAll(int fd, const char *data, qsizetype length)
{
    while (length > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(length));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        length -= written;
    }
    return true;
}

// Reports a copy's progress and answers whether it may go on.
bool reportCopy(qint64 done, qint64 total, vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    if (progress && total != 0)
        progress->setProgress(static_cast<int>(done * 100 / total));
    return !cont || cont->shouldContinue();
}

// The folder that a write at path goes to: path when it is a folder, else the nearest existing folder
// above it (a file's own folder, or where missing folders would be created).
QByteArray folderWrittenAt(const QString &path)
{
    QString current = path;
    for (;;) {
        struct stat info;
        if (::stat(nativePath(current).constData(), &info) == 0 && S_ISDIR(info.st_mode))
            return nativePath(current);
        if (current == QLatin1String("/"))
            return QByteArray();
        current = QFileInfo(current).path();
    }
}

// Opens a file that writes never through a symbolic link at its own name.
class NoFollowFile final : public QFile
{
public:
    explicit NoFollowFile(const QString &path) : QFile(path) {}
    bool open(OpenMode mode) override
    {
        return (mode & WriteOnly) ? vktcommon::openNoFollow(*this, mode) : QFile::open(mode);
    }
};

// Opens path for reading without following a link at its name; -1 on failure.
int openForFlush(const QByteArray &path, int extraFlags)
{
    int fd;
    do {
        fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | extraFlags);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

} // namespace

bool matchesPattern(const QString &name, const QString &pattern)
{
    // Greedy matching that returns to the last '*' on a mismatch.
    qsizetype n = 0;
    qsizetype p = 0;
    qsizetype starAt = -1;
    qsizetype nameAtStar = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern.at(p) == QLatin1Char('*')) {
            starAt = p++;
            nameAtStar = n;
        } else if (p < pattern.size()
                   && (pattern.at(p) == QLatin1Char('?')
                       || pattern.at(p).toCaseFolded() == name.at(n).toCaseFolded())) {
            ++p;
            ++n;
        } else if (starAt >= 0) {
            p = starAt + 1;
            n = ++nameAtStar;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern.at(p) == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

LocalFileSystem::LocalFileSystem(const QStringList &confiningFolders)
    : m_confiningFolders(confiningFolders)
{
}

bool LocalFileSystem::leadsThroughLink(const QString &path) const
{
    for (const QString &folder : m_confiningFolders) {
        const QString base = folder.endsWith(separator()) ? folder : folder + separator();
        if (!path.startsWith(base))
            continue;
        const QStringList levels = path.mid(base.size()).split(separator(), Qt::SkipEmptyParts);
        QString current = base.chopped(1);
        for (qsizetype i = 0; i + 1 < levels.size(); ++i) {
            current += separator() + levels.at(i);
            if (vktcommon::isSymbolicLink(current))
                return true;
        }
    }
    return false;
}

int LocalFileSystem::putFile(const QString &destination, const QString &source,
                             vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    return copyFile(destination, source, progress, cont, true);
}

int LocalFileSystem::getFile(const QString &destination, const QString &source,
                             vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    return copyFile(destination, source, progress, cont, false);
}

int LocalFileSystem::copyFile(const QString &destination, const QString &source,
                              vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont,
                              bool startWriteBack)
{
    if (leadsThroughLink(destination))
        return DE_TRANSFER_ERROR;
    const int in = ::open(nativePath(source).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return DE_TRANSFER_ERROR;
    struct stat info;
    if (::fstat(in, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(in);
        return DE_TRANSFER_ERROR;
    }
    // O_EXCL makes "the destination exists" and its creation one step, and never follows a link there.
    const QByteArray target = nativePath(destination);
    const int out = ::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, info.st_mode & 07777);
    if (out < 0) {
        ::close(in);
        return DE_TRANSFER_ERROR;
    }

    const qint64 total = info.st_size;
    qint64 done = 0;
    int result = DE_NO_ERROR;
    std::vector<char> buffer(copyChunkSize);
    if (!reportCopy(done, total, progress, cont))
        result = DE_CANCELLED;
    // The kernel copies without a round trip through this process (as cp does) where both files allow
    // it; otherwise, or when it refuses, the rest goes through the buffer.
    bool kernelCopy = true;
    while (result == DE_NO_ERROR) {
        ssize_t got = -1;
        if (kernelCopy) {
            got = ::copy_file_range(in, nullptr, out, nullptr, kernelCopyChunkSize, 0);
            if (got < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP
                            || errno == EBADF || errno == EPERM)) {
                kernelCopy = false;
                continue;
            }
        } else {
            got = ::read(in, buffer.data(), buffer.size());
            if (got > 0 && !writeAll(out, buffer.data(), got))
                got = -1;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            result = DE_TRANSFER_ERROR;
            break;
        }
        if (got == 0) {
            // Some file systems end a kernel copy early; the buffer decides where the file really ends.
            if (kernelCopy && done < total) {
                kernelCopy = false;
                continue;
            }
            break;
        }
        // A copy to a device is flushed before it counts; the device starts writing while the copy goes on.
        if (startWriteBack)
            ::sync_file_range(out, done, got, SYNC_FILE_RANGE_WRITE);
        done += got;
        if (!reportCopy(done, total, progress, cont))
            result = DE_CANCELLED;
    }
    if (result == DE_NO_ERROR) {
        const struct timespec times[2] = {info.st_atim, info.st_mtim};
        ::futimens(out, times);
    }
    ::close(in);
    if (::close(out) != 0 && result == DE_NO_ERROR)
        result = DE_TRANSFER_ERROR;
    // Like the system copy of the other platform, a copy that did not finish leaves no destination.
    if (result != DE_NO_ERROR)
        ::unlink(target.constData());
    return result;
}

int LocalFileSystem::deleteFile(const QString &path)
{
    if (leadsThroughLink(path))
        return DE_DELETE_ERROR;
    if (::unlink(nativePath(path).constData()) == 0 || errno == ENOENT || errno == ENOTDIR)
        return DE_NO_ERROR;
    return DE_DELETE_ERROR;
}

int LocalFileSystem::createFolder(const QString &parent, const QString &name)
{
    return createDirectory(joinPath(parent, name));
}

int LocalFileSystem::createDirectory(const QString &path)
{
    // A link in the folder's place is not the folder: files made "in" it would land wherever it leads.
    if (!path.isEmpty() && existsAsAnything(nativePath(path)))
        return vktcommon::isSymbolicLink(path) || leadsThroughLink(path) ? DE_CANNOT_CREATE_FOLDER : DE_NO_ERROR;
    if (!path.startsWith(separator()) || leadsThroughLink(path))
        return DE_CANNOT_CREATE_FOLDER;
    QString current;
    for (const QString &part : path.split(separator(), Qt::SkipEmptyParts)) {
        current += separator() + part;
        const QByteArray level = nativePath(current);
        struct stat info;
        if (::stat(level.constData(), &info) == 0)
            continue;
        if (::mkdir(level.constData(), 0777) != 0 && errno != EEXIST)
            return DE_CANNOT_CREATE_FOLDER;
    }
    return DE_NO_ERROR;
}

int LocalFileSystem::removeDirectory(const QString &path, bool recursive)
{
    const QByteArray folder = nativePath(path);
    // Emptying a link would empty whatever folder it leads to.
    if (vktcommon::isSymbolicLink(path) || leadsThroughLink(path))
        return DE_DELETE_ERROR;
    if (recursive)
        return removeTree(path);
    if (::rmdir(folder.constData()) == 0 || errno == ENOENT)
        return DE_NO_ERROR;
    // ENOTDIR is "no such path" when a level above is missing, but a failure when path is a file.
    if (errno == ENOTDIR && !existsAsAnything(folder))
        return DE_NO_ERROR;
    return DE_DELETE_ERROR;
}

int LocalFileSystem::listFolders(const QString &folder, const QString &pattern, QStringList &names)
{
    return listEntries(folder, pattern, true, names);
}

int LocalFileSystem::listFiles(const QString &folder, const QString &pattern, QStringList &names)
{
    return listEntries(folder, pattern, false, names);
}

int LocalFileSystem::listEntries(const QString &folder, const QString &pattern, bool folders, QStringList &names)
{
    if (folder.isEmpty() || pattern.isEmpty())
        return DE_NO_ERROR;
    if (leadsThroughLink(folder))
        return DE_WRONG_REPLY;
    const QByteArray base = nativePath(folder);
    // A folder that is a link is not entered.
    const int fd = ::open(base.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const bool missing = errno == ENOENT || (errno == ENOTDIR && !vktcommon::isSymbolicLink(folder));
        return missing ? DE_NO_ERROR : DE_WRONG_REPLY;
    }
    DIR *dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return DE_WRONG_REPLY;
    }
    QStringList found;
    while (const struct dirent *entry = ::readdir(dir)) {
        const QByteArray raw(entry->d_name);
        if (raw == "." || raw == "..")
            continue;
        const QString name = QFile::decodeName(raw);
        if (!matchesPattern(name, pattern))
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat info;
            const QByteArray full = base + '/' + raw;
            isFolder = ::lstat(full.constData(), &info) == 0 && S_ISDIR(info.st_mode);
        }
        if (isFolder == folders)
            found.append(name);
    }
    ::closedir(dir);
    // The directory's own order is arbitrary; callers get the same order on every run: by name without
    // regard to case, then by name. Each name is folded once rather than at every comparison.
    std::vector<std::pair<QString, QString>> keyed;
    keyed.reserve(size_t(found.size()));
    for (const QString &name : qAsConst(found))
        keyed.emplace_back(name.toCaseFolded(), name);
    std::sort(keyed.begin(), keyed.end());
    for (const auto &entry : keyed)
        names.append(entry.second);
    return DE_NO_ERROR;
}

int LocalFileSystem::openFile(const QString &path, QIODevice *&device)
{
    device = nullptr;
    if (leadsThroughLink(path))
        return DE_WRONG_REPLY;
    device = new NoFollowFile(path);
    return DE_NO_ERROR;
}

int LocalFileSystem::freeSpace(const QString &path, quint64 &bytes)
{
    struct statvfs info;
    if (path.isEmpty() || ::statvfs(nativePath(path).constData(), &info) != 0)
        return DE_WRONG_REPLY;
    bytes = static_cast<quint64>(info.f_bavail) * info.f_frsize;
    return DE_NO_ERROR;
}

bool LocalFileSystem::isReadOnly(const QString &path)
{
    if (!path.startsWith(separator()))
        return false;
    const QByteArray folder = folderWrittenAt(path);
    if (folder.isEmpty() || isFileSystemReadOnly(path))
        return true;
    // The user's own rights on the very folder, and a probe there for what rights do not tell (a file
    // system such as /proc that takes no new files); a probe in the volume's root would tell nothing
    // about the folder (an ordinary user cannot write "/", nor the root of a stick that belongs to root).
    if (::faccessat(AT_FDCWD, folder.constData(), W_OK | X_OK, AT_EACCESS) != 0)
        return true;
    QByteArray probe = folder + "/tstXXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return true;
    ::close(fd);
    ::unlink(probe.constData());
    return false;
}

bool LocalFileSystem::isFileSystemReadOnly(const QString &path) const
{
    if (!path.startsWith(separator()))
        return false;
    const QByteArray folder = folderWrittenAt(path);
    struct statvfs info;
    return folder.isEmpty() || ::statvfs(folder.constData(), &info) != 0 || (info.f_flag & ST_RDONLY) != 0;
}

QChar LocalFileSystem::separator() const
{
    return QLatin1Char('/');
}

bool LocalFileSystem::isFile(const QString &path)
{
    struct stat info;
    return !path.isEmpty() && ::stat(nativePath(path).constData(), &info) == 0 && !S_ISDIR(info.st_mode);
}

int LocalFileSystem::readFileStart(const QString &path, qint64 maxBytes, QByteArray &bytes, qint64 &size)
{
    if (path.isEmpty() || maxBytes < 0 || leadsThroughLink(path))
        return DE_WRONG_REPLY;
    int fd;
    do {
        fd = ::open(nativePath(path).constData(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return DE_WRONG_REPLY;
    struct stat info;
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (ok) {
        size = qint64(info.st_size);
        bytes.resize(qMin(maxBytes, size));
        qsizetype done = 0;
        while (ok && done < bytes.size()) {
            const ssize_t count = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (count > 0)
                done += count;
            else if (count == 0)
                break;
            else
                ok = errno == EINTR;
        }
        bytes.truncate(done);
    }
    ::close(fd);
    return ok ? DE_NO_ERROR : DE_WRONG_REPLY;
}

int LocalFileSystem::fileStamp(const QString &path, FileStamp &stamp)
{
    stamp = FileStamp();
    struct stat info;
    if (path.isEmpty() || ::stat(nativePath(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return DE_WRONG_REPLY;
    const auto time = [](const timespec &at) -> QByteArray {
        return QByteArray::number(qint64(at.tv_sec)) + '.' + QByteArray::number(qint64(at.tv_nsec));
    };
    const QList<QByteArray> parts{QByteArray::number(quint64(info.st_dev)), QByteArray::number(quint64(info.st_ino)),
                                  QByteArray::number(qint64(info.st_size)), time(info.st_mtim),
                                  time(info.st_ctim)};
    stamp.identity = parts.join(':');
    const auto milliseconds = [](const timespec &at) { return qint64(at.tv_sec) * 1000 + at.tv_nsec / 1000000; };
    stamp.lastChangeMs = qMax(milliseconds(info.st_mtim), milliseconds(info.st_ctim));
    return DE_NO_ERROR;
}

int LocalFileSystem::renameFile(const QString &source, const QString &destination)
{
    if (source.isEmpty() || destination.isEmpty() || leadsThroughLink(source) || leadsThroughLink(destination))
        return DE_TRANSFER_ERROR;
    return ::rename(nativePath(source).constData(), nativePath(destination).constData()) == 0 ? DE_NO_ERROR
                                                                                            : DE_TRANSFER_ERROR;
}

int LocalFileSystem::exchangeFolders(const QString &first, const QString &second)
{
    if (first.isEmpty() || second.isEmpty() || leadsThroughLink(first) || leadsThroughLink(second)
        || vktcommon::isSymbolicLink(first) || vktcommon::isSymbolicLink(second))
        return DE_TRANSFER_ERROR;
    if (::renameat2(AT_FDCWD, nativePath(first).constData(), AT_FDCWD, nativePath(second).constData(),
                    RENAME_EXCHANGE) == 0)
        return DE_NO_ERROR;
    return errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ? DE_NOT_SUPPORTED : DE_TRANSFER_ERROR;
}

int LocalFileSystem::flushFile(const QString &path)
{
    if (path.isEmpty() || leadsThroughLink(path))
        return DE_TRANSFER_ERROR;
    const int fd = openForFlush(nativePath(path), 0);
    if (fd < 0)
        return DE_TRANSFER_ERROR;
    const bool flushed = ::fsync(fd) == 0;
    // Clean pages only: after the fsync that is all of them, so the next read asks the device.
    if (flushed)
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
    return flushed ? DE_NO_ERROR : DE_TRANSFER_ERROR;
}

int LocalFileSystem::flushFolder(const QString &path)
{
    if (path.isEmpty() || leadsThroughLink(path))
        return DE_TRANSFER_ERROR;
    const int fd = openForFlush(nativePath(path), O_DIRECTORY);
    if (fd < 0)
        return DE_TRANSFER_ERROR;
    // A file system that keeps no separate folder data to flush says EINVAL.
    const bool flushed = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return flushed ? DE_NO_ERROR : DE_TRANSFER_ERROR;
}

int LocalFileSystem::syncVolume(const QString &path)
{
    if (path.isEmpty())
        return DE_TRANSFER_ERROR;
    const int fd = openForFlush(nativePath(path), 0);
    if (fd < 0)
        return DE_TRANSFER_ERROR;
    const bool synced = ::syncfs(fd) == 0;
    ::close(fd);
    return synced ? DE_NO_ERROR : DE_TRANSFER_ERROR;
}

int LocalFileSystem::fileSha1(const QString &path, QString &sha1, vktcommon::ProgressListener *progress,
                              vktcommon::ContinueListener *cont)
{
    if (path.isEmpty() || leadsThroughLink(path))
        return DE_TRANSFER_ERROR;
    const QByteArray native = nativePath(path);
    int fd = openForFlush(native, O_DIRECT);
    // Some file systems (FUSE ones among them) refuse direct reads.
    if (fd < 0 && errno == EINVAL)
        fd = openForFlush(native, 0);
    if (fd < 0)
        return DE_TRANSFER_ERROR;
    struct stat info;
    void *block = nullptr;
    int result = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)
                         && ::posix_memalign(&block, directReadAlignment, directReadSize) == 0
                     ? DE_NO_ERROR
                     : DE_TRANSFER_ERROR;
    Sha1Digest digest;
    qint64 done = 0;
    while (result == DE_NO_ERROR) {
        if (vktcommon::stopRequested(cont)) {
            result = DE_CANCELLED;
            break;
        }
        const ssize_t count = ::read(fd, block, directReadSize);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 || (count > 0 && !digest.add(static_cast<const char *>(block), count)))
            result = DE_TRANSFER_ERROR;
        if (count <= 0)
            break;
        done += count;
        if (info.st_size > 0)
            vktcommon::reportProgress(progress, int(qMin<qint64>(done, info.st_size) * 100 / info.st_size));
    }
    ::free(block);
    ::close(fd);
    if (result != DE_NO_ERROR)
        return result;
    sha1 = digest.finish();
    return sha1.isEmpty() ? DE_TRANSFER_ERROR : DE_NO_ERROR;
}

} // namespace vktpdl
