#pragma once

#include <QString>
#include <QtGlobal>

// One storage of a device, its own memory or a memory card, as the lists describe it.
struct StorageInfo
{
    enum Kind : int { Unknown = 0, Memory = 1, Card = 2 };

    QString root;           // where the device's files on it are reached (a mount point, a device folder)
    QString label;          // the volume's own name; empty when it has none or it is not known
    int kind = Unknown;
    qint64 totalBytes = -1; // -1 when unknown
    qint64 freeBytes = -1;  // -1 when unknown
};
