#pragma once

#include "productinfo.h"

#include <QList>
#include <QMetaType>
#include <QString>

// One entry of a relation list: a package code and an optional version condition.
struct PackageRelation
{
    QString code;
    QString op; // "<", "<=", ">", ">=", "=", "!=", or empty when no version is named
    qint32 majorVersion = 0;
    qint32 minorVersion = 0;
};

// The dependency view of a package.
struct Comparable
{
    virtual ~Comparable() = default;

    QString code;
    qint32 majorVersion = 0;
    qint32 minorVersion = 0;
    QList<PackageRelation> conflicts;
    QList<PackageRelation> depends;
    QList<PackageRelation> replaces;
};

// A map package, offered by the server or found installed on the device.
struct MapInfo : ProductInfo, Comparable
{
    MapInfo() { kind = MapPackage; }

    QString mapText;
    // An installed map whose file is not what was installed (cut short, or other bytes than the record
    // of its installation says): it needs to be installed again.
    bool isDamaged = false;
};

Q_DECLARE_METATYPE(MapInfo)
Q_DECLARE_METATYPE(const MapInfo *)
