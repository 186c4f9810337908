#pragma once

#include "backupinfo.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace vktcommon {
class ContinueListener;
class ProgressListener;
} // namespace vktcommon

namespace vktpdl {
class MIDeviceHandler;
}

// One backed-up file: where it is on the device, its device-independent name and its content's SHA-1.
struct BackupFileEntry
{
    QString devicePath; // filled by create and bind
    QString uniquePath;
    QString sha1;       // 40 lower-case hexadecimal digits
    QString cachePath;  // filled by restore
    quint64 size = 0;
};

struct BackupFolderEntry
{
    QString devicePath; // filled by create and bind
    QString uniquePath;
};

// One backup: an XML descriptor in the backups folder naming device files whose contents sit, one
// copy per distinct content, in the folder's SHA-1 addressed file cache. Every operation returns a
// BACKUP_ERROR code.
class Backup
{
public:
    explicit Backup(const QString &backupsFolder = QString());

    // The first free descriptor name for a backup of date: "backup_dd.MM.yyyy[_N].xml".
    static QString descriptorName(const QString &backupsFolder, const QDate &date);

    // Copies the files below folders into the cache and writes the descriptor, or takes over an
    // identical backup already in the folder (its date, description and descriptor name).
    int create(const QStringList &folders, const QString &description, vktpdl::MIDeviceHandler &device,
               vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont);
    // False when the descriptor is unreadable or names unsafe paths or digests.
    bool readDescriptor(const QString &filePath);
    // The readable backups of the folder, in the order the folder lists them.
    static QList<Backup> list(const QString &backupsFolder);
    // Resolves every unique path on device; true (restorable) when every file got a device path.
    bool bind(vktpdl::MIDeviceHandler &device);
    // Empties the backed-up folders on device and copies the files back from the cache.
    int restore(vktpdl::MIDeviceHandler &device, vktcommon::ProgressListener *progress,
                vktcommon::ContinueListener *cont);
    // Removes the descriptor, then the cache files that no remaining backup uses.
    int remove(vktcommon::ContinueListener *cont);
    // Removes every file below the cache that none of backups uses.
    static int collectUnusedCacheFiles(const QString &backupsFolder, const QList<Backup> &backups,
                                       vktcommon::ContinueListener *cont);

    // description, device name, date.
    BackupInfo info() const;
    const QList<BackupFileEntry> &files() const { return m_files; }
    const QList<BackupFolderEntry> &folders() const { return m_folders; }
    QString description() const { return m_description; }
    QString deviceName() const { return m_deviceName; }
    QDate date() const { return m_date; }
    QString backupsFolder() const { return m_backupsFolder; }
    QString descriptorFileName() const { return m_descriptorFileName; }
    QByteArray filesFingerprint() const { return m_filesFingerprint; }
    QByteArray foldersFingerprint() const { return m_foldersFingerprint; }

private:
    int enumerate(vktpdl::MIDeviceHandler &device, const QString &folder);
    void computeFingerprints();
    bool writeDescriptor(const QString &filePath) const;

    QList<BackupFileEntry> m_files;
    QList<BackupFolderEntry> m_folders;
    QString m_description;
    QString m_deviceName;
    QDate m_date;
    QString m_backupsFolder;
    QString m_descriptorFileName;
    QByteArray m_filesFingerprint;
    QByteArray m_foldersFingerprint;
};
