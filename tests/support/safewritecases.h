#pragma once

#include "listeners.h"

#include <QString>

namespace vktpdl {
class FileSystem;
}

// The cases of safe writing that every device's file system must pass, as QTest tables and their checks.
// They work in one folder of the device, named by its path on the device and the PC folder that holds it
// (the emulated devices keep their files on the PC's disk); the folder must exist and be empty.
namespace SafeWriteCases {

// Takes an emulated device away in the middle of an operation: makes the file that says so (the emulators'
// "disconnected") once the progress passes percent.
class UnplugAt final : public vktcommon::ProgressListener
{
public:
    UnplugAt(const QString &markerFile, int percent);
    void setProgress(int percent) override;

private:
    QString m_markerFile;
    int m_percent;
};

// putFileChecked of a download to "europe.nm3", with no map there or an old one: the new map ends under
// its name, byte for byte, with nothing beside it.
void addCheckedCopyRows();
void checkCheckedCopy(vktpdl::FileSystem &files, const QString &deviceFolder, const QString &pcFolder);

// putFileChecked that fails over an old "europe.nm3": cancelled, a damaged download, a missing download
// (missingSourceCode: the transport's code for it), or a fault of the test's own that its device makes.
// The old map stays as it was, with nothing beside it.
void addFailedCopyRows(int missingSourceCode);
void checkFailedCopy(vktpdl::FileSystem &files, const QString &deviceFolder, const QString &pcFolder);

// renameFile of "new.part" (holding "new") with nothing, a file or a folder in the way at "europe.nm3".
// A target that holds the separator is a device path of its own, for a test's extra rows.
void addRenameRows();
void checkRename(vktpdl::FileSystem &files, const QString &deviceFolder, const QString &pcFolder);

} // namespace SafeWriteCases
