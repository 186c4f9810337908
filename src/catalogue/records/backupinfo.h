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
};

Q_DECLARE_METATYPE(BackupInfo)
