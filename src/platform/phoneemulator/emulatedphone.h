#pragma once

#include "phoneconnectivityapi.h"

#include <QList>
#include <QString>
#include <QtGlobal>

// One phone of the emulated connectivity library, over a folder of the PC named after its serial number:
//   phone.ini          [phone] name, model; [faults] fileSystemUnavailable, copyCancelledByPhone,
//                      installationFails (true/false), transfersBreakAfter (bytes; 0 = never)
//   drives/C, drives/E the phone's drives "C:" and "E:" (any letter present is a drive)
//   applications.txt   the installed applications, one a line: identifier, version, name, separated by tabs
//   disconnected       while it exists the phone is gone: copies and block transfers under way break
//                      (PCL_E_CONNECTION_LOST), and the library neither lists nor opens it
// Phone paths use backslashes ("\\E:\Folder\file" or "E:\Folder\file") and find names without regard to
// letter case; "." and ".." lead nowhere, and symbolic links inside the folder are neither listed nor
// followed. Whatever is written appears under its name only when it is complete, and every change is on
// the host's disk when the call returns.
class EmulatedPhone
{
public:
    struct Entry
    {
        QString name;
        quint64 size = 0;
    };
    struct Application
    {
        QString identifier;
        QString version;
        QString name;
    };

    explicit EmulatedPhone(const QString &folder);

    QString serialNumber() const { return m_serialNumber; }
    QString friendlyName() const { return m_friendlyName; }
    QString model() const { return m_model; }
    bool fileSystemUnavailable() const { return m_fileSystemUnavailable; }
    bool isDisconnected() const;

    // The top level "\\" holds the drives as folders.
    PclResult list(const QString &folder, QList<Entry> &folders, QList<Entry> &files) const;
    PclResult createFolder(const QString &parent, const QString &name) const;
    PclResult deleteFolder(const QString &path) const;
    PclResult folderInfo(const QString &folder, QString &name, quint64 &freeSpace, quint64 &totalSpace) const;
    PclResult fileInfo(const QString &path, QString &name, quint64 &size) const;
    // PCL_E_NOT_FOUND only when nothing is there.
    PclResult deleteFile(const QString &path) const;
    // Both paths on one drive; a file is replaced at the target only with PCL_MOVE_REPLACE.
    PclResult moveFile(const QString &source, const QString &target, quint32 options) const;
    // One folder is a folder of the PC, the other a phone folder, by direction.
    PclResult copyFile(quint32 direction, const QString &name, const QString &sourceFolder,
                       const QString &targetFolder, const PclFileSystemNotify &notify) const;
    PclResult readInBlocks(const QString &name, const QString &folder, quint32 blockSize,
                           const PclBlockNotify &target) const;
    PclResult writeInBlocks(const QString &name, const QString &folder, quint32 blockSize,
                            const PclBlockNotify &target) const;
    // The package is an INI file of the PC with the keys identifier, name and version.
    PclResult install(const QString &packagePath, quint32 type, const PclFileSystemNotify &notify) const;
    PclResult applications(QList<Application> &applications) const;

private:
    // The PC path of a phone path below a drive.
    PclResult resolve(const QString &phonePath, QString &hostPath) const;
    // The PC path of a phone folder that exists.
    PclResult resolveFolder(const QString &phonePath, QString &hostPath) const;
    // The PC path of the entry called name (one plain name) in a phone folder that exists.
    PclResult resolveEntry(const QString &folder, const QString &name, QString &hostPath) const;
    // The folder of the files on their way to the phone, made when missing.
    PclResult pendingFolder(QString &folder) const;
    QStringList drives() const;
    // The transfer of that many bytes so far ends here: the connection breaks after the bytes the faults
    // allow, or the phone went away.
    bool breaksAt(quint64 transferred) const;
    PclResult writeApplications(const QList<Application> &applications) const;

    QString m_folder;
    QString m_serialNumber;
    QString m_friendlyName;
    QString m_model;
    bool m_fileSystemUnavailable = false;
    bool m_copyCancelledByPhone = false;
    bool m_installationFails = false;
    quint64 m_transfersBreakAfter = 0;
};
