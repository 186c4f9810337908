#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QString>

// Relative path -> content of every entry below folder, hidden ones included; folders end with '/' and
// have no content. Comparing two snapshots shows whether anything below the folder changed.
inline QMap<QString, QByteArray> folderSnapshot(const QString &folder)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(folder).relativeFilePath(path);
        if (it.fileInfo().isDir()) {
            entries.insert(relative + QLatin1Char('/'), QByteArray());
            continue;
        }
        QFile file(path);
        entries.insert(relative, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>"));
    }
    return entries;
}
