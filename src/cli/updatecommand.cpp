#include "updatecommand.h"

#include "appsettings.h"
#include "downloadedfilepath.h"
#include "mapupdaterules.h"
#include "recordformat.h"
#include "servicesession.h"

#include <QFile>

#include <algorithm>

namespace {

using MapChoice = CommandLineOptions::MapChoice;

const QString indent = QStringLiteral("  ");

// The steps' names, in the order of UpdateCommand::Step: the key of the JSON output, the stage the
// progress shows (a download shows its own stages) and what the failure report says was done.
const struct
{
    const char *key;
    const char *stage;
    const char *done;
} stepNames[] = {
    {"download", "", QT_TRANSLATE_NOOP("UpdateCommand", "downloaded")},
    {"backup", QT_TRANSLATE_NOOP("UpdateCommand", "Backing up the program and maps"),
     QT_TRANSLATE_NOOP("UpdateCommand", "backed up")},
    {"preparation", QT_TRANSLATE_NOOP("UpdateCommand", "Preparing the installation"),
     QT_TRANSLATE_NOOP("UpdateCommand", "prepared")},
    {"oldMapDeletion", QT_TRANSLATE_NOOP("UpdateCommand", "Deleting old maps"),
     QT_TRANSLATE_NOOP("UpdateCommand", "old maps deleted")},
    {"navigatorInstallation", QT_TRANSLATE_NOOP("UpdateCommand", "Installing Korwind Navigator"),
     QT_TRANSLATE_NOOP("UpdateCommand", "navigator installed")},
    {"mapInstallation", QT_TRANSLATE_NOOP("UpdateCommand", "Installing maps"),
     QT_TRANSLATE_NOOP("UpdateCommand", "maps installed")},
};

bool isNewer(const MapInfo &map, const MapInfo &than)
{
    return std::pair(map.majorVersion, map.minorVersion) > std::pair(than.majorVersion, than.minorVersion);
}

// An update of the installed maps: newer than every installed map of its code, or one that replaces
// installed maps under another code. An older version that the server still offers is no update.
bool isUpdate(const MapDisplayInfo &entry, const QList<MapInfo> &installed)
{
    if (entry.kind != MapDisplayInfo::UpdateOrReplacement)
        return false;
    return std::all_of(installed.cbegin(), installed.cend(), [&](const MapInfo &map) {
        return map.code != entry.map->code || isNewer(*entry.map, map);
    });
}

QJsonArray mapList(const QList<const MapInfo *> &maps)
{
    QJsonArray list;
    for (const MapInfo *map : maps)
        list.append(RecordFormat::json(*map));
    return list;
}

QStringList backupIds(AbstractDeviceServices &devices)
{
    QStringList ids;
    const QMetaObject::Connection connection =
        QObject::connect(&devices, &AbstractDeviceServices::foundBackups, [&ids](const QList<BackupInfo> &backups) {
            for (const BackupInfo &backup : backups)
                ids << backup.id;
        });
    devices.findBackups();
    QObject::disconnect(connection);
    return ids;
}

} // namespace

UpdateCommand::UpdateCommand(ServiceSession &session, const CommandLineOptions &options, QJsonObject &result)
    : m_session(session), m_options(options), m_result(result)
{
}

QString UpdateCommand::stepKey(Step step)
{
    return QString::fromLatin1(stepNames[int(step)].key);
}

QString UpdateCommand::stepStage(Step step)
{
    return tr(stepNames[int(step)].stage);
}

QString UpdateCommand::stepDone(Step step)
{
    return tr(stepNames[int(step)].done);
}

Outcome UpdateCommand::run()
{
    Output &out = m_session.output();
    Outcome outcome = finishUnfinishedUpdate();
    if (!outcome.ok()) {
        m_result.insert(QStringLiteral("steps"), m_steps);
        return Outcome::failure(outcome.status, failureReport(outcome));
    }
    outcome = plan();
    if (!outcome.ok())
        return outcome;
    showPlan();
    if (!m_navigatorUpdate && m_mapsToInstall.isEmpty() && m_mapsToRemove.isEmpty()) {
        m_result.insert(QStringLiteral("steps"), m_steps);
        if (m_finishedUnfinishedUpdate)
            out.line(tr("Update is successfully completed!\nYou need to unplug your device before running Korwind "
                        "Navigator."));
        else
            out.line(tr("Nothing to update: Korwind Navigator and its maps are up to date."));
        return Outcome::success();
    }
    if (m_navigatorUpdate)
        outcome = runNavigatorJob();
    if (outcome.ok() && (!m_mapsToInstall.isEmpty() || !m_mapsToRemove.isEmpty()))
        outcome = runMapJob();
    m_result.insert(QStringLiteral("steps"), m_steps);
    if (!m_backupId.isEmpty())
        m_result.insert(QStringLiteral("backup"), m_backupId);
    if (!outcome.ok())
        return Outcome::failure(outcome.status, failureReport(outcome));
    out.line(tr("Update is successfully completed!\nYou need to unplug your device before running Korwind Navigator."));
    return outcome;
}

// --- an update an interruption cut short ---

Outcome UpdateCommand::finishUnfinishedUpdate()
{
    Outcome outcome = m_session.selectDevice(m_options.device, ServiceSession::DeviceUse::Changes, m_device);
    AbstractDeviceServices &devices = m_session.devices();
    const UpdateJobRecord *job = outcome.ok() ? devices.unfinishedUpdate() : nullptr;
    if (!job)
        return outcome;
    // The records stay with the device services until the next device search, which plan() makes.
    m_result.insert(QStringLiteral("unfinishedUpdate"), RecordFormat::json(*job));
    m_backupId = job->backupId;
    Output &out = m_session.output();
    const QStringList lines = RecordFormat::lines(*job);
    out.line(lines.constFirst() + QLatin1Char(' ') + tr("It is finished first."));
    QList<KorwindExeInfo> executables;
    outcome = m_session.findNavigators(executables, m_roots);
    if (outcome.ok())
        outcome = m_lock.lockDevice(m_roots, m_device.name);
    if (!outcome.ok())
        return outcome;
    const QString resumed = m_session.runDeviceTask([&devices] { devices.resumeUnfinishedUpdate(); });
    if (!resumed.isEmpty())
        return m_session.failure(ExitStatus::Device, resumed);

    if (job->kind == UpdateJobRecord::NavigatorJob) {
        const ProductInfo &package = job->navigatorPackage;
        outcome = download({package.file});
        if (outcome.ok()) {
            m_session.output().progress().startStage(stepStage(Step::Preparation));
            // The package was accepted when the job began; only what keeps it from the device stops it now.
            const auto [warning, critical] = m_session.runPreparation(package);
            recordStep(Step::Preparation, warning.isEmpty() || !critical);
            if (!warning.isEmpty() && critical)
                outcome = m_session.failure(ExitStatus::Installation, warning);
        }
        if (outcome.ok())
            outcome = deviceStep(Step::NavigatorInstallation, [&devices, &package] { devices.installPackage(package); });
    } else {
        QList<const MapInfo *> left;
        for (const MapInfo &map : job->mapsToInstall) {
            if (!job->installed.contains(map.file.fileName, Qt::CaseInsensitive))
                left.append(&map);
        }
        if (!left.isEmpty())
            outcome = download(MapUpdateRules::downloads(left));
        const bool deleteOldMapData = job->deleteOldMapData;
        if (outcome.ok()) {
            outcome = deviceStep(Step::MapInstallation, [&devices, left, deleteOldMapData] {
                devices.installMaps(left, {}, deleteOldMapData);
            });
        }
        if (outcome.ok() && deleteOldMapData)
            outcome = deviceStep(Step::OldMapDeletion, [&devices] { devices.deleteOtherMapFiles(); });
    }
    if (outcome.ok()) {
        m_finishedUnfinishedUpdate = true;
        out.line(tr("The unfinished update is finished."));
    }
    return outcome;
}

// --- what the job will do ---

Outcome UpdateCommand::plan()
{
    Outcome outcome = m_session.selectDevice(m_options.device, ServiceSession::DeviceUse::Changes, m_device);
    if (!outcome.ok())
        return outcome;
    m_result.insert(QStringLiteral("device"), RecordFormat::json(m_device));
    QList<KorwindExeInfo> executables;
    outcome = m_session.findNavigators(executables, m_roots);
    if (outcome.ok())
        outcome = m_lock.lockDevice(m_roots, m_device.name);
    if (outcome.ok())
        outcome = m_session.selectNavigator(executables, m_options.executable, m_executable);
    if (outcome.ok())
        outcome = m_session.searchContents(true, m_contents);
    if (outcome.ok())
        outcome = chooseNavigatorUpdate();
    if (outcome.ok())
        outcome = chooseMaps();
    if (!outcome.ok())
        return outcome;

    // The wizard's backup boxes: the navigator job backs up the program and its maps; a map job after
    // it needs none, and a map job alone backs up only a folder that holds maps.
    const bool backups = m_options.backup && AppSettings::createBackups();
    m_navigatorBackup = backups && m_navigatorUpdate;
    m_mapBackup = backups && !m_navigatorUpdate && m_content && !m_content->maps.isEmpty()
                  && !(m_mapsToInstall.isEmpty() && m_mapsToRemove.isEmpty());
    // The navigator's backup holds the Maps folder too, even when no map changes; on a device without a
    // content folder it holds the program alone.
    if (m_navigatorBackup && !m_content && !m_contents.isEmpty())
        outcome = chooseContent();
    if (outcome.ok() && (m_navigatorBackup || m_mapBackup))
        outcome = m_lock.lockBackupsFolder(m_session.backupsFolder());
    return outcome;
}

Outcome UpdateCommand::chooseNavigatorUpdate()
{
    const NavigatorInstallation *installation = m_session.devices().navigatorInstallation();
    m_mapsVersion = installation->version;
    m_result.insert(QStringLiteral("navigator"), RecordFormat::json(m_executable));
    if (m_options.noNavigator)
        return Outcome::success();
    if (installation->isReadOnly) {
        if (m_options.navigatorVersion.isEmpty())
            return Outcome::success();
        return Outcome::failure(ExitStatus::Device, tr("The folder of %1 cannot be written: the navigator is not "
                                                       "updated.").arg(m_executable.path));
    }
    QList<const ProductInfo *> offered;
    const UpdateCheckError check = m_session.checkNavigator(m_device, m_executable, offered);
    if (check.code == UpdateCheckError::UnknownDevice && !check.text().isEmpty())
        return m_session.failure(ExitStatus::Device, check.text());
    if (!check.text().isEmpty())
        return m_session.serverFailure(check);
    if (m_options.navigatorVersion.isEmpty()) {
        // The wizard's navigator page starts with the first offer chosen.
        m_navigatorUpdate = offered.value(0);
    } else {
        const DottedVersion wanted = DottedVersion::fromString(m_options.navigatorVersion);
        const auto found = std::find_if(offered.cbegin(), offered.cend(), [&](const ProductInfo *update) {
            return DottedVersion::fromString(update->version) == wanted;
        });
        if (found == offered.cend()) {
            QStringList versions;
            for (const ProductInfo *update : offered)
                versions << update->version;
            const QString list = versions.isEmpty() ? tr("none") : versions.join(QStringLiteral(", "));
            return Outcome::failure(ExitStatus::Usage, tr("Korwind Navigator %1 is not offered for %2; offered: %3.")
                                                           .arg(m_options.navigatorVersion, m_executable.path, list));
        }
        m_navigatorUpdate = *found;
    }
    if (m_navigatorUpdate)
        m_mapsVersion = DottedVersion::fromString(m_navigatorUpdate->version);
    return Outcome::success();
}

Outcome UpdateCommand::chooseContent()
{
    AbstractDeviceServices &devices = m_session.devices();
    if (!m_options.contentUid.isEmpty()) {
        const auto found = std::find_if(m_contents.cbegin(), m_contents.cend(), [&](const KorwindContentInfo &content) {
            return content.uid == m_options.contentUid;
        });
        if (found == m_contents.cend()) {
            return Outcome::failure(ExitStatus::Usage,
                                    tr("There is no content folder with the ID %1 on the device; korwind-update "
                                       "status lists them.").arg(m_options.contentUid));
        }
        if (found->isReadOnly)
            return Outcome::failure(ExitStatus::Device,
                                    tr("The content folder %1 cannot be written.").arg(found->path));
        devices.contentSelected(int(found - m_contents.cbegin()));
    } else if (!m_session.runDeviceChoice([&devices] { devices.tryAutoSelectContentForMaps(); })) {
        if (m_session.cancelled())
            return m_session.failure(ExitStatus::Device, QString());
        QStringList folders;
        for (const KorwindContentInfo &content : m_contents) {
            if (!content.isReadOnly)
                folders << QStringLiteral("%1  ID %2").arg(content.path, content.uid);
        }
        if (folders.isEmpty())
            return Outcome::failure(ExitStatus::Device, tr("No content folder on the device can be written."));
        return Outcome::failure(ExitStatus::Usage, tr("Several content folders can take the maps: choose one with "
                                                      "--content UID.\n%1").arg(folders.join(QLatin1Char('\n'))));
    }
    m_content = devices.selectedContent();
    return Outcome::success();
}

Outcome UpdateCommand::chooseMaps()
{
    const MapChoice choice = m_options.maps;
    if (choice == MapChoice::None)
        return Outcome::success();
    Output &out = m_session.output();
    const bool named = choice == MapChoice::Codes;
    if (m_mapsVersion < MapUpdateRules::lowestNavigatorWithMaps()) {
        const QString text = tr("No map updates for Korwind Navigator %1 were found.").arg(m_mapsVersion.toString());
        if (named)
            return Outcome::failure(ExitStatus::Usage, text);
        out.line(text);
        return Outcome::success();
    }
    if (m_contents.isEmpty()) {
        const QString text = tr("No flash cards with the KorwindContent folder were found on your device.\n"
                                "You cannot update maps with no flash card inserted.");
        if (choice != MapChoice::Updates)
            return Outcome::failure(ExitStatus::Device, text);
        out.line(text);
        return Outcome::success();
    }
    Outcome outcome = chooseContent();
    if (!outcome.ok())
        return outcome;
    const UpdateCheckError check = m_session.checkMaps(m_mapsVersion);
    if (!check.text().isEmpty())
        return m_session.serverFailure(check);

    const QList<const MapDisplayInfo *> entries = m_session.presentMaps(*m_content);
    const QList<const MapDisplayInfo *> requested = requestedEntries(entries, outcome);
    if (!outcome.ok())
        return outcome;
    // Exactly what was asked for: the services' own first choice (damaged maps) is not added to it.
    QMap<const MapDisplayInfo *, PACKAGE_STATE> selection;
    for (const MapDisplayInfo *entry : entries)
        selection.insert(entry, requested.contains(entry) ? PS_NEW_INSTALLATION : PS_NEW_AVAILABLE);
    AbstractPackageServices &packages = m_session.packages();
    packages.setMapsSelection(selection);
    packages.selectionResult(m_mapsToInstall, m_mapsToRemove);
    // The dependency rules may refuse a choice that conflicts with another; the wizard's tree shows it
    // as not chosen, here it is an error rather than a silent change of what was asked for.
    for (const MapDisplayInfo *entry : requested) {
        if (!m_mapsToInstall.contains(entry->map)) {
            return Outcome::failure(ExitStatus::Usage, tr("The map %1 cannot be installed together with the other "
                                                          "maps chosen.").arg(RecordFormat::mapText(*entry->map)));
        }
    }
    m_deleteOldMaps = !m_mapsToInstall.isEmpty() && MapUpdateRules::deletesOldMaps(m_content->freeSpaceChecker);
    return checkSpace();
}

QList<const MapDisplayInfo *> UpdateCommand::requestedEntries(const QList<const MapDisplayInfo *> &entries,
                                                              Outcome &outcome) const
{
    QList<const MapDisplayInfo *> requested;
    if (m_options.maps != MapChoice::Codes) {
        for (const MapDisplayInfo *entry : entries) {
            const bool isNew = entry->kind == MapDisplayInfo::NewMap && m_options.maps == MapChoice::All;
            // A damaged map is installed again like an update.
            if (isNew || entry->kind == MapDisplayInfo::Reinstallation || isUpdate(*entry, m_content->maps))
                requested << entry;
        }
        return requested;
    }
    for (const QString &code : m_options.mapCodes) {
        const MapDisplayInfo *newest = nullptr;
        for (const MapDisplayInfo *entry : entries) {
            if (entry->map->code == code && (!newest || isNewer(*entry->map, *newest->map)))
                newest = entry;
        }
        if (!newest) {
            outcome = Outcome::failure(ExitStatus::Usage,
                                       tr("The update server offers no map %1 for Korwind Navigator %2.")
                                           .arg(code, m_mapsVersion.toString()));
            return {};
        }
        if (newest->kind == MapDisplayInfo::SameVersion)
            m_session.output().line(tr("%1 is installed already.").arg(RecordFormat::mapText(*newest->map)));
        else
            requested << newest;
    }
    return requested;
}

Outcome UpdateCommand::checkSpace() const
{
    const quint64 needed = MapUpdateRules::totalSize(m_mapsToInstall);
    const qint64 room = MapUpdateRules::room(m_content->freeSpaceChecker);
    const quint64 available = MapUpdateRules::available(room, MapUpdateRules::totalSize(m_mapsToRemove));
    if (needed <= available)
        return Outcome::success();
    return Outcome::failure(ExitStatus::Space, tr("Not enough free space in %1: the maps need %2, available: %3.")
                                                   .arg(m_content->path, RecordFormat::sizeText(needed),
                                                        room < 0 ? tr("unknown") : RecordFormat::sizeText(available)));
}

void UpdateCommand::showPlan()
{
    Output &out = m_session.output();
    QJsonObject plan;
    out.line(tr("Device %1: %2").arg(m_device.index + 1).arg(m_device.name));
    if (m_navigatorUpdate) {
        plan.insert(QStringLiteral("navigatorUpdate"), RecordFormat::json(*m_navigatorUpdate));
        out.line(tr("Korwind Navigator %1 (%2) is updated to %3.")
                     .arg(m_executable.version.toString(), m_executable.path, m_navigatorUpdate->version));
    } else {
        out.line(tr("Korwind Navigator %1 (%2) stays as it is.")
                     .arg(m_executable.version.toString(), m_executable.path));
    }
    if (m_content) {
        plan.insert(QStringLiteral("contentFolder"), RecordFormat::json(*m_content));
        plan.insert(QStringLiteral("deleteOldMapData"), m_deleteOldMaps);
        out.line(tr("Maps in %1:").arg(m_content->contentText));
        for (const MapInfo *map : m_mapsToInstall)
            out.line(indent + tr("install %1 (%2)")
                                  .arg(RecordFormat::mapText(*map), RecordFormat::sizeText(map->file.size)));
        for (const MapInfo *map : m_mapsToRemove)
            out.line(indent + tr("remove %1").arg(RecordFormat::mapText(*map)));
        if (m_mapsToInstall.isEmpty() && m_mapsToRemove.isEmpty())
            out.line(indent + tr("no changes"));
        if (m_deleteOldMaps)
            out.line(indent + tr("the folder's other map data is deleted once the new maps are in place"));
    }
    plan.insert(QStringLiteral("install"), mapList(m_mapsToInstall));
    plan.insert(QStringLiteral("remove"), mapList(m_mapsToRemove));
    plan.insert(QStringLiteral("backup"), m_navigatorBackup || m_mapBackup);
    if (m_navigatorBackup || m_mapBackup)
        out.line(tr("A backup of the program and maps is made in %1.").arg(m_session.backupsFolder()));
    m_result.insert(QStringLiteral("plan"), plan);
}

// --- the jobs ---

Outcome UpdateCommand::runNavigatorJob()
{
    m_session.output().line(tr("Updating Korwind Navigator to %1:").arg(m_navigatorUpdate->version));
    Outcome outcome = download({m_navigatorUpdate->file});
    if (outcome.ok() && m_navigatorBackup)
        outcome = backup();
    if (outcome.ok())
        outcome = prepare();
    if (outcome.ok()) {
        const ProductInfo package = *m_navigatorUpdate;
        outcome = deviceStep(Step::NavigatorInstallation,
                             [this, package] { m_session.devices().installPackage(package); });
    }
    return outcome;
}

Outcome UpdateCommand::runMapJob()
{
    m_session.output().line(tr("Updating maps:"));
    Outcome outcome = Outcome::success();
    if (!m_mapsToInstall.isEmpty())
        outcome = download(MapUpdateRules::downloads(m_mapsToInstall));
    if (outcome.ok() && m_mapBackup)
        outcome = backup();
    AbstractDeviceServices &devices = m_session.devices();
    // The old map data goes once the new maps are in place; that step then ends the job.
    if (outcome.ok()) {
        outcome = deviceStep(Step::MapInstallation, [this, &devices] {
            devices.installMaps(m_mapsToInstall, m_mapsToRemove, m_deleteOldMaps);
        });
    }
    if (outcome.ok() && m_deleteOldMaps)
        outcome = deviceStep(Step::OldMapDeletion, [&devices] { devices.deleteOtherMapFiles(); });
    return outcome;
}

Outcome UpdateCommand::download(const QList<PackageFile> &files)
{
    if (m_session.cancelled())
        return m_session.failure(ExitStatus::Download, QString());
    const QString error = m_session.runDownload(files);
    const bool done = error.isEmpty() && !m_session.cancelled();
    recordStep(Step::Download, done);
    return done ? Outcome::success() : m_session.failure(ExitStatus::Download, error);
}

Outcome UpdateCommand::backup()
{
    const QStringList before = backupIds(m_session.devices());
    // A storage device's backup holds the program together with its maps, as the wizard's does.
    const Outcome outcome = deviceStep(Step::Backup, [this] { m_session.devices().createBackup(BT_PROGRAM_AND_MAPS); });
    if (!outcome.ok())
        return outcome;
    for (const QString &id : backupIds(m_session.devices())) {
        if (!before.contains(id))
            m_backupId = id;
    }
    m_session.output().line(m_backupId.isEmpty() ? tr("The same files were backed up before; that backup is kept.")
                                                 : tr("Backup %1 made.").arg(m_backupId));
    return outcome;
}

Outcome UpdateCommand::prepare()
{
    if (m_session.cancelled())
        return m_session.failure(ExitStatus::Installation, QString());
    m_session.output().progress().startStage(stepStage(Step::Preparation));
    const auto [warning, critical] = m_session.runPreparation(*m_navigatorUpdate);
    const bool failed = m_session.cancelled() || (!warning.isEmpty() && critical);
    recordStep(Step::Preparation, !failed);
    if (failed)
        return m_session.failure(ExitStatus::Installation, warning);
    if (warning.isEmpty())
        return Outcome::success();
    // The wizard passes a warning silently after a backup, else asks; --yes is the answer here.
    if (m_navigatorBackup || m_options.yes) {
        m_session.output().message(warning);
        return Outcome::success();
    }
    // Declined: the downloaded package goes, as when the wizard's user answers No.
    const QString downloaded =
        vktcommon::downloadedFilePath(m_session.downloadsFolder(), m_navigatorUpdate->file.fileName);
    if (!downloaded.isEmpty())
        QFile::remove(downloaded);
    return Outcome::failure(ExitStatus::Cancelled,
                            warning + QLatin1Char('\n') + tr("Not installed: --yes installs it all the same."));
}

Outcome UpdateCommand::deviceStep(Step step, const std::function<void()> &start)
{
    if (m_session.cancelled())
        return m_session.failure(ExitStatus::Installation, QString());
    m_session.output().progress().startStage(stepStage(step));
    if (step != Step::Backup)
        m_deviceChanged = true;
    const QString error = m_session.runDeviceTask(start);
    recordStep(step, error.isEmpty());
    if (error.isEmpty())
        return Outcome::success();
    return m_session.changeFailure(error, m_roots);
}

void UpdateCommand::recordStep(Step step, bool done)
{
    if (done)
        m_done << step;
    m_steps.append(QJsonObject{{QStringLiteral("step"), stepKey(step)},
                               {QStringLiteral("result"), done ? QStringLiteral("done") : QStringLiteral("failed")}});
}

// The failure with what was done before it, so that nothing half-done goes unmentioned.
QString UpdateCommand::failureReport(const Outcome &outcome) const
{
    QStringList done;
    for (const Step step : m_done)
        done << stepDone(step);
    QString text = outcome.message;
    text += QLatin1Char('\n') + (done.isEmpty() ? tr("Nothing was done.")
                                                : tr("Done before: %1.").arg(done.join(QStringLiteral(", "))));
    if (m_deviceChanged && !m_backupId.isEmpty())
        text += QLatin1Char('\n')
                + tr("korwind-update restore %1 puts back the files as they were before.").arg(m_backupId);
    else if (m_deviceChanged)
        text += QLatin1Char('\n') + tr("The device may hold part of the update.");
    return text;
}
