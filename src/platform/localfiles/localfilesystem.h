#pragma once

#include "filesystem.h"

namespace vktpdl {

// The PC's own disks: absolute POSIX paths with the separator '/'; a volume's root is its mount point.
// Nothing is ever written through a symbolic link at the name written, and tree removal never enters one.
class LocalFileSystem final : public FileSystem
{
public:
    // Below a confining folder (a removable volume's mount point) no level of a path is followed when it
    // is a symbolic link: whoever filled the volume may have planted one that leads to other files.
    explicit LocalFileSystem(const QStringList &confiningFolders = {});

    // Both copy source to destination and fail when the destination exists already.
    int putFile(const QString &destination, const QString &source,
                vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont) override;
    int getFile(const QString &destination, const QString &source,
                vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont) override;
    // Something that does not exist counts as deleted; a link is removed, never what it points to.
    int deleteFile(const QString &path) override;
    int createFolder(const QString &parent, const QString &name) override;
    // Absolute paths only; an existing path succeeds unless it is a symbolic link (never entered).
    int createDirectory(const QString &path) override;
    // A folder that is a symbolic link is neither emptied nor removed (13).
    int removeDirectory(const QString &path, bool recursive) override;
    // Patterns match without regard to letter case; a missing folder lists nothing and succeeds, a folder
    // that is a symbolic link is not entered (6). A symbolic link is listed as a file, so that removeTree
    // never follows one.
    int listFolders(const QString &folder, const QString &pattern, QStringList &names) override;
    int listFiles(const QString &folder, const QString &pattern, QStringList &names) override;
    // The file, once opened for writing, never writes through a symbolic link at path.
    int openFile(const QString &path, QIODevice *&device) override;
    // Bytes available to the calling user on the volume of path.
    int freeSpace(const QString &path, quint64 &bytes) override;
    // True when the path's file system is mounted read-only, or the calling user cannot make a file in the
    // folder that a write at path goes to (path itself when it is a folder, else the nearest folder above
    // it); a probe file made there is removed at once.
    bool isReadOnly(const QString &path) override;
    // True when the file system that holds path (or the nearest existing folder above it) is read-only.
    bool isFileSystemReadOnly(const QString &path) const;
    QChar separator() const override;
    bool isFile(const QString &path) override;
    // Device, inode, size, and the content and status change times in nanoseconds. The status change
    // time is in the stamp because tools that set the content time back (touch -r, cp -p) cannot set it.
    int fileStamp(const QString &path, FileStamp &stamp) override;
    // Open, one status query, one read, close.
    int readFileStart(const QString &path, qint64 maxBytes, QByteArray &bytes, qint64 &size) override;
    // A link at destination is replaced, never followed.
    int renameFile(const QString &source, const QString &destination) override;
    // Where the file system can exchange names (ext4, btrfs, tmpfs, FAT from Linux 6.0 on); 20 elsewhere.
    int exchangeFolders(const QString &first, const QString &second) override;
    // fsync, then the file's pages are dropped from the page cache.
    int flushFile(const QString &path) override;
    int flushFolder(const QString &path) override;
    int syncVolume(const QString &path) override;
    // Read straight from the device (O_DIRECT) in large blocks, past the page cache, where the file system
    // allows it; elsewhere buffered.
    int fileSha1(const QString &path, QString &sha1, vktcommon::ProgressListener *progress,
                 vktcommon::ContinueListener *cont) override;

private:
    // A level of path below a confining folder (path itself excluded) is a symbolic link.
    bool leadsThroughLink(const QString &path) const;
    int copyFile(const QString &destination, const QString &source, vktcommon::ProgressListener *progress,
                 vktcommon::ContinueListener *cont, bool startWriteBack);
    int listEntries(const QString &folder, const QString &pattern, bool folders, QStringList &names);

    QStringList m_confiningFolders;
};

// Whether name matches pattern: '*' any run of characters, '?' exactly one, letters ignoring case.
bool matchesPattern(const QString &name, const QString &pattern);

} // namespace vktpdl
