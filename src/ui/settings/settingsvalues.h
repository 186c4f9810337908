#pragma once

#include <QList>
#include <QLocale>
#include <QString>

// The values the settings pages show and edit. The window reads them from the settings store, hands them
// to the pages and stores what the pages give back; the pages never touch the store.
struct SettingsValues
{
    bool createBackups = true;
    QString backupsDirectory;
    QString downloadsDirectory;
    bool useProxy = false;
    QString proxyAddress;
    QString proxyPort;
    QList<QLocale> languages; // offered in the language box
    QLocale language;         // when loaded the entry of `languages` that runs, when saved the box's choice
};

// A value that cannot be stored: which field, and why.
struct SettingsProblem
{
    enum Field { None, BackupsDirectory, DownloadsDirectory, ProxyAddress, ProxyPort };

    Field field = None;
    QString message;
};

// Checks everything before anything is stored: with the proxy on, an address and a port from 1 to 65535;
// both folders given by their full path, created when missing, and writable by this user.
SettingsProblem checkSettings(const SettingsValues &values);
