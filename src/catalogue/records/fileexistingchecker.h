#pragma once

#include <QMetaType>
#include <QString>

// Answers whether a path typed by the user names a file on the selected device.
class FileExistingChecker
{
public:
    virtual ~FileExistingChecker() = default;
    virtual bool fileExists(const QString &path) = 0;
};

Q_DECLARE_METATYPE(FileExistingChecker *)
