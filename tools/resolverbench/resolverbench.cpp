// Builds a package list of n available maps (with dense relations) and n/4 installed ones, then
// times parsing, building the resolver and one map click through the package services.
// Usage: resolverbench [n ...]; prints one line of figures per n.
#include "packagelistparser.h"
#include "packageresolver.h"
#include "packageservices.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Conditions of dependencies hold for every version the list uses (1.0 to 1.2), so a dependency is
// always met; other relations take any condition.
const char *const dependencyConditions[] = {"", " (>= 1.0)", " (< 2.0)", " (!= 0.5)"};
const char *const otherConditions[] = {"", " (>= 1.1)", " (< 1.1)", " (!= 1.0)", " (= 1.2)", " (> 1.0)", " (<= 1.2)"};

template<std::size_t N>
QByteArray relationLine(const char *kind, const QByteArray &code, const char *const (&conditions)[N],
                        QRandomGenerator &random)
{
    return QByteArray(kind) + ',' + code + conditions[random.bounded(int(N))] + '\n';
}

// Maps 0 .. 3n/4-1 depend on the next map and on random later maps of that part and conflict with maps of the last quarter,
// which depend among themselves: one click on map 0 pulls in most of the list and removes the rest.
QByteArray packageList(int n, QRandomGenerator &random)
{
    const int split = n * 3 / 4;
    const QByteArray sha1(40, 'a');
    QByteArray text;
    for (int i = 0; i < n; ++i) {
        const QByteArray code = "korwind.p" + QByteArray::number(i);
        text += "Map " + QByteArray::number(i) + '\n' + code + "\nA map\n2024.1\n1." + QByteArray::number(random.bounded(3))
                + "\n\n" + code + ".nm3,1000000,id" + QByteArray::number(i) + ',' + sha1 + ",http://maps.example/"
                + code + ".nm3\n";
        const int first = i < split ? i + 1 : std::max(i + 1, split);
        const int end = i < split ? split : n;
        for (int k = 0; k < 8 && first < end; ++k) {
            const int target = k == 0 ? first : random.bounded(first, end); // the next one keeps the chain whole
            text += relationLine("depends", "korwind.p" + QByteArray::number(target), dependencyConditions, random);
        }
        for (int k = 0; k < 4 && i < split; ++k)
            text += relationLine("conflicts", "korwind.p" + QByteArray::number(random.bounded(split, n)),
                                 otherConditions, random);
        for (int k = 0; k < 2; ++k)
            text += relationLine("replaces", "korwind.old" + QByteArray::number(random.bounded(n)), otherConditions,
                                 random);
        text += '\n';
    }
    return text + "DATAEND\n";
}

// Half the installed maps are older or equal versions of offered ones, half are replaced maps that
// carry conflicts of their own.
QList<MapInfo> installedMaps(int count, int n, QRandomGenerator &random)
{
    QList<MapInfo> maps;
    for (int i = 0; i < count; ++i) {
        MapInfo map;
        map.kind = ProductInfo::InstalledMap;
        map.code = (i % 2 ? QStringLiteral("korwind.old%1") : QStringLiteral("korwind.p%1")).arg(random.bounded(n));
        map.majorVersion = 1;
        map.minorVersion = random.bounded(3);
        for (int k = 0; k < 4; ++k) {
            PackageRelation relation;
            relation.code = QStringLiteral("korwind.p%1").arg(random.bounded(n));
            map.conflicts << relation;
        }
        maps << map;
    }
    return maps;
}

double milliseconds(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QByteArray(argv[i]).toInt();
    if (sizes.isEmpty())
        sizes << 2000;

    for (const int n : sizes) {
        QRandomGenerator random(20240601);
        const QByteArray text = packageList(n, random);
        const QList<MapInfo> installed = installedMaps(n / 4, n, random);

        QElapsedTimer timer;
        timer.start();
        QList<MapInfo> available;
        if (!parseMapPackageList(text, available)) {
            std::fprintf(stderr, "the generated list was rejected\n");
            return 1;
        }
        const double parse = milliseconds(timer);

        std::vector<double> builds;
        for (int round = 0; round < 5; ++round) {
            timer.restart();
            const PackageResolver resolver(available, installed);
            builds.push_back(milliseconds(timer));
        }

        PackageServices services;
        const MapDisplayInfo *first = nullptr;
        int emitted = 0;
        QObject::connect(&services, &PackageServices::reportAvailableMaps,
                         [&first](const QList<const MapDisplayInfo *> &topLevel, const QList<const MapDisplayInfo *> &) {
                             first = topLevel.value(0);
                         });
        QObject::connect(&services, &PackageServices::setNewMapState, [&emitted] { ++emitted; });
        QObject::connect(&services, &PackageServices::setNewMapEnabled, [&emitted] { ++emitted; });
        QObject::connect(&services, &PackageServices::setExistingMapState, [&emitted] { ++emitted; });
        services.foundMapUpdates(available);
        services.foundInstalledMaps(installed);
        services.reportMaps(); // builds the resolver

        std::vector<double> clicks;
        int statesOfClick = 0;
        for (int round = 0; round < 21; ++round) {
            // Alternate choosing and un-choosing map 0: each is one full recomputation.
            const PACKAGE_STATE state = round % 2 ? PS_NEW_AVAILABLE : PS_NEW_INSTALLATION;
            emitted = 0;
            timer.restart();
            services.clickedMap(first, state);
            const double elapsed = milliseconds(timer);
            if (state == PS_NEW_INSTALLATION) {
                clicks.push_back(elapsed);
                statesOfClick = emitted;
            }
        }
        QList<const MapInfo *> toInstall;
        QList<const MapInfo *> toDelete;
        services.selectionResult(toInstall, toDelete);

        std::printf("n=%d installed=%d list=%lld KiB parse=%.2f ms build=%.2f ms click=%.3f ms "
                    "(states=%d install=%lld delete=%lld)\n",
                    n, int(installed.size()), static_cast<long long>(text.size() / 1024), parse, median(builds),
                    median(clicks), statesOfClick, static_cast<long long>(toInstall.size()),
                    static_cast<long long>(toDelete.size()));
        std::fflush(stdout);
    }
    return 0;
}
