#pragma once

#include <QString>

// The demo world below one folder: a catalogue for the stand-in server (a newer navigator and a dozen
// maps), a navigation device with an older navigator and older maps on a fixture machine, a phone with the
// older navigator for the emulated phone connectivity library, an emulated Windows Mobile device with the
// same navigator, and settings of the program's own that keep its downloads and backups inside the world.
// tools/demo starts the program in it; the end-to-end tests drive the window through it.
class DemoWorld
{
public:
    explicit DemoWorld(const QString &folder);

    // Writes the whole world into the folder, which should be empty or missing; false (with the reason
    // in error) when something cannot be written.
    bool write(QString *error = nullptr) const;

    QString catalogue() const;     // for vkt-standin-server --catalogue
    QString machine() const;       // for VKT_MACHINE_ROOT
    QString configuration() const; // for XDG_CONFIG_HOME: the program's settings of the demo
    QString deviceMemory() const;  // the navigation device's own memory, holding the navigator
    QString memoryCard() const;    // the device's memory card
    QString phones() const;        // for VKT_EMULATED_PHONES: a phone with the same navigator
    QString phoneLibraryConfiguration() const; // for VKT_PHONE_LIBRARY_CONFIG: the emulated library
    QString phoneCard() const;     // the phone's memory card E:
    QString activeSyncDevice() const; // for VKT_CE_DEVICE: a Windows Mobile device, older navigator, no module
    QString downloads() const;
    QString backups() const;

private:
    QString m_folder;
};
