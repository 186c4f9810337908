#include "packageservices.h"
#include "sharedtypes.h"
#include "testpackages.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// Available maps of the fixture, by index.
enum : int { Rus, RusCentral, Base, Ukr, RusVolga, Fonts, UkrLite };

QList<MapInfo> offeredMaps()
{
    QList<MapInfo> maps = {package(QStringLiteral("korwind.rus"), 2, 0),         package(QStringLiteral("korwind.rus.central")),
                           package(QStringLiteral("korwind.base")),              package(QStringLiteral("korwind.ukr")),
                           package(QStringLiteral("korwind.rus.volga")),         package(QStringLiteral("korwind.fonts")),
                           package(QStringLiteral("korwind.ukr.lite"))};
    maps[RusCentral].depends << relation(QStringLiteral("korwind.base")) << relation(QStringLiteral("korwind.fonts"));
    maps[Ukr].replaces << relation(QStringLiteral("korwind.ukr.old"));
    maps[UkrLite].conflicts << relation(QStringLiteral("korwind.ukr"));
    return maps;
}

QList<MapInfo> mapsOnDevice()
{
    return {installedPackage(QStringLiteral("korwind.rus"), 1, 0), installedPackage(QStringLiteral("korwind.base")),
            installedPackage(QStringLiteral("korwind.ukr.old"))};
}

ProductInfo product(const QString &version)
{
    ProductInfo info;
    info.name = QStringLiteral("Korwind Navigator");
    info.version = version;
    return info;
}

QStringList codes(const QList<const MapInfo *> &maps)
{
    QStringList result;
    for (const MapInfo *map : maps)
        result << map->code + QLatin1Char(' ') + QString::number(map->majorVersion);
    return result;
}

// The map with its file size; damaged as the record of its installation may have found it.
MapInfo sized(MapInfo map, quint64 size, bool damaged = false)
{
    map.file.size = size;
    map.isDamaged = damaged;
    return map;
}

} // namespace

class TestPackageServices : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void selfUpdateNewerThanThisProgram_data();
    void selfUpdateNewerThanThisProgram();
    void navigatorUpdatesNewerThanInstalled();
    void reportMapsBuildsTheTree();
    void regionalMapWithoutCountryIsTopLevel();
    void recordsOfTheWrongKindAreDropped();
    void clickAndUndo();
    void dependenciesOfAClick();
    void removalClickCascades();
    void updateAndReplacementDeleteInstalled();
    void refusedChoiceIsTakenBack_data();
    void refusedChoiceIsTakenBack();
    void clickOnUnknownEntryOnlyRecomputes();
    void entriesOfAnEarlierTreeAreNeverCurrent();
    void deletionWarningListsCancelEqualMaps();
    void damagedMapIsChosenForReinstallation_data();
    void damagedMapIsChosenForReinstallation();

private:
    // Every state signal in emission order, one line each.
    QStringList takeLog();
    const MapDisplayInfo *entryOf(int availableIndex) const;
    void present(const QList<MapInfo> &offered, const QList<MapInfo> &installed);

    PackageServices *m_services = nullptr;
    QStringList m_log;
    QList<const MapDisplayInfo *> m_topLevel;
    QList<const MapDisplayInfo *> m_existing;
};

void TestPackageServices::initTestCase()
{
    registerSharedTypes();
}

void TestPackageServices::init()
{
    m_services = new PackageServices;
    m_log.clear();
    const auto name = [](const MapDisplayInfo *entry) { return entry->map->code; };
    connect(m_services, &PackageServices::setNewMapState, this, [this, name](const MapDisplayInfo *entry, PACKAGE_STATE state) {
        m_log << QStringLiteral("new %1 = %2").arg(name(entry)).arg(int(state));
    });
    connect(m_services, &PackageServices::setNewMapEnabled, this, [this, name](const MapDisplayInfo *entry, bool enabled) {
        m_log << QStringLiteral("enabled %1 = %2").arg(name(entry)).arg(int(enabled));
    });
    connect(m_services, &PackageServices::setExistingMapState, this,
            [this, name](const MapDisplayInfo *entry, PACKAGE_STATE state) {
                m_log << QStringLiteral("existing %1 = %2").arg(name(entry)).arg(int(state));
            });
    connect(m_services, &PackageServices::setStatesFinished, this, [this] { m_log << QStringLiteral("finished"); });
    connect(m_services, &PackageServices::selectionRefused, this,
            [this](const QString &reason) { m_log << QStringLiteral("refused: ") + reason; });
    connect(m_services, &PackageServices::reportAvailableMaps, this,
            [this](const QList<const MapDisplayInfo *> &topLevel, const QList<const MapDisplayInfo *> &existing) {
                m_topLevel = topLevel;
                m_existing = existing;
                m_log << QStringLiteral("maps");
            });
}

void TestPackageServices::cleanup()
{
    delete m_services;
    m_services = nullptr;
}

QStringList TestPackageServices::takeLog()
{
    return std::exchange(m_log, {});
}

const MapDisplayInfo *TestPackageServices::entryOf(int availableIndex) const
{
    // Walks the tree as the selection page sees it.
    for (const MapDisplayInfo *entry : m_topLevel) {
        for (const MapDisplayInfo *candidate : QList<const MapDisplayInfo *>{entry} + entry->children) {
            if (candidate->map->code == offeredMaps()[availableIndex].code)
                return candidate;
        }
    }
    return nullptr;
}

void TestPackageServices::present(const QList<MapInfo> &offered, const QList<MapInfo> &installed)
{
    m_services->foundMapUpdates(offered);
    m_services->foundInstalledMaps(installed);
    m_services->reportMaps();
    QCOMPARE(takeLog(), QStringList({QStringLiteral("maps"), QStringLiteral("finished")}));
}

void TestPackageServices::selfUpdateNewerThanThisProgram_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("offered");

    QTest::newRow("same version") << QStringLiteral("1.0.7.17") << false;
    QTest::newRow("last number 18") << QStringLiteral("1.0.7.18") << true;
    QTest::newRow("older") << QStringLiteral("1.0.7.16") << false;
    QTest::newRow("newer third number") << QStringLiteral("1.0.8.0") << true;
    QTest::newRow("not a version") << QStringLiteral("1.0.7.x") << false;
    QTest::newRow("none received") << QString() << false;
}

void TestPackageServices::selfUpdateNewerThanThisProgram()
{
    QFETCH(QString, version);
    QFETCH(bool, offered);

    m_services->foundSelfUpdate(product(version));
    const ProductInfo *update = m_services->selfUpdate();
    QCOMPARE(update != nullptr, offered);
    if (update)
        QCOMPARE(update->version, version);
}

void TestPackageServices::navigatorUpdatesNewerThanInstalled()
{
    QSignalSpy reported(m_services, &PackageServices::reportAvailableKorwind);
    m_services->foundKorwindUpdates({product(QStringLiteral("5.1.0.0")), product(QStringLiteral("5.2.0.0")),
                                     product(QStringLiteral("5.0.9.9")), product(QStringLiteral("6.0.0.0")),
                                     product(QStringLiteral("bad"))});
    m_services->foundInstalledKorwind(DottedVersion(5, 1, 0, 0));

    QList<const ProductInfo *> offered = {nullptr};
    m_services->offeredNavigatorUpdates(offered);
    QCOMPARE(offered.size(), 2);
    QCOMPARE(offered[0]->version, QStringLiteral("5.2.0.0"));
    QCOMPARE(offered[1]->version, QStringLiteral("6.0.0.0"));

    m_services->korwindSelected(1);
    m_services->reportNavigatorUpdates();
    QCOMPARE(reported.size(), 1);
    QCOMPARE(reported[0][0].value<QList<const ProductInfo *>>(), offered);
    QVERIFY(!m_services->selectedNavigatorUpdate()); // the report resets the choice

    // The page's index counts the offered updates, not every received one.
    m_services->korwindSelected(1);
    QCOMPARE(m_services->selectedNavigatorUpdate(), offered[1]);
    m_services->korwindSelected(2);
    QVERIFY(!m_services->selectedNavigatorUpdate());
    m_services->korwindSelected(-1);
    QVERIFY(!m_services->selectedNavigatorUpdate());
}

void TestPackageServices::reportMapsBuildsTheTree()
{
    QSignalSpy reported(m_services, &PackageServices::reportAvailableMaps);
    present(offeredMaps(), mapsOnDevice());

    QCOMPARE(reported.size(), 1);
    QStringList topLevel;
    for (const MapDisplayInfo *entry : m_topLevel)
        topLevel << QStringLiteral("%1:%2").arg(entry->map->code).arg(entry->kind);
    QCOMPARE(topLevel, QStringList({QStringLiteral("korwind.rus:0"), QStringLiteral("korwind.base:2"),
                                    QStringLiteral("korwind.ukr:0"), QStringLiteral("korwind.fonts:1"),
                                    QStringLiteral("korwind.ukr.lite:1")}));
    const MapDisplayInfo *country = m_topLevel.first();
    QCOMPARE(country->children.size(), 2);
    QCOMPARE(country->children[0]->map->code, QStringLiteral("korwind.rus.central"));
    QCOMPARE(country->children[1]->map->code, QStringLiteral("korwind.rus.volga"));
    QCOMPARE(country->children[0]->kind, int(MapDisplayInfo::NewMap));

    QCOMPARE(m_existing.size(), 3);
    for (const MapDisplayInfo *entry : m_existing) {
        QCOMPARE(entry->kind, int(MapDisplayInfo::Installed));
        QCOMPARE(entry->map->kind, int(ProductInfo::InstalledMap));
    }
}

void TestPackageServices::regionalMapWithoutCountryIsTopLevel()
{
    present(offeredMaps().mid(RusCentral, 1) + offeredMaps().mid(RusVolga, 1), {});
    QCOMPARE(m_topLevel.size(), 2);
    QVERIFY(m_topLevel[0]->children.isEmpty());
}

void TestPackageServices::recordsOfTheWrongKindAreDropped()
{
    present({package(QStringLiteral("a")), installedPackage(QStringLiteral("b"))},
            {installedPackage(QStringLiteral("c")), package(QStringLiteral("d"))});
    QCOMPARE(m_topLevel.size(), 1);
    QCOMPARE(m_topLevel[0]->map->code, QStringLiteral("a"));
    QCOMPARE(m_existing.size(), 1);
    QCOMPARE(m_existing[0]->map->code, QStringLiteral("c"));
}

void TestPackageServices::clickAndUndo()
{
    present(offeredMaps(), {});
    QSignalSpy states(m_services, &PackageServices::setNewMapState);

    // The map that conflicts with the choice is locked.
    m_services->clickedMap(entryOf(Ukr), PS_NEW_INSTALLATION);
    QCOMPARE(takeLog(), QStringList({QStringLiteral("new korwind.ukr = 1"), QStringLiteral("enabled korwind.ukr.lite = 0"),
                                     QStringLiteral("finished")}));
    QCOMPARE(states.size(), 1);
    QCOMPARE(states[0][0].value<const MapDisplayInfo *>(), entryOf(Ukr));
    QCOMPARE(states[0][1].value<PACKAGE_STATE>(), PS_NEW_INSTALLATION);

    m_services->clickedMap(entryOf(Ukr), PS_NEW_AVAILABLE);
    QCOMPARE(takeLog(), QStringList({QStringLiteral("finished")}));
    QCOMPARE(states.size(), 1);
    QList<const MapInfo *> install = {nullptr};
    QList<const MapInfo *> remove = {nullptr};
    m_services->selectionResult(install, remove);
    QVERIFY(install.isEmpty() && remove.isEmpty());
}

void TestPackageServices::dependenciesOfAClick()
{
    present(offeredMaps(), mapsOnDevice());

    // The region needs the base map (installed at this version) and the fonts (new): the fonts come
    // along as a selection, both are locked.
    m_services->clickedMap(entryOf(RusCentral), PS_NEW_INSTALLATION);
    QCOMPARE(takeLog(), QStringList({QStringLiteral("new korwind.rus.central = 1"), QStringLiteral("new korwind.fonts = 1"),
                                     QStringLiteral("enabled korwind.base = 0"), QStringLiteral("enabled korwind.fonts = 0"),
                                     QStringLiteral("finished")}));
    QList<const MapInfo *> install;
    QList<const MapInfo *> remove;
    m_services->selectionResult(install, remove);
    QCOMPARE(codes(install), QStringList({QStringLiteral("korwind.rus.central 1"), QStringLiteral("korwind.fonts 1")}));
    QVERIFY(remove.isEmpty());

    m_services->clickedMap(entryOf(RusCentral), PS_NEW_AVAILABLE);
    QCOMPARE(takeLog(), QStringList({QStringLiteral("finished")}));
}

void TestPackageServices::removalClickCascades()
{
    QList<MapInfo> installed = mapsOnDevice();
    installed << installedPackage(QStringLiteral("korwind.rus.central"));
    present(offeredMaps(), installed);

    // Removing the base map removes the region that depends on it.
    m_services->clickedMap(entryOf(Base), PS_GROUP_PARTLY_SELECTED);
    QCOMPARE(takeLog(), QStringList({QStringLiteral("new korwind.base = 2"), QStringLiteral("new korwind.rus.central = 2"),
                                     QStringLiteral("enabled korwind.rus.central = 0"),
                                     QStringLiteral("existing korwind.base = 2"),
                                     QStringLiteral("existing korwind.rus.central = 2"), QStringLiteral("finished")}));
    QList<const MapInfo *> install;
    QList<const MapInfo *> remove;
    m_services->selectionResult(install, remove);
    QVERIFY(install.isEmpty());
    QCOMPARE(codes(remove), QStringList({QStringLiteral("korwind.base 1"), QStringLiteral("korwind.rus.central 1")}));

    m_services->clickedMap(entryOf(Base), PS_NEW_AVAILABLE);
    QCOMPARE(takeLog(), QStringList({QStringLiteral("finished")}));
}

void TestPackageServices::updateAndReplacementDeleteInstalled()
{
    present(offeredMaps(), mapsOnDevice());

    m_services->setMapsSelection({{entryOf(Rus), PS_NEW_INSTALLATION}, {entryOf(Ukr), PS_NEW_INSTALLATION}});
    QCOMPARE(takeLog(), QStringList({QStringLiteral("new korwind.rus = 1"), QStringLiteral("new korwind.ukr = 1"),
                                     QStringLiteral("enabled korwind.ukr.lite = 0"), QStringLiteral("existing korwind.rus = 2"),
                                     QStringLiteral("existing korwind.ukr.old = 2"), QStringLiteral("finished")}));
    QList<const MapInfo *> install;
    QList<const MapInfo *> remove;
    m_services->selectionResult(install, remove);
    QCOMPARE(codes(install), QStringList({QStringLiteral("korwind.rus 2"), QStringLiteral("korwind.ukr 1")}));
    QCOMPARE(codes(remove), QStringList({QStringLiteral("korwind.rus 1"), QStringLiteral("korwind.ukr.old 1")}));
}

void TestPackageServices::refusedChoiceIsTakenBack_data()
{
    QTest::addColumn<QList<int>>("choice"); // one map is a click, several one selection
    QTest::addColumn<QString>("reason");
    QTest::newRow("a conflicting pair chosen together")
        << QList<int>{UkrLite, Ukr} << "These maps cannot be installed together: korwind.ukr; korwind.ukr.lite.";
    QTest::newRow("a conflicting map clicked")
        << QList<int>{Ukr} << "These maps cannot be installed together: korwind.ukr; korwind.ukr.lite.";
    QTest::newRow("a dependency nobody offers")
        << QList<int>{RusVolga} << "korwind.rus.volga needs a map that the update server does not offer.";
}
void TestPackageServices::refusedChoiceIsTakenBack()
{
    QFETCH(QList<int>, choice);
    QFETCH(QString, reason);
    QList<MapInfo> offered = offeredMaps();
    offered[RusVolga].depends << relation(QStringLiteral("korwind.rus"), QStringLiteral(">="), 3, 0);
    present(offered, mapsOnDevice());
    m_services->clickedMap(entryOf(UkrLite), PS_NEW_INSTALLATION);
    const QStringList before = takeLog();

    // Refused: the user is told why, and the choice before it is shown and handed on, not the maps asked for.
    if (choice.size() == 1) {
        m_services->clickedMap(entryOf(choice.first()), PS_NEW_INSTALLATION);
    } else {
        QMap<const MapDisplayInfo *, PACKAGE_STATE> selection;
        for (const int index : choice)
            selection.insert(entryOf(index), PS_NEW_INSTALLATION);
        m_services->setMapsSelection(selection);
    }
    QCOMPARE(takeLog(), QStringList{QStringLiteral("refused: ") + reason} + before);
    QList<const MapInfo *> install;
    QList<const MapInfo *> remove;
    m_services->selectionResult(install, remove);
    QCOMPARE(codes(install), QStringList{QStringLiteral("korwind.ukr.lite 1")});
    QCOMPARE(codes(remove), QStringList{QStringLiteral("korwind.ukr.old 1")}); // as the choice before it had it

    // The next choice starts from there.
    m_services->clickedMap(entryOf(UkrLite), PS_NEW_AVAILABLE);
    QCOMPARE(takeLog(), QStringList{QStringLiteral("finished")});
}

void TestPackageServices::clickOnUnknownEntryOnlyRecomputes()
{
    present(offeredMaps(), mapsOnDevice());
    m_services->clickedMap(entryOf(Fonts), PS_NEW_INSTALLATION);
    takeLog();

    const MapDisplayInfo stranger;
    m_services->clickedMap(&stranger, PS_NEW_AVAILABLE);
    m_services->clickedMap(m_existing.first(), PS_NEW_AVAILABLE);
    m_services->clickedMap(entryOf(Fonts), PS_UP_TO_DATE); // a state without a rule
    const QStringList unchanged = {QStringLiteral("new korwind.fonts = 1"), QStringLiteral("finished")};
    QCOMPARE(takeLog(), unchanged + unchanged + unchanged);
}

void TestPackageServices::entriesOfAnEarlierTreeAreNeverCurrent()
{
    present({package(QStringLiteral("a")), package(QStringLiteral("b"))}, {installedPackage(QStringLiteral("x"))});
    const QList<const MapDisplayInfo *> oldTree = m_topLevel + m_existing;

    // The page is told to drop the tree before its entries go, and only once.
    m_services->foundMapUpdates({package(QStringLiteral("c")), package(QStringLiteral("d"))});
    QCOMPARE(takeLog(), QStringList({QStringLiteral("maps")}));
    QVERIFY(m_topLevel.isEmpty() && m_existing.isEmpty());
    m_services->foundInstalledMaps({installedPackage(QStringLiteral("y"))});
    QVERIFY(takeLog().isEmpty());
    m_services->reportMaps();
    QCOMPARE(takeLog(), QStringList({QStringLiteral("maps"), QStringLiteral("finished")}));

    for (const MapDisplayInfo *entry : m_topLevel + m_existing)
        QVERIFY(!oldTree.contains(entry));
    for (const MapDisplayInfo *old : oldTree)
        m_services->clickedMap(old, PS_NEW_INSTALLATION);
    QCOMPARE(takeLog(), QStringList(3, QStringLiteral("finished")));
    QList<const MapInfo *> install;
    QList<const MapInfo *> remove;
    m_services->selectionResult(install, remove);
    QVERIFY(install.isEmpty() && remove.isEmpty());
}

void TestPackageServices::deletionWarningListsCancelEqualMaps()
{
    // Installing a and b; the installed b (same version) and two copies of p conflict with a.
    QList<MapInfo> installed = {installedPackage(QStringLiteral("b")), installedPackage(QStringLiteral("p")),
                                installedPackage(QStringLiteral("p"))};
    installed[0].conflicts << relation(QStringLiteral("a"));
    installed[1].conflicts << relation(QStringLiteral("a"));
    installed[2].conflicts << relation(QStringLiteral("a"));
    present({package(QStringLiteral("a")), package(QStringLiteral("b"))}, installed);
    m_services->setMapsSelection({{m_topLevel[0], PS_NEW_INSTALLATION}, {m_topLevel[1], PS_NEW_INSTALLATION}});

    QList<const MapInfo *> install;
    QList<const MapInfo *> remove;
    m_services->selectionResult(install, remove);
    QCOMPARE(codes(install), QStringList({QStringLiteral("a 1"), QStringLiteral("b 1")}));
    QCOMPARE(codes(remove), QStringList({QStringLiteral("b 1"), QStringLiteral("p 1"), QStringLiteral("p 1")}));

    QList<const MapInfo *> first;
    QList<const MapInfo *> second;
    m_services->deletionWarningLists(first, second);
    QCOMPARE(codes(first), QStringList({QStringLiteral("a 1")}));
    QCOMPARE(codes(second), QStringList({QStringLiteral("p 1")}));
}

void TestPackageServices::damagedMapIsChosenForReinstallation_data()
{
    QTest::addColumn<QList<MapInfo>>("offered");
    QTest::addColumn<MapInfo>("installed");
    QTest::addColumn<bool>("damaged");
    QTest::addColumn<int>("kind"); // of the first offer; a reinstallation starts out chosen

    const MapInfo offer = sized(package(QStringLiteral("a")), 200);
    const int reinstallation = MapDisplayInfo::Reinstallation;
    const int sameVersion = MapDisplayInfo::SameVersion;
    QTest::newRow("size differs") << QList<MapInfo>{offer} << sized(installedPackage(QStringLiteral("a")), 100)
                                  << true << reinstallation;
    QTest::newRow("same size") << QList<MapInfo>{offer} << sized(installedPackage(QStringLiteral("a")), 200) << false
                               << sameVersion;
    QTest::newRow("damaged by the record") << QList<MapInfo>{offer}
                                           << sized(installedPackage(QStringLiteral("a")), 200, true) << true
                                           << reinstallation;
    // The update repairs it; choosing both versions would install the code twice.
    QTest::newRow("a newer version is offered") << QList<MapInfo>{offer, sized(package(QStringLiteral("a"), 2), 300)}
                                                << sized(installedPackage(QStringLiteral("a")), 100) << true
                                                << sameVersion;
    QTest::newRow("no offer") << QList<MapInfo>{sized(package(QStringLiteral("b")), 100)}
                              << sized(installedPackage(QStringLiteral("a")), 100, true) << true
                              << int(MapDisplayInfo::NewMap);
}

void TestPackageServices::damagedMapIsChosenForReinstallation()
{
    QFETCH(QList<MapInfo>, offered);
    QFETCH(MapInfo, installed);
    QFETCH(bool, damaged);
    QFETCH(int, kind);

    m_services->foundMapUpdates(offered);
    m_services->foundInstalledMaps({installed});
    m_services->reportMaps();
    QCOMPARE(m_existing.size(), 1);
    QCOMPARE(m_existing[0]->map->isDamaged, damaged);
    QCOMPARE(m_topLevel[0]->kind, kind);
    const bool chosen = kind == MapDisplayInfo::Reinstallation;
    const QStringList reinstalled = {QStringLiteral("new a = 1"), QStringLiteral("existing a = 2")};
    QCOMPARE(takeLog(), QStringList{QStringLiteral("maps")} + (chosen ? reinstalled : QStringList())
                            + QStringList{QStringLiteral("finished")});

    QList<const MapInfo *> install;
    QList<const MapInfo *> remove;
    m_services->selectionResult(install, remove);
    QCOMPARE(codes(install), chosen ? QStringList{QStringLiteral("a 1")} : QStringList());
    QCOMPARE(codes(remove), codes(install));
    // The same map goes and comes: no warning about a deletion.
    QList<const MapInfo *> installedWarning = {nullptr};
    QList<const MapInfo *> removedWarning = {nullptr};
    m_services->deletionWarningLists(installedWarning, removedWarning);
    QVERIFY(installedWarning.isEmpty() && removedWarning.isEmpty());

    // The user may keep the damaged map as it is.
    m_services->clickedMap(m_topLevel[0], PS_NEW_AVAILABLE);
    m_services->selectionResult(install, remove);
    QVERIFY(install.isEmpty() && remove.isEmpty());
}

QTEST_GUILESS_MAIN(TestPackageServices)
#include "tst_packageservices.moc"
