// backupbench: makes ROOT/media/card a fixture USB volume, backs up FOLDER (below it) into BACKUPS a
// number of times in a row and prints how long each backup took.
#include "backup.h"
#include "backuperror.h"
#include "devicemanager.h"
#include "devicesearcher.h"
#include "fixturemachine.h"
#include "machineroots.h"
#include "midevicehandler.h"
#include "storagecarddevicessearcher.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <memory>
#include <vector>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Backs up ROOT/media/card/FOLDER into BACKUPS.");
    parser.addHelpOption();
    parser.addPositionalArgument("root", "The fixture machine's folder; ROOT/media/card is the volume.");
    parser.addPositionalArgument("folder", "The folder to back up, relative to the volume.");
    parser.addPositionalArgument("backups", "The backups folder.");
    const QCommandLineOption times("times", "Backups to make one after the other.", "n", "1");
    parser.addOption(times);
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 3) {
        err << "backupbench: name ROOT, FOLDER and BACKUPS (--help shows the options)\n";
        return 2;
    }
    const QString root = arguments.at(0);
    const QString volume = root + "/media/card";
    FixtureVolume fixtureVolume;
    fixtureVolume.mountPoint = volume;
    fixtureVolume.uuid = "BENCH-1";
    FixtureDisk disk;
    disk.volumes.append(fixtureVolume);
    FixtureUsbDevice stick;
    stick.serial = "BENCH";
    stick.luns.append(disk);
    FixtureMachine machine;
    machine.usbDevices.append(stick);
    QString error;
    if (!writeFixtureMachine(root, machine, &error)) {
        err << "backupbench: " << error << "\n";
        return 1;
    }
    std::vector<std::unique_ptr<vktpdl::DeviceSearcher>> searchers;
    searchers.push_back(std::make_unique<vktpdl::StorageCardDevicesSearcher>(MachineRoots::under(root)));
    vktpdl::DeviceManager manager(std::move(searchers));
    if (manager.searchDevices(nullptr, nullptr) != 0 || !manager.storageDevice(0)) {
        err << "backupbench: the fixture volume was not found\n";
        return 1;
    }
    vktpdl::MIDeviceHandler &device = *manager.storageDevice(0);

    out << "seconds:";
    for (int round = 0; round < qMax(1, parser.value(times).toInt()); ++round) {
        Backup backup(arguments.at(2));
        QElapsedTimer timer;
        timer.start();
        const int result = backup.create({volume + "/" + arguments.at(1)}, "bench", device, nullptr, nullptr);
        const qint64 elapsed = timer.nsecsElapsed();
        if (result != BE_NO_ERROR) {
            err << "\nbackupbench: the backup failed with code " << result << "\n";
            return 1;
        }
        out << QStringLiteral(" %1").arg(double(elapsed) / 1e9, 0, 'f', 4);
    }
    out << "\n";
    return 0;
}
