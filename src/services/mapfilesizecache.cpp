#include "mapfilesizecache.h"

#include "filesystem.h"

namespace vktcommon {

MapFileSizeCache::MapFileSizeCache(vktpdl::FileSystem *device) : m_device(device) {}

void MapFileSizeCache::clear()
{
    m_sizes.clear();
}

int MapFileSizeCache::measure(const QString &path)
{
    if (!m_device->isFile(path))
        return vktpdl::DE_NO_ERROR;
    qint64 size = 0;
    const int result = m_device->fileSize(path, size);
    if (result != vktpdl::DE_NO_ERROR)
        return result;
    m_sizes.insert(path, quint64(qMax<qint64>(size, 0)));
    return vktpdl::DE_NO_ERROR;
}

int MapFileSizeCache::sizeOf(const QString &path, quint64 &size)
{
    if (!m_sizes.contains(path)) {
        const int result = measure(path);
        if (result != vktpdl::DE_NO_ERROR)
            return result;
    }
    size = m_sizes.value(path, 0);
    return vktpdl::DE_NO_ERROR;
}

} // namespace vktcommon
