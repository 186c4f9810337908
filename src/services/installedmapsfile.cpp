#include "installedmapsfile.h"

#include "devicedocument.h"
#include "downloadedfilepath.h"
#include "filesystem.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>

namespace InstalledMapsFile {

namespace {

const QString fileName = QStringLiteral("KorwindInstalledMaps.xml");

QString path(const vktpdl::FileSystem &device, const QString &contentFolder)
{
    return device.joinPath(contentFolder, fileName);
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QList<Entry> read(vktpdl::FileSystem &device, const QString &contentFolder)
{
    QByteArray document;
    if (DeviceDocument::read(device, path(device, contentFolder), document) != vktpdl::DE_NO_ERROR)
        return {};
    QXmlStreamReader xml(document);
    QList<Entry> entries;
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("KorwindInstalledMaps"))
        return {};
    while (xml.readNextStartElement()) {
        const QXmlStreamAttributes attributes = xml.attributes();
        Entry entry;
        bool sizeOk = false;
        entry.fileName = attributes.value(QLatin1String("file")).toString();
        entry.size = attributes.value(QLatin1String("size")).toULongLong(&sizeOk);
        entry.sha1 = attributes.value(QLatin1String("sha1")).toString();
        entry.code = attributes.value(QLatin1String("code")).toString();
        entry.majorVersion = attributes.value(QLatin1String("major")).toInt();
        entry.minorVersion = attributes.value(QLatin1String("minor")).toInt();
        xml.skipCurrentElement();
        if (sizeOk && vktcommon::isPlainFileName(entry.fileName))
            entries.append(entry);
    }
    return xml.hasError() ? QList<Entry>() : entries;
}

int write(vktpdl::FileSystem &device, const QString &contentFolder, const QList<Entry> &entries)
{
    QByteArray document;
    QXmlStreamWriter xml(&document);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("KorwindInstalledMaps"));
    for (const Entry &entry : entries) {
        xml.writeStartElement(QStringLiteral("Map"));
        xml.writeAttribute(QStringLiteral("file"), entry.fileName);
        xml.writeAttribute(QStringLiteral("size"), QString::number(entry.size));
        xml.writeAttribute(QStringLiteral("sha1"), entry.sha1);
        xml.writeAttribute(QStringLiteral("code"), entry.code);
        xml.writeAttribute(QStringLiteral("major"), QString::number(entry.majorVersion));
        xml.writeAttribute(QStringLiteral("minor"), QString::number(entry.minorVersion));
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return DeviceDocument::write(device, path(device, contentFolder), document);
}

int remove(vktpdl::FileSystem &device, const QString &contentFolder)
{
    return DeviceDocument::remove(device, path(device, contentFolder));
}

QList<Entry> afterJob(const QList<Entry> &before, const QList<MapInfo> &installed, const QStringList &removed)
{
    QList<Entry> entries;
    for (const Entry &entry : before) {
        const bool replaced = std::any_of(installed.cbegin(), installed.cend(), [&](const MapInfo &map) {
            return sameName(map.file.fileName, entry.fileName);
        });
        if (!replaced && !removed.contains(entry.fileName, Qt::CaseInsensitive))
            entries.append(entry);
    }
    for (const MapInfo &map : installed) {
        entries.append({map.file.fileName, map.file.size, QString::fromLatin1(map.file.extraBytes).toLower(),
                        map.code, map.majorVersion, map.minorVersion});
    }
    return entries;
}

void markDamaged(const vktpdl::FileSystem &device, const QList<Entry> &entries, QList<MapInfo> &maps)
{
    for (MapInfo &map : maps) {
        const QString name = device.fileName(map.file.fileName);
        for (const Entry &entry : entries) {
            if (sameName(entry.fileName, name) && entry.code == map.code && entry.majorVersion == map.majorVersion
                && entry.minorVersion == map.minorVersion && entry.size != map.file.size)
                map.isDamaged = true;
        }
    }
}

} // namespace InstalledMapsFile
