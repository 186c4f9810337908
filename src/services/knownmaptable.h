#pragma once

#include "languagetexts.h"

#include <QString>
#include <QtGlobal>

namespace vktcommon {

// Country maps released before map headers carried their own descriptions, recognised by file
// size and index identifier. Built once on first use; read-only afterwards.
class KnownMapTable
{
public:
    struct Entry
    {
        quint64 fileSize = 0;
        quint32 indexId = 0;
        QString packageCode;
        quint32 firstVersion = 0;
        quint32 secondVersion = 0;
        LanguageTexts titles;
        LanguageTexts versionTexts;
    };

    static const KnownMapTable &instance();

    // The entry for the key, or null.
    const Entry *find(quint64 fileSize, quint32 indexId) const;

    // Every entry, sorted by (file size, index identifier).
    const QList<Entry> &entries() const { return m_entries; }

private:
    KnownMapTable();

    QList<Entry> m_entries;
};

} // namespace vktcommon
