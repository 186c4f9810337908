#include "mapupdatechoosewidget.h"

#include "formatting.h"
#include "freespacechecker.h"
#include "mapupdaterules.h"
#include "mapviewdelegate.h"
#include "mapviewelement.h"
#include "ui_mapupdatechoosewidget.h"

namespace {

quint64 totalSize(const QList<const MapDisplayInfo *> &maps)
{
    quint64 total = 0;
    for (const MapDisplayInfo *entry : maps)
        total += entry->map->file.size;
    return total;
}

QString sizeText(quint64 bytes)
{
    const Utilities::FormattedSize size = Utilities::formatSize(bytes);
    return size.number + size.unit;
}

void appendOnce(QList<const MapDisplayInfo *> &list, const MapDisplayInfo *entry)
{
    if (!list.contains(entry))
        list.append(entry);
}

} // namespace

MapUpdateChooseWidget::MapUpdateChooseWidget(QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::MapUpdateChooseWidget>())
{
    m_ui->setupUi(this);
    m_delegate = new MapViewDelegate(m_ui->mapTree, this);
    connect(m_delegate, &MapViewDelegate::clickedMap, this, &MapUpdateChooseWidget::_onClickedMapView);
    connect(m_delegate, &MapViewDelegate::setMapsSelection, this, &MapUpdateChooseWidget::_onSetMapsSelection);
    connect(m_ui->mapTree, &QTreeWidget::currentItemChanged, this, &MapUpdateChooseWidget::showDetails);
    clearRefusal();
    connect(m_ui->restoreBackupButton, &QPushButton::clicked, this, &MapUpdateChooseWidget::restoreBackupButtonClicked);
    connect(m_ui->storageCardButton, &QPushButton::clicked, this, &MapUpdateChooseWidget::changeStorageCardClicked);
    showDetails();
}

MapUpdateChooseWidget::~MapUpdateChooseWidget() = default;

void MapUpdateChooseWidget::setNavigatorVersion(const DottedVersion &version)
{
    m_navigatorVersion = version;
}

void MapUpdateChooseWidget::setSeveralContentFolders(bool several)
{
    m_severalContentFolders = several;
}

void MapUpdateChooseWidget::setNavigatorUpdatePending(bool pending, bool backupChosen)
{
    m_navigatorUpdatePending = pending;
    m_navigatorBackupChosen = backupChosen;
}

void MapUpdateChooseWidget::setCreateBackups(bool createBackups)
{
    m_createBackups = createBackups;
}

void MapUpdateChooseWidget::setFreeSpaceChecker(const FreeSpaceChecker *checker)
{
    m_freeSpaceChecker = checker;
    m_measuredRoom = -1;
}

bool MapUpdateChooseWidget::isBackupChecked() const
{
    return m_ui->createBackupCheck->isChecked();
}

void MapUpdateChooseWidget::addMapUpdateInfo(QList<const MapDisplayInfo *> _newTopLevelMaps,
                                             QList<const MapDisplayInfo *> _existingMaps)
{
    clearWorkingLists();
    clearRefusal();
    m_newTopLevelMaps = _newTopLevelMaps;
    m_existingMaps = _existingMaps;
    m_delegate->build(m_newTopLevelMaps, m_existingMaps);
    // The room may have changed since the last tree (an update in between).
    m_measuredRoom = -1;
    const bool noMaps = m_newTopLevelMaps.isEmpty() && m_existingMaps.isEmpty();
    m_ui->treeStack->setCurrentWidget(noMaps ? m_ui->emptyPage : m_ui->treePage);
    showDetails();

    m_ui->headerLabel->setText(tr("Choose map updates for Korwind Navigator %1").arg(m_navigatorVersion.toString()));

    const bool hasExistingMaps = !m_existingMaps.isEmpty();
    m_ui->createBackupCheck->setChecked(m_navigatorUpdatePending ? m_navigatorBackupChosen
                                                                 : m_createBackups && hasExistingMaps);
    m_ui->createBackupCheck->setEnabled(hasExistingMaps && !m_navigatorUpdatePending);

    m_ui->storageCardButton->setVisible(m_severalContentFolders);
}

void MapUpdateChooseWidget::changeNewMapState(const MapDisplayInfo *_pMap, PACKAGE_STATE _state)
{
    if (!m_delegate->setNewMapState(_pMap, _state))
        return;
    if (_state == PS_NEW_INSTALLATION)
        appendOnce(m_newMapsToInstall, _pMap);
    else if (_state == PS_GROUP_PARTLY_SELECTED)
        appendOnce(m_newMapsPartlySelected, _pMap);
}

void MapUpdateChooseWidget::changeNewMapEnabled(const MapDisplayInfo *_pMap, bool _bIsEnabled)
{
    m_delegate->setNewMapEnabled(_pMap, _bIsEnabled);
}

void MapUpdateChooseWidget::changeExistingMapState(const MapDisplayInfo *_pMap, PACKAGE_STATE _state)
{
    if (m_delegate->setExistingMapState(_pMap, _state) && _state == PS_GROUP_PARTLY_SELECTED)
        appendOnce(m_existingMapsToDelete, _pMap);
}

void MapUpdateChooseWidget::refresh()
{
    m_delegate->refresh();

    const quint64 needed = totalSize(m_newMapsToInstall);
    const quint64 freed = totalSize(m_existingMapsToDelete);
    const auto available = [this, freed] { return MapUpdateRules::available(m_measuredRoom, freed); };
    if (needed > available())
        m_measuredRoom = measuredRoom();

    const bool fits = needed <= available();
    m_ui->spaceStack->setCurrentWidget(fits ? m_ui->enoughSpacePage : m_ui->notEnoughSpacePage);
    // Unknown room counts as none, and says so rather than "0".
    m_ui->availableLabel->setText(tr("Available: ") + (m_measuredRoom < 0 ? tr("unknown") : sizeText(available())));
    m_ui->neededLabel->setText(tr("Needed: ") + sizeText(needed));

    const bool somethingChosen = !m_newMapsToInstall.isEmpty() || !m_newMapsPartlySelected.isEmpty();
    emit reportCanContinue(fits && selectionPasses() && (m_enabledIfWeGotUpToDateMaps || somethingChosen));
}

void MapUpdateChooseWidget::setRestoreBackupButtonHidden(bool _bIsHidden)
{
    m_ui->restoreBackupButton->setHidden(_bIsHidden);
}

void MapUpdateChooseWidget::setEnabledIfWeGotUpToDateMaps(bool _bEnabled)
{
    m_enabledIfWeGotUpToDateMaps = _bEnabled;
}

void MapUpdateChooseWidget::showSelectionRefused(QString _strReason)
{
    m_ui->refusalLabel->setText(tr("This choice cannot be made. %1").arg(_strReason));
    m_ui->refusalLabel->show();
}

void MapUpdateChooseWidget::_onClickedMapView(const MapDisplayInfo *_pMap, PACKAGE_STATE _state)
{
    m_delegate->reset();
    clearWorkingLists();
    clearRefusal();
    emit clickedMap(_pMap, _state);
}

void MapUpdateChooseWidget::_onSetMapsSelection(QMap<const MapDisplayInfo *, PACKAGE_STATE> _rules)
{
    m_delegate->reset();
    clearWorkingLists();
    clearRefusal();
    emit setMapsSelection(_rules);
}

void MapUpdateChooseWidget::clearRefusal()
{
    m_ui->refusalLabel->clear();
    m_ui->refusalLabel->hide();
}

void MapUpdateChooseWidget::clearWorkingLists()
{
    m_newMapsToInstall.clear();
    m_newMapsPartlySelected.clear();
    m_existingMapsToDelete.clear();
}

// A new map chosen for installation passes; a group the services report as partly selected does not
// count on its own, only a group that shows chosen maps of its own.
bool MapUpdateChooseWidget::selectionPasses() const
{
    if (!m_newMapsToInstall.isEmpty())
        return true;
    for (const MapDisplayInfo *map : m_newTopLevelMaps) {
        if (m_delegate->shownState(map) == PS_GROUP_PARTLY_SELECTED && !m_newMapsPartlySelected.contains(map))
            return true;
    }
    return false;
}

qint64 MapUpdateChooseWidget::measuredRoom() const
{
    return m_freeSpaceChecker ? MapUpdateRules::room(*m_freeSpaceChecker) : -1;
}

void MapUpdateChooseWidget::showDetails()
{
    const auto *current = dynamic_cast<const MapViewElement *>(m_ui->mapTree->currentItem());
    m_ui->descriptionLabel->setText(current ? current->details() : tr("Choose a map to read its description."));
}
