#pragma once

#include "exitstatus.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// What the command line of korwind-update asks for. parse() checks it as a whole: the command, the
// options that apply to it and their values.
struct CommandLineOptions
{
    Q_DECLARE_TR_FUNCTIONS(CommandLineOptions)

public:
    enum class Command { Help, Version, Devices, Status, Update, Backups, Restore, DeleteBackup };
    // Which maps an update installs: updates of the installed ones, every offered one, none, or by code.
    enum class MapChoice { Updates, All, None, Codes };

    Command command = Command::Help;
    bool json = false;
    int device = 0; // counted from 1, as `devices` lists them; 0 when not given
    QString executable;
    QString contentUid;
    QString navigatorVersion; // empty: the first offered update
    bool noNavigator = false;
    MapChoice maps = MapChoice::Updates;
    QStringList mapCodes;
    bool backup = true;
    bool yes = false;
    QString backupId;

    // Empty: the wizard's settings (and the build's server address).
    QString serverUrl;
    QString downloadsFolder;
    QString backupsFolder;
    bool proxyGiven = false;
    bool noProxy = false;
    QString proxyHost;
    QString proxyPort;
    QString proxyUser;
    QString proxyPassword;

    // arguments as the program got them, the program's name first.
    static Outcome parse(const QStringList &arguments, CommandLineOptions &options);
    static QString helpText();
    // The command's name on the command line; empty for help and version.
    static QString commandName(Command command);
};
