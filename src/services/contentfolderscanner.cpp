#include "contentfolderscanner.h"

#include "devicedocument.h"
#include "filesystem.h"
#include "installedmapsfile.h"
#include "listeners.h"
#include "mapheader.h"

#include <QCoreApplication>
#include <QBuffer>
#include <QIODevice>
#include <QUuid>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <memory>
#include <utility>

using vktpdl::DE_CANCELLED;
using vktpdl::DE_NO_ERROR;
using vktpdl::DE_NOT_SUPPORTED;
using vktpdl::DE_TRANSPORT_ERROR;
using vktpdl::DE_WRONG_REPLY;

namespace vktcommon {

namespace {

const QString contentFolderName = QStringLiteral("KorwindContent");
const QString mapsFolderName = QStringLiteral("Maps");
const QString infoFileName = QStringLiteral("KorwindContentInfo.xml");
const QString identityVersion = QStringLiteral("1");

// An identity file is a few hundred bytes; anything far larger is not ours.
constexpr qint64 infoFileLimit = 64 * 1024;

// Opens the file through the device; DE_WRONG_REPLY when it cannot be opened in mode.
int openDeviceFile(vktpdl::FileSystem *device, const QString &path, QIODevice::OpenMode mode,
                   std::unique_ptr<QIODevice> &file)
{
    QIODevice *opened = nullptr;
    const int result = device->openFile(path, opened);
    file.reset(opened);
    if (result != DE_NO_ERROR)
        return result;
    if (!file || !file->open(mode))
        return DE_WRONG_REPLY;
    return DE_NO_ERROR;
}

// The next start element must be called name; its text is read into text.
bool readTextElement(QXmlStreamReader &xml, const QString &name, QString &text)
{
    if (!xml.readNextStartElement() || xml.name() != name)
        return false;
    text = xml.readElementText();
    return !xml.hasError();
}

bool parseIdentity(const QByteArray &document, ContentFolderIdentity &identity)
{
    QXmlStreamReader xml(document);
    ContentFolderIdentity read;
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("KorwindContentInfo"))
        return false;
    if (!readTextElement(xml, QStringLiteral("Version"), read.version) || read.version != identityVersion)
        return false;
    if (!readTextElement(xml, QStringLiteral("UID"), read.uid) || read.uid.isEmpty())
        return false;
    identity = read;
    return true;
}

} // namespace

bool hasNm3Extension(const QString &name)
{
    // The same as comparing the text after the last '.' with "NM3".
    return name.endsWith(QLatin1String(".NM3"), Qt::CaseInsensitive);
}

bool isFolderEmpty(vktpdl::FileSystem *device, const QString &folder)
{
    QStringList entries;
    device->listFiles(folder, QStringLiteral("*"), entries);
    device->listFolders(folder, QStringLiteral("*"), entries);
    return entries.isEmpty();
}

ContentFolderScanner::ContentFolderScanner(vktpdl::FileSystem *device, RootLister listRoots, int pathFlags)
    : m_device(device), m_listRoots(std::move(listRoots)), m_pathFlags(pathFlags), m_sizeCache(device)
{
}

int ContentFolderScanner::count() const
{
    return int(m_contentFolders.size());
}

QString ContentFolderScanner::path(int index) const
{
    return validIndex(index) ? m_contentFolders.at(index) : QString();
}

bool ContentFolderScanner::validIndex(int index) const
{
    return index >= 0 && index < m_contentFolders.size();
}

int ContentFolderScanner::search(ProgressListener *progress, ContinueListener *cont)
{
    m_contentFolders.clear();
    m_sizeCache.clear();
    vktcommon::reportProgress(progress, 0);
    QStringList roots;
    int result = m_listRoots ? m_listRoots(roots) : DE_TRANSPORT_ERROR;
    if (result != DE_NO_ERROR)
        return result;
    if (!roots.isEmpty()) {
        vktcommon::reportProgress(progress, 10);
        const float step = 90.0f / float(roots.size());
        float done = 10.0f;
        for (const QString &root : roots) {
            if (vktcommon::stopRequested(cont)) {
                m_contentFolders.clear();
                return DE_CANCELLED;
            }
            QStringList names;
            result = m_device->listFolders(root, contentFolderName, names);
            if (result != DE_NO_ERROR) {
                m_contentFolders.clear();
                return result;
            }
            for (const QString &name : names)
                m_contentFolders.append(m_device->joinPath(root, name));
            done += step;
            vktcommon::reportProgress(progress, int(done));
        }
    }
    vktcommon::reportProgress(progress, 100);
    return DE_NO_ERROR;
}

QString ContentFolderScanner::storageRootOf(int index) const
{
    const QString folder = path(index);
    if (!folder.contains(contentFolderName, Qt::CaseInsensitive))
        return folder;
    const QString root = m_device->parentPath(folder);
    // A content folder right under "/" or "\" lives on that root, not on an empty one.
    return root.isEmpty() && folder.startsWith(m_device->separator()) ? QString(m_device->separator()) : root;
}

int ContentFolderScanner::readInfo(int index, ContentFolderIdentity &identity)
{
    if (!validIndex(index))
        return DE_NOT_SUPPORTED;
    const QString folder = m_contentFolders.at(index);
    QStringList names;
    m_device->listFiles(folder, infoFileName, names);
    if (names.isEmpty())
        return createInfo(index, identity);

    // The name as the file system spells it, so that a rewrite replaces this very file.
    const QString infoPath = m_device->joinPath(folder, names.first());
    std::unique_ptr<QIODevice> file;
    const int result = openDeviceFile(m_device, infoPath, QIODevice::ReadOnly, file);
    if (result != DE_NO_ERROR)
        return result;
    const QByteArray document = file->read(infoFileLimit + 1);
    file.reset();
    if (document.size() <= infoFileLimit && parseIdentity(document, identity))
        return DE_NO_ERROR;
    return writeInfo(infoPath, identity);
}

int ContentFolderScanner::createInfo(int index, ContentFolderIdentity &identity)
{
    if (!validIndex(index))
        return DE_NOT_SUPPORTED;
    return writeInfo(m_device->joinPath(m_contentFolders.at(index), infoFileName), identity);
}

int ContentFolderScanner::writeInfo(const QString &path, ContentFolderIdentity &identity)
{
    ContentFolderIdentity created;
    created.version = identityVersion;
    created.uid = QUuid::createUuid().toString(QUuid::WithBraces);

    QByteArray document;
    QXmlStreamWriter xml(&document);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("KorwindContentInfo"));
    xml.writeTextElement(QStringLiteral("Version"), created.version);
    xml.writeTextElement(QStringLiteral("UID"), created.uid);
    xml.writeEndDocument();
    // Whole or not at all: an identity that did not reach the device must not be handed out.
    const int result = DeviceDocument::write(*m_device, path, document);
    if (result != DE_NO_ERROR)
        return result;
    identity = created;
    return DE_NO_ERROR;
}

int ContentFolderScanner::createStructure()
{
    QStringList roots;
    int result = m_listRoots ? m_listRoots(roots) : DE_TRANSPORT_ERROR;
    if (result != DE_NO_ERROR)
        return result;
    // One write-protected card must not keep the folders off the others.
    int firstError = DE_NO_ERROR;
    for (const QString &root : roots) {
        const QString content = m_device->joinPath(root, contentFolderName);
        result = m_device->createDirectory(content);
        if (result == DE_NO_ERROR)
            result = m_device->createDirectory(m_device->joinPath(content, mapsFolderName));
        if (firstError == DE_NO_ERROR)
            firstError = result;
    }
    return firstError;
}

int ContentFolderScanner::mapsFolder(int index, QString &mapsPath)
{
    if (!validIndex(index))
        return DE_NOT_SUPPORTED;
    const QString folder = m_contentFolders.at(index);
    QStringList names;
    const int result = m_device->listFolders(folder, mapsFolderName, names);
    if (result != DE_NO_ERROR)
        return result;
    if (names.size() != 1)
        return DE_NOT_SUPPORTED;
    mapsPath = m_device->joinPath(folder, names.first());
    return DE_NO_ERROR;
}

int ContentFolderScanner::listMaps(int index, const QString &languageName, ProgressListener *progress,
                                   ContinueListener *cont, MapInventory &inventory)
{
    if (!validIndex(index))
        return DE_NOT_SUPPORTED;
    const QString folder = m_contentFolders.at(index);
    if (folder.isEmpty())
        return DE_TRANSPORT_ERROR;
    inventory.maps.clear();
    vktcommon::reportProgress(progress, 0);

    QStringList mapsNames;
    int result = m_device->listFolders(folder, mapsFolderName, mapsNames);
    if (result != DE_NO_ERROR)
        return result;
    if (mapsNames.isEmpty()) {
        result = m_device->createFolder(folder, mapsFolderName);
        if (result != DE_NO_ERROR)
            return result;
        mapsNames.append(mapsFolderName);
    }
    inventory.mapsPath = m_device->joinPath(folder, mapsNames.first());

    QStringList files;
    result = m_device->listFiles(inventory.mapsPath, QStringLiteral("*.NM3"), files);
    if (result != DE_NO_ERROR)
        return result;
    const float step = files.isEmpty() ? 0.0f : 100.0f / float(files.size());
    float done = 0.0f;
    const QString installed = QCoreApplication::translate("ContentFolderScanner", "This map is already installed");
    QList<MapInfo> maps;
    maps.reserve(files.size());
    for (const QString &fileName : files) {
        if (vktcommon::stopRequested(cont))
            return DE_CANCELLED;
        // Some file systems match "*.NM3" against longer extensions too; those are other files.
        if (hasNm3Extension(fileName)) {
            MapInfo map;
            result = readMapFile(inventory.mapsPath, fileName, languageName, installed, map);
            if (result != DE_NO_ERROR)
                return result;
            maps.append(std::move(map));
        }
        done += step;
        vktcommon::reportProgress(progress, int(done));
    }
    // A map that no longer has the size it was installed with was cut short or damaged since.
    InstalledMapsFile::markDamaged(*m_device, InstalledMapsFile::read(*m_device, folder), maps);
    inventory.maps = maps;
    vktcommon::reportProgress(progress, 100);
    return DE_NO_ERROR;
}

bool ContentFolderScanner::readHeader(const QString &path, QByteArray &start, qint64 size,
                                      const QString &languageName, MapHeader &header)
{
    QBuffer first(&start);
    first.open(QIODevice::ReadOnly);
    if (readMapHeader(languageName, &first, size, header))
        return true;
    if (start.size() >= size)
        return false;
    // A header whose data lies beyond the first read: the file is read as the header asks.
    std::unique_ptr<QIODevice> file;
    return openDeviceFile(m_device, path, QIODevice::ReadOnly | QIODevice::Unbuffered, file) == DE_NO_ERROR
           && readMapHeader(languageName, file.get(), size, header);
}

int ContentFolderScanner::readMapFile(const QString &mapsPath, const QString &fileName,
                                      const QString &languageName, const QString &installedText, MapInfo &map)
{
    const QString fullPath = m_device->joinPath(mapsPath, fileName);
    // The start of the file and its size in one go: on a PC's disk that is one open, one status
    // query and one read, which a card of many maps feels.
    const bool readsHeader = (m_pathFlags & 1) == 0;
    QByteArray start;
    qint64 size = 0;
    const int result = m_device->readFileStart(fullPath, readsHeader ? mapHeaderFirstRead : 0, start, size);
    if (result != DE_NO_ERROR)
        return result;
    size = qMax<qint64>(size, 0);
    map.file.fileName = fullPath;
    map.file.size = quint64(size);
    map.kind = ProductInfo::InstalledMap;

    MapHeader header;
    if (readsHeader && readHeader(fullPath, start, size, languageName, header)) {
        map.code = header.packageCode;
        map.majorVersion = qint32(header.firstVersion);
        map.minorVersion = qint32(header.secondVersion);
        map.name = header.title;
        map.version = header.versionText;
        map.conflicts.reserve(header.conditions.size());
        for (const MapCondition &condition : header.conditions)
            map.conflicts.append({condition.packageName, condition.op, qint32(condition.first),
                                  qint32(condition.second)});
        map.description = installedText;
        return DE_NO_ERROR;
    }
    map.name = fileName;
    return DE_NO_ERROR;
}

bool ContentFolderScanner::isReadOnly(int index)
{
    return validIndex(index) && m_device->isReadOnly(m_contentFolders.at(index));
}

int ContentFolderScanner::listOtherFiles(int index, QStringList &paths)
{
    QString mapsPath;
    int result = mapsFolder(index, mapsPath);
    if (result != DE_NO_ERROR)
        return result;
    QStringList all;
    result = listFilesRecursively(mapsPath, all);
    if (result != DE_NO_ERROR)
        return result;
    for (const QString &file : all) {
        if (!hasNm3Extension(m_device->fileName(file)))
            paths.append(file);
    }
    return DE_NO_ERROR;
}

int ContentFolderScanner::listFilesRecursively(const QString &folder, QStringList &paths)
{
    QStringList files;
    int result = m_device->listFiles(folder, QStringLiteral("*"), files);
    if (result != DE_NO_ERROR)
        return result;
    for (const QString &name : files)
        paths.append(m_device->joinPath(folder, name));
    QStringList folders;
    result = m_device->listFolders(folder, QStringLiteral("*"), folders);
    if (result != DE_NO_ERROR)
        return result;
    for (const QString &name : folders) {
        result = listFilesRecursively(m_device->joinPath(folder, name), paths);
        if (result != DE_NO_ERROR)
            return result;
    }
    return DE_NO_ERROR;
}

int ContentFolderScanner::cacheOtherFileSizes(int index, ProgressListener *progress, ContinueListener *cont)
{
    QStringList files;
    int result = listOtherFiles(index, files);
    if (result != DE_NO_ERROR)
        return result;
    for (int k = 0; k < files.size(); ++k) {
        if (vktcommon::stopRequested(cont))
            return DE_CANCELLED;
        vktcommon::reportProgress(progress, k * 100 / int(files.size()));
        result = m_sizeCache.measure(files.at(k));
        if (result != DE_NO_ERROR)
            return result;
    }
    return DE_NO_ERROR;
}

int ContentFolderScanner::otherFilesSize(int index, quint64 &size)
{
    size = 0;
    QStringList files;
    int result = listOtherFiles(index, files);
    if (result != DE_NO_ERROR)
        return result;
    quint64 total = 0;
    for (const QString &file : files) {
        quint64 fileSize = 0;
        result = m_sizeCache.sizeOf(file, fileSize);
        if (result != DE_NO_ERROR)
            return result;
        total += fileSize;
    }
    size = total;
    return DE_NO_ERROR;
}

int ContentFolderScanner::deleteOtherFiles(int index, ProgressListener *progress, ContinueListener *cont)
{
    QString mapsPath;
    int result = mapsFolder(index, mapsPath);
    if (result != DE_NO_ERROR)
        return result;
    QStringList files;
    result = listOtherFiles(index, files);
    if (result != DE_NO_ERROR)
        return result;
    for (int k = 0; k < files.size(); ++k) {
        vktcommon::reportProgress(progress, k * 100 / int(files.size()));
        if (vktcommon::stopRequested(cont))
            return DE_CANCELLED;
        result = m_device->deleteFile(files.at(k));
        if (result != DE_NO_ERROR)
            return result;
    }
    removeEmptySubFolders(mapsPath);
    return DE_NO_ERROR;
}

void ContentFolderScanner::removeEmptySubFolders(const QString &folder)
{
    QStringList names;
    m_device->listFolders(folder, QStringLiteral("*"), names);
    for (const QString &name : names) {
        const QString child = m_device->joinPath(folder, name);
        removeEmptySubFolders(child);
        if (isFolderEmpty(m_device, child))
            m_device->removeDirectory(child, false);
    }
}

} // namespace vktcommon
