#pragma once

#include <QString>
#include <QTemporaryFile>

// A file written aside in its folder and given its name in one rename: the old content stays until the
// new one is whole on the disk, and a symbolic link standing at the name is replaced, never written through.
namespace vktcommon {

class ReplacingFile
{
public:
    explicit ReplacingFile(const QString &filePath);

    // Creates the file aside, readable and writable only by this user.
    bool open();
    QIODevice *device() { return &m_file; }
    // Puts what was written on the disk and under the name; false leaves the name as it was.
    bool commit();

private:
    QString m_filePath;
    QTemporaryFile m_file;
};

} // namespace vktcommon
