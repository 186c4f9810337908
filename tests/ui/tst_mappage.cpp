#include "freespacechecker.h"
#include "mapupdatechoosewidget.h"
#include "mapviewdelegate.h"
#include "mapviewelement.h"
#include "packageservices.h"
#include "sharedtypes.h"
#include "treeitemdelegate.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>
#include <QCheckBox>

namespace {

constexpr quint64 megabyte = 1024 * 1024;

MapInfo map(const QString &code, quint64 megabytes, int major = 1, int kind = ProductInfo::MapPackage)
{
    MapInfo info;
    info.code = code;
    info.name = code;
    info.version = QStringLiteral("%1.0").arg(major);
    info.majorVersion = major;
    info.kind = kind;
    info.file.size = megabytes * megabyte;
    return info;
}

// A country with two regional maps (one needs the fonts), the country's update of an installed
// version, a map installed in the offered version and a map of its own.
QList<MapInfo> offeredMaps()
{
    QList<MapInfo> maps = {map(QStringLiteral("korwind.rus"), 105, 2), map(QStringLiteral("korwind.rus.central"), 40),
                           map(QStringLiteral("korwind.rus.volga"), 30), map(QStringLiteral("korwind.base"), 10),
                           map(QStringLiteral("korwind.fonts"), 50)};
    PackageRelation needsFonts;
    needsFonts.code = QStringLiteral("korwind.fonts");
    maps[1].depends << needsFonts;
    maps[4].description = QStringLiteral("Fonts for the map labels");
    return maps;
}

QList<MapInfo> installedMaps()
{
    return {map(QStringLiteral("korwind.rus"), 100, 1, ProductInfo::InstalledMap),
            map(QStringLiteral("korwind.base"), 10, 1, ProductInfo::InstalledMap)};
}

class FakeSpace final : public FreeSpaceDataProvider
{
public:
    qint64 freeSpace(int) override { return free; }
    qint64 otherFilesSize(int) override { return other; }
    qint64 free = 0;
    qint64 other = 0;
};

// The row of the tree that a screen reader finds for the map.
QAccessibleInterface *accessibleRow(QTreeWidget *tree, const QString &code)
{
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(tree);
    for (int i = 0; i < view->childCount(); ++i) {
        QAccessibleInterface *row = view->child(i);
        if (row && row->role() == QAccessible::TreeItem && row->text(QAccessible::Name).startsWith(code + QStringLiteral(", ")))
            return row;
    }
    return nullptr;
}

QStringList codes(const QList<const MapInfo *> &maps)
{
    QStringList result;
    for (const MapInfo *info : maps)
        result << info->code;
    return result;
}

} // namespace

class TestMapPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void treeLayout();
    void clickReachesTheServices_data();
    void clickReachesTheServices();
    void wholeGroupIsOneSelection();
    void refusedChoiceIsShown_data();
    void refusedChoiceIsShown();
    void freeSpace_data();
    void freeSpace();
    void selectionTest_data();
    void selectionTest();
    void backupBox_data();
    void backupBox();
    void twoTreesInARow();
    void screenReaderReadsAndActsOnTheRows();
    void storageCardChoiceIsOneControl();
    void damagedMapRow_data();
    void damagedMapRow();

private:
    void connectServices();
    void present(const QList<MapInfo> &offered, const QList<MapInfo> &installed);
    MapViewElement *element(const QString &code) const;
    void clickIcon(const QString &code);
    bool lastCanContinue() const;

    PackageServices *m_services = nullptr;
    MapUpdateChooseWidget *m_page = nullptr;
    QTreeWidget *m_tree = nullptr;
    QSignalSpy *m_canContinue = nullptr;
    FakeSpace m_space;
    FreeSpaceChecker m_checker{&m_space, 0};
};

void TestMapPage::initTestCase()
{
    registerSharedTypes();
}

void TestMapPage::init()
{
    m_services = new PackageServices;
    m_page = new MapUpdateChooseWidget;
    m_page->resize(800, 450);
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page));
    m_tree = m_page->findChild<QTreeWidget *>(QStringLiteral("mapTree"));
    m_canContinue = new QSignalSpy(m_page, &MapUpdateChooseWidget::reportCanContinue);
    m_space.free = qint64(1000 * megabyte);
    m_space.other = 0;
    m_page->setFreeSpaceChecker(&m_checker);
}

void TestMapPage::cleanup()
{
    delete m_canContinue;
    delete m_page;
    delete m_services;
}

// The window's wiring between the page and the package services.
void TestMapPage::connectServices()
{
    connect(m_services, &PackageServices::reportAvailableMaps, m_page, &MapUpdateChooseWidget::addMapUpdateInfo);
    connect(m_services, &PackageServices::setNewMapState, m_page, &MapUpdateChooseWidget::changeNewMapState);
    connect(m_services, &PackageServices::setNewMapEnabled, m_page, &MapUpdateChooseWidget::changeNewMapEnabled);
    connect(m_services, &PackageServices::setExistingMapState, m_page, &MapUpdateChooseWidget::changeExistingMapState);
    connect(m_services, &PackageServices::setStatesFinished, m_page, &MapUpdateChooseWidget::refresh);
    connect(m_services, &PackageServices::selectionRefused, m_page, &MapUpdateChooseWidget::showSelectionRefused);
    connect(m_page, &MapUpdateChooseWidget::clickedMap, m_services, &PackageServices::clickedMap);
    connect(m_page, &MapUpdateChooseWidget::setMapsSelection, m_services, &PackageServices::setMapsSelection);
}

void TestMapPage::present(const QList<MapInfo> &offered, const QList<MapInfo> &installed)
{
    m_services->foundMapUpdates(offered);
    m_services->foundInstalledMaps(installed);
    m_services->reportMaps();
    m_tree->expandAll();
}

MapViewElement *TestMapPage::element(const QString &code) const
{
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        auto *candidate = static_cast<MapViewElement *>(*it);
        if (candidate->name() == code)
            return candidate;
    }
    return nullptr;
}

// A click on the map's icon, or the space key on it when the code starts with "key:", or a screen reader's
// action on its row for "reader:".
void TestMapPage::clickIcon(const QString &code)
{
    if (code.startsWith(QStringLiteral("reader:"))) {
        QAccessibleInterface *row = accessibleRow(m_tree, code.mid(7));
        QVERIFY(row && row->actionInterface());
        row->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        return;
    }
    if (code.startsWith(QStringLiteral("key:"))) {
        m_tree->setCurrentItem(element(code.mid(4)));
        QTest::keyClick(m_tree, Qt::Key_Space);
        return;
    }
    MapViewElement *target = element(code);
    QVERIFY(target);
    const auto *itemDelegate = static_cast<TreeItemDelegate *>(m_tree->itemDelegate());
    const QPoint center = itemDelegate->iconRect(m_tree->visualItemRect(target)).center();
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, center);
}

bool TestMapPage::lastCanContinue() const
{
    return !m_canContinue->isEmpty() && m_canContinue->last().first().toBool();
}

void TestMapPage::treeLayout()
{
    connectServices();
    present(offeredMaps(), installedMaps() + QList<MapInfo>{map(QStringLiteral("korwind.old"), 5, 1, ProductInfo::InstalledMap)});

    // Sorted by name; regional maps under their country; an installed map shares the row of its offer.
    QStringList rows;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        const auto *row = static_cast<MapViewElement *>(*it);
        rows << QStringLiteral("%1%2 %3").arg(row->parent() ? QStringLiteral("  ") : QString(), row->name()).arg(int(row->state()));
    }
    QCOMPARE(rows, QStringList({QStringLiteral("korwind.base 7"), QStringLiteral("korwind.fonts 0"),
                                QStringLiteral("korwind.old 7"), QStringLiteral("korwind.rus 4"),
                                QStringLiteral("  korwind.rus.central 0"), QStringLiteral("  korwind.rus.volga 0")}));
    QCOMPARE(element(QStringLiteral("korwind.rus"))->text(0), QStringLiteral("korwind.rus, version 2.0 (installed: 1.0)"));
    QCOMPARE(element(QStringLiteral("korwind.rus"))->data(0, TreeItemDelegate::StateTextRole).toString(),
             QStringLiteral("Installed, update available"));
    QCOMPARE(element(QStringLiteral("korwind.fonts"))->details(), QStringLiteral("Fonts for the map labels\nSize: 50MB"));
    QCOMPARE(element(QStringLiteral("korwind.rus.volga"))->details(), QStringLiteral("No info available\nSize: 30MB"));
    QVERIFY(!element(QStringLiteral("korwind.old"))->isCheckable()); // nothing offered to choose
}

void TestMapPage::clickReachesTheServices_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<int>("asked");   // by the first click
    QTest::addColumn<int>("reported"); // clicks that reached the services
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("state");
    QTest::addColumn<QStringList>("install");
    QTest::addColumn<QStringList>("remove");

    const QString fonts = QStringLiteral("korwind.fonts");
    const QString rus = QStringLiteral("korwind.rus");
    const QString base = QStringLiteral("korwind.base");
    const QString central = QStringLiteral("korwind.rus.central");
    const int install = PS_NEW_INSTALLATION;
    const int remove = PS_GROUP_PARTLY_SELECTED;
    QTest::newRow("new map chosen") << QStringList{fonts} << install << 1 << fonts << install << QStringList{fonts}
                                    << QStringList();
    QTest::newRow("new map chosen by the space key") << QStringList{QStringLiteral("key:") + fonts} << install << 1
                                                     << fonts << install << QStringList{fonts} << QStringList();
    QTest::newRow("new map chosen by a screen reader") << QStringList{QStringLiteral("reader:") + fonts} << install << 1
                                                       << fonts << install << QStringList{fonts} << QStringList();
    QTest::newRow("new map chosen and dropped") << QStringList{fonts, fonts} << install << 2 << fonts
                                                << int(PS_NEW_AVAILABLE) << QStringList() << QStringList();
    QTest::newRow("update") << QStringList{rus} << install << 1 << rus << int(PS_UPDATE_UPDATE) << QStringList{rus}
                            << QStringList{rus};
    QTest::newRow("update, then delete") << QStringList{rus, rus} << install << 2 << rus << int(PS_UPDATE_DELETE)
                                         << QStringList() << QStringList{rus};
    QTest::newRow("update, delete, keep") << QStringList{rus, rus, rus} << install << 3 << rus
                                          << int(PS_UPDATE_AVAILABLE) << QStringList() << QStringList();
    const QString reader = QStringLiteral("reader:");
    QTest::newRow("update, then delete, by a screen reader") << QStringList{reader + rus, reader + rus} << install << 2
                                                              << rus << int(PS_UPDATE_DELETE) << QStringList()
                                                              << QStringList{rus};
    QTest::newRow("same version deleted") << QStringList{base} << remove << 1 << base << int(PS_UP_TO_DATE_DELETE)
                                          << QStringList() << QStringList{base};
    // The fonts follow the regional map and cannot be dropped on their own.
    QTest::newRow("needed map is locked") << QStringList{central, fonts} << install << 1 << fonts << install
                                          << QStringList{fonts, central} << QStringList();
    QTest::newRow("group shows a chosen regional map") << QStringList{central} << install << 1 << rus << remove
                                                       << QStringList{fonts, central} << QStringList();
}

void TestMapPage::clickReachesTheServices()
{
    QFETCH(QStringList, clicks);
    QFETCH(int, asked);
    QFETCH(int, reported);
    QFETCH(QString, shown);
    QFETCH(int, state);
    QFETCH(QStringList, install);
    QFETCH(QStringList, remove);

    connectServices();
    present(offeredMaps(), installedMaps());
    QSignalSpy clicked(m_page, &MapUpdateChooseWidget::clickedMap);
    for (const QString &code : clicks)
        clickIcon(code);

    QCOMPARE(element(shown)->state(), PACKAGE_STATE(state));
    QList<const MapInfo *> toInstall;
    QList<const MapInfo *> toRemove;
    m_services->selectionResult(toInstall, toRemove);
    QStringList installCodes = codes(toInstall);
    installCodes.sort();
    QCOMPARE(installCodes, install);
    QCOMPARE(codes(toRemove), remove);
    QCOMPARE(clicked.size(), reported);
    QCOMPARE(clicked.first().at(1).value<PACKAGE_STATE>(), PACKAGE_STATE(asked));
    QCOMPARE(lastCanContinue(), !install.isEmpty());
}

void TestMapPage::wholeGroupIsOneSelection()
{
    connectServices();
    present(offeredMaps(), installedMaps());
    QSignalSpy selections(m_page, &MapUpdateChooseWidget::setMapsSelection);
    auto *delegate = m_page->findChild<MapViewDelegate *>();
    const MapDisplayInfo *country = element(QStringLiteral("korwind.rus"))->newEntry();

    delegate->chooseGroup(country, true);
    QCOMPARE(selections.size(), 1);
    using Selection = QMap<const MapDisplayInfo *, PACKAGE_STATE>;
    QCOMPARE(selections[0][0].value<Selection>().size(), 3);
    QCOMPARE(element(QStringLiteral("korwind.rus"))->state(), PS_UPDATE_UPDATE);
    QCOMPARE(element(QStringLiteral("korwind.rus.volga"))->state(), PS_NEW_INSTALLATION);
    QVERIFY(lastCanContinue());

    delegate->chooseGroup(country, false);
    QList<const MapInfo *> toInstall;
    QList<const MapInfo *> toRemove;
    m_services->selectionResult(toInstall, toRemove);
    QVERIFY(toInstall.isEmpty() && toRemove.isEmpty());
    QVERIFY(!lastCanContinue());
}

void TestMapPage::refusedChoiceIsShown_data()
{
    // The Volga map conflicts with the central one, or needs a map nobody offers.
    QTest::addColumn<QString>("volgaNeeds");
    QTest::addColumn<bool>("centralFirst"); // the central map chosen before
    QTest::addColumn<QString>("reason");
    QTest::newRow("the whole group, which holds a conflicting pair")
        << "" << false << "These maps cannot be installed together: korwind.rus.central; korwind.rus.volga.";
    QTest::newRow("a map that needs a map nobody offers")
        << "korwind.missing" << true << "korwind.rus.volga needs a map that the update server does not offer.";
}
void TestMapPage::refusedChoiceIsShown()
{
    QFETCH(QString, volgaNeeds);
    QFETCH(bool, centralFirst);
    QFETCH(QString, reason);
    QList<MapInfo> offered = offeredMaps();
    PackageRelation relation;
    relation.code = volgaNeeds.isEmpty() ? QStringLiteral("korwind.rus.central") : volgaNeeds;
    (volgaNeeds.isEmpty() ? offered[2].conflicts : offered[2].depends) << relation;
    connectServices();
    present(offered, installedMaps());
    auto *refusal = m_page->findChild<QLabel *>(QStringLiteral("refusalLabel"));
    QVERIFY(!refusal->isVisible());
    if (centralFirst)
        clickIcon(QStringLiteral("korwind.rus.central"));

    if (volgaNeeds.isEmpty())
        m_page->findChild<MapViewDelegate *>()->chooseGroup(element(QStringLiteral("korwind.rus"))->newEntry(), true);
    else
        clickIcon(QStringLiteral("korwind.rus.volga"));
    QVERIFY(refusal->isVisible());
    QCOMPARE(refusal->text(), QStringLiteral("This choice cannot be made. ") + reason);
    // What was chosen before stays, with what it needs; the update can start only with that.
    const PACKAGE_STATE before = centralFirst ? PS_NEW_INSTALLATION : PS_NEW_AVAILABLE;
    QCOMPARE(element(QStringLiteral("korwind.rus.central"))->state(), before);
    QCOMPARE(element(QStringLiteral("korwind.fonts"))->state(), before);
    QCOMPARE(element(QStringLiteral("korwind.rus.volga"))->state(), PS_NEW_AVAILABLE);
    QCOMPARE(element(QStringLiteral("korwind.rus"))->state(), centralFirst ? PS_GROUP_PARTLY_SELECTED : PS_UPDATE_AVAILABLE);
    QCOMPARE(lastCanContinue(), centralFirst);

    // The next choice clears the notice.
    clickIcon(QStringLiteral("korwind.base"));
    QVERIFY(!refusal->isVisible());
}

void TestMapPage::freeSpace_data()
{
    QTest::addColumn<qint64>("free");
    QTest::addColumn<qint64>("other");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<QString>("available");

    const qint64 mb = qint64(megabyte);
    const QStringList fonts = {QStringLiteral("korwind.fonts")}; // 50 MB
    QTest::newRow("fits in the free space") << 50 * mb << 0ll << fonts << true << QString();
    QTest::newRow("fits with the old map data") << 30 * mb << 20 * mb << fonts << true << QString();
    QTest::newRow("beyond free space and old map data") << 30 * mb << 19 * mb << fonts << false << QStringLiteral("Available: 49MB");
    QTest::newRow("free space unknown") << -1ll << 900 * mb << fonts << false << QStringLiteral("Available: unknown");
    QTest::newRow("old map data unknown") << 900 * mb << -1ll << fonts << false << QStringLiteral("Available: unknown");
    // 105 MB replace 100 MB, which are deleted before the copy.
    QTest::newRow("update fits once the old version is gone") << 5 * mb << 0ll << QStringList{QStringLiteral("korwind.rus")}
                                                              << true << QString();
    QTest::newRow("update does not fit") << 4 * mb << 0ll << QStringList{QStringLiteral("korwind.rus")} << false
                                         << QStringLiteral("Available: 104MB");
    QTest::newRow("nothing chosen, unknown space") << -1ll << -1ll << QStringList() << true << QString();
}

void TestMapPage::freeSpace()
{
    QFETCH(qint64, free);
    QFETCH(qint64, other);
    QFETCH(QStringList, clicks);
    QFETCH(bool, fits);
    QFETCH(QString, available);

    m_space.free = free;
    m_space.other = other;
    connectServices();
    present(offeredMaps(), installedMaps());
    for (const QString &code : clicks)
        clickIcon(code);

    const auto *stack = m_page->findChild<QStackedWidget *>(QStringLiteral("spaceStack"));
    QCOMPARE(stack->currentWidget()->objectName(), fits ? QStringLiteral("enoughSpacePage") : QStringLiteral("notEnoughSpacePage"));
    QCOMPARE(lastCanContinue(), fits && !clicks.isEmpty());
    if (!fits) {
        QCOMPARE(m_page->findChild<QLabel *>(QStringLiteral("availableLabel"))->text(), available);
        QVERIFY(m_page->findChild<QLabel *>(QStringLiteral("neededLabel"))->text().startsWith(QStringLiteral("Needed: ")));
    }
}

void TestMapPage::selectionTest_data()
{
    QTest::addColumn<int>("countryState");
    QTest::addColumn<int>("regionState");
    QTest::addColumn<bool>("canContinue");

    QTest::newRow("nothing chosen") << -1 << -1 << false;
    QTest::newRow("group reported partly selected, alone") << int(PS_GROUP_PARTLY_SELECTED) << -1 << false;
    QTest::newRow("regional map chosen") << -1 << int(PS_NEW_INSTALLATION) << true;
    QTest::newRow("country chosen") << int(PS_NEW_INSTALLATION) << -1 << true;
    QTest::newRow("regional map chosen for removal") << -1 << int(PS_GROUP_PARTLY_SELECTED) << true;
}

void TestMapPage::selectionTest()
{
    QFETCH(int, countryState);
    QFETCH(int, regionState);
    QFETCH(bool, canContinue);

    // The page alone, told the states as the services would.
    const MapInfo countryMap = map(QStringLiteral("korwind.rus"), 1);
    const MapInfo regionMap = map(QStringLiteral("korwind.rus.volga"), 1);
    MapDisplayInfo region;
    region.map = &regionMap;
    region.kind = MapDisplayInfo::NewMap;
    MapDisplayInfo country;
    country.map = &countryMap;
    country.kind = MapDisplayInfo::NewMap;
    country.children = {&region};

    m_page->addMapUpdateInfo({&country}, {});
    if (countryState >= 0)
        m_page->changeNewMapState(&country, PACKAGE_STATE(countryState));
    if (regionState >= 0)
        m_page->changeNewMapState(&region, PACKAGE_STATE(regionState));
    m_page->refresh();
    QCOMPARE(lastCanContinue(), canContinue);
}

void TestMapPage::backupBox_data()
{
    QTest::addColumn<bool>("pending");
    QTest::addColumn<bool>("navigatorChoice");
    QTest::addColumn<bool>("setting");
    QTest::addColumn<bool>("hasInstalled");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("setting on, maps installed") << false << false << true << true << true << true;
    QTest::newRow("setting off") << false << false << false << true << false << true;
    QTest::newRow("nothing installed") << false << false << true << false << false << false;
    QTest::newRow("navigator update with backup") << true << true << false << true << true << false;
    QTest::newRow("navigator update without backup") << true << false << true << true << false << false;
    QTest::newRow("navigator update, nothing installed") << true << true << true << false << true << false;
}

void TestMapPage::backupBox()
{
    QFETCH(bool, pending);
    QFETCH(bool, navigatorChoice);
    QFETCH(bool, setting);
    QFETCH(bool, hasInstalled);
    QFETCH(bool, checked);
    QFETCH(bool, enabled);

    connectServices();
    m_page->setNavigatorVersion(DottedVersion(5, 1, 0, 12));
    m_page->setNavigatorUpdatePending(pending, navigatorChoice);
    m_page->setCreateBackups(setting);
    present(offeredMaps(), hasInstalled ? installedMaps() : QList<MapInfo>());

    const auto *box = m_page->findChild<QCheckBox *>(QStringLiteral("createBackupCheck"));
    QCOMPARE(box->isChecked(), checked);
    QCOMPARE(m_page->isBackupChecked(), checked);
    QCOMPARE(box->isEnabled(), enabled);
    QCOMPARE(m_page->findChild<QLabel *>(QStringLiteral("headerLabel"))->text(),
             QStringLiteral("Choose map updates for Korwind Navigator 5.1.0.12"));
}

void TestMapPage::twoTreesInARow()
{
    connectServices();
    present({map(QStringLiteral("a"), 1), map(QStringLiteral("b"), 1)}, {});
    const MapDisplayInfo *oldA = element(QStringLiteral("a"))->newEntry();

    // The page lets go of the tree before the services drop it.
    m_services->foundMapUpdates({map(QStringLiteral("c"), 1), map(QStringLiteral("d"), 1)});
    QCOMPARE(m_tree->topLevelItemCount(), 0);
    QCOMPARE(m_page->findChild<QStackedWidget *>(QStringLiteral("treeStack"))->currentWidget()->objectName(),
             QStringLiteral("emptyPage"));
    m_services->foundInstalledMaps({});
    m_services->reportMaps();
    QCOMPARE(m_tree->topLevelItemCount(), 2);

    // A late report about an entry of the old tree is not taken for a current map.
    m_page->changeNewMapState(oldA, PS_NEW_INSTALLATION);
    m_page->refresh();
    QVERIFY(!lastCanContinue());
    QCOMPARE(element(QStringLiteral("c"))->state(), PS_NEW_AVAILABLE);

    clickIcon(QStringLiteral("c"));
    QList<const MapInfo *> toInstall;
    QList<const MapInfo *> toRemove;
    m_services->selectionResult(toInstall, toRemove);
    QCOMPARE(codes(toInstall), QStringList({QStringLiteral("c")}));
}

void TestMapPage::screenReaderReadsAndActsOnTheRows()
{
    connectServices();
    present(offeredMaps(), installedMaps());
    m_tree->collapseAll();
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(m_tree);
    QCOMPARE(view->role(), QAccessible::Tree);
    QCOMPARE(view->childCount(), 1 + 3); // the header, then the shown rows

    // Each row says what it is and what happens to it, and gives the map's description.
    QAccessibleInterface *fonts = accessibleRow(m_tree, QStringLiteral("korwind.fonts"));
    QVERIFY(fonts);
    QCOMPARE(fonts->text(QAccessible::Name), QStringLiteral("korwind.fonts, version 1.0, Not chosen"));
    QCOMPARE(fonts->text(QAccessible::Description), QStringLiteral("Fonts for the map labels\nSize: 50MB"));
    QCOMPARE(view->indexOfChild(fonts), 2);
    QCOMPARE(view->child(2), fonts);

    // A country expands and collapses; its regional maps appear among the children.
    QAccessibleInterface *country = accessibleRow(m_tree, QStringLiteral("korwind.rus"));
    QVERIFY(country->state().expandable && country->state().collapsed);
    QCOMPARE(country->actionInterface()->actionNames(),
             QStringList({QAccessibleActionInterface::toggleAction(), QStringLiteral("expand")}));
    country->actionInterface()->doAction(QStringLiteral("expand"));
    QVERIFY(element(QStringLiteral("korwind.rus"))->isExpanded());
    QVERIFY(country->state().expanded);
    QCOMPARE(view->childCount(), 1 + 5);
    QAccessibleInterface *central = accessibleRow(m_tree, QStringLiteral("korwind.rus.central"));
    QVERIFY(central);

    // A map that follows from another choice has nothing to toggle.
    central->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QCOMPARE(m_tree->currentItem(), element(QStringLiteral("korwind.rus.central")));
    QCOMPARE(fonts->text(QAccessible::Name),
             QStringLiteral("korwind.fonts, version 1.0, Will be installed (follows from the other chosen maps)"));
    QVERIFY(fonts->actionInterface()->actionNames().isEmpty());
    QCOMPARE(country->actionInterface()->actionNames(),
             QStringList({QAccessibleActionInterface::toggleAction(), QStringLiteral("collapse")}));
    country->actionInterface()->doAction(QStringLiteral("collapse"));
    QCOMPARE(view->childCount(), 1 + 3);

    // The description pane is read by its text.
    m_tree->setCurrentItem(element(QStringLiteral("korwind.rus")));
    const auto *description = QAccessible::queryAccessibleInterface(m_page->findChild<QLabel *>(QStringLiteral("descriptionLabel")));
    QCOMPARE(description->text(QAccessible::Name), element(QStringLiteral("korwind.rus"))->details());
}

void TestMapPage::storageCardChoiceIsOneControl()
{
    QSignalSpy chosen(m_page, &MapUpdateChooseWidget::changeStorageCardClicked);
    m_page->setSeveralContentFolders(true);
    connectServices();
    present(offeredMaps(), installedMaps());
    QVERIFY(QTest::qWaitForWindowActive(m_page));
    auto *button = m_page->findChild<QPushButton *>(QStringLiteral("storageCardButton"));
    QVERIFY(button->isVisible());

    // One stop after the tree, and back again.
    m_tree->setFocus();
    QTest::keyClick(m_page->windowHandle(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), button);
    QTest::keyClick(m_page->windowHandle(), Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget() != button && !button->isAncestorOf(QApplication::focusWidget()));
    QTest::keyClick(m_page->windowHandle(), Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), button);
    QTest::keyClick(m_page->windowHandle(), Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), m_tree);

    button->setFocus();
    QTest::keyClick(m_page->windowHandle(), Qt::Key_Space);
    QCOMPARE(chosen.size(), 1);
}

void TestMapPage::damagedMapRow_data()
{
    QTest::addColumn<QList<MapInfo>>("offered");
    QTest::addColumn<bool>("recorded"); // damaged by the record of its installation, not only by its size
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("canContinue");

    const MapInfo offer = map(QStringLiteral("korwind.rus"), 100, 2);
    const QList<MapInfo> sameVersion = {offer};
    // 100 MB replace the 50 MB left of the damaged file in 60 MB of free space: the old file's room counts.
    QTest::newRow("chosen when shown") << sameVersion << false << 0 << int(PS_DAMAGED_REINSTALL)
                                       << "Damaged, will be installed again" << true;
    QTest::newRow("then deleted") << sameVersion << false << 1 << int(PS_UP_TO_DATE_DELETE)
                                  << "Will be deleted from the device" << false;
    QTest::newRow("then kept as it is") << sameVersion << false << 2 << int(PS_DAMAGED)
                                        << "Damaged, not chosen to be installed again" << false;
    QTest::newRow("round to reinstallation") << sameVersion << false << 3 << int(PS_DAMAGED_REINSTALL)
                                             << "Damaged, will be installed again" << true;
    QTest::newRow("update offered") << QList<MapInfo>{map(QStringLiteral("korwind.rus"), 100, 3)} << true << 0
                                    << int(PS_DAMAGED) << "Damaged, update available" << false;
    QTest::newRow("nothing offered") << QList<MapInfo>() << true << 0 << int(PS_DAMAGED)
                                     << "Damaged, not offered to be installed again" << false;
}

void TestMapPage::damagedMapRow()
{
    QFETCH(QList<MapInfo>, offered);
    QFETCH(bool, recorded);
    QFETCH(int, clicks);
    QFETCH(int, state);
    QFETCH(QString, text);
    QFETCH(bool, canContinue);

    m_space.free = qint64(60 * megabyte);
    connectServices();
    // A version 2 cut to half its size.
    MapInfo installed = map(QStringLiteral("korwind.rus"), 50, 2, ProductInfo::InstalledMap);
    installed.isDamaged = recorded;
    present(offered, {installed});
    for (int i = 0; i < clicks; ++i)
        clickIcon(QStringLiteral("korwind.rus"));

    MapViewElement *row = element(QStringLiteral("korwind.rus"));
    QCOMPARE(row->state(), PACKAGE_STATE(state));
    QCOMPARE(row->data(0, TreeItemDelegate::StateTextRole).toString(), text);
    QVERIFY2(row->toolTip(0).contains(QStringLiteral("file on the device is damaged")), qPrintable(row->toolTip(0)));
    QCOMPARE(lastCanContinue(), canContinue);
    QCOMPARE(m_page->findChild<QStackedWidget *>(QStringLiteral("spaceStack"))->currentWidget()->objectName(),
             QStringLiteral("enoughSpacePage"));
}

QTEST_MAIN(TestMapPage)
#include "tst_mappage.moc"
