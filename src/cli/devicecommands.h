#pragma once

#include "commandlineoptions.h"
#include "exitstatus.h"

#include <QCoreApplication>
#include <QJsonObject>

class ServiceSession;

// The commands that only look: `devices` lists the devices found, `status` shows one device's
// navigators and content folders with what the update server offers for them. Each fills result
// (the JSON output) and prints the same as text.
class DeviceCommands
{
    Q_DECLARE_TR_FUNCTIONS(DeviceCommands)

public:
    static Outcome devices(ServiceSession &session, QJsonObject &result);
    static Outcome status(ServiceSession &session, const CommandLineOptions &options, QJsonObject &result);
};
