#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

class QIODevice;

namespace vktcommon {

// A version condition a map sets on another package.
struct MapCondition
{
    QString packageName;
    QString op; // ">=", ">", "<=", "<", "!=", "=", or empty for an unknown operator code
    quint32 first = 0;
    quint32 second = 0;
};

// What the header of an NM3 map file says about the map.
struct MapHeader
{
    quint32 firstVersion = 0;
    quint32 secondVersion = 0;
    QString packageCode;
    QString title;       // in the chosen language
    QString versionText; // in the chosen language
    QList<MapCondition> conditions;
};

// The header reader's first read: the fixed part, and in most files the entry table and the data too.
constexpr qsizetype mapHeaderFirstRead = 4096;

// Reads the header of the open map file, with texts chosen for the locale name (e.g. "ru_RU").
// False when the file is not a map file of a known header version or ends inside the header.
bool readMapHeader(const QString &languageName, QIODevice *file, MapHeader &header);
// The same for a file whose size the caller knows already. The header is read in as few reads as it
// allows (one in most files), so an unbuffered file is the fastest to read it from.
bool readMapHeader(const QString &languageName, QIODevice *file, qint64 fileSize, MapHeader &header);

} // namespace vktcommon
