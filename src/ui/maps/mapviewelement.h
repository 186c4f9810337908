#pragma once

#include "checkabletreeelement.h"
#include "enums.h"

#include <QCoreApplication>

struct MapDisplayInfo;
struct MapInfo;

// One map in the tree: an offered map, an installed map, or both when the offer has the installed
// map's code (its update, or the same version, which reinstalls a damaged map). Keeps the states the package services reported and
// shows them as one PACKAGE_STATE with its icon and a state text.
class MapViewElement final : public CheckableTreeElement
{
    Q_DECLARE_TR_FUNCTIONS(MapViewElement)

public:
    // At least one of the two entries is given.
    MapViewElement(const MapDisplayInfo *newEntry, const MapDisplayInfo *installedEntry);

    const MapDisplayInfo *newEntry() const { return m_newEntry; }
    const MapDisplayInfo *installedEntry() const { return m_installedEntry; }

    void setNewState(PACKAGE_STATE state) { m_newState = state; }
    void setInstalledDeleted(bool deleted) { m_installedDeleted = deleted; }
    void setMapEnabled(bool enabled) { m_enabled = enabled; }
    // Nothing chosen, changeable: the element before the services report the states.
    void reset();

    // What the icon shows; a group with nothing chosen on itself shows whether any of its maps is chosen.
    PACKAGE_STATE state() const;
    // The state for the offered map that a click on the icon asks for.
    PACKAGE_STATE clickedState() const;
    bool isCheckable() const override;
    // Whether anything happens to this map (not counting its group).
    bool isChosen() const;
    // "<description>\nSize: <size>" of the shown map.
    QString details() const;
    QString name() const;

    // Icon, state text, tooltip and accessible text from the states.
    void refresh();
    // Whether the accessible text changed since the last call.
    bool takeTextChange();

private:
    const MapInfo &shownMap() const;
    bool isUpdate() const;
    bool isSameVersion() const;
    bool isReinstallation() const;
    // The installed map's file is damaged.
    bool isDamaged() const;
    QString damagedText() const;
    QString stateText() const;

    const MapDisplayInfo *m_newEntry;
    const MapDisplayInfo *m_installedEntry;
    PACKAGE_STATE m_newState = PS_NEW_AVAILABLE;
    bool m_installedDeleted = false;
    bool m_enabled = true;
    QString m_takenText;
};
