#pragma once

#include <QByteArray>
#include <QCryptographicHash>
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

// "/" and the path below folder -> SHA-1 (hexadecimal) of every file below it, hidden ones included: what
// a device holds, compared with what it should hold.
inline QMap<QString, QByteArray> fileDigestsBelow(const QString &folder)
{
    QMap<QString, QByteArray> digests;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        const QByteArray content = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
        digests.insert(path.mid(folder.size()), QCryptographicHash::hash(content, QCryptographicHash::Sha1).toHex());
    }
    return digests;
}
