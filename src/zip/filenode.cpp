#include "filenode.h"

#include "archiveerror.h"
#include "zipentry.h"

namespace vktpdl {

FileNode::FileNode(QIODevice &stream, ZipEntry &entry) : m_stream(stream), m_entry(entry)
{
}

bool FileNode::isFileNode() const
{
    return true;
}

bool FileNode::isFolderNode() const
{
    return false;
}

QString FileNode::name() const
{
    return m_entry.remainingName;
}

quint32 FileNode::size() const
{
    return m_entry.uncompressedSize;
}

int FileNode::extract(const QString &destination, vktcommon::ProgressListener *progress,
                      vktcommon::ContinueListener *cont)
{
    const int result = m_entry.locate(m_stream);
    if (result != AE_NO_ERROR)
        return result;
    return m_entry.extractTo(destination, progress, cont, m_stream);
}

QList<ZipNode *> FileNode::children() const
{
    return {};
}

ZipNode *FileNode::find(const QString &)
{
    return nullptr;
}

QString FileNode::fullName() const
{
    return m_entry.fullName;
}

} // namespace vktpdl
