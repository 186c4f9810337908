#pragma once

#include "dottedversion.h"
#include "enums.h"
#include "mapdisplayinfo.h"

#include <QList>
#include <QMap>
#include <QWidget>

#include <memory>

class FreeSpaceChecker;
class MapViewDelegate;
namespace Ui {
class MapUpdateChooseWidget;
}

// The map selection page: the tree of offered and installed maps, whose icons the user clicks to choose
// what happens to each map, the backup box, and the check that the chosen maps fit on the storage card.
// It shows the states the package services report and hands them the user's clicks.
class MapUpdateChooseWidget : public QWidget
{
    Q_OBJECT

public:
    explicit MapUpdateChooseWidget(QWidget *parent = nullptr);
    ~MapUpdateChooseWidget() override;

    // Set before the tree arrives; the header and the backup box are made from them.
    void setNavigatorVersion(const DottedVersion &version);
    void setSeveralContentFolders(bool several);
    // With a navigator update pending, the backup box shows the choice made on the navigator page.
    void setNavigatorUpdatePending(bool pending, bool backupChosen);
    void setCreateBackups(bool createBackups);
    // The chosen content folder's checker, or null when unknown; it must outlive its use here.
    void setFreeSpaceChecker(const FreeSpaceChecker *checker);

    bool isBackupChecked() const;

Q_SIGNALS:
    void clickedMap(const MapDisplayInfo *_pMap, PACKAGE_STATE _state);
    void setMapsSelection(QMap<const MapDisplayInfo *, PACKAGE_STATE> _mapsSelection);
    void reportCanContinue(bool _bCanContinue);
    void restoreBackupButtonClicked();
    void changeStorageCardClicked();

public Q_SLOTS:
    void addMapUpdateInfo(QList<const MapDisplayInfo *> _newTopLevelMaps, QList<const MapDisplayInfo *> _existingMaps);
    void changeNewMapState(const MapDisplayInfo *_pMap, PACKAGE_STATE _state);
    void changeNewMapEnabled(const MapDisplayInfo *_pMap, bool _bIsEnabled);
    void changeExistingMapState(const MapDisplayInfo *_pMap, PACKAGE_STATE _state);
    void refresh();
    void setRestoreBackupButtonHidden(bool _bIsHidden);
    void setEnabledIfWeGotUpToDateMaps(bool _bEnabled);
    // The services took the last click back: the rules refuse it, for the reason given. Shown until the
    // next click or tree.
    void showSelectionRefused(QString _strReason);

private Q_SLOTS:
    void _onClickedMapView(const MapDisplayInfo *_pMap, PACKAGE_STATE _state);
    void _onSetMapsSelection(QMap<const MapDisplayInfo *, PACKAGE_STATE> _rules);

private:
    void clearWorkingLists();
    void clearRefusal();
    bool selectionPasses() const;
    // Free space plus the size of the old map data, or -1 when either is unknown.
    qint64 measuredRoom() const;
    void showDetails();

    std::unique_ptr<Ui::MapUpdateChooseWidget> m_ui;
    MapViewDelegate *m_delegate;

    QList<const MapDisplayInfo *> m_newTopLevelMaps;
    QList<const MapDisplayInfo *> m_existingMaps;
    QList<const MapDisplayInfo *> m_newMapsToInstall;
    QList<const MapDisplayInfo *> m_newMapsPartlySelected;
    QList<const MapDisplayInfo *> m_existingMapsToDelete;

    const FreeSpaceChecker *m_freeSpaceChecker = nullptr;
    qint64 m_measuredRoom = -1; // last measurement, -1 before the first or when unknown
    DottedVersion m_navigatorVersion;
    bool m_severalContentFolders = false;
    bool m_navigatorUpdatePending = false;
    bool m_navigatorBackupChosen = false;
    bool m_createBackups = true;
    bool m_enabledIfWeGotUpToDateMaps = false;
};
