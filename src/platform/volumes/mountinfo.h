#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// One line of /proc/self/mountinfo: what is mounted where.
struct MountEntry
{
    quint32 major = 0; // device number of the mounted file system; major 0 is no block device
    quint32 minor = 0;
    QString root;      // the folder of the file system mounted here ("/" unless a bind mount)
    QString mountPoint;
    QString fileSystemType;
    QString source;
    bool readOnly = false; // mounted read-only, or the file system itself is
};

// Reads a mountinfo file; false when it cannot be read. Malformed lines are skipped.
bool readMountInfo(const QString &path, QList<MountEntry> &entries);

// Parses one line; false when it is malformed.
bool parseMountInfoLine(const QByteArray &line, MountEntry &entry);
