#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

// Forges NM3 map files for tests, the demo catalogue and the stand-in server. Every field can be
// set, wrong magic and impossible counts included, so that readers can be tried on broken files.

struct MapFileText
{
    quint16 language = 1033;
    QByteArray utf8; // written scrambled; need not be valid UTF-8
};

struct MapFileCondition
{
    QByteArray packageName;
    quint8 op = 1; // 1 ">=", 2 ">", 3 "<=", 4 "<", 5 "!=", 6 "="; other values are unknown operators
    quint32 first = 0;
    quint32 second = 0;
};

struct MapFileRecipe
{
    QByteArray magic = "GNM3";
    quint32 headerVersion = 2;
    QByteArray indexMagic = "NIDX";
    quint32 indexId = 0;
    quint32 entryCount = 0;
    bool explicitTableBase = false;
    quint32 tableBase = 0; // used when explicitTableBase; otherwise the base that points past the entry table
    quint32 firstVersion = 0;
    quint32 secondVersion = 0;
    QByteArray packageCode;
    QList<MapFileText> titles;
    QList<MapFileText> versionTexts;
    bool withConditions = true; // false writes a file that ends after the language tables
    QList<MapFileCondition> conditions;
    quint64 fileSize = 0;       // pads with zero bytes up to this size; 0 adds nothing
};

// Where one field of a written file starts and how many bytes it takes.
struct MapFileField
{
    QString name;
    qint64 offset = 0;
    qint64 size = 0;
};

// The file's bytes; fields, when given, receives every field in file order.
QByteArray writeMapFile(const MapFileRecipe &recipe, QList<MapFileField> *fields = nullptr);

// Writes the file to path, its padding as a sparse hole; false when it cannot be written.
bool writeMapFile(const MapFileRecipe &recipe, const QString &path);

// The text as it is stored: each byte combined by exclusive-or with the repeating key made of the
// significant bytes of a, then those of b (least significant first; at least one byte each).
QByteArray scrambleMapText(const QByteArray &text, quint32 a, quint32 b);
