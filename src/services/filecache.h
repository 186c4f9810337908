#pragma once

#include <QSet>
#include <QString>

class QIODevice;

namespace vktcommon {
class ContinueListener;
class ProgressListener;
} // namespace vktcommon

// The content-addressed store of a backups folder: "filecache/<c1>/<c2>/<sha1>", each distinct file
// content once. Operations return a BACKUP_ERROR code.
class FileCache
{
public:
    explicit FileCache(const QString &backupsFolder);

    QString folder() const { return m_folder; }
    // Creates the cache folder (and the backups folder) when missing; false when the cache folder is a
    // symbolic link, which is never entered.
    bool create() const;
    // Where the content with this SHA-1 lives; empty for a text that is not 40 hexadecimal digits.
    QString pathOf(const QString &sha1) const;
    // The size of the stored content, or -1 when it is not stored.
    qint64 sizeOf(const QString &sha1) const;
    // Reads the stored content: BE_NO_ERROR when it is there with this very digest, BE_CACHE_FILES_MISSING
    // when it is missing or damaged, BE_CANCELLED when the listener (asked between blocks) says stop.
    // Progress 0..100.
    int verify(const QString &sha1, vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont) const;

    // Reads source to its end and sets sha1 to its digest; nothing is written. Progress 0..100.
    int digest(QIODevice &source, QString &sha1, vktcommon::ProgressListener *progress,
               vktcommon::ContinueListener *cont) const;
    // Copies source into a temporary "temp_XXXXXX" file while digesting it, flushes it to the disk and
    // moves it to its place, or drops it when that content is stored already and sound (a stored file of
    // the wrong size or digest is replaced). Progress 0..100; a stop, a read or write failure leaves no
    // temporary file behind.
    int store(QIODevice &source, QString &sha1, vktcommon::ProgressListener *progress,
              vktcommon::ContinueListener *cont) const;
    // Removes every file below the cache whose name is not in needed.
    int removeAllBut(const QSet<QString> &needed, vktcommon::ContinueListener *cont) const;

private:
    QString m_folder;
};
