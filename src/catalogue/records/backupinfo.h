#pragma once

#include <QDate>
#include <QList>
#include <QMetaType>
#include <QString>

// One backup kept on the PC.
struct BackupInfo
{
    QString description;
    QString title;
    QDate date;
    QString id; // the descriptor's name without ".xml": names the backup while it is kept
};

Q_DECLARE_METATYPE(BackupInfo)
