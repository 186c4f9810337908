#pragma once

#include "zipnode.h"

#include <memory>
#include <vector>

class QIODevice;
struct ZipEntry;

namespace vktpdl {

// A folder of an archive's tree. Its files come first, in central-directory order, then its
// subfolders in ascending order of their names; it owns them all.
class FolderNode final : public ZipNode
{
public:
    // Builds the level from entries whose remaining names are relative to it, stripping one
    // leading component from each; entries with an empty remaining name (folders) are skipped.
    FolderNode(const QString &name, const QList<ZipEntry *> &entries, QIODevice &stream);
    ~FolderNode() override;

    bool isFileNode() const override;
    bool isFolderNode() const override;
    QString name() const override;
    quint32 size() const override;
    // Files land in destination itself, each subfolder in destination + '/' + its name.
    int extract(const QString &destination, vktcommon::ProgressListener *progress,
                vktcommon::ContinueListener *cont) override;
    QList<ZipNode *> children() const override;
    ZipNode *find(const QString &path) override;

private:
    QString m_name;
    std::vector<std::unique_ptr<ZipNode>> m_children;
};

} // namespace vktpdl
