#pragma once

#include "localfilesystem.h"

#include <QFile>
#include <QHash>
#include <QSet>

// The PC's file system with faults injected per path, for the failures a real disk will not
// produce on demand (listing errors, refused folders, a full disk, files that cannot be opened).
class FaultyFileSystem final : public vktpdl::FileSystem
{
public:
    QHash<QString, int> listErrors;          // folder -> code of listFolders and listFiles
    QHash<QString, QStringList> extraFolders; // folder -> names listFolders adds
    QHash<QString, int> createErrors;        // path -> code of createDirectory and createFolder
    QHash<QString, int> deleteErrors;        // path -> code of deleteFile
    QHash<QString, int> putErrors;           // destination -> code of putFile
    QSet<QString> unopenable;                // openFile gives a null device
    QHash<QString, QString> redirected;      // openFile gives a device over another file

    int putFile(const QString &d, const QString &s, vktcommon::ProgressListener *p,
                vktcommon::ContinueListener *c) override
    {
        return putErrors.contains(d) ? putErrors.value(d) : local.putFile(d, s, p, c);
    }
    int getFile(const QString &d, const QString &s, vktcommon::ProgressListener *p,
                vktcommon::ContinueListener *c) override { return local.getFile(d, s, p, c); }
    int deleteFile(const QString &path) override
    {
        return deleteErrors.contains(path) ? deleteErrors.value(path) : local.deleteFile(path);
    }
    int createFolder(const QString &parent, const QString &name) override
    {
        return createDirectory(joinPath(parent, name));
    }
    int createDirectory(const QString &path) override
    {
        return createErrors.contains(path) ? createErrors.value(path) : local.createDirectory(path);
    }
    int removeDirectory(const QString &path, bool recursive) override { return local.removeDirectory(path, recursive); }
    int listFolders(const QString &folder, const QString &pattern, QStringList &names) override
    {
        if (listErrors.contains(folder))
            return listErrors.value(folder);
        names += extraFolders.value(folder);
        return local.listFolders(folder, pattern, names);
    }
    int listFiles(const QString &folder, const QString &pattern, QStringList &names) override
    {
        return listErrors.contains(folder) ? listErrors.value(folder) : local.listFiles(folder, pattern, names);
    }
    int openFile(const QString &path, QIODevice *&device) override
    {
        if (unopenable.contains(path)) {
            device = nullptr;
            return vktpdl::DE_NO_ERROR;
        }
        if (redirected.contains(path)) {
            device = new QFile(redirected.value(path));
            return vktpdl::DE_NO_ERROR;
        }
        return local.openFile(path, device);
    }
    int freeSpace(const QString &path, quint64 &bytes) override { return local.freeSpace(path, bytes); }
    bool isReadOnly(const QString &path) override { return local.isReadOnly(path); }
    QChar separator() const override { return local.separator(); }
    bool isFile(const QString &path) override { return local.isFile(path); }
    int renameFile(const QString &s, const QString &d) override { return local.renameFile(s, d); }
    int flushFile(const QString &path) override { return local.flushFile(path); }
    int flushFolder(const QString &path) override { return local.flushFolder(path); }
    int syncVolume(const QString &path) override { return local.syncVolume(path); }

private:
    vktpdl::LocalFileSystem local;
};
