#pragma once

#include "remoteapi.h"

#include <QMap>
#include <QString>

class QFile;

// A Windows CE device emulated over a host folder, the layout the device-side module's host build reads:
//   files/           the device's file system ("\" of the device)
//   attributes.txt   optional lines "<hex attributes> <device path>": an entry's attributes besides its folder
//                    bit (default: archive for a file, nothing more for a folder)
//   registry.txt     the device's registry (RegistryTextFile), keys under "HKEY_LOCAL_MACHINE\..."
// Paths are absolute, with backslashes, shorter than 260 characters; each level is the entry of that name
// ignoring case (the one spelt exactly, else the first in name order). No symbolic link below files/ is ever
// passed through: a link is listed as a file with the reparse-point attribute and can be deleted, nothing
// more. A change of a folder's entries is on the host's disk when the operation returns. Every operation
// returns a REMOTE_ERROR.
class EmulatedCeDevice
{
public:
    explicit EmulatedCeDevice(const QString &folder);

    QString folder() const { return m_folder; }
    QString registryPath() const;

    quint32 attributes(const QString &path, quint32 &attributes) const;
    // The entries of the folder that match the last level of the pattern (* and ?), in name order;
    // RE_NO_MORE_FILES when none does.
    quint32 find(const QString &pattern, QList<RemoteFindData> &entries) const;
    quint32 createFolder(const QString &path);
    quint32 removeFolder(const QString &path);
    quint32 deleteFile(const QString &path);
    // Never replaces what is at destination (RE_ALREADY_EXISTS); a name that differs only in letter case
    // from the source's is the source itself, spelt anew.
    quint32 moveEntry(const QString &source, const QString &destination);
    // Opens file over the device file with the remote access bits and creation disposition.
    quint32 openFile(const QString &path, quint32 access, quint32 creation, QFile &file);
    quint32 freeSpace(const QString &path, quint64 &bytes) const;

private:
    struct Resolved
    {
        QString hostPath;
        QString key; // the device path folded, as the attributes file is keyed
        bool exists = false;
        bool isFolder = false;
        bool isLink = false;
    };

    quint32 resolve(const QString &path, Resolved &resolved) const;
    // As resolve, and RE_FILE_NOT_FOUND when the entry is not there.
    quint32 resolveExisting(const QString &path, Resolved &resolved) const;
    quint32 attributesOf(const Resolved &resolved, const QMap<QString, quint32> &listed) const;
    QMap<QString, quint32> listedAttributes() const;

    QString m_folder;
};
