#pragma once

#include "zipnode.h"

class QIODevice;
struct ZipEntry;

namespace vktpdl {

// One file entry of an archive; owns neither the archive stream nor the entry.
class FileNode final : public ZipNode
{
public:
    FileNode(QIODevice &stream, ZipEntry &entry);

    bool isFileNode() const override;
    bool isFolderNode() const override;
    QString name() const override;
    quint32 size() const override;
    // Writes destination + '/' + name().
    int extract(const QString &destination, vktcommon::ProgressListener *progress,
                vktcommon::ContinueListener *cont) override;
    QList<ZipNode *> children() const override;
    ZipNode *find(const QString &path) override;

    // The entry's whole name within the archive.
    QString fullName() const;

private:
    QIODevice &m_stream;
    ZipEntry &m_entry;
};

} // namespace vktpdl
