#pragma once

#include "updatejobrecord.h"

#include <QString>

namespace vktpdl {
class FileSystem;
}

// The record of a running update, "KorwindUpdateJob.xml" in a content folder (docs/safe-installation.md).
// Results are DEVICE_ERROR codes.
namespace UpdateJobFile {

QString path(const vktpdl::FileSystem &device, const QString &contentFolder);
// found is false when the folder keeps no record; a record that cannot be read is 6.
int read(vktpdl::FileSystem &device, const QString &contentFolder, UpdateJobRecord &record, bool &found);
int write(vktpdl::FileSystem &device, const QString &contentFolder, const UpdateJobRecord &record);
int remove(vktpdl::FileSystem &device, const QString &contentFolder);

// The XML document itself, for the tests of its form.
QByteArray toDocument(const UpdateJobRecord &record);
bool fromDocument(const QByteArray &document, UpdateJobRecord &record);

} // namespace UpdateJobFile
