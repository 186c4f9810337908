#include "nofollow.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vktcommon {

bool openNoFollow(QFile &file, QIODevice::OpenMode mode)
{
    if (!(mode & QIODevice::WriteOnly))
        return file.QFile::open(mode);
    int flags = O_CLOEXEC | O_NOFOLLOW;
    flags |= (mode & QIODevice::ReadOnly) ? O_RDWR : O_WRONLY;
    if (!(mode & QIODevice::ExistingOnly))
        flags |= O_CREAT;
    if (mode & QIODevice::NewOnly)
        flags |= O_EXCL;
    // As with QFile, writing alone truncates unless the mode appends or also reads.
    const bool truncates = (mode & QIODevice::Truncate)
                           || (!(mode & (QIODevice::ReadOnly | QIODevice::Append | QIODevice::NewOnly)));
    if (truncates)
        flags |= O_TRUNC;
    if (mode & QIODevice::Append)
        flags |= O_APPEND;
    const QByteArray path = QFile::encodeName(file.fileName());
    int fd;
    do {
        fd = ::open(path.constData(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return false;
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

bool isSymbolicLink(const QString &path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool makeRealFolder(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0777) != 0 && errno != EEXIST)
        return false;
    struct stat info;
    return ::lstat(native.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace vktcommon
