#include "worklock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString lockFileName(const QString &place)
{
    const QString canonical = QFileInfo(place).canonicalFilePath();
    const QByteArray key = (canonical.isEmpty() ? QDir::cleanPath(place) : canonical).toUtf8();
    return QStringLiteral("korwind-update-%1.lock")
        .arg(QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(20)));
}

} // namespace

QString WorkLock::lockFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/korwind-update");
}

Outcome WorkLock::lockDevice(const QStringList &roots, const QString &deviceName)
{
    return acquire(roots, tr("the device %1").arg(deviceName));
}

Outcome WorkLock::lockBackupsFolder(const QString &folder)
{
    return acquire({folder}, tr("the backups folder %1").arg(folder));
}

Outcome WorkLock::acquire(const QStringList &places, const QString &what)
{
    const QString folder = lockFolder();
    if (!QDir().mkpath(folder))
        return Outcome::failure(ExitStatus::Installation,
                                tr("Cannot create the folder %1 for the lock files.").arg(folder));
    std::vector<std::unique_ptr<QLockFile>> taken;
    QStringList takenFiles;
    for (const QString &place : places) {
        const QString file = QDir(folder).filePath(lockFileName(place));
        if (m_lockFiles.contains(file) || takenFiles.contains(file))
            continue;
        auto lock = std::make_unique<QLockFile>(file);
        // A long update holds its lock for many minutes; only a lock of a dead process is stale.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            taken.push_back(std::move(lock));
            takenFiles.append(file);
            continue;
        }
        if (lock->error() != QLockFile::LockFailedError)
            return Outcome::failure(ExitStatus::Installation, tr("Cannot write the lock file in %1.").arg(folder));
        qint64 pid = 0;
        QString host;
        QString application;
        lock->getLockInfo(&pid, &host, &application);
        return Outcome::failure(ExitStatus::Busy,
                                tr("Another korwind-update (process %1) is working on %2.").arg(pid).arg(what));
    }
    for (auto &lock : taken)
        m_locks.push_back(std::move(lock));
    m_lockFiles += takenFiles;
    return Outcome::success();
}
