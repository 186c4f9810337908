#pragma once

#include "devicemanager.h"
#include "fixturemachine.h"
#include "machineroots.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A fixture machine in a temporary folder whose volumes are folders below it, and files to put on them.
class StorageMachine
{
public:
    StorageMachine();

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString volume(const QString &name) const { return m_dir.path() + "/media/" + name; }
    MachineRoots roots() const { return MachineRoots::under(m_dir.path()); }

    // A stick with one volume per name, labels and UUIDs derived from the names.
    static FixtureUsbDevice stick(const QString &serial, const QStringList &mountPoints);
    bool write(const FixtureMachine &machine);
    // A manager whose only searcher is the storage searcher over this machine.
    std::unique_ptr<vktpdl::DeviceManager> manager() const;

private:
    QTemporaryDir m_dir;
};

// A PE file with a version resource; an empty internal name leaves the value out.
QByteArray navigatorBytes(const QString &internalName, const QList<quint16> &version = {1, 0, 0, 0});
bool writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);
