#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

// The downloadable file of a package.
struct PackageFile
{
    QString fileName;     // name under which the file is stored
    quint64 size = 0;
    QString extraText;    // the file's identifier on the update server
    QByteArray extraBytes; // SHA-1 of the whole file, 40 lower-case hex digits
    QUrl url;
};
