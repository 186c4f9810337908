// Feeds arbitrary bytes to the map package list parser. An accepted list must survive being written
// out and read again unchanged, and the resolver built over it must give a consistent answer.
#include "packagelistparser.h"
#include "packageresolver.h"

#include <cstdlib>

namespace {

QByteArray relationLines(const char *kind, const QList<PackageRelation> &relations)
{
    QByteArray lines;
    for (const PackageRelation &relation : relations) {
        lines += QByteArray(kind) + ',' + relation.code.toUtf8();
        if (!relation.op.isEmpty())
            lines += " (" + relation.op.toUtf8() + ' ' + QByteArray::number(relation.majorVersion) + '.'
                     + QByteArray::number(relation.minorVersion) + ')';
        lines += '\n';
    }
    return lines;
}

QByteArray written(const QList<MapInfo> &maps)
{
    QByteArray text;
    for (const MapInfo &map : maps) {
        text += map.name.toUtf8() + '\n' + map.code.toUtf8() + '\n' + map.description.toUtf8() + '\n'
                + map.version.toUtf8() + '\n' + QByteArray::number(map.majorVersion) + '.'
                + QByteArray::number(map.minorVersion) + '\n' + map.mapText.toUtf8() + '\n'
                + map.file.fileName.toUtf8() + ',' + QByteArray::number(map.file.size) + ','
                + map.file.extraText.toUtf8() + ',' + map.file.extraBytes + ',' + map.file.url.toEncoded() + '\n';
        text += relationLines("depends", map.depends) + relationLines("conflicts", map.conflicts)
                + relationLines("replaces", map.replaces) + '\n';
    }
    return text + "DATAEND";
}

bool sameRelations(const QList<PackageRelation> &a, const QList<PackageRelation> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].code != b[i].code || a[i].op != b[i].op || a[i].majorVersion != b[i].majorVersion
            || a[i].minorVersion != b[i].minorVersion)
            return false;
    }
    return true;
}

bool same(const MapInfo &a, const MapInfo &b)
{
    return a.name == b.name && a.code == b.code && a.description == b.description && a.version == b.version
           && a.majorVersion == b.majorVersion && a.minorVersion == b.minorVersion && a.mapText == b.mapText
           && a.file.fileName == b.file.fileName && a.file.size == b.file.size && a.file.extraText == b.file.extraText
           && a.file.extraBytes == b.file.extraBytes && sameRelations(a.depends, b.depends)
           && sameRelations(a.conflicts, b.conflicts) && sameRelations(a.replaces, b.replaces);
}

void require(bool condition)
{
    if (!condition)
        abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<MapInfo> maps;
    if (!parseMapPackageList(text, maps)) {
        require(maps.isEmpty());
        return 0;
    }

    QList<MapInfo> again;
    require(parseMapPackageList(written(maps), again));
    require(again.size() == maps.size());
    for (qsizetype i = 0; i < maps.size(); ++i)
        require(same(maps[i], again[i]));

    if (maps.isEmpty())
        return 0;
    // The same records stand for both lists; the choice comes from the input's bytes.
    PackageResolver resolver(maps, maps);
    IndexSet installChoice;
    IndexSet removeChoice;
    for (size_t i = 0; i < size && i < 16; ++i)
        (data[i] & 1 ? installChoice : removeChoice).insert(int(data[i] % maps.size()));
    IndexSet install, remove, implied, deleted;
    if (resolver.resolve(installChoice, removeChoice, install, remove, implied, deleted)) {
        for (const int index : install)
            require(remove.count(index) == 0);
        require(resolver.errorText().isEmpty());
    } else {
        require(install.empty() && remove.empty() && implied.empty() && deleted.empty());
        require(!resolver.errorText().isEmpty());
    }
    return 0;
}
