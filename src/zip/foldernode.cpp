#include "foldernode.h"

#include "archiveerror.h"
#include "filenode.h"
#include "nofollow.h"
#include "partialprogresslistener.h"
#include "zipentry.h"

#include <QDir>
#include <QMap>

namespace vktpdl {

FolderNode::FolderNode(const QString &name, const QList<ZipEntry *> &entries, QIODevice &stream)
    : m_name(name)
{
    QMap<QString, QList<ZipEntry *>> groups;
    for (ZipEntry *entry : entries) {
        if (entry->remainingName.isEmpty())
            continue;
        const qsizetype slash = entry->remainingName.indexOf(QLatin1Char('/'));
        if (slash < 0) {
            m_children.push_back(std::make_unique<FileNode>(stream, *entry));
            continue;
        }
        const QString group = entry->remainingName.left(slash);
        entry->remainingName.remove(0, slash + 1);
        groups[group].append(entry);
    }
    for (auto group = groups.cbegin(); group != groups.cend(); ++group)
        m_children.push_back(std::make_unique<FolderNode>(group.key(), group.value(), stream));
}

FolderNode::~FolderNode() = default;

bool FolderNode::isFileNode() const
{
    return false;
}

bool FolderNode::isFolderNode() const
{
    return true;
}

QString FolderNode::name() const
{
    return m_name;
}

quint32 FolderNode::size() const
{
    quint32 sum = 0;
    for (const auto &child : m_children)
        sum += child->size();
    return sum;
}

int FolderNode::extract(const QString &destination, vktcommon::ProgressListener *progress,
                        vktcommon::ContinueListener *cont)
{
    // Summed in 64 bits so that a tree past 4 GiB neither wraps nor divides by zero.
    qint64 total = 1;
    for (const auto &child : m_children)
        total += child->size();
    qint64 done = 0;
    vktcommon::PartialProgressListener partial(progress);
    for (const auto &child : m_children) {
        const qint64 childSize = child->size();
        partial.setRange(static_cast<int>(done * 100 / total), static_cast<int>((done + childSize) * 100 / total));
        const QString target = child->isFolderNode() ? destination + QLatin1Char('/') + child->name() : destination;
        // A symbolic link in the folder's place is never entered. An existing folder is normal, and other
        // failures show when the files are written.
        if (vktcommon::isSymbolicLink(target))
            return AE_CANNOT_CREATE_DIRECTORY;
        QDir().mkdir(target);
        const int result = child->extract(target, &partial, cont);
        if (result != AE_NO_ERROR)
            return result;
        done += childSize;
    }
    return AE_NO_ERROR;
}

QList<ZipNode *> FolderNode::children() const
{
    QList<ZipNode *> nodes;
    nodes.reserve(static_cast<qsizetype>(m_children.size()));
    for (const auto &child : m_children)
        nodes.append(child.get());
    return nodes;
}

ZipNode *FolderNode::find(const QString &path)
{
    if (path.isEmpty())
        return this;
    const qsizetype slash = path.indexOf(QLatin1Char('/'));
    const QString head = slash < 0 ? path : path.left(slash);
    const QString rest = slash < 0 ? QString() : path.mid(slash + 1);
    for (const auto &child : m_children) {
        if (child->name() != head)
            continue;
        return rest.isEmpty() ? child.get() : child->find(rest);
    }
    return nullptr;
}

} // namespace vktpdl
