#pragma once

#include "backupinfo.h"
#include "deviceinfo.h"
#include "korwindcontentinfo.h"
#include "korwindexeinfo.h"
#include "mapdisplayinfo.h"
#include "mapinfo.h"
#include "productinfo.h"
#include "updatejobrecord.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>

// The records as korwind-update shows them: one line of text each, and JSON objects with stable keys.
class RecordFormat
{
    Q_DECLARE_TR_FUNCTIONS(RecordFormat)

public:
    static QString sizeText(quint64 bytes);
    static QString kindText(int deviceKind);
    // "Russia (korwind.rus) 2012.1"
    static QString mapText(const MapInfo &map);
    // How an offered map stands against the installed ones: "new", "update", "installed" or "damaged"
    // (the version of an installed map whose file is damaged).
    static QString offerState(const MapDisplayInfo &entry);
    static QString offerStateText(const MapDisplayInfo &entry);

    static QJsonObject json(const DeviceInfo &device);
    static QJsonObject json(const KorwindExeInfo &executable);
    static QJsonObject json(const ProductInfo &package);
    static QJsonObject json(const MapInfo &map);
    static QJsonObject json(const BackupInfo &backup);
    // The folder without its maps, with its free space and the size of its old map data (-1: unknown).
    static QJsonObject json(const KorwindContentInfo &content);
    static QJsonObject json(const UpdateJobRecord &job);
    // What an unfinished update was doing and what is left of it, one line each.
    static QStringList lines(const UpdateJobRecord &job);
};
