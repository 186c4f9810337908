#pragma once

#include <QString>
#include <QtGlobal>

// Where the phone connectivity library is installed, as its own installation records it: a small INI file
// with the keys "API/DeviceManagement" and "API/FileSystem" (the library files of the two parts) and
// "API/Options" (a 32-bit number handed to both parts when they are initialised).
struct PhoneLibraryConfiguration
{
    // Loaded through the system's library search path when the configuration names no file for a part.
    static QString defaultLibraryName();
    static QString systemConfigurationFile();

    QString deviceManagementLibrary = defaultLibraryName();
    QString fileSystemLibrary = defaultLibraryName();
    quint32 options = 0;

    // A missing file or key keeps the default; an options value that is not a number counts as 0.
    static PhoneLibraryConfiguration read(const QString &file);
    // The file that VKT_PHONE_LIBRARY_CONFIG names, else the system's.
    static PhoneLibraryConfiguration fromEnvironment();
};
