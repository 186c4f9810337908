#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// The files of a cabinet (.cab) file, by their names in it.
namespace CabinetFile {

using Entries = QList<QPair<QString, QByteArray>>;

// Every file of the cabinet at path, in its order; false (with the reason in error) when it cannot be read.
bool read(const QString &path, Entries &entries, QString &error);
// Writes a new cabinet with the entries, compressed (MSZIP); false with the reason in error.
bool write(const QString &path, const Entries &entries, QString &error);
// The content of the entry named name, letter case ignored as in a cabinet; null when there is none.
const QByteArray *find(const Entries &entries, const QString &name);

} // namespace CabinetFile
