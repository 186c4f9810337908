#pragma once

#include <QByteArray>
#include <QString>

// How the zip reader turns the bytes of an entry name into text, and which names it accepts.
namespace EntryNames {

// The longest name, in UTF-16 code units, that an entry may have.
constexpr int maximumLength = 260;

// UTF-8 when utf8 is set (an invalid sequence gives the empty name), otherwise code page 437.
// False when the name is longer than maximumLength.
bool decode(const QByteArray &raw, bool utf8, QString &name);

// False for a name that would leave the destination folder: an absolute name, a drive letter,
// a ".." component (with '/' or '\' as separator), or a NUL character.
bool staysInside(const QString &name);

} // namespace EntryNames
