#pragma once

#include "mapinfo.h"

// Small builders of map records for the catalogue tests.

inline PackageRelation relation(const QString &code, const QString &op = QString(), int major = 0, int minor = 0)
{
    PackageRelation r;
    r.code = code;
    r.op = op;
    r.majorVersion = major;
    r.minorVersion = minor;
    return r;
}

inline MapInfo package(const QString &code, int major = 1, int minor = 0, int kind = ProductInfo::MapPackage)
{
    MapInfo map;
    map.code = code;
    map.name = code;
    map.majorVersion = major;
    map.minorVersion = minor;
    map.kind = kind;
    return map;
}

inline MapInfo installedPackage(const QString &code, int major = 1, int minor = 0)
{
    return package(code, major, minor, ProductInfo::InstalledMap);
}
