// mapscan: lists the maps of the KorwindContent folder under a root as the device services do, and
// says how long the listing took (the best of several rounds).
#include "contentfolderscanner.h"
#include "localfilesystem.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Lists the maps of ROOT/KorwindContent/Maps.");
    parser.addHelpOption();
    parser.addPositionalArgument("root", "The storage root that holds KorwindContent.");
    const QCommandLineOption language("language", "Locale name for the map texts.", "name", "en_US");
    const QCommandLineOption rounds("rounds", "Times to list the maps; the best time is shown.", "n", "1");
    const QCommandLineOption list("list", "Print each map found.");
    parser.addOptions({language, rounds, list});
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    if (parser.positionalArguments().size() != 1) {
        err << "mapscan: name one root (--help shows the options)\n";
        return 2;
    }
    const QString root = parser.positionalArguments().first();
    vktpdl::LocalFileSystem files;
    vktcommon::ContentFolderScanner scanner(&files, [&root](QStringList &roots) {
        roots.append(root);
        return int(vktpdl::DE_NO_ERROR);
    }, 2);
    int result = scanner.search(nullptr, nullptr);
    if (result == vktpdl::DE_NO_ERROR && scanner.count() == 0) {
        err << "mapscan: no KorwindContent folder in " << root << "\n";
        return 1;
    }
    vktcommon::MapInventory inventory;
    qint64 best = -1;
    const int roundCount = qMax(1, parser.value(rounds).toInt());
    for (int round = 0; round < roundCount && result == vktpdl::DE_NO_ERROR; ++round) {
        QElapsedTimer timer;
        timer.start();
        result = scanner.listMaps(0, parser.value(language), nullptr, nullptr, inventory);
        const qint64 elapsed = timer.nsecsElapsed();
        best = best < 0 ? elapsed : qMin(best, elapsed);
    }
    if (result != vktpdl::DE_NO_ERROR) {
        err << "mapscan: listing failed with code " << result << "\n";
        return 1;
    }
    if (parser.isSet(list)) {
        for (const MapInfo &map : inventory.maps)
            out << map.name << "\t" << map.code << "\t" << map.version << "\t" << map.file.fileName << "\n";
    }
    out << "maps: " << inventory.maps.size() << "\n";
    out << QStringLiteral("seconds: %1\n").arg(double(best) / 1e9, 0, 'f', 4);
    return 0;
}
