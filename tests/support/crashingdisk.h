#pragma once

#include "filesystem.h"

#include <QByteArray>
#include <QMap>
#include <QStringList>

#include <memory>

// A device's volumes kept in memory, with what a pulled cable or a power loss leaves of them. Every file
// system operation is counted; from the chosen one on every operation fails, as when the device goes away
// (a putFile then leaves half its file behind). powerLoss() drops what was never flushed: file contents
// since their last flushFile, folder entries since their folder's last flushFolder, everything before
// the last syncVolume of the volume being kept.
class CrashingDisk
{
public:
    // Each root stands for a volume; its files are read from the folder of that name once, here.
    explicit CrashingDisk(const QStringList &roots);

    // The file system of a device over these volumes; several may share the disk.
    std::unique_ptr<vktpdl::FileSystem> fileSystem();

    // Operation number n (counted from 1) and all later ones fail; 0 never.
    void failFrom(qint64 n);
    qint64 operations() const { return m_operations; }
    bool failed() const { return m_failing; }
    // What stays after the power went off at the failure.
    void powerLoss();
    // The device is back: operations work again.
    void reconnect();

    // Bytes a volume really keeps: what is written beyond them reads back as zeros, as on a card that
    // claims more than it has. Negative: all.
    void setRealCapacity(qint64 bytes) { m_realCapacity = bytes; }
    // Bytes free on each volume before anything is written; the default leaves plenty.
    void setCapacity(qint64 bytes) { m_capacity = bytes; }
    void setExchangeSupported(bool supported) { m_exchangeSupported = supported; }

    // Path below the root -> contents, of every file as the device now holds it.
    QMap<QString, QByteArray> files(const QString &root) const;
    // One line a changing operation, in order ("flushFile /media/NAVI/a").
    QStringList log;

    struct Node;

private:
    friend class CrashingFileSystem;

    bool count(); // false when this operation fails
    std::shared_ptr<Node> rootOf(const QString &path, QString &below) const;
    std::shared_ptr<Node> find(const QString &path) const;
    std::shared_ptr<Node> parentOf(const QString &path, QString &name) const;
    qint64 usedBytes(const QString &path) const;

    QMap<QString, std::shared_ptr<Node>> m_roots;
    qint64 m_operations = 0;
    qint64 m_failFrom = 0;
    bool m_failing = false;
    qint64 m_capacity = qint64(1) << 40;
    qint64 m_realCapacity = -1;
    bool m_exchangeSupported = true;
};
