#include "packageresolver.h"

#include <QCoreApplication>
#include <QtAlgorithms>

#include <algorithm>
#include <iterator>

namespace {

int compareVersions(const Comparable &package, const PackageRelation &relation)
{
    if (package.majorVersion != relation.majorVersion)
        return package.majorVersion < relation.majorVersion ? -1 : 1;
    if (package.minorVersion != relation.minorVersion)
        return package.minorVersion < relation.minorVersion ? -1 : 1;
    return 0;
}

QList<int> sorted(QList<int> indices)
{
    std::sort(indices.begin(), indices.end());
    return indices;
}

} // namespace

PackageResolver::CodeIndex::CodeIndex(const QList<MapInfo> &packages) : m_packages(packages)
{
    for (int i = 0; i < packages.size(); ++i)
        m_byCode[packages[i].code].append(i);
}

int PackageResolver::CodeIndex::firstMatch(const PackageRelation &relation) const
{
    const auto group = m_byCode.constFind(relation.code);
    if (group == m_byCode.constEnd())
        return -1;
    for (const int index : *group) {
        if (matches(relation, m_packages[index]))
            return index;
    }
    return -1;
}

int PackageResolver::CodeIndex::firstWithCode(const QString &code) const
{
    const auto group = m_byCode.constFind(code);
    return group == m_byCode.constEnd() ? -1 : group->first();
}

QList<int> PackageResolver::CodeIndex::allMatches(const PackageRelation &relation) const
{
    QList<int> result;
    for (const int index : m_byCode.value(relation.code)) {
        if (matches(relation, m_packages[index]))
            result.append(index);
    }
    return result;
}

PackageResolver::PackageResolver(const QList<MapInfo> &available, const QList<MapInfo> &installed)
    : m_available(available), m_installed(installed), m_installedIndex(installed), m_links(std::size_t(available.size())),
      m_n(int(available.size())), m_wordsPerRow((2 * m_n + 63) / 64),
      m_graph(std::size_t(2 * m_n) * std::size_t(m_wordsPerRow), 0), m_unresolvable(std::size_t(m_n), false)
{
    const CodeIndex availableIndex(available);
    for (int i = 0; i < m_n; ++i)
        link(i, availableIndex);

    for (int i = 0; i < installed.size(); ++i) {
        for (const PackageRelation &relation : installed[i].conflicts) {
            for (const int a : availableIndex.allMatches(relation)) {
                QList<int> &conflicting = m_links[std::size_t(a)].conflictingInstalled;
                if (!conflicting.contains(i))
                    conflicting.append(i);
            }
        }
    }

    for (int i = 0; i < m_n; ++i) {
        for (const int a : m_links[std::size_t(i)].dependencies) {
            if (a < 0) {
                m_unresolvable[std::size_t(i)] = true;
                continue;
            }
            setEdge(i, a);
            setEdge(a + m_n, i + m_n);
        }
        const MapInfo &package = available[i];
        for (const QList<PackageRelation> *exclusive : {&package.conflicts, &package.replaces}) {
            for (const PackageRelation &relation : *exclusive) {
                const int a = availableIndex.firstMatch(relation);
                if (a < 0)
                    continue;
                setEdge(i, a + m_n);
                setEdge(a, i + m_n);
            }
        }
    }
}

void PackageResolver::link(int index, const CodeIndex &availableIndex)
{
    const MapInfo &package = m_available[index];
    Links &links = m_links[std::size_t(index)];
    for (const PackageRelation &relation : package.depends) {
        links.dependencies.append(availableIndex.firstMatch(relation));
        links.anyDependencyMatches += availableIndex.allMatches(relation);
    }
    for (const PackageRelation &relation : package.conflicts) {
        links.conflictsInstalled.append(m_installedIndex.firstMatch(relation));
        links.conflictsAvailable.append(availableIndex.firstMatch(relation));
    }
    for (const PackageRelation &relation : package.replaces)
        links.replacedInstalled.append(m_installedIndex.firstMatch(relation));
    links.sameCodeInstalled = m_installedIndex.firstWithCode(package.code);
    if (links.sameCodeInstalled >= 0) {
        const MapInfo &installed = m_installed[links.sameCodeInstalled];
        // A damaged map is installed again over itself, as an update would replace it.
        links.sameVersionInstalled = !installed.isDamaged && installed.majorVersion == package.majorVersion
                                     && installed.minorVersion == package.minorVersion;
    }
}

bool PackageResolver::matches(const PackageRelation &relation, const Comparable &package)
{
    if (relation.code != package.code)
        return false;
    if (relation.op.isEmpty())
        return true;
    const int order = compareVersions(package, relation);
    if (relation.op == QLatin1String("<"))
        return order < 0;
    if (relation.op == QLatin1String("<="))
        return order <= 0;
    if (relation.op == QLatin1String(">"))
        return order > 0;
    if (relation.op == QLatin1String(">="))
        return order >= 0;
    if (relation.op == QLatin1String("!="))
        return order != 0;
    if (relation.op == QLatin1String("="))
        return order == 0;
    return false;
}

bool PackageResolver::replacesInstalled(const Comparable &package) const
{
    return std::any_of(package.replaces.cbegin(), package.replaces.cend(),
                       [this](const PackageRelation &relation) { return m_installedIndex.firstMatch(relation) >= 0; });
}

QString PackageResolver::errorText() const
{
    return m_errorText;
}

void PackageResolver::setEdge(int from, int to)
{
    m_graph[std::size_t(from) * std::size_t(m_wordsPerRow) + std::size_t(to / 64)] |= quint64(1) << (to % 64);
}

// Every node reached from the choices, in the order reached; the columns of a row are taken in
// ascending order, a 64-bit word at a time.
QList<int> PackageResolver::closure(const IndexSet &installChoice, const IndexSet &removeChoice) const
{
    std::vector<quint64> marks(std::size_t(m_wordsPerRow), 0);
    QList<int> work;
    const auto push = [&](int node) {
        quint64 &word = marks[std::size_t(node / 64)];
        const quint64 bit = quint64(1) << (node % 64);
        if (word & bit)
            return;
        word |= bit;
        work.append(node);
    };
    for (const int index : installChoice) {
        if (index >= 0 && index < m_n)
            push(index);
    }
    for (const int index : removeChoice) {
        if (index >= 0 && index < m_n)
            push(index + m_n);
    }
    for (qsizetype position = 0; position < work.size(); ++position) {
        const quint64 *row = &m_graph[std::size_t(work[position]) * std::size_t(m_wordsPerRow)];
        for (int w = 0; w < m_wordsPerRow; ++w) {
            for (quint64 fresh = row[w] & ~marks[std::size_t(w)]; fresh != 0; fresh &= fresh - 1)
                push(w * 64 + int(qCountTrailingZeroBits(fresh)));
        }
    }
    return work;
}

bool PackageResolver::check(const QList<int> &installIndices, const QList<int> &removeIndices)
{
    for (const QList<int> *indices : {&installIndices, &removeIndices}) {
        for (const int index : *indices) {
            if (m_unresolvable[std::size_t(index)]) {
                m_errorText = QCoreApplication::translate("PackageResolver", "Cannot resolve package dependencies for ")
                              + m_available[index].code;
                m_failedPackages = {index};
                m_missingDependency = true;
                return false;
            }
        }
    }

    const QList<int> installSorted = sorted(installIndices);
    const QList<int> removeSorted = sorted(removeIndices);
    QList<int> both;
    std::set_intersection(installSorted.cbegin(), installSorted.cend(), removeSorted.cbegin(), removeSorted.cend(),
                          std::back_inserter(both));
    if (both.isEmpty())
        return true;
    m_errorText = QCoreApplication::translate("PackageResolver", "Inconsistent installation: a problem with packages :");
    m_failedPackages = both;
    for (const int index : both)
        m_errorText += QLatin1Char(' ') + m_available[index].code + QLatin1Char('[') + QString::number(index)
                       + QLatin1Char(']');
    return false;
}

void PackageResolver::installOutcome(const QList<int> &installIndices, IndexSet &installSet, IndexSet &impliedSet,
                                     IndexSet &deleteSet) const
{
    for (const int index : installIndices) {
        const Links &links = m_links[std::size_t(index)];
        for (qsizetype k = 0; k < links.conflictsInstalled.size(); ++k) {
            if (links.conflictsInstalled[k] < 0)
                continue;
            deleteSet.insert(links.conflictsInstalled[k]);
            if (links.conflictsAvailable[k] >= 0)
                impliedSet.insert(links.conflictsAvailable[k]);
        }
        deleteSet.insert(links.conflictingInstalled.cbegin(), links.conflictingInstalled.cend());
        for (const int installed : links.replacedInstalled) {
            if (installed >= 0)
                deleteSet.insert(installed);
        }
        if (links.sameCodeInstalled < 0) {
            installSet.insert(index);
        } else if (links.sameVersionInstalled) {
            impliedSet.insert(index);
        } else {
            deleteSet.insert(links.sameCodeInstalled);
            installSet.insert(index);
        }
    }

    // Dependencies that come along with a chosen package are reported as implied.
    for (const int index : installSet) {
        for (const int dependency : m_links[std::size_t(index)].dependencies) {
            if (dependency >= 0 && installSet.count(dependency) != 0)
                impliedSet.insert(dependency);
        }
    }
}

void PackageResolver::removeOutcome(const QList<int> &removeIndices, IndexSet &removeSet, IndexSet &impliedSet,
                                    IndexSet &deleteSet) const
{
    for (const int index : removeIndices) {
        const Links &links = m_links[std::size_t(index)];
        bool replacedSomething = false;
        for (const int installed : links.replacedInstalled) {
            if (installed >= 0) {
                deleteSet.insert(installed);
                replacedSomething = true;
            }
        }
        if (replacedSomething) {
            removeSet.insert(index);
        } else if (links.sameCodeInstalled < 0) {
            impliedSet.insert(index);
        } else {
            deleteSet.insert(links.sameCodeInstalled);
            removeSet.insert(index);
        }
    }

    // A removed package whose dependency is removed as well was brought along by that removal.
    for (const int index : removeSet) {
        const QList<int> &dependencies = m_links[std::size_t(index)].anyDependencyMatches;
        if (std::any_of(dependencies.cbegin(), dependencies.cend(),
                        [&removeSet](int other) { return removeSet.count(other) != 0; }))
            impliedSet.insert(index);
    }
}

bool PackageResolver::resolve(const IndexSet &installChoice, const IndexSet &removeChoice, IndexSet &installSet,
                              IndexSet &removeSet, IndexSet &impliedSet, IndexSet &deleteSet)
{
    installSet.clear();
    removeSet.clear();
    impliedSet.clear();
    deleteSet.clear();
    m_errorText.clear();
    m_failedPackages.clear();
    m_missingDependency = false;

    QList<int> installIndices;
    QList<int> removeIndices;
    for (const int node : closure(installChoice, removeChoice)) {
        if (node < m_n)
            installIndices.append(node);
        else
            removeIndices.append(node - m_n);
    }
    if (!check(installIndices, removeIndices))
        return false;

    installOutcome(installIndices, installSet, impliedSet, deleteSet);
    removeOutcome(removeIndices, removeSet, impliedSet, deleteSet);
    return true;
}
