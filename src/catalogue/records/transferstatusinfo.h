#pragma once

#include <QMetaType>
#include <QString>

// Progress figures of a running transfer.
struct TransferStatusInfo
{
    // The value of done or total while the transfer has not told it.
    static constexpr quint64 unknownBytes = ~quint64(0);

    QString fileName;
    quint64 done = 0;
    quint64 total = 0;
    qint32 speed = -1;       // bytes per second
    qint32 secondsLeft = -1; // -1 while no estimate exists
};

Q_DECLARE_METATYPE(TransferStatusInfo)
