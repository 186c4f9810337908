#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace vktpdl {
struct FileStamp;
}

// What the last successful backup saw of each file: its stamp and its content's SHA-1, kept beside the
// cache as "filecache.stamps" so that an unchanged file need not be read again. Only a help: a missing,
// unreadable or malformed store reads as empty, and no descriptor depends on it.
class FileStamps
{
public:
    // Stamps whose file changed this close to their recording are not trusted: a later change within
    // the same tick of the file system's clock (2 s on FAT) would leave the stamp as it was.
    static constexpr qint64 racyGuardMs = 3000;

    explicit FileStamps(const QString &backupsFolder);

    QString filePath() const { return m_filePath; }
    // Replaces the entries with the store's; false (and no entries) when it is missing or malformed.
    bool load();
    // The SHA-1 recorded for uniquePath when stamp is known, identical to the recorded one and older
    // than the guard before the recording; empty otherwise.
    QString trustedSha1(const QString &uniquePath, const vktpdl::FileStamp &stamp) const;
    // Remembers sha1 for uniquePath under stamp; an unknown stamp is not remembered.
    void insert(const QString &uniquePath, const vktpdl::FileStamp &stamp, const QString &sha1);
    // Writes the entries (through a temporary file renamed into place) as taken at recordedAtMs, which
    // must be no later than the moment the first of their stamps was taken.
    bool save(qint64 recordedAtMs) const;

private:
    struct Entry
    {
        QByteArray identity;
        QString sha1;
    };

    QString m_filePath;
    qint64 m_recordedAtMs = 0;
    QHash<QString, Entry> m_entries;
};
