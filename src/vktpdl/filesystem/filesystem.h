#pragma once

#include "deviceerror.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <QtGlobal>

class QIODevice;

namespace vktcommon {
class ContinueListener;
class ProgressListener;
} // namespace vktcommon

namespace vktpdl {

// What a file system's metadata says about a file's current state, so that an unchanged file can be
// recognised without reading it.
struct FileStamp
{
    // Equal for two looks at a file only when nothing about it changed; empty when unknown.
    QByteArray identity;
    // The later of the last content change and the last metadata change, ms since the epoch.
    qint64 lastChangeMs = 0;
};

// Every place the program reads or writes files (the PC's disks, a storage volume, a Windows CE
// device, a phone) is reached through this interface. Operations return a DEVICE_ERROR code,
// 0 on success; paths use the implementation's own separator.
class FileSystem
{
public:
    virtual ~FileSystem();

    // Copies a file of the PC (source) to this file system (destination).
    virtual int putFile(const QString &destination, const QString &source,
                        vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont) = 0;
    // Copies a file of this file system (source) to the PC (destination).
    virtual int getFile(const QString &destination, const QString &source,
                        vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont) = 0;
    virtual int deleteFile(const QString &path) = 0;
    virtual int createFolder(const QString &parent, const QString &name) = 0;
    // Creates every missing level of the path.
    virtual int createDirectory(const QString &path) = 0;
    virtual int removeDirectory(const QString &path, bool recursive) = 0;
    // Append the bare names of the folders (files) in folder that match pattern ('*' and '?');
    // the list is not cleared first.
    virtual int listFolders(const QString &folder, const QString &pattern, QStringList &names) = 0;
    virtual int listFiles(const QString &folder, const QString &pattern, QStringList &names) = 0;
    // Sets device to a new, not yet opened I/O device over the file; the caller owns it.
    virtual int openFile(const QString &path, QIODevice *&device) = 0;
    virtual int freeSpace(const QString &path, quint64 &bytes) = 0;
    virtual bool isReadOnly(const QString &path);
    virtual QChar separator() const = 0;
    // Opens the file through openFile and reads its size.
    virtual int fileSize(const QString &path, qint64 &size);
    // Reads up to maxBytes from the start of the file (bytes is set to what was read) and its size:
    // what a header needs, with as few questions to the file system as it allows.
    virtual int readFileStart(const QString &path, qint64 maxBytes, QByteArray &bytes, qint64 &size);
    // Exists and is not a folder.
    virtual bool isFile(const QString &path);
    // Sets stamp from the file's metadata; file systems that cannot tell leave it empty (unknown).
    virtual int fileStamp(const QString &path, FileStamp &stamp);

    // What a device write needs to survive a pulled cable or a power loss (docs/safe-installation.md).
    // Gives a file or folder a new name in the same folder; a file at destination is replaced, in one
    // step where the file system allows it. Default: not supported (20).
    virtual int renameFile(const QString &source, const QString &destination);
    // Swaps the names of two folders in one step; 20 where the file system cannot (the default).
    virtual int exchangeFolders(const QString &first, const QString &second);
    // Puts the file's data on the device and forgets what the PC kept of it, so that the next read comes
    // from the device. Default: nothing to do, for transports that commit a file when it is closed.
    virtual int flushFile(const QString &path);
    // Puts the folder's entries (files made, renamed, deleted) on the device. Default: nothing to do.
    virtual int flushFolder(const QString &path);
    // Everything written to the volume that holds path reaches the device. Default: nothing to do.
    virtual int syncVolume(const QString &path);
    // The SHA-1 of the file as the device holds it, 40 lower-case hexadecimal digits. Default: read through
    // openFile.
    virtual int fileSha1(const QString &path, QString &sha1, vktcommon::ProgressListener *progress,
                         vktcommon::ContinueListener *cont);

    // Splits at the last separator; without one, parent is empty and name is the whole path.
    void splitPath(const QString &path, QString &parent, QString &name) const;
    QString fileName(const QString &path) const;
    QString parentPath(const QString &path) const;
    // Empty when either part is empty; never doubles a separator that a already ends with.
    QString joinPath(const QString &a, const QString &b) const;
    // Deletes the files, then the subfolders, keeping the folder itself; stops at the first error.
    int emptyFolder(const QString &path);
    // Empties the folder, then removes it.
    int removeTree(const QString &path);
};

} // namespace vktpdl
