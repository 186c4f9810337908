// mapcopy: installs every map file of a downloads folder into the content folder of the first storage
// device, as the wizard's map installation does, and says how long the copy took.
//
//   VKT_MACHINE_ROOT=FIXTURE mapcopy DOWNLOADS
#include "deviceservices.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <functional>

namespace {

// Runs an operation and waits for its taskFinished(QString).
QString run(DeviceServices &services, const std::function<void()> &start)
{
    QString text;
    QEventLoop loop;
    const auto connection = QObject::connect(&services, qOverload<QString>(&AbstractDeviceServices::taskFinished),
                                             &loop, [&](const QString &result) {
                                                 text = result;
                                                 loop.quit();
                                             });
    start();
    loop.exec();
    QObject::disconnect(connection);
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2) {
        err << "usage: VKT_MACHINE_ROOT=FIXTURE mapcopy DOWNLOADS\n";
        return 2;
    }
    const QString downloads = QDir(arguments.at(1)).absolutePath();
    DeviceServices::Settings settings;
    settings.downloadsFolder = [downloads] { return downloads; };
    settings.languageName = QStringLiteral("en_US");
    DeviceServices services(settings);

    QString error = run(services, [&] { services.searchDevices(); });
    if (error.isEmpty()) {
        services.deviceSelected(0);
        error = run(services, [&] { services.searchContents(true); });
    }
    if (error.isEmpty() && !services.selectedContent()) {
        services.contentSelected(0);
        if (!services.selectedContent())
            error = QStringLiteral("no content folder");
    }
    if (!error.isEmpty()) {
        err << "mapcopy: " << error << "\n";
        return 1;
    }

    QList<MapInfo> maps;
    for (const QFileInfo &file : QDir(downloads).entryInfoList({QStringLiteral("*.NM3")}, QDir::Files, QDir::Name)) {
        MapInfo map;
        map.file.fileName = file.fileName();
        map.file.size = quint64(file.size());
        // The installation checks each copy against the record's digest, as it does for the server's maps.
        QFile content(file.filePath());
        QCryptographicHash sha1(QCryptographicHash::Sha1);
        if (!content.open(QIODevice::ReadOnly) || !sha1.addData(&content)) {
            err << "mapcopy: cannot read " << file.filePath() << "\n";
            return 1;
        }
        map.file.extraBytes = sha1.result().toHex();
        maps.append(map);
    }
    QList<const MapInfo *> toInstall;
    for (const MapInfo &map : maps)
        toInstall.append(&map);

    QElapsedTimer timer;
    timer.start();
    error = run(services, [&] { services.installMaps(toInstall, {}, false); });
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (!error.isEmpty()) {
        err << "mapcopy: " << error << "\n";
        return 1;
    }
    out << "maps: " << maps.size() << "\n"
        << "folder: " << services.selectedContent()->contentText << "\n"
        << "seconds: " << QString::number(seconds, 'f', 4) << "\n";
    return 0;
}
