#pragma once

#include "filesystem.h"

namespace vktpdl {

// The PC's own disks: absolute POSIX paths with the separator '/'; a volume's root is its mount point.
class LocalFileSystem final : public FileSystem
{
public:
    // Both copy source to destination and fail when the destination exists already.
    int putFile(const QString &destination, const QString &source,
                vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont) override;
    int getFile(const QString &destination, const QString &source,
                vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont) override;
    // Something that does not exist counts as deleted.
    int deleteFile(const QString &path) override;
    int createFolder(const QString &parent, const QString &name) override;
    // Absolute paths only; an existing path (of any kind) succeeds.
    int createDirectory(const QString &path) override;
    int removeDirectory(const QString &path, bool recursive) override;
    // Patterns match without regard to letter case; a missing folder lists nothing and succeeds.
    // A symbolic link is listed as a file, so that removeTree never follows one.
    int listFolders(const QString &folder, const QString &pattern, QStringList &names) override;
    int listFiles(const QString &folder, const QString &pattern, QStringList &names) override;
    int openFile(const QString &path, QIODevice *&device) override;
    // Bytes available to the calling user on the volume of path.
    int freeSpace(const QString &path, quint64 &bytes) override;
    // True when no file can be created in the root (mount point) of the path's volume.
    bool isReadOnly(const QString &path) override;
    QChar separator() const override;
    bool isFile(const QString &path) override;
    // Device, inode, size, and the content and status change times in nanoseconds. The status change
    // time is in the stamp because tools that set the content time back (touch -r, cp -p) cannot set it.
    int fileStamp(const QString &path, FileStamp &stamp) override;

private:
    int copyFile(const QString &destination, const QString &source,
                 vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont);
    int listEntries(const QString &folder, const QString &pattern, bool folders, QStringList &names);
};

// Whether name matches pattern: '*' any run of characters, '?' exactly one, letters ignoring case.
bool matchesPattern(const QString &name, const QString &pattern);

} // namespace vktpdl
