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

} // namespace CabinetFile
