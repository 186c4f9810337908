#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

namespace vktcommon {
class ContinueListener;
class ProgressListener;
} // namespace vktcommon

namespace vktpdl {

// A node of an archive's tree: a file entry or a folder of them. Lives as long as its archive.
class ZipNode
{
public:
    virtual ~ZipNode() = default;
    virtual bool isFileNode() const = 0;
    virtual bool isFolderNode() const = 0;
    virtual QString name() const = 0;
    // Uncompressed bytes of the node and everything below it.
    virtual quint32 size() const = 0;
    // Extracts into the destination folder of the PC; returns ARCHIVE_ERROR.
    virtual int extract(const QString &destination, vktcommon::ProgressListener *progress,
                        vktcommon::ContinueListener *cont) = 0;
    virtual QList<ZipNode *> children() const = 0;
    // The node at path (components separated by '/') below this one, or null.
    virtual ZipNode *find(const QString &path) = 0;
};

} // namespace vktpdl
