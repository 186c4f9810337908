#pragma once

#include "dottedversion.h"
#include "enums.h"
#include "mapdisplayinfo.h"
#include "mapinfo.h"
#include "productinfo.h"

#include <QList>
#include <QMap>
#include <QObject>

// The catalogue the wizard offers: navigator updates and the map selection with its dependencies.
class AbstractPackageServices : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual const ProductInfo *selfUpdate() const = 0;
    virtual void offeredNavigatorUpdates(QList<const ProductInfo *> &_updates) const = 0;
    virtual void reportNavigatorUpdates() = 0;
    virtual const ProductInfo *selectedNavigatorUpdate() const = 0;
    virtual void reportMaps() = 0;
    virtual void selectionResult(QList<const MapInfo *> &_mapsToInstall, QList<const MapInfo *> &_mapsToRemove) const = 0;
    virtual void deletionWarningLists(QList<const MapInfo *> &_installed, QList<const MapInfo *> &_removed) const = 0;

public Q_SLOTS:
    virtual void foundSelfUpdate(ProductInfo _selfUpdate) = 0;
    virtual void foundKorwindUpdates(QList<ProductInfo> _korwindUpdates) = 0;
    virtual void foundInstalledKorwind(DottedVersion _version) = 0;
    virtual void korwindSelected(int _nIndex) = 0;
    virtual void foundMapUpdates(QList<MapInfo> _mapUpdates) = 0;
    virtual void foundInstalledMaps(QList<MapInfo> _existingMaps) = 0;
    virtual void clickedMap(const MapDisplayInfo *_pMap, PACKAGE_STATE _state) = 0;
    virtual void setMapsSelection(QMap<const MapDisplayInfo *, PACKAGE_STATE> _mapsSelection) = 0;

Q_SIGNALS:
    void reportAvailableKorwind(QList<const ProductInfo *> _korwindUpdates);
    void reportAvailableMaps(QList<const MapDisplayInfo *> _newTopLevelMaps, QList<const MapDisplayInfo *> _existingMaps);
    void setNewMapState(const MapDisplayInfo *_pMap, PACKAGE_STATE _state);
    void setNewMapEnabled(const MapDisplayInfo *_pMap, bool _bIsEnabled);
    void setExistingMapState(const MapDisplayInfo *_pMap, PACKAGE_STATE _state);
    void setStatesFinished();
    // The rules refuse the choice just made (a click or a whole selection), for the reason given; it is
    // taken back, and the states that follow are those of the choice before it.
    void selectionRefused(QString _strReason);
};
