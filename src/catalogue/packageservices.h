#pragma once

#include "abstractpackageservices.h"
#include "packageresolver.h"

#include <QHash>

#include <memory>
#include <vector>

// Keeps what the server offers and what the device has, picks the program updates worth offering,
// and turns the user's map clicks into a consistent selection through the dependency resolver.
// Runs on the GUI thread only.
class PackageServices final : public AbstractPackageServices
{
    Q_OBJECT

public:
    explicit PackageServices(QObject *parent = nullptr);
    ~PackageServices() override;

    const ProductInfo *selfUpdate() const override;
    void offeredNavigatorUpdates(QList<const ProductInfo *> &_updates) const override;
    void reportNavigatorUpdates() override;
    // The update chosen on the navigator page, by its index in the offered list.
    const ProductInfo *selectedNavigatorUpdate() const override;
    void reportMaps() override;
    void selectionResult(QList<const MapInfo *> &_mapsToInstall, QList<const MapInfo *> &_mapsToRemove) const override;
    void deletionWarningLists(QList<const MapInfo *> &_installed, QList<const MapInfo *> &_removed) const override;

public Q_SLOTS:
    void foundSelfUpdate(ProductInfo _selfUpdate) override;
    void foundKorwindUpdates(QList<ProductInfo> _korwindUpdates) override;
    void foundInstalledKorwind(DottedVersion _version) override;
    void korwindSelected(int _nIndex) override;
    void foundMapUpdates(QList<MapInfo> _mapUpdates) override;
    void foundInstalledMaps(QList<MapInfo> _existingMaps) override;
    void clickedMap(const MapDisplayInfo *_pMap, PACKAGE_STATE _state) override;
    void setMapsSelection(QMap<const MapDisplayInfo *, PACKAGE_STATE> _mapsSelection) override;

private:
    PackageResolver &resolver();
    int entryKind(const MapInfo &map);
    bool newerOffered(const MapInfo &map) const;
    void markDamagedBySize();
    void forgetMaps();
    void retireEntries(std::vector<std::unique_ptr<MapDisplayInfo>> &entries);
    void applyClick(const MapDisplayInfo *entry, PACKAGE_STATE state);
    // Resolves the requested sets and emits the states; a choice the rules refuse is replaced by the
    // one before it (the requested sets as they were), which resolved.
    void recomputeStates(const IndexSet &installBefore = {}, const IndexSet &removalBefore = {});
    QString refusalText() const;

    ProductInfo m_selfUpdate;
    QList<ProductInfo> m_navigatorUpdates;
    QList<const ProductInfo *> m_offeredUpdates; // point into m_navigatorUpdates
    int m_selectedUpdate = -1;
    DottedVersion m_installedNavigator;

    QList<MapInfo> m_availableMaps;
    QList<MapInfo> m_installedMaps;
    std::unique_ptr<PackageResolver> m_resolver; // refers to the two lists above

    // One entry per available map (by index) and per installed map (by index); entries have fixed
    // addresses because the selection tree holds pointers to them.
    std::vector<std::unique_ptr<MapDisplayInfo>> m_newEntries;
    std::vector<std::unique_ptr<MapDisplayInfo>> m_installedEntries;
    // Entries of earlier trees, emptied but kept: no entry of a later tree may take the address of one
    // that was handed out before, or a late click on the old one would choose another map.
    std::vector<std::unique_ptr<MapDisplayInfo>> m_retiredEntries;
    QList<const MapDisplayInfo *> m_newTopLevel;
    QHash<const MapDisplayInfo *, int> m_availableIndexOfEntry;

    IndexSet m_requestedInstall;
    IndexSet m_requestedRemoval; // state 2
    IndexSet m_impliedInstall;
    IndexSet m_impliedRemoval;
    IndexSet m_installedToDelete; // indices of installed maps
};
