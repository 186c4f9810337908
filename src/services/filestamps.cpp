#include "filestamps.h"

#include "filesystem.h"
#include "replacingfile.h"
#include "sha1digest.h"

#include <QDataStream>
#include <QDir>
#include <QFile>

namespace {

constexpr quint32 magic = 0x564b5453; // "VKTS"
constexpr quint32 formatVersion = 1;
constexpr auto streamVersion = QDataStream::Qt_6_4;

} // namespace

FileStamps::FileStamps(const QString &backupsFolder)
    : m_filePath(QDir(backupsFolder).filePath(QStringLiteral("filecache.stamps")))
{
}

bool FileStamps::load()
{
    m_entries.clear();
    m_recordedAtMs = 0;
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QDataStream in(&file);
    in.setVersion(streamVersion);
    quint32 readMagic = 0;
    quint32 readVersion = 0;
    qint64 recordedAtMs = 0;
    quint32 count = 0;
    in >> readMagic >> readVersion >> recordedAtMs >> count;
    if (in.status() != QDataStream::Ok || readMagic != magic || readVersion != formatVersion)
        return false;
    QHash<QString, Entry> entries;
    // A count beyond the data ends in a failed read, not in a large allocation.
    for (quint32 i = 0; i < count; ++i) {
        QString uniquePath;
        Entry entry;
        in >> uniquePath >> entry.identity >> entry.sha1;
        if (in.status() != QDataStream::Ok || entry.identity.isEmpty() || !Sha1Digest::isSha1Text(entry.sha1))
            return false;
        entries.insert(uniquePath, entry);
    }
    if (!in.atEnd())
        return false;
    m_entries = entries;
    m_recordedAtMs = recordedAtMs;
    return true;
}

QString FileStamps::trustedSha1(const QString &uniquePath, const vktpdl::FileStamp &stamp) const
{
    const auto found = m_entries.constFind(uniquePath);
    if (stamp.identity.isEmpty() || found == m_entries.constEnd() || found->identity != stamp.identity
        || stamp.lastChangeMs >= m_recordedAtMs - racyGuardMs)
        return QString();
    return found->sha1;
}

void FileStamps::insert(const QString &uniquePath, const vktpdl::FileStamp &stamp, const QString &sha1)
{
    if (!stamp.identity.isEmpty())
        m_entries.insert(uniquePath, {stamp.identity, sha1.toLower()});
}

bool FileStamps::save(qint64 recordedAtMs) const
{
    vktcommon::ReplacingFile file(m_filePath);
    if (!file.open())
        return false;
    QDataStream out(file.device());
    out.setVersion(streamVersion);
    out << magic << formatVersion << recordedAtMs << quint32(m_entries.size());
    for (auto entry = m_entries.constBegin(); entry != m_entries.constEnd(); ++entry)
        out << entry.key() << entry->identity << entry->sha1;
    return out.status() == QDataStream::Ok && file.commit();
}
