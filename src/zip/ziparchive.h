#pragma once

#include "foldernode.h"
#include "zipentry.h"

#include <QFile>
#include <QString>

#include <memory>
#include <vector>

// Reads a zip archive (stored and deflated entries): its central directory becomes entry records
// and a tree of nodes that extract themselves. Operations return ARCHIVE_ERROR; used by one thread
// at a time, and its entries are extracted one after the other (they share one stream).
class ZipArchive
{
public:
    ZipArchive();
    ~ZipArchive();
    ZipArchive(const ZipArchive &) = delete;
    ZipArchive &operator=(const ZipArchive &) = delete;

    // Closes what was open, then reads the archive file; size is the file's length in bytes.
    int open(const QString &path, qint64 size);
    // The same over an archive already open in device (for example in memory); device is not owned
    // and must outlive the archive's use.
    int open(QIODevice *device);
    // The tree's root (empty name), valid until close; null while closed or after a failed open.
    vktpdl::FolderNode *root() const;
    void close();

private:
    int readDirectory();
    int readCentralHeader();

    quint16 m_entryCount = 0;
    qint64 m_archiveSize = 0;
    qint64 m_endRecordDistance = 0;    // from the end record to the end of the file
    quint32 m_centralDirectoryOffset = 0;
    QFile m_file;
    QIODevice *m_stream = nullptr;     // m_file, or the device handed to open
    std::vector<ZipEntry> m_entries;   // central-directory order; the tree points into it
    std::unique_ptr<vktpdl::FolderNode> m_root;
};
