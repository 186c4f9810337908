#pragma once

#include "dottedversion.h"

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>

// One navigator executable found on a device, with the outcome of its update check.
struct KorwindExeInfo
{
    QString path;
    DottedVersion version;
    QByteArray deviceName; // sent as the device name of the navigator update check
    QByteArray checksum;   // sent as the checksum; may be empty
    QString identifier;    // the executable's identifier on the device
    qint32 checkCode = -1;
    QString checkMessage;
    QString checkDetail;
    QString updateVersion; // version of the first update offered, empty when none
    bool isReadOnly = false;
};

Q_DECLARE_METATYPE(KorwindExeInfo)
