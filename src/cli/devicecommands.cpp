#include "devicecommands.h"

#include "mapupdaterules.h"
#include "recordformat.h"
#include "servicesession.h"

#include <QJsonArray>

namespace {

const QString indent = QStringLiteral("  ");

QString sizeOrUnknown(qint64 bytes)
{
    return bytes < 0 ? DeviceCommands::tr("unknown") : RecordFormat::sizeText(quint64(bytes));
}

} // namespace

Outcome DeviceCommands::devices(ServiceSession &session, QJsonObject &result)
{
    QList<DeviceInfo> devices;
    const Outcome outcome = session.searchDevices(devices);
    QJsonArray list;
    for (const DeviceInfo &device : devices) {
        session.output().line(QStringLiteral("%1  %2  %3")
                                  .arg(device.index + 1)
                                  .arg(RecordFormat::kindText(device.kind), device.listText()));
        list.append(RecordFormat::json(device));
    }
    result.insert(QStringLiteral("devices"), list);
    return outcome;
}

Outcome DeviceCommands::status(ServiceSession &session, const CommandLineOptions &options, QJsonObject &result)
{
    Output &out = session.output();
    DeviceInfo device;
    Outcome outcome = session.selectDevice(options.device, ServiceSession::DeviceUse::Storage, device);
    if (!outcome.ok())
        return outcome;
    result.insert(QStringLiteral("device"), RecordFormat::json(device));
    out.line(tr("Device %1: %2 (%3)")
                 .arg(device.index + 1)
                 .arg(device.listText(), RecordFormat::kindText(device.kind)));
    // Said first: until it is finished (or undone), the device may lack maps or files.
    if (const UpdateJobRecord *job = session.devices().unfinishedUpdate()) {
        result.insert(QStringLiteral("unfinishedUpdate"), RecordFormat::json(*job));
        const QStringList lines = RecordFormat::lines(*job);
        out.line(lines.constFirst());
        for (const QString &line : lines.mid(1))
            out.line(indent + line);
    }

    QList<KorwindExeInfo> executables;
    QStringList roots;
    outcome = session.findNavigators(executables, roots);
    if (outcome.ok() && !options.executable.isEmpty()) {
        KorwindExeInfo chosen;
        outcome = session.selectNavigator(executables, options.executable, chosen);
        executables = {chosen};
    }
    QList<KorwindContentInfo> contents;
    if (outcome.ok())
        outcome = session.searchContents(false, contents);
    if (!outcome.ok())
        return outcome;

    // Everything is asked first and printed at the end, so that a failed question leaves no half table.
    QJsonArray navigators;
    QList<DottedVersion> versions;
    for (const KorwindExeInfo &executable : executables) {
        QJsonObject entry = RecordFormat::json(executable);
        QList<const ProductInfo *> offered;
        const UpdateCheckError check = session.checkNavigator(device, executable, offered);
        if (check.code == UpdateCheckError::UnknownDevice && !check.text().isEmpty())
            entry.insert(QStringLiteral("serverMessage"), check.text());
        else if (!check.text().isEmpty())
            return session.serverFailure(check);
        QJsonArray updates;
        for (const ProductInfo *update : offered)
            updates.append(RecordFormat::json(*update));
        entry.insert(QStringLiteral("updates"), updates);
        navigators.append(entry);
        if (executable.version >= MapUpdateRules::lowestNavigatorWithMaps() && !versions.contains(executable.version))
            versions.append(executable.version);
    }

    QJsonArray folders;
    QList<QStringList> offerLines(contents.size());
    // The files of damaged maps, by folder: as the record of their installation shows, and as the server's
    // files of their versions show.
    QList<QStringList> damagedFiles(contents.size());
    for (qsizetype i = 0; i < contents.size(); ++i) {
        QJsonObject folder = RecordFormat::json(contents.at(i));
        folder.insert(QStringLiteral("offers"), QJsonArray());
        folders.append(folder);
        for (const MapInfo &map : contents.at(i).maps) {
            if (map.isDamaged)
                damagedFiles[i] << map.file.fileName;
        }
    }
    for (const DottedVersion &version : versions) {
        const UpdateCheckError check = session.checkMaps(version);
        if (!check.text().isEmpty())
            return session.serverFailure(check);
        for (qsizetype i = 0; i < contents.size(); ++i) {
            QStringList &lines = offerLines[i];
            lines << tr("offered for Korwind Navigator %1:").arg(version.toString());
            QJsonArray maps;
            QList<const MapDisplayInfo *> installed;
            const QList<const MapDisplayInfo *> offered = session.presentMaps(contents.at(i), &installed);
            for (const MapDisplayInfo *entry : installed) {
                if (entry->map->isDamaged && !damagedFiles.at(i).contains(entry->map->file.fileName))
                    damagedFiles[i] << entry->map->file.fileName;
            }
            for (const MapDisplayInfo *entry : offered) {
                QJsonObject map = RecordFormat::json(*entry->map);
                map.insert(QStringLiteral("state"), RecordFormat::offerState(*entry));
                maps.append(map);
                lines << indent + QStringLiteral("%1  %2  %3").arg(RecordFormat::mapText(*entry->map),
                                                                   RecordFormat::sizeText(entry->map->file.size),
                                                                   RecordFormat::offerStateText(*entry));
            }
            if (maps.isEmpty())
                lines << indent + tr("none");
            QJsonObject folder = folders.at(i).toObject();
            QJsonArray offers = folder.value(QStringLiteral("offers")).toArray();
            offers.append(QJsonObject{{QStringLiteral("navigatorVersion"), version.toString()},
                                      {QStringLiteral("maps"), maps}});
            folder.insert(QStringLiteral("offers"), offers);
            folders[i] = folder;
        }
    }
    for (qsizetype i = 0; i < contents.size(); ++i) {
        QJsonArray installed;
        for (const MapInfo &map : contents.at(i).maps) {
            QJsonObject entry = RecordFormat::json(map);
            entry.insert(QStringLiteral("damaged"), damagedFiles.at(i).contains(map.file.fileName));
            installed.append(entry);
        }
        QJsonObject folder = folders.at(i).toObject();
        folder.insert(QStringLiteral("installedMaps"), installed);
        folders[i] = folder;
    }
    result.insert(QStringLiteral("navigators"), navigators);
    result.insert(QStringLiteral("contentFolders"), folders);

    out.line();
    out.line(tr("Korwind Navigator executables:"));
    if (navigators.isEmpty())
        out.line(indent + tr("none found"));
    for (qsizetype i = 0; i < executables.size(); ++i) {
        const QJsonObject entry = navigators.at(i).toObject();
        out.line(indent + QStringLiteral("%1  %2").arg(executables.at(i).path, executables.at(i).version.toString()));
        const QJsonArray updates = entry.value(QStringLiteral("updates")).toArray();
        if (entry.contains(QStringLiteral("serverMessage")))
            out.line(indent + indent + tr("server: %1").arg(entry.value(QStringLiteral("serverMessage")).toString()));
        else if (updates.isEmpty())
            out.line(indent + indent + tr("no update offered"));
        for (const QJsonValue &update : updates) {
            out.line(indent + indent + tr("update offered: %1  %2").arg(update[QStringLiteral("version")].toString(),
                                                                     update[QStringLiteral("description")].toString()));
        }
    }

    out.line();
    out.line(tr("Content folders:"));
    if (contents.isEmpty())
        out.line(indent + tr("none found"));
    for (qsizetype i = 0; i < contents.size(); ++i) {
        const KorwindContentInfo &content = contents.at(i);
        out.line(indent + tr("%1  ID %2%3").arg(content.path, content.uid,
                                                content.isReadOnly ? tr("  (read only)") : QString()));
        out.line(indent + indent + tr("free space %1, old map data %2")
                                       .arg(sizeOrUnknown(content.freeSpaceChecker.freeSpace()),
                                            sizeOrUnknown(content.freeSpaceChecker.otherFilesSize())));
        out.line(indent + indent + tr("installed maps:"));
        if (content.maps.isEmpty())
            out.line(indent + indent + indent + tr("none"));
        for (const MapInfo &map : content.maps) {
            const bool damaged = damagedFiles.at(i).contains(map.file.fileName);
            out.line(indent + indent + indent + RecordFormat::mapText(map) + (damaged ? tr("  (damaged)") : QString()));
        }
        if (versions.isEmpty())
            out.line(indent + indent + tr("no maps are offered for the navigators found"));
        for (const QString &line : offerLines.at(i))
            out.line(indent + indent + line);
    }
    return Outcome::success();
}
