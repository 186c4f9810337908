#pragma once

#include "commandlineoptions.h"
#include "exitstatus.h"

#include <QCoreApplication>
#include <QJsonObject>

class ServiceSession;

// The backups kept on the PC: `backups` lists them (those of one device with --device), `restore`
// puts one back onto its device, `delete-backup` removes one.
class BackupCommands
{
    Q_DECLARE_TR_FUNCTIONS(BackupCommands)

public:
    static Outcome list(ServiceSession &session, const CommandLineOptions &options, QJsonObject &result);
    static Outcome restore(ServiceSession &session, const CommandLineOptions &options, QJsonObject &result);
    static Outcome remove(ServiceSession &session, const CommandLineOptions &options, QJsonObject &result);
};
