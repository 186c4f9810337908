#include "backupcommands.h"

#include "recordformat.h"
#include "servicesession.h"
#include "worklock.h"

#include <QJsonArray>

namespace {

// The backups that a finder (findBackups or findDeviceSpecificBackups) reports.
QList<BackupInfo> backups(AbstractDeviceServices &devices, void (AbstractDeviceServices::*signal)(QList<BackupInfo>),
                          void (AbstractDeviceServices::*finder)())
{
    QList<BackupInfo> found;
    const QMetaObject::Connection connection =
        QObject::connect(&devices, signal, [&found](const QList<BackupInfo> &list) { found = list; });
    (devices.*finder)();
    QObject::disconnect(connection);
    return found;
}

QList<BackupInfo> allBackups(AbstractDeviceServices &devices)
{
    return backups(devices, &AbstractDeviceServices::foundBackups, &AbstractDeviceServices::findBackups);
}

QList<BackupInfo> deviceBackups(AbstractDeviceServices &devices)
{
    return backups(devices, &AbstractDeviceServices::foundDeviceSpecificBackups,
                   &AbstractDeviceServices::findDeviceSpecificBackups);
}

int indexOf(const QList<BackupInfo> &backups, const QString &id)
{
    for (int i = 0; i < backups.size(); ++i) {
        if (backups.at(i).id == id)
            return i;
    }
    return -1;
}

Outcome unknownBackup(const QString &id)
{
    return Outcome::failure(ExitStatus::Usage,
                            BackupCommands::tr("There is no backup %1; korwind-update backups lists them.").arg(id));
}

} // namespace

Outcome BackupCommands::list(ServiceSession &session, const CommandLineOptions &options, QJsonObject &result)
{
    QList<BackupInfo> found;
    if (options.device > 0) {
        DeviceInfo device;
        const Outcome outcome = session.selectDevice(options.device, ServiceSession::DeviceUse::AnyKind, device);
        if (!outcome.ok())
            return outcome;
        result.insert(QStringLiteral("device"), RecordFormat::json(device));
        found = deviceBackups(session.devices());
    } else {
        found = allBackups(session.devices());
    }
    QJsonArray list;
    for (const BackupInfo &backup : found) {
        list.append(RecordFormat::json(backup));
        session.output().line(
            QStringLiteral("%1  %2  %3").arg(backup.id, backup.date.toString(Qt::ISODate), backup.title));
        for (const QString &line : backup.description.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            session.output().line(QStringLiteral("    ") + line);
    }
    result.insert(QStringLiteral("backups"), list);
    return Outcome::success();
}

Outcome BackupCommands::restore(ServiceSession &session, const CommandLineOptions &options, QJsonObject &result)
{
    DeviceInfo device;
    Outcome outcome = session.selectDevice(options.device, ServiceSession::DeviceUse::Changes, device);
    if (!outcome.ok())
        return outcome;
    result.insert(QStringLiteral("device"), RecordFormat::json(device));
    // The device's roots name it for the lock, and the wizard finds the navigator before a restoration too.
    QList<KorwindExeInfo> executables;
    QStringList roots;
    WorkLock lock;
    outcome = session.findNavigators(executables, roots);
    if (outcome.ok())
        outcome = lock.lockDevice(roots, device.name);
    if (outcome.ok())
        outcome = lock.lockBackupsFolder(session.backupsFolder());
    if (!outcome.ok())
        return outcome;

    AbstractDeviceServices &devices = session.devices();
    if (indexOf(allBackups(devices), options.backupId) < 0)
        return unknownBackup(options.backupId);
    const int index = indexOf(deviceBackups(devices), options.backupId);
    if (index < 0) {
        return Outcome::failure(ExitStatus::Device,
                                tr("The backup %1 was made of another device; it cannot be restored onto %2.")
                                    .arg(options.backupId, device.name));
    }
    devices.deviceSpecificBackupSelected(index);
    QStringList folders;
    devices.backupFileList(folders);
    result.insert(QStringLiteral("folders"), QJsonArray::fromStringList(folders));
    session.output().line(tr("The content of these folders is replaced by the backup %1:").arg(options.backupId));
    for (const QString &folder : folders)
        session.output().line(QStringLiteral("  ") + folder);

    session.output().progress().startStage(tr("Restoring the backup"));
    const QString error = session.runDeviceTask([&devices] { devices.restoreBackup(); });
    if (!error.isEmpty())
        return session.changeFailure(error, roots);
    session.output().line(tr("Your backup was successfully restored!"));
    return Outcome::success();
}

Outcome BackupCommands::remove(ServiceSession &session, const CommandLineOptions &options, QJsonObject &result)
{
    WorkLock lock;
    Outcome outcome = lock.lockBackupsFolder(session.backupsFolder());
    if (!outcome.ok())
        return outcome;
    AbstractDeviceServices &devices = session.devices();
    const int index = indexOf(allBackups(devices), options.backupId);
    if (index < 0)
        return unknownBackup(options.backupId);
    devices.backupSelected(index);
    session.output().progress().startStage(tr("Deleting backup..."));
    const QString error = session.runDeviceTask([&devices] { devices.deleteBackup(); });
    if (!error.isEmpty())
        return session.failure(ExitStatus::Installation, error);
    result.insert(QStringLiteral("deleted"), options.backupId);
    session.output().line(tr("Backup %1 deleted.").arg(options.backupId));
    return Outcome::success();
}
