#pragma once

#include "mapinfo.h"

#include <QHash>
#include <QList>
#include <QString>

#include <set>
#include <vector>

// Indices of packages, kept in ascending order so that every walk over a set is reproducible.
using IndexSet = std::set<int>;

// Turns a choice of map packages to install and to remove into the packages that must be
// installed, removed or deleted, following their depends, conflicts and replaces relations.
// Keeps references to both lists: they must outlive the resolver.
class PackageResolver
{
public:
    PackageResolver(const QList<MapInfo> &available, const QList<MapInfo> &installed);

    // Choices and installSet, removeSet, impliedSet hold indices of available packages, deleteSet
    // indices of installed ones. On failure the sets stay empty and errorText() tells why.
    bool resolve(const IndexSet &installChoice, const IndexSet &removeChoice, IndexSet &installSet,
                 IndexSet &removeSet, IndexSet &impliedSet, IndexSet &deleteSet);
    QString errorText() const;
    // The available packages the last failure is about, ascending: the one whose dependency no
    // available package meets (then failedOnMissingDependency()), or those that would be both installed
    // and removed. Empty after a success.
    const QList<int> &failedPackages() const { return m_failedPackages; }
    bool failedOnMissingDependency() const { return m_missingDependency; }

    // True when a "replaces" relation of the package matches an installed package.
    bool replacesInstalled(const Comparable &package) const;

    static bool matches(const PackageRelation &relation, const Comparable &package);

private:
    // Packages of one list grouped by code, each group in list order, so that the first match of a
    // relation is found without walking the whole list.
    class CodeIndex
    {
    public:
        explicit CodeIndex(const QList<MapInfo> &packages);
        QList<int> allMatches(const PackageRelation &relation) const;
        int firstMatch(const PackageRelation &relation) const; // -1 when none matches
        int firstWithCode(const QString &code) const;          // -1 when none has it
    private:
        const QList<MapInfo> &m_packages;
        QHash<QString, QList<int>> m_byCode;
    };

    // What resolve needs of one available package, with every relation already looked up, so that a
    // resolution does no text comparison. -1 stands for "no match".
    struct Links
    {
        QList<int> dependencies;          // first available match of each depends relation
        QList<int> anyDependencyMatches;  // every available package some depends relation matches
        QList<int> conflictsInstalled;    // first installed match of each conflicts relation
        QList<int> conflictsAvailable;    // first available match of the same relations
        QList<int> conflictingInstalled;  // installed packages whose own conflicts match this one
        QList<int> replacedInstalled;     // first installed match of each replaces relation
        int sameCodeInstalled = -1;       // first installed package with this code
        bool sameVersionInstalled = false; // ... and it has this version, undamaged
    };

    void link(int index, const CodeIndex &availableIndex);
    void setEdge(int from, int to);
    QList<int> closure(const IndexSet &installChoice, const IndexSet &removeChoice) const;
    bool check(const QList<int> &installIndices, const QList<int> &removeIndices);
    void installOutcome(const QList<int> &installIndices, IndexSet &installSet, IndexSet &impliedSet,
                        IndexSet &deleteSet) const;
    void removeOutcome(const QList<int> &removeIndices, IndexSet &removeSet, IndexSet &impliedSet,
                       IndexSet &deleteSet) const;

    const QList<MapInfo> &m_available;
    const QList<MapInfo> &m_installed;
    const CodeIndex m_installedIndex;
    std::vector<Links> m_links; // by available index

    int m_n = 0;
    int m_wordsPerRow = 0;
    // Row u of the 2n x 2n matrix: the nodes that choosing node u brings with it. Node i installs
    // available package i, node i + n removes it.
    std::vector<quint64> m_graph;
    std::vector<bool> m_unresolvable;
    QString m_errorText;
    QList<int> m_failedPackages;
    bool m_missingDependency = false;
};
