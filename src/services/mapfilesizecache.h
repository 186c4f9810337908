#pragma once

#include <QHash>
#include <QString>
#include <QtGlobal>

namespace vktpdl {
class FileSystem;
}

namespace vktcommon {

// Sizes of files on one device by full path, so that repeated questions about the space the old
// map data takes need not measure every file again.
class MapFileSizeCache
{
public:
    explicit MapFileSizeCache(vktpdl::FileSystem *device);

    void clear();
    // Measures the path and stores its size, replacing an older value; a path that is not a file
    // is left out.
    int measure(const QString &path);
    // The cached size, measured first when the path is not cached yet; 0 for a path that is not a file.
    int sizeOf(const QString &path, quint64 &size);

private:
    vktpdl::FileSystem *m_device;
    QHash<QString, quint64> m_sizes;
};

} // namespace vktcommon
