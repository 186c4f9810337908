#pragma once

#include "exitstatus.h"

#include <QCoreApplication>
#include <QLockFile>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// Keeps a second korwind-update of the same user off the device roots and the backups folder that
// this one changes. The locks sit in the user's runtime folder and go with the process, also when it
// dies.
class WorkLock
{
    Q_DECLARE_TR_FUNCTIONS(WorkLock)

public:
    // Locks the device's roots, or none of them; a root that another copy holds gives Busy and an
    // unusable lock folder Installation. A place this lock holds already stays held.
    Outcome lockDevice(const QStringList &roots, const QString &deviceName);
    Outcome lockBackupsFolder(const QString &folder);

    // Where the lock files go: $XDG_RUNTIME_DIR, else the user's cache folder.
    static QString lockFolder();

private:
    Outcome acquire(const QStringList &places, const QString &what);

    std::vector<std::unique_ptr<QLockFile>> m_locks;
    QStringList m_lockFiles; // the files of m_locks
};
