#pragma once

#include "mapinfo.h"
#include "packagefile.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Readers of the update server's line-oriented package records. Each is strict: any malformed
// piece rejects the whole input, so callers never see a partial result.

// Parses a map package list (UTF-8, lines separated by line feeds, ended by a "DATAEND" line).
// True with the records in list order; false with an empty list when the list is rejected.
bool parseMapPackageList(const QByteArray &text, QList<MapInfo> &maps);

// Parses the file line of a package record: name, size, server identifier, SHA-1, URL.
// The name must be one plain file name and the SHA-1 exactly 40 hexadecimal digits, since both
// later become local file names.
bool parsePackageFileLine(const QString &line, PackageFile &file);

// Parses a package version "major.minor" of two decimal 32-bit integers.
bool parsePackageVersion(const QString &text, qint32 &majorVersion, qint32 &minorVersion);
