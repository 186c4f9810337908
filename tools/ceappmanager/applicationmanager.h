#pragma once

#include "emulatedcedevice.h"

#include <QString>

// The Windows CE application manager, emulated: installs the cabs an installation description names onto
// an emulated device. A cab holds "_setup.xml", which says where its files go:
//   <setup application="DRQ KorwindUpdaterModule" folder="\Program files\DRQ\KorwindUpdaterModule" hooks="pxr.dll">
//     <file name="pxr.dll"/>                          source="..." (the name in the cab), folder="\..." optional
//     <registry key="\Software\..." name="InstallDir" value="\..."/>
//   </setup>
// hooks names the cab's library whose Install_Init (which may cancel) and Install_Exit are called around
// the installation. An installed application gets the registry value "InstlDir" (its folder) under
// "\Software\Apps\" + application. A cab is checked whole before anything is written.
class ApplicationManager
{
public:
    explicit ApplicationManager(const QString &deviceFolder);

    // Installs the cabs of the description file ("[CEAppManager]", "Component =NAME", "[NAME]",
    // "CabFiles =PATH,..." with paths relative to the description's folder, letter case ignored);
    // false with the reason in error.
    bool installDescription(const QString &descriptionFile, QString &error);
    bool installCab(const QString &cabFile, QString &error);

private:
    quint32 makeFolder(const QString &path);

    EmulatedCeDevice m_device;
};
