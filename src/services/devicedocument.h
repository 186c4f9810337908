#pragma once

#include <QByteArray>
#include <QString>

namespace vktpdl {
class FileSystem;
}

// The small documents the program keeps on a device (the record of a running update, the record of the
// maps it installed): written whole or not at all, read with a size limit. Results are DEVICE_ERROR codes.
namespace DeviceDocument {

// Through a private file of the PC and a checked copy: under a temporary name, flushed, read back, renamed.
int write(vktpdl::FileSystem &device, const QString &path, const QByteArray &document);
// A missing file reads as an empty document.
int read(vktpdl::FileSystem &device, const QString &path, QByteArray &document);
// Deletes the file and flushes its folder.
int remove(vktpdl::FileSystem &device, const QString &path);

} // namespace DeviceDocument
