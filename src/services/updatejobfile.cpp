#include "updatejobfile.h"

#include "devicedocument.h"
#include "downloadedfilepath.h"
#include "filesystem.h"
#include "sha1digest.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace UpdateJobFile {

namespace {

const QString fileName = QStringLiteral("KorwindUpdateJob.xml");
const QString formatVersion = QStringLiteral("1");

QString text(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

void writeFile(QXmlStreamWriter &xml, const PackageFile &file)
{
    xml.writeStartElement(QStringLiteral("File"));
    xml.writeAttribute(QStringLiteral("name"), file.fileName);
    xml.writeAttribute(QStringLiteral("size"), QString::number(file.size));
    xml.writeAttribute(QStringLiteral("sha1"), QString::fromLatin1(file.extraBytes));
    xml.writeAttribute(QStringLiteral("id"), file.extraText);
    xml.writeAttribute(QStringLiteral("url"), file.url.toString());
    xml.writeEndElement();
}

void writeMap(QXmlStreamWriter &xml, const MapInfo &map)
{
    xml.writeStartElement(QStringLiteral("Map"));
    xml.writeAttribute(QStringLiteral("code"), map.code);
    xml.writeAttribute(QStringLiteral("major"), QString::number(map.majorVersion));
    xml.writeAttribute(QStringLiteral("minor"), QString::number(map.minorVersion));
    xml.writeAttribute(QStringLiteral("version"), map.version);
    xml.writeAttribute(QStringLiteral("name"), map.name);
    writeFile(xml, map.file);
    xml.writeEndElement();
}

void writeNames(QXmlStreamWriter &xml, const QString &element, const QStringList &names)
{
    xml.writeStartElement(element);
    for (const QString &name : names)
        xml.writeTextElement(QStringLiteral("Name"), name);
    xml.writeEndElement();
}

bool readFile(QXmlStreamReader &xml, PackageFile &file)
{
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("File"))
        return false;
    const QXmlStreamAttributes attributes = xml.attributes();
    bool sizeOk = false;
    file.fileName = attributes.value(QLatin1String("name")).toString();
    file.size = attributes.value(QLatin1String("size")).toULongLong(&sizeOk);
    file.extraBytes = attributes.value(QLatin1String("sha1")).toString().toLatin1();
    file.extraText = attributes.value(QLatin1String("id")).toString();
    file.url = QUrl(attributes.value(QLatin1String("url")).toString());
    xml.skipCurrentElement();
    // The name becomes a path on the device and in the downloads folder; what is installed is checked
    // against its digest.
    return sizeOk && vktcommon::isPlainFileName(file.fileName)
           && (file.extraBytes.isEmpty() || Sha1Digest::isSha1Text(QString::fromLatin1(file.extraBytes)));
}

bool readMap(QXmlStreamReader &xml, int kind, MapInfo &map)
{
    const QXmlStreamAttributes attributes = xml.attributes();
    bool majorOk = false;
    bool minorOk = false;
    map.kind = kind;
    map.code = attributes.value(QLatin1String("code")).toString();
    map.majorVersion = attributes.value(QLatin1String("major")).toInt(&majorOk);
    map.minorVersion = attributes.value(QLatin1String("minor")).toInt(&minorOk);
    map.version = attributes.value(QLatin1String("version")).toString();
    map.name = attributes.value(QLatin1String("name")).toString();
    const bool fileOk = readFile(xml, map.file);
    xml.skipCurrentElement();
    return majorOk && minorOk && fileOk;
}

bool readMaps(QXmlStreamReader &xml, int kind, QList<MapInfo> &maps)
{
    while (xml.readNextStartElement()) {
        MapInfo map;
        if (xml.name() != QLatin1String("Map") || !readMap(xml, kind, map))
            return false;
        maps.append(map);
    }
    return !xml.hasError();
}

bool readNames(QXmlStreamReader &xml, QStringList &names)
{
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("Name"))
            return false;
        const QString name = xml.readElementText();
        if (!vktcommon::isPlainFileName(name))
            return false;
        names.append(name);
    }
    return !xml.hasError();
}

} // namespace

QString path(const vktpdl::FileSystem &device, const QString &contentFolder)
{
    return device.joinPath(contentFolder, fileName);
}

QByteArray toDocument(const UpdateJobRecord &record)
{
    QByteArray document;
    QXmlStreamWriter xml(&document);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("KorwindUpdateJob"));
    xml.writeAttribute(QStringLiteral("version"), formatVersion);
    xml.writeTextElement(QStringLiteral("Kind"),
                         record.kind == UpdateJobRecord::NavigatorJob ? QStringLiteral("navigator") : QStringLiteral("maps"));
    xml.writeTextElement(QStringLiteral("Started"), record.started.toUTC().toString(Qt::ISODate));
    xml.writeTextElement(QStringLiteral("Backup"), record.backupId);
    xml.writeTextElement(QStringLiteral("ContentUid"), record.contentUid);
    if (record.kind == UpdateJobRecord::NavigatorJob) {
        xml.writeStartElement(QStringLiteral("Navigator"));
        xml.writeAttribute(QStringLiteral("path"), record.navigatorPath);
        xml.writeAttribute(QStringLiteral("version"), record.navigatorPackage.version);
        xml.writeAttribute(QStringLiteral("name"), record.navigatorPackage.name);
        writeFile(xml, record.navigatorPackage.file);
        xml.writeEndElement();
    } else {
        xml.writeTextElement(QStringLiteral("DeleteOldMapData"), text(record.deleteOldMapData));
        xml.writeStartElement(QStringLiteral("Install"));
        for (const MapInfo &map : record.mapsToInstall)
            writeMap(xml, map);
        xml.writeEndElement();
        xml.writeStartElement(QStringLiteral("Delete"));
        for (const MapInfo &map : record.mapsToDelete)
            writeMap(xml, map);
        xml.writeEndElement();
        writeNames(xml, QStringLiteral("Installed"), record.installed);
        writeNames(xml, QStringLiteral("RemovedEarly"), record.removedEarly);
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return document;
}

bool fromDocument(const QByteArray &document, UpdateJobRecord &record)
{
    QXmlStreamReader xml(document);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("KorwindUpdateJob")
        || xml.attributes().value(QLatin1String("version")) != formatVersion)
        return false;
    UpdateJobRecord read;
    bool kindSeen = false;
    bool ok = true;
    while (ok && xml.readNextStartElement()) {
        const auto name = xml.name();
        if (name == QLatin1String("Kind")) {
            const QString kind = xml.readElementText();
            kindSeen = kind == QLatin1String("navigator") || kind == QLatin1String("maps");
            read.kind = kind == QLatin1String("navigator") ? UpdateJobRecord::NavigatorJob : UpdateJobRecord::MapJob;
        } else if (name == QLatin1String("Started")) {
            read.started = QDateTime::fromString(xml.readElementText(), Qt::ISODate);
        } else if (name == QLatin1String("Backup")) {
            read.backupId = xml.readElementText();
        } else if (name == QLatin1String("ContentUid")) {
            read.contentUid = xml.readElementText();
        } else if (name == QLatin1String("Navigator")) {
            read.navigatorPath = xml.attributes().value(QLatin1String("path")).toString();
            read.navigatorPackage.version = xml.attributes().value(QLatin1String("version")).toString();
            read.navigatorPackage.name = xml.attributes().value(QLatin1String("name")).toString();
            read.navigatorPackage.kind = ProductInfo::NavigatorPackage;
            ok = readFile(xml, read.navigatorPackage.file);
            xml.skipCurrentElement();
        } else if (name == QLatin1String("DeleteOldMapData")) {
            read.deleteOldMapData = xml.readElementText() == QLatin1String("true");
        } else if (name == QLatin1String("Install")) {
            ok = readMaps(xml, ProductInfo::MapPackage, read.mapsToInstall);
        } else if (name == QLatin1String("Delete")) {
            ok = readMaps(xml, ProductInfo::InstalledMap, read.mapsToDelete);
        } else if (name == QLatin1String("Installed")) {
            ok = readNames(xml, read.installed);
        } else if (name == QLatin1String("RemovedEarly")) {
            ok = readNames(xml, read.removedEarly);
        } else {
            xml.skipCurrentElement();
        }
    }
    if (!ok || !kindSeen || xml.hasError())
        return false;
    record = read;
    return true;
}

int read(vktpdl::FileSystem &device, const QString &contentFolder, UpdateJobRecord &record, bool &found)
{
    found = false;
    QByteArray document;
    const int result = DeviceDocument::read(device, path(device, contentFolder), document);
    if (result != vktpdl::DE_NO_ERROR || document.isEmpty())
        return result;
    found = true;
    return fromDocument(document, record) ? vktpdl::DE_NO_ERROR : vktpdl::DE_WRONG_REPLY;
}

int write(vktpdl::FileSystem &device, const QString &contentFolder, const UpdateJobRecord &record)
{
    return DeviceDocument::write(device, path(device, contentFolder), toDocument(record));
}

int remove(vktpdl::FileSystem &device, const QString &contentFolder)
{
    return DeviceDocument::remove(device, path(device, contentFolder));
}

} // namespace UpdateJobFile
