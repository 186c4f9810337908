#include "packageservices.h"

#include <algorithm>

namespace {

// The version of this program; a self-update is offered only when it is newer.
const DottedVersion ownVersion = DottedVersion::fromString(QStringLiteral(VKT_VERSION));

// State 1 marks a new map chosen for installation; state 2 a map chosen for removal (for new maps
// also a partly chosen group).
constexpr PACKAGE_STATE chosenForInstallation = PS_NEW_INSTALLATION;
constexpr PACKAGE_STATE chosenForRemoval = PS_GROUP_PARTLY_SELECTED;

// Country maps and, by package code, the regional and overview maps shown under them.
const QHash<QString, QStringList> &countryGroups()
{
    static const QHash<QString, QStringList> groups = {
        {QStringLiteral("korwind.rus"),
         {QStringLiteral("korwind.rus.central"), QStringLiteral("korwind.rus.northwest"),
          QStringLiteral("korwind.rus.south"), QStringLiteral("korwind.rus.caucasus"), QStringLiteral("korwind.rus.volga"),
          QStringLiteral("korwind.rus.ural"), QStringLiteral("korwind.rus.siberia"), QStringLiteral("korwind.rus.fareast"),
          QStringLiteral("korwind.rus.overview")}}};
    return groups;
}

QString countryOf(const QString &code)
{
    for (auto group = countryGroups().cbegin(); group != countryGroups().cend(); ++group) {
        if (group->contains(code))
            return group.key();
    }
    return QString();
}

QList<MapInfo> ofKind(const QList<MapInfo> &maps, int kind)
{
    QList<MapInfo> result;
    std::copy_if(maps.cbegin(), maps.cend(), std::back_inserter(result),
                 [kind](const MapInfo &map) { return map.kind == kind; });
    return result;
}

bool sameIdentity(const MapInfo *a, const MapInfo *b)
{
    return a->code == b->code && a->majorVersion == b->majorVersion && a->minorVersion == b->minorVersion;
}

// The maps of `maps` equal to none of `others`, equal maps collapsed into one.
QList<const MapInfo *> notIn(const QList<const MapInfo *> &maps, const QList<const MapInfo *> &others)
{
    QList<const MapInfo *> result;
    for (const MapInfo *map : maps) {
        const auto equal = [map](const MapInfo *other) { return sameIdentity(map, other); };
        if (std::none_of(others.cbegin(), others.cend(), equal) && std::none_of(result.cbegin(), result.cend(), equal))
            result.append(map);
    }
    return result;
}

IndexSet difference(const IndexSet &from, const IndexSet &without)
{
    IndexSet result;
    std::set_difference(from.cbegin(), from.cend(), without.cbegin(), without.cend(),
                        std::inserter(result, result.end()));
    return result;
}

} // namespace

PackageServices::PackageServices(QObject *parent) : AbstractPackageServices(parent) {}

PackageServices::~PackageServices() = default;

const ProductInfo *PackageServices::selfUpdate() const
{
    return DottedVersion::fromString(m_selfUpdate.version) > ownVersion ? &m_selfUpdate : nullptr;
}

void PackageServices::offeredNavigatorUpdates(QList<const ProductInfo *> &_updates) const
{
    _updates.clear();
    for (const ProductInfo &update : m_navigatorUpdates) {
        if (DottedVersion::fromString(update.version) > m_installedNavigator)
            _updates.append(&update);
    }
}

void PackageServices::reportNavigatorUpdates()
{
    m_selectedUpdate = -1;
    offeredNavigatorUpdates(m_offeredUpdates);
    emit reportAvailableKorwind(m_offeredUpdates);
}

const ProductInfo *PackageServices::selectedNavigatorUpdate() const
{
    return m_offeredUpdates.value(m_selectedUpdate, nullptr);
}

void PackageServices::reportMaps()
{
    forgetMaps();
    resolver();

    for (int i = 0; i < m_availableMaps.size(); ++i) {
        auto entry = std::make_unique<MapDisplayInfo>();
        entry->map = &m_availableMaps[i];
        entry->kind = entryKind(m_availableMaps[i]);
        // A damaged map starts out chosen for its reinstallation; the user may take that back.
        if (entry->kind == MapDisplayInfo::Reinstallation)
            m_requestedInstall.insert(i);
        m_availableIndexOfEntry.insert(entry.get(), i);
        m_newEntries.push_back(std::move(entry));
    }

    // A regional map goes under the first offered map of its country; without one it stays on top.
    QHash<QString, MapDisplayInfo *> countryEntries;
    for (const auto &entry : m_newEntries) {
        const QString &code = entry->map->code;
        if (countryGroups().contains(code) && !countryEntries.contains(code))
            countryEntries.insert(code, entry.get());
    }
    for (const auto &entry : m_newEntries) {
        MapDisplayInfo *parent = countryEntries.value(countryOf(entry->map->code), nullptr);
        if (parent)
            parent->children.append(entry.get());
        else
            m_newTopLevel.append(entry.get());
    }

    QList<const MapDisplayInfo *> installedEntries;
    for (const MapInfo &map : m_installedMaps) {
        auto entry = std::make_unique<MapDisplayInfo>();
        entry->map = &map;
        entry->kind = MapDisplayInfo::Installed;
        installedEntries.append(entry.get());
        m_installedEntries.push_back(std::move(entry));
    }

    emit reportAvailableMaps(m_newTopLevel, installedEntries);
    recomputeStates();
}

void PackageServices::selectionResult(QList<const MapInfo *> &_mapsToInstall, QList<const MapInfo *> &_mapsToRemove) const
{
    _mapsToInstall.clear();
    _mapsToRemove.clear();
    for (const IndexSet *indices : {&m_requestedInstall, &m_impliedInstall}) {
        for (const int index : *indices)
            _mapsToInstall.append(&m_availableMaps[index]);
    }
    for (const int index : m_installedToDelete)
        _mapsToRemove.append(&m_installedMaps[index]);
}

void PackageServices::deletionWarningLists(QList<const MapInfo *> &_installed, QList<const MapInfo *> &_removed) const
{
    QList<const MapInfo *> toInstall;
    QList<const MapInfo *> toRemove;
    selectionResult(toInstall, toRemove);
    _installed = notIn(toInstall, toRemove);
    _removed = notIn(toRemove, toInstall);
}

void PackageServices::foundSelfUpdate(ProductInfo _selfUpdate)
{
    m_selfUpdate = _selfUpdate;
}

void PackageServices::foundKorwindUpdates(QList<ProductInfo> _korwindUpdates)
{
    m_offeredUpdates.clear();
    m_selectedUpdate = -1;
    m_navigatorUpdates = _korwindUpdates;
}

void PackageServices::foundInstalledKorwind(DottedVersion _version)
{
    m_installedNavigator = _version;
}

void PackageServices::korwindSelected(int _nIndex)
{
    m_selectedUpdate = _nIndex;
}

void PackageServices::foundMapUpdates(QList<MapInfo> _mapUpdates)
{
    forgetMaps();
    m_resolver.reset();
    m_availableMaps = ofKind(_mapUpdates, ProductInfo::MapPackage);
    markDamagedBySize();
}

void PackageServices::foundInstalledMaps(QList<MapInfo> _existingMaps)
{
    forgetMaps();
    m_resolver.reset();
    m_installedMaps = ofKind(_existingMaps, ProductInfo::InstalledMap);
    markDamagedBySize();
}

void PackageServices::clickedMap(const MapDisplayInfo *_pMap, PACKAGE_STATE _state)
{
    const IndexSet installBefore = m_requestedInstall;
    const IndexSet removalBefore = m_requestedRemoval;
    applyClick(_pMap, _state);
    recomputeStates(installBefore, removalBefore);
}

void PackageServices::setMapsSelection(QMap<const MapDisplayInfo *, PACKAGE_STATE> _mapsSelection)
{
    const IndexSet installBefore = m_requestedInstall;
    const IndexSet removalBefore = m_requestedRemoval;
    for (auto it = _mapsSelection.cbegin(); it != _mapsSelection.cend(); ++it)
        applyClick(it.key(), it.value());
    recomputeStates(installBefore, removalBefore);
}

QString PackageServices::refusalText() const
{
    QStringList names;
    for (const int index : m_resolver->failedPackages())
        names.append(m_availableMaps.at(index).name);
    if (m_resolver->failedOnMissingDependency())
        return tr("%1 needs a map that the update server does not offer.").arg(names.value(0));
    return tr("These maps cannot be installed together: %1.").arg(names.join(QStringLiteral("; ")));
}

PackageResolver &PackageServices::resolver()
{
    if (!m_resolver)
        m_resolver = std::make_unique<PackageResolver>(m_availableMaps, m_installedMaps);
    return *m_resolver;
}

int PackageServices::entryKind(const MapInfo &map)
{
    bool codeInstalled = false;
    for (const MapInfo &installed : m_installedMaps) {
        if (installed.code != map.code)
            continue;
        if (installed.majorVersion == map.majorVersion && installed.minorVersion == map.minorVersion) {
            // Where a newer version is offered, its update repairs the map.
            return installed.isDamaged && !newerOffered(map) ? MapDisplayInfo::Reinstallation
                                                             : MapDisplayInfo::SameVersion;
        }
        codeInstalled = true;
    }
    return codeInstalled || resolver().replacesInstalled(map) ? MapDisplayInfo::UpdateOrReplacement
                                                              : MapDisplayInfo::NewMap;
}

bool PackageServices::newerOffered(const MapInfo &map) const
{
    return std::any_of(m_availableMaps.cbegin(), m_availableMaps.cend(), [&map](const MapInfo &offered) {
        return offered.code == map.code
               && std::pair(offered.majorVersion, offered.minorVersion) > std::pair(map.majorVersion, map.minorVersion);
    });
}

// An installed map whose size differs from the server's file of its code and version was cut short or
// changed on the device, also where no record of its installation tells so.
void PackageServices::markDamagedBySize()
{
    for (MapInfo &installed : m_installedMaps) {
        for (const MapInfo &offered : std::as_const(m_availableMaps)) {
            if (sameIdentity(&installed, &offered) && installed.file.size != offered.file.size)
                installed.isDamaged = true;
        }
    }
}

// Drops the presentation and the selection; both describe the map lists as they were. The selection
// tree is told first (an empty tree), so that it holds no entry of the old tree once it is retired.
void PackageServices::forgetMaps()
{
    m_requestedInstall.clear();
    m_requestedRemoval.clear();
    m_impliedInstall.clear();
    m_impliedRemoval.clear();
    m_installedToDelete.clear();
    m_newTopLevel.clear();
    m_availableIndexOfEntry.clear();
    if (m_newEntries.empty() && m_installedEntries.empty())
        return;
    emit reportAvailableMaps({}, {});
    retireEntries(m_newEntries);
    retireEntries(m_installedEntries);
}

// The entries lose their maps, which are about to be replaced, and are never looked up again.
void PackageServices::retireEntries(std::vector<std::unique_ptr<MapDisplayInfo>> &entries)
{
    for (auto &entry : entries) {
        entry->map = nullptr;
        entry->children.clear();
        m_retiredEntries.push_back(std::move(entry));
    }
    entries.clear();
}

void PackageServices::applyClick(const MapDisplayInfo *entry, PACKAGE_STATE state)
{
    const int index = m_availableIndexOfEntry.value(entry, -1);
    if (index < 0)
        return;
    switch (state) {
    case chosenForInstallation:
        m_requestedRemoval.erase(index);
        m_requestedInstall.insert(index);
        break;
    case chosenForRemoval:
        m_requestedInstall.erase(index);
        m_requestedRemoval.insert(index);
        break;
    case PS_NEW_AVAILABLE:
        m_requestedInstall.erase(index);
        m_requestedRemoval.erase(index);
        break;
    default:
        break;
    }
}

void PackageServices::recomputeStates(const IndexSet &installBefore, const IndexSet &removalBefore)
{
    IndexSet installSet;
    IndexSet removeSet;
    IndexSet impliedSet;
    IndexSet deleteSet;
    // A refused choice would show only the clicked maps and hand them over without what they need or
    // exclude; the user is told why instead, and the last consistent choice stays.
    if (!resolver().resolve(m_requestedInstall, m_requestedRemoval, installSet, removeSet, impliedSet, deleteSet)) {
        emit selectionRefused(refusalText());
        m_requestedInstall = installBefore;
        m_requestedRemoval = removalBefore;
        resolver().resolve(m_requestedInstall, m_requestedRemoval, installSet, removeSet, impliedSet, deleteSet);
    }
    m_impliedInstall = difference(installSet, m_requestedInstall);
    m_impliedRemoval = difference(removeSet, m_requestedRemoval);
    m_installedToDelete = deleteSet;

    const auto newEntry = [this](int index) {
        return std::size_t(index) < m_newEntries.size() ? m_newEntries[std::size_t(index)].get() : nullptr;
    };
    const auto emitNewStates = [&](const IndexSet &indices, PACKAGE_STATE state) {
        for (const int index : indices) {
            if (const MapDisplayInfo *entry = newEntry(index))
                emit setNewMapState(entry, state);
        }
    };
    emitNewStates(m_requestedInstall, chosenForInstallation);
    emitNewStates(m_impliedInstall, chosenForInstallation);
    emitNewStates(m_requestedRemoval, chosenForRemoval);
    emitNewStates(m_impliedRemoval, chosenForRemoval);
    for (const int index : impliedSet) {
        if (const MapDisplayInfo *entry = newEntry(index))
            emit setNewMapEnabled(entry, false);
    }
    for (const int index : m_installedToDelete) {
        if (std::size_t(index) < m_installedEntries.size())
            emit setExistingMapState(m_installedEntries[std::size_t(index)].get(), chosenForRemoval);
    }
    emit setStatesFinished();
}
