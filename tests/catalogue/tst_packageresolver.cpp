#include "packageresolver.h"
#include "testpackages.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

const QString unresolvedPrefix = QStringLiteral("Cannot resolve package dependencies for ");
const QString inconsistentPrefix = QStringLiteral("Inconsistent installation: a problem with packages :");

// One resolution with its four result sets.
struct Outcome
{
    bool ok = false;
    IndexSet install, remove, implied, deleted;
    QString error;
};

Outcome resolve(const QList<MapInfo> &available, const QList<MapInfo> &installed, const IndexSet &installChoice,
                const IndexSet &removeChoice = {})
{
    PackageResolver resolver(available, installed);
    Outcome outcome;
    // Stale content must not survive: every set is emptied first.
    outcome.install = outcome.remove = outcome.implied = outcome.deleted = {99};
    outcome.ok = resolver.resolve(installChoice, removeChoice, outcome.install, outcome.remove, outcome.implied,
                                  outcome.deleted);
    outcome.error = resolver.errorText();
    return outcome;
}

} // namespace

class TestPackageResolver : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void operators_data();
    void operators();
    void dependencyIsInstalledAndImplied();
    void firstMatchInListOrder_data();
    void firstMatchInListOrder();
    void unmetVersionedDependency();
    void closureTakesColumnsInAscendingOrder();
    void conflictPairIsInconsistent();
    void selfConflictIsInconsistent();
    void dependencyCycleTerminates();
    void installedVersionDecidesInstallOrImplied();
    void conflictsAndReplacesDeleteInstalled();
    void removalCascadesToDependants();
    void removalOfReplacementDeletesReplaced();
    void removalOfNothingInstalledIsImplied();
    void errorTextIsClearedByNextResolve();
    void randomGraphsGiveConsistentAnswers();
    void thousandsOfPackagesInOneCycle();
};

void TestPackageResolver::operators_data()
{
    QTest::addColumn<QString>("op");
    QTest::addColumn<bool>("lower");
    QTest::addColumn<bool>("equal");
    QTest::addColumn<bool>("higher");

    QTest::newRow("none") << QString() << true << true << true;
    QTest::newRow("<") << QStringLiteral("<") << true << false << false;
    QTest::newRow("<=") << QStringLiteral("<=") << true << true << false;
    QTest::newRow(">") << QStringLiteral(">") << false << false << true;
    QTest::newRow(">=") << QStringLiteral(">=") << false << true << true;
    QTest::newRow("!=") << QStringLiteral("!=") << true << false << true;
    QTest::newRow("=") << QStringLiteral("=") << false << true << false;
}

void TestPackageResolver::operators()
{
    QFETCH(QString, op);
    QFETCH(bool, lower);
    QFETCH(bool, equal);
    QFETCH(bool, higher);

    // The relation names 2.5: major decides before minor.
    const PackageRelation r = relation(QStringLiteral("korwind.rus"), op, 2, 5);
    QCOMPARE(PackageResolver::matches(r, package(QStringLiteral("korwind.rus"), 1, 9)), lower);
    QCOMPARE(PackageResolver::matches(r, package(QStringLiteral("korwind.rus"), 2, 4)), lower);
    QCOMPARE(PackageResolver::matches(r, package(QStringLiteral("korwind.rus"), 2, 5)), equal);
    QCOMPARE(PackageResolver::matches(r, package(QStringLiteral("korwind.rus"), 2, 6)), higher);
    QCOMPARE(PackageResolver::matches(r, package(QStringLiteral("korwind.rus"), 3, -1)), higher);
    QVERIFY(!PackageResolver::matches(r, package(QStringLiteral("korwind.RUS"), 2, 5)));
}

void TestPackageResolver::dependencyIsInstalledAndImplied()
{
    QList<MapInfo> available = {package(QStringLiteral("A")), package(QStringLiteral("B"))};
    available[0].depends << relation(QStringLiteral("B"));

    const Outcome outcome = resolve(available, {}, {0});
    QVERIFY(outcome.ok);
    QCOMPARE(outcome.install, IndexSet({0, 1}));
    QCOMPARE(outcome.implied, IndexSet({1}));
    QVERIFY(outcome.remove.empty());
    QVERIFY(outcome.deleted.empty());
    QVERIFY(outcome.error.isEmpty());
}

void TestPackageResolver::firstMatchInListOrder_data()
{
    QTest::addColumn<QString>("op");
    QTest::addColumn<int>("expected");

    QTest::newRow("any version takes the first") << QString() << 0;
    QTest::newRow("versioned skips the first") << QStringLiteral(">=") << 1;
}

void TestPackageResolver::firstMatchInListOrder()
{
    QFETCH(QString, op);
    QFETCH(int, expected);

    QList<MapInfo> available = {package(QStringLiteral("korwind.rus"), 1, 0), package(QStringLiteral("korwind.rus"), 2, 0),
                                package(QStringLiteral("korwind.rus"), 3, 0), package(QStringLiteral("A"))};
    available[3].depends << relation(QStringLiteral("korwind.rus"), op, 2, 0);

    const Outcome outcome = resolve(available, {}, {3});
    QVERIFY(outcome.ok);
    QCOMPARE(outcome.install, IndexSet({expected, 3}));
    QCOMPARE(outcome.implied, IndexSet({expected}));
}

void TestPackageResolver::unmetVersionedDependency()
{
    QList<MapInfo> available = {package(QStringLiteral("A")), package(QStringLiteral("korwind.rus"), 1, 5),
                                package(QStringLiteral("C")), package(QStringLiteral("D"))};
    available[0].depends << relation(QStringLiteral("korwind.rus"), QStringLiteral(">="), 2, 0);
    available[3].depends << relation(QStringLiteral("A"));

    Outcome outcome = resolve(available, {}, {0});
    QVERIFY(!outcome.ok);
    QCOMPARE(outcome.error, unresolvedPrefix + QStringLiteral("A"));
    QVERIFY(outcome.install.empty() && outcome.remove.empty() && outcome.implied.empty()
            && outcome.deleted.empty());

    // Pulled in by another choice it fails just the same, and names the package that cannot be met.
    outcome = resolve(available, {}, {3});
    QVERIFY(!outcome.ok);
    QCOMPARE(outcome.error, unresolvedPrefix + QStringLiteral("A"));

    outcome = resolve(available, {}, {1, 2});
    QVERIFY(outcome.ok);
    QCOMPARE(outcome.install, IndexSet({1, 2}));
}

void TestPackageResolver::closureTakesColumnsInAscendingOrder()
{
    // A depends on C before B, both unresolvable: B's lower index is reached first.
    QList<MapInfo> available = {package(QStringLiteral("A")), package(QStringLiteral("B")), package(QStringLiteral("C"))};
    available[0].depends << relation(QStringLiteral("C")) << relation(QStringLiteral("B"));
    available[1].depends << relation(QStringLiteral("missing"));
    available[2].depends << relation(QStringLiteral("missing"));

    const Outcome outcome = resolve(available, {}, {0});
    QVERIFY(!outcome.ok);
    QCOMPARE(outcome.error, unresolvedPrefix + QStringLiteral("B"));
}

void TestPackageResolver::conflictPairIsInconsistent()
{
    QList<MapInfo> available = {package(QStringLiteral("X")), package(QStringLiteral("korwind.b")),
                                package(QStringLiteral("korwind.a"))};
    available[2].conflicts << relation(QStringLiteral("korwind.b"));

    Outcome outcome = resolve(available, {}, {1, 2});
    QVERIFY(!outcome.ok);
    QCOMPARE(outcome.error, inconsistentPrefix + QStringLiteral(" korwind.b[1] korwind.a[2]"));
    QVERIFY(outcome.install.empty() && outcome.implied.empty());

    // One of the pair alone is fine, and so is installing one while removing the other.
    QVERIFY(resolve(available, {}, {2}).ok);
    QVERIFY(resolve(available, {}, {2}, {1}).ok);
}

void TestPackageResolver::selfConflictIsInconsistent()
{
    QList<MapInfo> available = {package(QStringLiteral("A"))};
    available[0].conflicts << relation(QStringLiteral("A"));

    const Outcome outcome = resolve(available, {}, {0});
    QVERIFY(!outcome.ok);
    QCOMPARE(outcome.error, inconsistentPrefix + QStringLiteral(" A[0]"));
}

void TestPackageResolver::dependencyCycleTerminates()
{
    QList<MapInfo> available = {package(QStringLiteral("A")), package(QStringLiteral("B"))};
    available[0].depends << relation(QStringLiteral("B"));
    available[1].depends << relation(QStringLiteral("A"));
    const QList<MapInfo> installed = {installedPackage(QStringLiteral("B")), installedPackage(QStringLiteral("A"))};

    Outcome outcome = resolve(available, {}, {0});
    QVERIFY(outcome.ok);
    QCOMPARE(outcome.install, IndexSet({0, 1}));
    QCOMPARE(outcome.implied, IndexSet({0, 1}));

    outcome = resolve(available, installed, {}, {1});
    QVERIFY(outcome.ok);
    QCOMPARE(outcome.remove, IndexSet({0, 1}));
    QCOMPARE(outcome.deleted, IndexSet({0, 1}));
}

void TestPackageResolver::installedVersionDecidesInstallOrImplied()
{
    const QList<MapInfo> available = {package(QStringLiteral("A"), 1, 2)};

    Outcome outcome = resolve(available, {installedPackage(QStringLiteral("A"), 1, 2)}, {0});
    QVERIFY(outcome.ok);
    QVERIFY(outcome.install.empty());
    QCOMPARE(outcome.implied, IndexSet({0}));
    QVERIFY(outcome.deleted.empty());

    // Another version is replaced: the installed one is deleted. Only the first with the code counts.
    outcome = resolve(available,
                      {installedPackage(QStringLiteral("Z")), installedPackage(QStringLiteral("A"), 1, 1),
                       installedPackage(QStringLiteral("A"), 1, 2)},
                      {0});
    QVERIFY(outcome.ok);
    QCOMPARE(outcome.install, IndexSet({0}));
    QCOMPARE(outcome.deleted, IndexSet({1}));
    QVERIFY(outcome.implied.empty());
}

void TestPackageResolver::conflictsAndReplacesDeleteInstalled()
{
    QList<MapInfo> available = {package(QStringLiteral("A")), package(QStringLiteral("X"), 2, 0)};
    available[0].conflicts << relation(QStringLiteral("X"));
    available[0].replaces << relation(QStringLiteral("old.a"), QStringLiteral("<"), 1, 0);
    QList<MapInfo> installed = {installedPackage(QStringLiteral("X"), 1, 0), installedPackage(QStringLiteral("Y")),
                                installedPackage(QStringLiteral("old.a"), 0, 9), installedPackage(QStringLiteral("Z"))};
    installed[1].conflicts << relation(QStringLiteral("A"), QStringLiteral(">="), 1, 0);
    installed[3].conflicts << relation(QStringLiteral("A"), QStringLiteral(">"), 1, 0);

    const Outcome outcome = resolve(available, installed, {0});
    QVERIFY(outcome.ok);
    QCOMPARE(outcome.install, IndexSet({0}));
    // X is removed as the conflicting node and, as an available match of the conflict, reported implied.
    QCOMPARE(outcome.deleted, IndexSet({0, 1, 2}));
    QCOMPARE(outcome.implied, IndexSet({1}));
    QCOMPARE(outcome.remove, IndexSet({1}));

    PackageResolver resolver(available, installed);
    QVERIFY(resolver.replacesInstalled(available[0]));
    QVERIFY(!resolver.replacesInstalled(available[1]));
}

void TestPackageResolver::removalCascadesToDependants()
{
    QList<MapInfo> available = {package(QStringLiteral("A")), package(QStringLiteral("B")), package(QStringLiteral("C"))};
    available[0].depends << relation(QStringLiteral("B"));
    const QList<MapInfo> installed = {installedPackage(QStringLiteral("C")), installedPackage(QStringLiteral("B")),
                                      installedPackage(QStringLiteral("A"))};

    const Outcome outcome = resolve(available, installed, {}, {1});
    QVERIFY(outcome.ok);
    QCOMPARE(outcome.remove, IndexSet({0, 1}));
    QCOMPARE(outcome.deleted, IndexSet({1, 2}));
    QCOMPARE(outcome.implied, IndexSet({0}));
    QVERIFY(outcome.install.empty());
}

void TestPackageResolver::removalOfReplacementDeletesReplaced()
{
    QList<MapInfo> available = {package(QStringLiteral("new.a"))};
    available[0].replaces << relation(QStringLiteral("old.a"));
    const QList<MapInfo> installed = {installedPackage(QStringLiteral("new.a")), installedPackage(QStringLiteral("old.a"))};

    const Outcome outcome = resolve(available, installed, {}, {0});
    QVERIFY(outcome.ok);
    QCOMPARE(outcome.remove, IndexSet({0}));
    QCOMPARE(outcome.deleted, IndexSet({1}));
}

void TestPackageResolver::removalOfNothingInstalledIsImplied()
{
    const Outcome outcome = resolve({package(QStringLiteral("A"))}, {installedPackage(QStringLiteral("B"))}, {}, {0});
    QVERIFY(outcome.ok);
    QVERIFY(outcome.remove.empty());
    QCOMPARE(outcome.implied, IndexSet({0}));
    QVERIFY(outcome.deleted.empty());
}

void TestPackageResolver::errorTextIsClearedByNextResolve()
{
    QList<MapInfo> available = {package(QStringLiteral("A")), package(QStringLiteral("B"))};
    available[0].depends << relation(QStringLiteral("missing"));
    PackageResolver resolver(available, {});
    IndexSet install, remove, implied, deleted;
    QVERIFY(!resolver.resolve({0}, {}, install, remove, implied, deleted));
    QVERIFY(!resolver.errorText().isEmpty());
    QVERIFY(resolver.resolve({1}, {}, install, remove, implied, deleted));
    QVERIFY(resolver.errorText().isEmpty());
}

void TestPackageResolver::randomGraphsGiveConsistentAnswers()
{
    // Dense random relations over few codes give cycles, self-relations and duplicate codes.
    QRandomGenerator random(20240601);
    const auto code = [&random] { return QStringLiteral("p%1").arg(random.bounded(40)); };
    const QStringList operators = {QString(), QStringLiteral("<"), QStringLiteral(">="), QStringLiteral("!=")};
    const auto someRelation = [&] {
        return relation(code(), operators[random.bounded(int(operators.size()))], 1, random.bounded(3));
    };
    for (int round = 0; round < 20; ++round) {
        QList<MapInfo> available;
        for (int i = 0; i < 60; ++i) {
            MapInfo map = package(code(), 1, random.bounded(3));
            for (int r = random.bounded(4); r > 0; --r)
                map.depends << someRelation();
            for (int r = random.bounded(2); r > 0; --r)
                map.conflicts << someRelation();
            available << map;
        }
        QList<MapInfo> installed;
        for (int i = 0; i < 20; ++i)
            installed << installedPackage(code(), 1, random.bounded(3));

        PackageResolver resolver(available, installed);
        for (int choice = 0; choice < 20; ++choice) {
            IndexSet installChoice, removeChoice;
            for (int k = random.bounded(4); k > 0; --k)
                installChoice.insert(random.bounded(60));
            for (int k = random.bounded(3); k > 0; --k)
                removeChoice.insert(random.bounded(60));
            IndexSet install, remove, implied, deleted;
            if (!resolver.resolve(installChoice, removeChoice, install, remove, implied, deleted)) {
                QVERIFY(resolver.errorText().startsWith(unresolvedPrefix)
                        || resolver.errorText().startsWith(inconsistentPrefix));
                QVERIFY(install.empty() && remove.empty() && implied.empty() && deleted.empty());
                continue;
            }
            for (const int index : install) {
                QVERIFY(remove.count(index) == 0);
                for (const PackageRelation &r : available[index].depends) {
                    const auto first = std::find_if(available.cbegin(), available.cend(),
                                                    [&r](const MapInfo &m) { return PackageResolver::matches(r, m); });
                    QVERIFY(first != available.cend());
                    const int dependency = int(first - available.cbegin());
                    QVERIFY(install.count(dependency) != 0 || implied.count(dependency) != 0);
                }
            }
            for (const int index : installChoice)
                QVERIFY(install.count(index) != 0 || implied.count(index) != 0);
            for (const int index : deleted)
                QVERIFY(index >= 0 && index < installed.size());
        }
    }
}

void TestPackageResolver::thousandsOfPackagesInOneCycle()
{
    // p0 depends on p1, ..., the last depends on p0; every package is installed at an older version.
    const int count = 3000;
    QList<MapInfo> available;
    QList<MapInfo> installed;
    for (int i = 0; i < count; ++i) {
        available << package(QStringLiteral("p%1").arg(i), 2, 0);
        available.last().depends << relation(QStringLiteral("p%1").arg((i + 1) % count), QStringLiteral(">="), 2, 0);
        installed << installedPackage(QStringLiteral("p%1").arg(i), 1, 0);
    }

    Outcome outcome = resolve(available, installed, {count / 2});
    QVERIFY(outcome.ok);
    QCOMPARE(int(outcome.install.size()), count);
    QCOMPARE(int(outcome.deleted.size()), count);

    outcome = resolve(available, installed, {0}, {count - 1});
    QVERIFY(!outcome.ok);
    QVERIFY(outcome.error.startsWith(inconsistentPrefix + QStringLiteral(" p0[0] p1[1] p2[2]")));
}

QTEST_GUILESS_MAIN(TestPackageResolver)
#include "tst_packageresolver.moc"
