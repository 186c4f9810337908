#pragma once

#include "packagefile.h"

#include <QList>
#include <QMetaType>
#include <QString>

// A program package: the navigator program or a new version of the update center itself.
struct ProductInfo
{
    enum Kind : int { NavigatorPackage = 0, MapPackage = 1, InstalledMap = 2, SelfUpdatePackage = 3 };

    virtual ~ProductInfo() = default;

    QString name;
    QString description;
    QString version;
    PackageFile file;
    int kind = NavigatorPackage;
};

Q_DECLARE_METATYPE(ProductInfo)
Q_DECLARE_METATYPE(const ProductInfo *)
