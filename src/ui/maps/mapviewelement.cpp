#include "mapviewelement.h"

#include "formatting.h"
#include "mapdisplayinfo.h"
#include "treeitemdelegate.h"

#include <QIcon>

MapViewElement::MapViewElement(const MapDisplayInfo *newEntry, const MapDisplayInfo *installedEntry)
    : m_newEntry(newEntry), m_installedEntry(installedEntry)
{
    const MapInfo &map = shownMap();
    QString title = map.name;
    if (isUpdate())
        title = tr("%1, version %2 (installed: %3)").arg(map.name, map.version, m_installedEntry->map->version);
    else if (!map.version.isEmpty())
        title = tr("%1, version %2").arg(map.name, map.version);
    setText(0, title);
    setData(0, Qt::AccessibleDescriptionRole, details());
    refresh();
}

void MapViewElement::reset()
{
    m_newState = PS_NEW_AVAILABLE;
    m_installedDeleted = false;
    m_enabled = true;
}

PACKAGE_STATE MapViewElement::state() const
{
    if (!isChosen()) {
        for (int i = 0; i < childCount(); ++i) {
            if (static_cast<const MapViewElement *>(child(i))->isChosen())
                return PS_GROUP_PARTLY_SELECTED;
        }
    }
    // A damaged map that stays as it is shows its damage rather than "up to date" or "update available".
    const auto kept = [this](PACKAGE_STATE intact) { return isDamaged() ? PS_DAMAGED : intact; };
    const bool deleted = m_newState == PS_GROUP_PARTLY_SELECTED || m_installedDeleted;
    if (!m_newEntry)
        return m_installedDeleted ? PS_INSTALLED_DELETE : kept(PS_UP_TO_DATE);
    if (isUpdate()) {
        if (m_newState == PS_NEW_INSTALLATION)
            return PS_UPDATE_UPDATE;
        return deleted ? PS_UPDATE_DELETE : kept(PS_UPDATE_AVAILABLE);
    }
    if (isReinstallation() && m_newState == PS_NEW_INSTALLATION)
        return PS_DAMAGED_REINSTALL;
    if (isSameVersion() || isReinstallation())
        return deleted ? PS_UP_TO_DATE_DELETE : kept(PS_UP_TO_DATE);
    return m_newState;
}

PACKAGE_STATE MapViewElement::clickedState() const
{
    // An update, and a damaged map's reinstallation, go round "install", "delete", "keep"; a map
    // installed in the offered version between "delete" and "keep"; any other offered map between
    // "install" and "not chosen".
    if (isUpdate() || isReinstallation()) {
        if (m_newState == PS_NEW_AVAILABLE)
            return PS_NEW_INSTALLATION;
        return m_newState == PS_NEW_INSTALLATION ? PS_GROUP_PARTLY_SELECTED : PS_NEW_AVAILABLE;
    }
    if (isSameVersion())
        return m_newState == PS_NEW_AVAILABLE ? PS_GROUP_PARTLY_SELECTED : PS_NEW_AVAILABLE;
    return m_newState == PS_NEW_AVAILABLE ? PS_NEW_INSTALLATION : PS_NEW_AVAILABLE;
}

bool MapViewElement::isCheckable() const
{
    // The services take choices for offered maps only; a locked map follows the other choices.
    return m_newEntry && m_enabled;
}

bool MapViewElement::isChosen() const
{
    return m_newState != PS_NEW_AVAILABLE || m_installedDeleted;
}

QString MapViewElement::details() const
{
    const MapInfo &map = shownMap();
    const Utilities::FormattedSize size = Utilities::formatSize(map.file.size);
    const QString description = map.description.isEmpty() ? tr("No info available") : map.description;
    return tr("%1\nSize: %2").arg(description, size.number + size.unit);
}

QString MapViewElement::name() const
{
    return shownMap().name;
}

void MapViewElement::refresh()
{
    const PACKAGE_STATE shown = state();
    const QString stateLine = stateText();
    setIcon(0, QIcon(packageStateIcon(shown, m_enabled)));
    setData(0, TreeItemDelegate::StateTextRole, stateLine);
    setData(0, Qt::AccessibleTextRole, QString(text(0) + QStringLiteral(", ") + stateLine));
    const QString described =
        isDamaged() ? stateLine + QLatin1Char('\n')
                          + tr("The map's file on the device is damaged: it was cut short or changed after its "
                               "installation.")
                    : stateLine;
    setToolTip(0, isCheckable() ? tr("%1\nClick the icon to change what happens to this map.").arg(described)
                                : described);
}

bool MapViewElement::takeTextChange()
{
    const QString text = data(0, Qt::AccessibleTextRole).toString();
    const bool changed = text != m_takenText;
    m_takenText = text;
    return changed;
}

const MapInfo &MapViewElement::shownMap() const
{
    return m_newEntry ? *m_newEntry->map : *m_installedEntry->map;
}

bool MapViewElement::isUpdate() const
{
    return m_newEntry && m_installedEntry && m_newEntry->kind == MapDisplayInfo::UpdateOrReplacement;
}

bool MapViewElement::isSameVersion() const
{
    return m_newEntry && m_newEntry->kind == MapDisplayInfo::SameVersion;
}

bool MapViewElement::isReinstallation() const
{
    return m_newEntry && m_newEntry->kind == MapDisplayInfo::Reinstallation;
}

bool MapViewElement::isDamaged() const
{
    return m_installedEntry && m_installedEntry->map->isDamaged;
}

QString MapViewElement::damagedText() const
{
    if (isUpdate())
        return tr("Damaged, update available");
    if (isReinstallation())
        return tr("Damaged, not chosen to be installed again");
    // The same version is offered, but a newer one repairs the map.
    if (isSameVersion())
        return tr("Damaged, a newer version is offered");
    return tr("Damaged, not offered to be installed again");
}

QString MapViewElement::stateText() const
{
    QString text;
    switch (state()) {
    case PS_NEW_AVAILABLE:
        text = tr("Not chosen");
        break;
    case PS_NEW_INSTALLATION:
        text = tr("Will be installed");
        break;
    case PS_GROUP_PARTLY_SELECTED:
        text = childCount() > 0 ? tr("Some maps of this group are chosen") : tr("Chosen for removal");
        break;
    case PS_UPDATE_AVAILABLE:
        text = tr("Installed, update available");
        break;
    case PS_UPDATE_UPDATE:
        text = tr("Will be updated");
        break;
    case PS_UP_TO_DATE:
        text = tr("Installed, up to date");
        break;
    case PS_DAMAGED:
        text = damagedText();
        break;
    case PS_DAMAGED_REINSTALL:
        text = tr("Damaged, will be installed again");
        break;
    default:
        text = tr("Will be deleted from the device");
        break;
    }
    return m_enabled ? text : tr("%1 (follows from the other chosen maps)").arg(text);
}
