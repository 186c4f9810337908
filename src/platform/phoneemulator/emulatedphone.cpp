#include "emulatedphone.h"

#include "nofollow.h"
#include "syncfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSettings>
#include <QStorageInfo>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr qint64 copyChunk = 64 * 1024;
constexpr quint32 largestBlock = 16 * 1024 * 1024;

PclResult tell(const PclFileSystemNotify &notify, quint32 state, quint32 value)
{
    return notify.notify ? notify.notify(notify.context, state, value) : PCL_OK;
}

bool isRealFolder(const QString &path)
{
    const QFileInfo info(path);
    return info.isDir() && !info.isSymLink();
}

bool isRealFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && !info.isSymLink();
}

bool existsAtAll(const QString &path)
{
    return QFileInfo::exists(path) || vktcommon::isSymbolicLink(path);
}

bool isPlainName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
           && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}

QStringList phonePathParts(const QString &path)
{
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

// The result of a change to the entries of the folder that holds hostPath, once they are on the disk.
PclResult changedIn(const QString &hostPath, bool changed)
{
    return changed && vktcommon::syncFolder(QFileInfo(hostPath).path()) ? PCL_OK : PCL_E_FAILED;
}

// The entry of folder called name without regard to letter case; name itself when there is none.
QString existingName(const QString &folder, const QString &name)
{
    if (existsAtAll(folder + QLatin1Char('/') + name))
        return name;
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return name;
}

// A file written under a name of its own in pendingFolder, which takes its final name only once complete
// and is removed otherwise. The pending folder must be on the target's file system.
class PendingFile
{
public:
    PendingFile(const QString &target, const QString &pendingFolder)
        : m_target(target),
          m_path(pendingFolder + QStringLiteral("/.pending-")
                 + QString::number(QRandomGenerator::global()->generate64(), 16)),
          m_file(m_path)
    {
    }
    ~PendingFile()
    {
        if (!m_published && m_file.isOpen()) {
            m_file.close();
            QFile::remove(m_path);
        }
    }

    // Never opens through a link, nor a file that is there already.
    bool open() { return vktcommon::openNoFollow(m_file, QIODevice::WriteOnly | QIODevice::NewOnly); }
    bool write(const char *data, qint64 size) { return m_file.write(data, size) == size; }

    // Replacing renames over the target (a link at the target's name is replaced, not followed); otherwise an
    // existing target stays and publishing fails.
    PclResult publish(bool replace)
    {
        if (!m_file.flush() || ::fsync(m_file.handle()) != 0)
            return PCL_E_FAILED;
        if (isRealFolder(m_target))
            return PCL_E_EXISTS;
        const QByteArray from = QFile::encodeName(m_path);
        const QByteArray to = QFile::encodeName(m_target);
        const int renamed = replace ? ::rename(from.constData(), to.constData())
                                    : ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(),
                                                  RENAME_NOREPLACE);
        if (renamed != 0)
            return errno == EEXIST ? PCL_E_EXISTS : PCL_E_FAILED;
        m_published = true;
        m_file.close();
        return changedIn(m_target, true);
    }

private:
    QString m_target;
    QString m_path;
    QFile m_file;
    bool m_published = false;
};

} // namespace

EmulatedPhone::EmulatedPhone(const QString &folder)
    : m_folder(QDir::cleanPath(QDir(folder).absolutePath())), m_serialNumber(QFileInfo(m_folder).fileName())
{
    const QSettings settings(m_folder + QStringLiteral("/phone.ini"), QSettings::IniFormat);
    m_friendlyName = settings.value(QStringLiteral("phone/name")).toString();
    m_model = settings.value(QStringLiteral("phone/model")).toString();
    m_fileSystemUnavailable = settings.value(QStringLiteral("faults/fileSystemUnavailable")).toBool();
    m_copyCancelledByPhone = settings.value(QStringLiteral("faults/copyCancelledByPhone")).toBool();
    m_installationFails = settings.value(QStringLiteral("faults/installationFails")).toBool();
    m_transfersBreakAfter = settings.value(QStringLiteral("faults/transfersBreakAfter")).toULongLong();
}

QStringList EmulatedPhone::drives() const
{
    QStringList letters;
    const QFileInfoList folders =
        QDir(m_folder + QStringLiteral("/drives")).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &folder : folders) {
        const QString name = folder.fileName();
        if (!folder.isSymLink() && name.size() == 1 && name.at(0) >= QLatin1Char('A') && name.at(0) <= QLatin1Char('Z'))
            letters.append(name);
    }
    return letters;
}

PclResult EmulatedPhone::resolve(const QString &phonePath, QString &hostPath) const
{
    const QStringList parts = phonePathParts(phonePath);
    if (parts.isEmpty())
        return PCL_E_INVALID_ARGUMENT;
    const QString drive = parts.first().toUpper();
    if (drive.size() != 2 || drive.at(1) != QLatin1Char(':') || !drives().contains(drive.left(1)))
        return PCL_E_NOT_FOUND;
    QString path = m_folder + QStringLiteral("/drives/") + drive.left(1);
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (!isPlainName(parts.at(i)))
            return PCL_E_INVALID_ARGUMENT;
        path += QLatin1Char('/') + existingName(path, parts.at(i));
        if (vktcommon::isSymbolicLink(path))
            return PCL_E_INVALID_ARGUMENT;
    }
    hostPath = path;
    return PCL_OK;
}

PclResult EmulatedPhone::resolveFolder(const QString &phonePath, QString &hostPath) const
{
    const PclResult result = resolve(phonePath, hostPath);
    if (result != PCL_OK)
        return result;
    return isRealFolder(hostPath) ? PCL_OK : PCL_E_NOT_FOUND;
}

PclResult EmulatedPhone::resolveEntry(const QString &folder, const QString &name, QString &hostPath) const
{
    if (!isPlainName(name))
        return PCL_E_INVALID_ARGUMENT;
    QString host;
    const PclResult result = resolveFolder(folder, host);
    if (result != PCL_OK)
        return result;
    hostPath = host + QLatin1Char('/') + existingName(host, name);
    return PCL_OK;
}

PclResult EmulatedPhone::pendingFolder(QString &folder) const
{
    folder = m_folder + QStringLiteral("/pending");
    return vktcommon::makeRealFolder(folder) ? PCL_OK : PCL_E_FAILED;
}

bool EmulatedPhone::isDisconnected() const
{
    return QFileInfo::exists(m_folder + QStringLiteral("/disconnected"));
}

bool EmulatedPhone::breaksAt(quint64 transferred) const
{
    return (m_transfersBreakAfter > 0 && transferred >= m_transfersBreakAfter) || isDisconnected();
}

PclResult EmulatedPhone::list(const QString &folder, QList<Entry> &folders, QList<Entry> &files) const
{
    if (phonePathParts(folder).isEmpty()) {
        for (const QString &drive : drives())
            folders.append({drive + QLatin1Char(':'), 0});
        return PCL_OK;
    }
    QString host;
    const PclResult result = resolveFolder(folder, host);
    if (result != PCL_OK)
        return result;
    const QFileInfoList entries = QDir(host).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &entry : entries) {
        if (entry.isSymLink())
            continue;
        if (entry.isDir())
            folders.append({entry.fileName(), 0});
        else if (entry.isFile())
            files.append({entry.fileName(), quint64(entry.size())});
    }
    return PCL_OK;
}

PclResult EmulatedPhone::createFolder(const QString &parent, const QString &name) const
{
    QString path;
    const PclResult result = resolveEntry(parent, name, path);
    if (result != PCL_OK)
        return result;
    if (existsAtAll(path))
        return PCL_E_EXISTS;
    return changedIn(path, QDir().mkdir(path));
}

PclResult EmulatedPhone::deleteFolder(const QString &path) const
{
    if (phonePathParts(path).size() < 2)
        return PCL_E_INVALID_ARGUMENT;
    QString host;
    const PclResult result = resolveFolder(path, host);
    if (result != PCL_OK)
        return result;
    return changedIn(host, QDir().rmdir(host));
}

PclResult EmulatedPhone::folderInfo(const QString &folder, QString &name, quint64 &freeSpace,
                                    quint64 &totalSpace) const
{
    QString host;
    const PclResult result = resolveFolder(folder, host);
    if (result != PCL_OK)
        return result;
    const QStorageInfo storage(host);
    if (!storage.isValid())
        return PCL_E_FAILED;
    name = phonePathParts(folder).constLast();
    freeSpace = quint64(storage.bytesAvailable());
    totalSpace = quint64(storage.bytesTotal());
    return PCL_OK;
}

PclResult EmulatedPhone::fileInfo(const QString &path, QString &name, quint64 &size) const
{
    QString host;
    const PclResult result = resolve(path, host);
    if (result != PCL_OK)
        return result;
    const QFileInfo info(host);
    if (!isRealFile(host))
        return PCL_E_NOT_FOUND;
    name = info.fileName();
    size = quint64(info.size());
    return PCL_OK;
}

PclResult EmulatedPhone::deleteFile(const QString &path) const
{
    QString host;
    const PclResult result = resolve(path, host);
    if (result != PCL_OK)
        return result;
    if (!existsAtAll(host))
        return PCL_E_NOT_FOUND;
    if (!isRealFile(host))
        return PCL_E_FAILED;
    return changedIn(host, QFile::remove(host));
}

PclResult EmulatedPhone::moveFile(const QString &source, const QString &target, quint32 options) const
{
    const QStringList from = phonePathParts(source);
    const QStringList to = phonePathParts(target);
    if (from.size() < 2 || to.size() < 2 || from.first().compare(to.first(), Qt::CaseInsensitive) != 0)
        return PCL_E_INVALID_ARGUMENT;
    QString sourceHost;
    QString targetHost;
    PclResult result = resolve(source, sourceHost);
    if (result == PCL_OK)
        result = resolveEntry(to.mid(0, to.size() - 1).join(QLatin1Char('\\')), to.last(), targetHost);
    if (result != PCL_OK)
        return result;
    if (!isRealFile(sourceHost) && !isRealFolder(sourceHost))
        return PCL_E_NOT_FOUND;
    if (targetHost == sourceHost) {
        // The entry itself under another spelling, which the host does not have yet.
        targetHost = QFileInfo(targetHost).path() + QLatin1Char('/') + to.last();
        if (targetHost == sourceHost)
            return PCL_OK;
    }
    const bool replacing = existsAtAll(targetHost);
    if (replacing && (!(options & PCL_MOVE_REPLACE) || isRealFolder(targetHost) || isRealFolder(sourceHost)))
        return PCL_E_EXISTS;
    const QByteArray fromPath = QFile::encodeName(sourceHost);
    const QByteArray toPath = QFile::encodeName(targetHost);
    // Replacing renames over the target: a link standing there is replaced, never followed.
    const bool moved = replacing ? ::rename(fromPath.constData(), toPath.constData()) == 0
                                 : ::renameat2(AT_FDCWD, fromPath.constData(), AT_FDCWD, toPath.constData(),
                                               RENAME_NOREPLACE) == 0;
    if (!moved)
        return errno == EEXIST ? PCL_E_EXISTS : PCL_E_FAILED;
    const QString targetFolder = QFileInfo(targetHost).path();
    const QString sourceFolder = QFileInfo(sourceHost).path();
    if (!vktcommon::syncFolder(targetFolder) || (sourceFolder != targetFolder && !vktcommon::syncFolder(sourceFolder)))
        return PCL_E_FAILED;
    return PCL_OK;
}

PclResult EmulatedPhone::copyFile(quint32 direction, const QString &name, const QString &sourceFolder,
                                  const QString &targetFolder, const PclFileSystemNotify &notify) const
{
    QString source;
    QString target;
    QString pending;
    PclResult result = PCL_E_INVALID_ARGUMENT;
    if (direction == PCL_COPY_PC_TO_PHONE) {
        source = sourceFolder + QLatin1Char('/') + name;
        result = resolveEntry(targetFolder, name, target);
        if (result == PCL_OK)
            result = pendingFolder(pending);
    } else if (direction == PCL_COPY_PHONE_TO_PC) {
        result = resolveEntry(sourceFolder, name, source);
        target = targetFolder + QLatin1Char('/') + name;
        pending = targetFolder;
        if (result == PCL_OK && !QFileInfo(targetFolder).isDir())
            result = PCL_E_NOT_FOUND;
    }
    if (result != PCL_OK)
        return result;
    if (!QFileInfo(source).isFile() || vktcommon::isSymbolicLink(source))
        return PCL_E_NOT_FOUND;
    if (existsAtAll(target))
        return PCL_E_EXISTS;
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return PCL_E_NOT_FOUND;
    PendingFile output(target, pending);
    if (!output.open())
        return PCL_E_FAILED;

    const quint64 size = quint64(input.size());
    quint64 done = 0;
    QByteArray buffer(copyChunk, Qt::Uninitialized);
    do {
        qint64 wanted = copyChunk;
        if (m_transfersBreakAfter > 0)
            wanted = qMin<qint64>(wanted, qint64(m_transfersBreakAfter - done));
        const qint64 read = input.read(buffer.data(), wanted);
        if (read < 0 || !output.write(buffer.constData(), read))
            return PCL_E_FAILED;
        if (read == 0 && size > 0)
            break;
        done += quint64(read);
        if (breaksAt(done) && done < size)
            return PCL_E_CONNECTION_LOST;
        const quint32 percent = size == 0 ? 100 : quint32(done * 100 / size);
        // The phone's memory card goes away halfway: the phone tells, and the copy ends.
        if (m_copyCancelledByPhone && done * 2 >= size) {
            const PclResult answer = tell(notify, PCL_E_MEDIA_NOT_FOUND, percent);
            return answer == PCL_E_CANCELLED ? PCL_E_CANCELLED : PCL_E_MEDIA_NOT_FOUND;
        }
        if (tell(notify, PCL_STATE_PROGRESS, percent) == PCL_E_CANCELLED)
            return PCL_E_CANCELLED;
    } while (done < size);
    return output.publish(false);
}

PclResult EmulatedPhone::readInBlocks(const QString &name, const QString &folder, quint32 blockSize,
                                      const PclBlockNotify &target) const
{
    if (blockSize == 0 || blockSize > largestBlock || !target.block)
        return PCL_E_INVALID_ARGUMENT;
    QString path;
    const PclResult result = resolveEntry(folder, name, path);
    if (result != PCL_OK)
        return result;
    if (!isRealFile(path))
        return PCL_E_NOT_FOUND;
    QFile input(path);
    if (!input.open(QIODevice::ReadOnly))
        return PCL_E_FAILED;
    const quint64 size = quint64(input.size());
    quint64 sent = 0;
    QByteArray block(qsizetype(blockSize), Qt::Uninitialized);
    bool last = false;
    while (!last) {
        qint64 wanted = blockSize;
        if (m_transfersBreakAfter > 0)
            wanted = qMin<qint64>(wanted, qint64(m_transfersBreakAfter - sent));
        const qint64 read = input.read(block.data(), wanted);
        if (read < 0)
            return PCL_E_FAILED;
        sent += quint64(read);
        // A file that shrank meanwhile ends where its bytes end.
        last = sent >= size || read < wanted;
        quint32 state = last ? PCL_BLOCK_LAST : 0;
        quint32 length = quint32(read);
        if (target.block(target.context, &state, reinterpret_cast<uint8_t *>(block.data()), &length) == PCL_E_CANCELLED)
            return PCL_E_CANCELLED;
        if (!last && breaksAt(sent))
            return PCL_E_CONNECTION_LOST;
    }
    return PCL_OK;
}

PclResult EmulatedPhone::writeInBlocks(const QString &name, const QString &folder, quint32 blockSize,
                                       const PclBlockNotify &target) const
{
    if (blockSize == 0 || blockSize > largestBlock || !target.block)
        return PCL_E_INVALID_ARGUMENT;
    QString path;
    QString pending;
    PclResult result = resolveEntry(folder, name, path);
    if (result == PCL_OK)
        result = pendingFolder(pending);
    if (result != PCL_OK)
        return result;
    PendingFile output(path, pending);
    if (!output.open())
        return PCL_E_FAILED;
    QByteArray block(qsizetype(blockSize), Qt::Uninitialized);
    quint64 received = 0;
    for (;;) {
        quint32 state = 0;
        quint32 length = blockSize;
        if (target.block(target.context, &state, reinterpret_cast<uint8_t *>(block.data()), &length) == PCL_E_CANCELLED)
            return PCL_E_CANCELLED;
        if (length > blockSize)
            return PCL_E_INVALID_ARGUMENT;
        if (!output.write(block.constData(), length))
            return PCL_E_FAILED;
        received += length;
        if (state & PCL_BLOCK_LAST)
            break;
        if (breaksAt(received))
            return PCL_E_CONNECTION_LOST;
    }
    return output.publish(true);
}

PclResult EmulatedPhone::applications(QList<Application> &applications) const
{
    QFile file(m_folder + QStringLiteral("/applications.txt"));
    if (!file.exists())
        return PCL_OK;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return PCL_E_FAILED;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        applications.append({fields.value(0), fields.value(1), fields.value(2)});
    }
    return PCL_OK;
}

PclResult EmulatedPhone::writeApplications(const QList<Application> &applications) const
{
    QByteArray text;
    for (const Application &application : applications)
        text += (application.identifier + QLatin1Char('\t') + application.version + QLatin1Char('\t')
                 + application.name + QLatin1Char('\n')).toUtf8();
    QString pending;
    if (pendingFolder(pending) != PCL_OK)
        return PCL_E_FAILED;
    PendingFile file(m_folder + QStringLiteral("/applications.txt"), pending);
    if (!file.open() || !file.write(text.constData(), text.size()))
        return PCL_E_FAILED;
    return file.publish(true);
}

PclResult EmulatedPhone::install(const QString &packagePath, quint32 type, const PclFileSystemNotify &notify) const
{
    if (type != PCL_INSTALL_PACKAGE)
        return PCL_E_INVALID_ARGUMENT;
    if (!QFileInfo(packagePath).isFile())
        return PCL_E_NOT_FOUND;
    const QSettings package(packagePath, QSettings::IniFormat);
    const Application installed = {package.value(QStringLiteral("identifier")).toString(),
                                   package.value(QStringLiteral("version")).toString(),
                                   package.value(QStringLiteral("name")).toString()};
    if (package.status() != QSettings::NoError || installed.identifier.isEmpty())
        return PCL_E_INSTALLATION_FAILED;

    for (const quint32 percent : {0u, 40u}) {
        if (tell(notify, PCL_STATE_PROGRESS, percent) == PCL_E_CANCELLED)
            return PCL_E_CANCELLED;
    }
    // What the phone shows on its own screen meanwhile, which the PC is to ignore.
    if (tell(notify, PCL_STATE_IGNORE, 55) == PCL_E_CANCELLED)
        return PCL_E_CANCELLED;
    // The phone asks its user once; the emulated user agrees at once.
    if (tell(notify, PCL_STATE_CONFIRMATION, PCL_VALUE_WAITING_FOR_USER) == PCL_E_CANCELLED
        || tell(notify, PCL_STATE_PROGRESS, 70) == PCL_E_CANCELLED)
        return PCL_E_CANCELLED;
    if (m_installationFails)
        return PCL_E_INSTALLATION_FAILED;

    QList<Application> list;
    if (applications(list) != PCL_OK)
        return PCL_E_INSTALLATION_FAILED;
    bool replaced = false;
    for (Application &application : list) {
        if (application.identifier.compare(installed.identifier, Qt::CaseInsensitive) == 0) {
            application = installed;
            replaced = true;
        }
    }
    if (!replaced)
        list.append(installed);
    if (writeApplications(list) != PCL_OK)
        return PCL_E_INSTALLATION_FAILED;
    tell(notify, PCL_STATE_PROGRESS, 100);
    return replaced ? PCL_INSTALLED_OVER_OLDER : PCL_OK;
}
