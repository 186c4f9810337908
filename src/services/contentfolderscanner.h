#pragma once

#include "mapfilesizecache.h"
#include "mapheader.h"

#include "mapinfo.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>

namespace vktpdl {
class FileSystem;
}

namespace vktcommon {

class ContinueListener;
class ProgressListener;

// The identity a content folder keeps in its "KorwindContentInfo.xml".
struct ContentFolderIdentity
{
    QString version;
    QString uid;
};

// The maps installed in one content folder.
struct MapInventory
{
    QString mapsPath;
    QList<MapInfo> maps;
};

// Finds the KorwindContent folders on a device's storage roots, gives each an identity, lists
// its maps and measures and deletes the other files kept under its "Maps" folder.
class ContentFolderScanner
{
public:
    // Fills the list with the device's storage roots; returns a DEVICE_ERROR code.
    using RootLister = std::function<int(QStringList &roots)>;

    // pathFlags is the device's: its lowest bit set means map headers cannot be read there.
    ContentFolderScanner(vktpdl::FileSystem *device, RootLister listRoots, int pathFlags);

    int count() const;
    // Empty when the index is out of range.
    QString path(int index) const;

    int search(ProgressListener *progress, ContinueListener *cont);
    // The folder that holds the content folder, e.g. the card's root.
    QString storageRootOf(int index) const;

    // Reads the folder's identity; a missing, damaged or foreign file gets a new identity.
    int readInfo(int index, ContentFolderIdentity &identity);
    // Writes a new identity file with a fresh UID.
    int createInfo(int index, ContentFolderIdentity &identity);
    // Creates KorwindContent and its "Maps" on every storage root.
    int createStructure();

    int mapsFolder(int index, QString &mapsPath);
    // languageName chooses the texts of the headers ("ru_RU"); creates "Maps" when it is missing.
    int listMaps(int index, const QString &languageName, ProgressListener *progress, ContinueListener *cont,
                 MapInventory &inventory);
    bool isReadOnly(int index);

    // Every file under "Maps", recursively, except the map files.
    int listOtherFiles(int index, QStringList &paths);
    int cacheOtherFileSizes(int index, ProgressListener *progress, ContinueListener *cont);
    int otherFilesSize(int index, quint64 &size);
    // Deletes the other files, then the sub-folders of "Maps" left empty; "Maps" itself stays.
    int deleteOtherFiles(int index, ProgressListener *progress, ContinueListener *cont);

private:
    bool validIndex(int index) const;
    int writeInfo(const QString &path, ContentFolderIdentity &identity);
    // installedText: the description of a map whose header could be read.
    bool readHeader(const QString &path, QByteArray &start, qint64 size, const QString &languageName,
                    MapHeader &header);
    int readMapFile(const QString &mapsPath, const QString &fileName, const QString &languageName,
                    const QString &installedText, MapInfo &map);
    int listFilesRecursively(const QString &folder, QStringList &paths);
    void removeEmptySubFolders(const QString &folder);

    vktpdl::FileSystem *m_device;
    RootLister m_listRoots;
    int m_pathFlags;
    QStringList m_contentFolders;
    MapFileSizeCache m_sizeCache;
};

// Whether the text after the last "." is "NM3", ignoring case; a name without "." is no map file.
bool hasNm3Extension(const QString &name);

// A folder is empty when it lists neither files nor folders.
bool isFolderEmpty(vktpdl::FileSystem *device, const QString &folder);

} // namespace vktcommon
