#include "scriptedservices.h"

namespace {

QString codes(const QList<const MapInfo *> &maps)
{
    QStringList result;
    for (const MapInfo *map : maps)
        result.append(map->code);
    return result.join(QLatin1Char(','));
}

} // namespace

void ScriptedDeviceServices::searchDevices() { calls.append(QStringLiteral("searchDevices")); }

void ScriptedDeviceServices::checkModule(QString &_strError, bool &_bIsNeeded)
{
    calls.append(QStringLiteral("checkModule"));
    _strError = moduleError;
    _bIsNeeded = moduleNeeded;
}

void ScriptedDeviceServices::installModule() { calls.append(QStringLiteral("installModule")); }
void ScriptedDeviceServices::searchNavigatorInstallations() { calls.append(QStringLiteral("searchNavigatorInstallations")); }

void ScriptedDeviceServices::selectNavigatorExecutable(const QString &_strPath)
{
    calls.append(QStringLiteral("selectNavigatorExecutable ") + _strPath);
}

void ScriptedDeviceServices::findNavigator() { calls.append(QStringLiteral("findNavigator")); }

void ScriptedDeviceServices::searchContents(bool _bCreate)
{
    calls.append(_bCreate ? QStringLiteral("searchContents create") : QStringLiteral("searchContents"));
}

const DeviceInfo *ScriptedDeviceServices::selectedDevice() const { return hasDevice ? &device : nullptr; }
const NavigatorInstallation *ScriptedDeviceServices::navigatorInstallation() const { return &navigator; }
void ScriptedDeviceServices::researchContents() { calls.append(QStringLiteral("researchContents")); }
const KorwindContentInfo *ScriptedDeviceServices::selectedContent() const { return hasContent ? &content : nullptr; }

void ScriptedDeviceServices::reconnectDevice(const QString &_strContentUid)
{
    calls.append(QStringLiteral("reconnectDevice ") + _strContentUid);
}

void ScriptedDeviceServices::findBackups() { calls.append(QStringLiteral("findBackups")); }

void ScriptedDeviceServices::createBackup(BACKUP_TYPE _type)
{
    calls.append(_type == BT_MAPS_ONLY ? QStringLiteral("createBackup maps") : QStringLiteral("createBackup all"));
}

void ScriptedDeviceServices::deleteBackup() { calls.append(QStringLiteral("deleteBackup")); }
void ScriptedDeviceServices::findDeviceSpecificBackups()
{
    calls.append(QStringLiteral("findDeviceSpecificBackups"));
    if (!deviceBackups.isEmpty())
        Q_EMIT foundDeviceSpecificBackups(deviceBackups);
}
void ScriptedDeviceServices::restoreBackup() { calls.append(QStringLiteral("restoreBackup")); }
void ScriptedDeviceServices::backupFileList(QStringList &_files) const { _files = backupFiles; }

void ScriptedDeviceServices::deleteMapFile(const MapInfo &_map, QString &_strError)
{
    calls.append(QStringLiteral("deleteMapFile ") + _map.code);
    _strError.clear();
}

void ScriptedDeviceServices::checkPackage(const ProductInfo &_package)
{
    calls.append(QStringLiteral("checkPackage ") + _package.name);
}

void ScriptedDeviceServices::installPackage(const ProductInfo &_package)
{
    calls.append(QStringLiteral("installPackage ") + _package.name);
}

void ScriptedDeviceServices::deleteOtherMapFiles() { calls.append(QStringLiteral("deleteOtherMapFiles")); }

void ScriptedDeviceServices::installMaps(const QList<const MapInfo *> &_mapsToInstall,
                                         const QList<const MapInfo *> &_mapsToRemove, bool _bDeleteOldMapData)
{
    calls.append(QStringLiteral("installMaps ") + codes(_mapsToInstall) + QStringLiteral(" / ") + codes(_mapsToRemove)
                 + (_bDeleteOldMapData ? QStringLiteral(" then old map data") : QString()));
}

const UpdateJobRecord *ScriptedDeviceServices::unfinishedUpdate() const
{
    return hasUnfinished ? &unfinished : nullptr;
}

void ScriptedDeviceServices::resumeUnfinishedUpdate() { calls.append(QStringLiteral("resumeUnfinishedUpdate")); }

void ScriptedDeviceServices::tryAutoSelectContentForMaps() { calls.append(QStringLiteral("tryAutoSelectContentForMaps")); }
void ScriptedDeviceServices::cancelDeviceOperation() { calls.append(QStringLiteral("cancelDeviceOperation")); }
void ScriptedDeviceServices::deviceSelected(int _nIndex) { calls.append(QStringLiteral("deviceSelected %1").arg(_nIndex)); }
void ScriptedDeviceServices::contentSelected(int _nIndex) { calls.append(QStringLiteral("contentSelected %1").arg(_nIndex)); }
void ScriptedDeviceServices::backupSelected(int _nIndex) { calls.append(QStringLiteral("backupSelected %1").arg(_nIndex)); }

void ScriptedDeviceServices::deviceSpecificBackupSelected(int _nIndex)
{
    calls.append(QStringLiteral("deviceSpecificBackupSelected %1").arg(_nIndex));
}

void ScriptedDeviceServices::korwindExecutableSelected(int _nIndex, QByteArray _path)
{
    calls.append(QStringLiteral("korwindExecutableSelected %1 ").arg(_nIndex) + QString::fromUtf8(_path));
}

void ScriptedNetworkServices::setProxyCredentials(const QString &_strUser, const QString &_strPassword)
{
    calls.append(QStringLiteral("setProxyCredentials ") + _strUser + QLatin1Char(' ') + _strPassword);
}

void ScriptedNetworkServices::checkSelfUpdate() { calls.append(QStringLiteral("checkSelfUpdate")); }

void ScriptedNetworkServices::checkNavigatorUpdate(const DeviceInfo &_device, const KorwindExeInfo &_installation,
                                                   const QString &_strReport)
{
    QString call = QStringLiteral("checkNavigatorUpdate ") + _installation.path;
    if (!_strReport.isEmpty())
        call += QStringLiteral(" report ") + _strReport;
    calls.append(call);
}

void ScriptedNetworkServices::checkMapUpdates(const DottedVersion &_navigatorVersion)
{
    calls.append(QStringLiteral("checkMapUpdates ") + _navigatorVersion.toString());
}

void ScriptedNetworkServices::startDownload(const QList<PackageFile> &_files)
{
    QStringList names;
    for (const PackageFile &file : _files)
        names.append(file.fileName);
    calls.append(QStringLiteral("startDownload ") + names.join(QLatin1Char(',')));
}

void ScriptedNetworkServices::cancelNetworkOperation() { calls.append(QStringLiteral("cancelNetworkOperation")); }

const ProductInfo *ScriptedPackageServices::selfUpdate() const { return hasSelfUpdate ? &selfUpdatePackage : nullptr; }

void ScriptedPackageServices::offeredNavigatorUpdates(QList<const ProductInfo *> &_updates) const
{
    _updates.clear();
    for (const ProductInfo &update : navigatorUpdates)
        _updates.append(&update);
}

void ScriptedPackageServices::reportNavigatorUpdates()
{
    calls.append(QStringLiteral("reportNavigatorUpdates"));
    QList<const ProductInfo *> updates;
    offeredNavigatorUpdates(updates);
    Q_EMIT reportAvailableKorwind(updates);
}

const ProductInfo *ScriptedPackageServices::selectedNavigatorUpdate() const
{
    return chosenNavigatorUpdate >= 0 && chosenNavigatorUpdate < navigatorUpdates.size()
               ? &navigatorUpdates.at(chosenNavigatorUpdate)
               : nullptr;
}

void ScriptedPackageServices::reportMaps()
{
    calls.append(QStringLiteral("reportMaps"));
    Q_EMIT reportAvailableMaps(newMapEntries, existingMapEntries);
    Q_EMIT setStatesFinished();
}

void ScriptedPackageServices::selectionResult(QList<const MapInfo *> &_mapsToInstall,
                                              QList<const MapInfo *> &_mapsToRemove) const
{
    _mapsToInstall.clear();
    _mapsToRemove.clear();
    for (const MapInfo &map : mapsToInstall)
        _mapsToInstall.append(&map);
    for (const MapInfo &map : mapsToRemove)
        _mapsToRemove.append(&map);
}

void ScriptedPackageServices::deletionWarningLists(QList<const MapInfo *> &_installed,
                                                   QList<const MapInfo *> &_removed) const
{
    selectionResult(_installed, _removed);
}

void ScriptedPackageServices::foundSelfUpdate(ProductInfo _selfUpdate)
{
    calls.append(QStringLiteral("foundSelfUpdate ") + _selfUpdate.version);
}

void ScriptedPackageServices::foundKorwindUpdates(QList<ProductInfo> _korwindUpdates)
{
    calls.append(QStringLiteral("foundKorwindUpdates %1").arg(_korwindUpdates.size()));
}

void ScriptedPackageServices::foundInstalledKorwind(DottedVersion _version)
{
    calls.append(QStringLiteral("foundInstalledKorwind ") + _version.toString());
}

void ScriptedPackageServices::korwindSelected(int _nIndex)
{
    calls.append(QStringLiteral("korwindSelected %1").arg(_nIndex));
    chosenNavigatorUpdate = _nIndex;
}

void ScriptedPackageServices::foundMapUpdates(QList<MapInfo> _mapUpdates)
{
    calls.append(QStringLiteral("foundMapUpdates %1").arg(_mapUpdates.size()));
}

void ScriptedPackageServices::foundInstalledMaps(QList<MapInfo> _existingMaps)
{
    calls.append(QStringLiteral("foundInstalledMaps %1").arg(_existingMaps.size()));
}

void ScriptedPackageServices::clickedMap(const MapDisplayInfo *_pMap, PACKAGE_STATE _state)
{
    calls.append(QStringLiteral("clickedMap ") + (_pMap && _pMap->map ? _pMap->map->code : QString())
                 + QStringLiteral(" %1").arg(int(_state)));
    Q_EMIT setStatesFinished();
}

void ScriptedPackageServices::setMapsSelection(QMap<const MapDisplayInfo *, PACKAGE_STATE> _mapsSelection)
{
    calls.append(QStringLiteral("setMapsSelection %1").arg(_mapsSelection.size()));
    Q_EMIT setStatesFinished();
}
