#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QVector>

// The folder the stand-in serves (layout in README.md). It is read afresh for every question, so a
// test or the demo may change it while the server runs; file digests are cached by size and time.
class Catalogue
{
public:
    // One block of selfupdate.txt or navigators.txt.
    struct Package
    {
        QString name;
        QString description;
        QString version;
        QString file;
        QString typefile;
        QStringList deviceNames;
        QStringList checksums;
    };

    Catalogue(const QString &folder, const QString &publicUrl);

    QString folder() const { return m_folder; }

    // False with an error when the file exists but cannot be read or is malformed.
    bool selfUpdate(Package &package, bool &offered, QString &error) const;
    bool navigatorPackages(QList<Package> &packages, QString &error) const;
    // The map list for a navigator version (maps/<version>.txt, else maps/default.txt) with its
    // "@file NAME" lines expanded; found is false when neither exists.
    bool mapList(const QString &navigatorVersion, QByteArray &list, bool &found, QString &error) const;

    // "name,size,identifier,SHA-1,URL" of a file in files/.
    bool fileLine(const QString &fileName, QByteArray &line, QString &error) const;
    // The path of files/<name>, or empty when the name is not one plain name or the file is missing.
    QString filePath(const QString &name) const;
    // SHA-1 texts of the blocks of a file; blockSize 0 gives the digest of the whole file.
    QVector<QByteArray> digests(const QString &path, quint64 blockSize) const;

private:
    bool readPackages(const QString &fileName, QList<Package> &packages, bool &exists, QString &error) const;

    QString m_folder;
    QString m_publicUrl;
    mutable QMutex m_cacheMutex;
    mutable QHash<QString, QVector<QByteArray>> m_digestCache;
};
