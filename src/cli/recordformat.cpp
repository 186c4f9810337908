#include "recordformat.h"

#include "formatting.h"

#include <QJsonArray>

namespace {

// How an offered map stands against the installed ones, for the JSON output and as text.
const struct
{
    const char *key;
    const char *text;
} offerStates[] = {{"update", QT_TRANSLATE_NOOP("RecordFormat", "update")},
                   {"new", QT_TRANSLATE_NOOP("RecordFormat", "new")},
                   {"installed", QT_TRANSLATE_NOOP("RecordFormat", "installed, up to date")},
                   {"damaged", QT_TRANSLATE_NOOP("RecordFormat", "installed, damaged")}};

int offerIndex(const MapDisplayInfo &entry)
{
    switch (entry.kind) {
    case MapDisplayInfo::NewMap:
        return 1;
    case MapDisplayInfo::SameVersion:
        return 2;
    case MapDisplayInfo::Reinstallation:
        return 3;
    default:
        return 0;
    }
}

} // namespace

QString RecordFormat::sizeText(quint64 bytes)
{
    // The shared format counts whole megabytes; small files would all read "0MB".
    constexpr quint64 mebi = 1024 * 1024;
    if (bytes < mebi)
        return tr("%1KB").arg((bytes + 1023) / 1024);
    const Utilities::FormattedSize size = Utilities::formatSize(bytes);
    return size.number + size.unit;
}

QString RecordFormat::kindText(int deviceKind)
{
    switch (deviceKind) {
    case DeviceInfo::ActiveSync:
        return tr("Windows CE");
    case DeviceInfo::Storage:
        return tr("USB storage");
    case DeviceInfo::Symbian:
        return tr("phone");
    case DeviceInfo::Android:
        return tr("Android");
    default:
        return tr("unknown");
    }
}

QString RecordFormat::mapText(const MapInfo &map)
{
    const QString version = map.version.isEmpty()
                                ? QStringLiteral("%1.%2").arg(map.majorVersion).arg(map.minorVersion)
                                : map.version;
    const QString name = map.name.isEmpty() ? map.code : map.name;
    return name == map.code ? QStringLiteral("%1 %2").arg(name, version)
                            : QStringLiteral("%1 (%2) %3").arg(name, map.code, version);
}

QString RecordFormat::offerState(const MapDisplayInfo &entry)
{
    return QString::fromLatin1(offerStates[offerIndex(entry)].key);
}

QString RecordFormat::offerStateText(const MapDisplayInfo &entry)
{
    return tr(offerStates[offerIndex(entry)].text);
}

QJsonObject RecordFormat::json(const DeviceInfo &device)
{
    static const char *const kinds[] = {"unknown", "activesync", "storage", "phone", "android"};
    const int kind = device.kind >= 1 && device.kind <= 4 ? device.kind : 0;
    return {{QStringLiteral("number"), device.index + 1},
            {QStringLiteral("kind"), QString::fromLatin1(kinds[kind])},
            {QStringLiteral("name"), device.name},
            {QStringLiteral("readOnly"), device.isReadOnly},
            {QStringLiteral("connectedProperly"), device.isConnectedProperly}};
}

QJsonObject RecordFormat::json(const KorwindExeInfo &executable)
{
    return {{QStringLiteral("path"), executable.path},
            {QStringLiteral("version"), executable.version.toString()},
            {QStringLiteral("readOnly"), executable.isReadOnly}};
}

QJsonObject RecordFormat::json(const ProductInfo &package)
{
    return {{QStringLiteral("name"), package.name},
            {QStringLiteral("version"), package.version},
            {QStringLiteral("description"), package.description},
            {QStringLiteral("file"), package.file.fileName},
            {QStringLiteral("size"), double(package.file.size)}};
}

QJsonObject RecordFormat::json(const MapInfo &map)
{
    QJsonObject object = json(static_cast<const ProductInfo &>(map));
    object.insert(QStringLiteral("code"), map.code);
    object.insert(QStringLiteral("majorVersion"), map.majorVersion);
    object.insert(QStringLiteral("minorVersion"), map.minorVersion);
    return object;
}

QJsonObject RecordFormat::json(const BackupInfo &backup)
{
    return {{QStringLiteral("id"), backup.id},
            {QStringLiteral("date"), backup.date.toString(Qt::ISODate)},
            {QStringLiteral("device"), backup.title},
            {QStringLiteral("description"), backup.description}};
}

QJsonObject RecordFormat::json(const KorwindContentInfo &content)
{
    return {{QStringLiteral("uid"), content.uid},
            {QStringLiteral("path"), content.path},
            {QStringLiteral("mapsFolder"), content.contentText},
            {QStringLiteral("card"), content.name},
            {QStringLiteral("readOnly"), content.isReadOnly},
            {QStringLiteral("freeSpace"), double(content.freeSpaceChecker.freeSpace())},
            {QStringLiteral("oldMapData"), double(content.freeSpaceChecker.otherFilesSize())}};
}

QJsonObject RecordFormat::json(const UpdateJobRecord &job)
{
    QJsonObject object{{QStringLiteral("kind"),
                        job.kind == UpdateJobRecord::NavigatorJob ? QStringLiteral("navigator") : QStringLiteral("maps")},
                       {QStringLiteral("started"), job.started.toString(Qt::ISODate)},
                       {QStringLiteral("backup"), job.backupId},
                       {QStringLiteral("contentUid"), job.contentUid}};
    if (job.kind == UpdateJobRecord::NavigatorJob) {
        object.insert(QStringLiteral("navigatorUpdate"), json(job.navigatorPackage));
        return object;
    }
    QJsonArray left;
    for (const MapInfo &map : job.mapsLeft())
        left.append(json(map));
    object.insert(QStringLiteral("mapsToInstall"), left);
    object.insert(QStringLiteral("installed"), QJsonArray::fromStringList(job.installed));
    object.insert(QStringLiteral("removedForRoom"), QJsonArray::fromStringList(job.removedEarly));
    object.insert(QStringLiteral("deleteOldMapData"), job.deleteOldMapData);
    return object;
}

QStringList RecordFormat::lines(const UpdateJobRecord &job)
{
    QStringList lines{tr("The last update of this device did not finish (begun %1).")
                          .arg(job.started.toLocalTime().toString(Qt::ISODate))};
    if (job.kind == UpdateJobRecord::NavigatorJob) {
        lines << tr("Korwind Navigator %1 was being installed.").arg(job.navigatorPackage.version);
    } else {
        for (const MapInfo &map : job.mapsLeft())
            lines << tr("still to install: %1").arg(mapText(map));
        for (const QString &name : job.removedEarly)
            lines << tr("removed to make room: %1").arg(name);
        if (job.deleteOldMapData)
            lines << tr("the folder's old map data goes at the end");
    }
    lines << tr("korwind-update update finishes it.");
    if (!job.backupId.isEmpty())
        lines << tr("korwind-update restore %1 puts the device back as it was before.").arg(job.backupId);
    return lines;
}
