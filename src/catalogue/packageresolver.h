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
        QList<int> withCode(const QString &code) const;
        int firstMatch(const PackageRelation &relation) const; // -1 when none matches
        int firstWithCode(const QString &code) const;          // -1 when none has it
    private:
        const QList<MapInfo> &m_packages;
        QHash<QString, QList<int>> m_byCode;
    };

    struct InstalledConflict
    {
        int installedIndex;
        const PackageRelation *relation;
    };

    void setEdge(int from, int to);
    QList<int> closure(const IndexSet &installChoice, const IndexSet &removeChoice) const;
    bool check(const QList<int> &installIndices, const QList<int> &removeIndices);
    void installOutcome(const QList<int> &installIndices, IndexSet &installSet, IndexSet &impliedSet,
                        IndexSet &deleteSet) const;
    void removeOutcome(const QList<int> &removeIndices, IndexSet &removeSet, IndexSet &impliedSet,
                       IndexSet &deleteSet) const;

    const QList<MapInfo> &m_available;
    const QList<MapInfo> &m_installed;
    const CodeIndex m_availableIndex;
    const CodeIndex m_installedIndex;
    // Conflicts relations of installed packages, by the code they name.
    QHash<QString, QList<InstalledConflict>> m_installedConflicts;

    int m_n = 0;
    int m_wordsPerRow = 0;
    // Row u of the 2n x 2n matrix: the nodes that choosing node u brings with it. Node i installs
    // available package i, node i + n removes it.
    std::vector<quint64> m_graph;
    std::vector<bool> m_unresolvable;
    QString m_errorText;
};
