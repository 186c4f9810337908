#include "knownmaptable.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace vktcommon {

namespace {

using RawTexts = std::initializer_list<std::pair<quint16, const char *>>;

LanguageTexts toTexts(RawTexts raw)
{
    LanguageTexts texts;
    for (const auto &[language, text] : raw)
        texts.insert(language, QString::fromUtf8(text));
    return texts;
}

bool keyLess(const KnownMapTable::Entry &a, quint64 fileSize, quint32 indexId)
{
    return a.fileSize < fileSize || (a.fileSize == fileSize && a.indexId < indexId);
}

} // namespace

KnownMapTable::KnownMapTable()
{
    const auto add = [this](quint64 fileSize, quint32 indexId, const char *code, quint32 first,
                            quint32 second, RawTexts titles, RawTexts versionTexts) {
        m_entries.append({fileSize, indexId, QString::fromLatin1(code), first, second,
                          toTexts(titles), toTexts(versionTexts)});
    };
    const RawTexts quarter4 = {{1033, "2010Q4"}, {1031, "2010 Q4"}, {1049, "2010 IV кв."}};
    const RawTexts quarter1 = {{1033, "2011Q1"}, {1031, "2011 Q1"}, {1049, "2011 I кв."}};

    add(183452672, 0x4b4e0101, "korwind.deu", 20104, 20101130,
        {{1033, "Germany"}, {1031, "Deutschland"}, {1049, "Германия"}}, quarter4);
    add(61214720, 0x4b4e0102, "korwind.aut", 20104, 20101130,
        {{1033, "Austria"}, {1031, "Österreich"}, {1049, "Австрия"}}, quarter4);
    add(38010880, 0x4b4e0103, "korwind.che", 20104, 20101202,
        {{1033, "Switzerland"}, {1031, "Schweiz"}, {1036, "Suisse"}, {1049, "Швейцария"}}, quarter4);
    add(97517568, 0x4b4e0104, "korwind.pol", 20104, 20101215,
        {{1033, "Poland"}, {1045, "Polska"}, {1049, "Польша"}}, quarter4);
    add(52428800, 0x4b4e0105, "korwind.cze", 20104, 20101215,
        {{1033, "Czech Republic"}, {1029, "Česká republika"}, {1049, "Чехия"}}, quarter4);
    add(21495808, 0x4b4e0106, "korwind.svk", 20104, 20101215,
        {{1033, "Slovakia"}, {1051, "Slovensko"}, {1049, "Словакия"}}, quarter4);
    add(44040192, 0x4b4e0107, "korwind.hun", 20111, 20110228,
        {{1033, "Hungary"}, {1038, "Magyarország"}, {1049, "Венгрия"}}, quarter1);
    add(214958080, 0x4b4e0108, "korwind.fra", 20111, 20110317,
        {{1033, "France"}, {1036, "France"}, {1031, "Frankreich"}, {1049, "Франция"}}, quarter1);
    add(162529280, 0x4b4e0109, "korwind.ita", 20111, 20110317,
        {{1033, "Italy"}, {1040, "Italia"}, {1031, "Italien"}, {1049, "Италия"}}, quarter1);
    add(150994944, 0x4b4e010a, "korwind.esp", 20111, 20110324,
        {{1033, "Spain"}, {3082, "España"}, {1031, "Spanien"}, {1049, "Испания"}}, quarter1);
    // The Russian map of that release carried no English texts.
    add(268435456, 0x4b4e010b, "korwind.rus", 20111, 20110401,
        {{1049, "Россия"}, {1058, "Росія"}}, {{1049, "2011 I кв."}});
    add(75497472, 0x4b4e010c, "korwind.ukr", 20111, 20110401,
        {{1058, "Україна"}, {1049, "Украина"}, {1033, "Ukraine"}}, quarter1);

    std::sort(m_entries.begin(), m_entries.end(), [](const Entry &a, const Entry &b) {
        return keyLess(a, b.fileSize, b.indexId);
    });
}

const KnownMapTable &KnownMapTable::instance()
{
    static const KnownMapTable table;
    return table;
}

const KnownMapTable::Entry *KnownMapTable::find(quint64 fileSize, quint32 indexId) const
{
    const auto at = std::lower_bound(m_entries.cbegin(), m_entries.cend(), std::make_pair(fileSize, indexId),
                                     [](const Entry &entry, const std::pair<quint64, quint32> &key) {
                                         return keyLess(entry, key.first, key.second);
                                     });
    if (at == m_entries.cend() || at->fileSize != fileSize || at->indexId != indexId)
        return nullptr;
    return &*at;
}

} // namespace vktcommon
