#include "mapheader.h"

#include "knownmaptable.h"
#include "languagetexts.h"

#include <QIODevice>
#include <QVarLengthArray>
#include <QtEndian>

#include <utility>

namespace vktcommon {

namespace {

constexpr int firstHeaderSize = 12;
constexpr int longHeaderSize = 24;
constexpr int indexBlockSize = 124;
constexpr quint32 newestHeaderVersion = 2;

constexpr qsizetype readBlockSize = mapHeaderFirstRead;

// Little-endian reads from a window of the file held in memory. The file is read again only where a
// position or a count reaches past the window, so a header costs one read in most files; a value fails
// unless the file holds all its bytes.
class HeaderReader
{
public:
    explicit HeaderReader(QIODevice *file) : m_file(file) {}

    // Moves the position only; the file is read when a value needs it.
    void seek(qint64 position) { m_pos = position; }

    // The next count bytes, valid until the next read.
    bool bytes(qint64 count, const char *&data)
    {
        if (!available(count))
            return false;
        data = m_window.constData() + (m_pos - m_windowStart);
        m_pos += count;
        return true;
    }

    bool skip(qint64 count)
    {
        const char *ignored = nullptr;
        return bytes(count, ignored);
    }

    bool u8(quint8 &value)
    {
        const char *raw = nullptr;
        if (!bytes(1, raw))
            return false;
        value = quint8(*raw);
        return true;
    }

    bool u16(quint16 &value)
    {
        const char *raw = nullptr;
        if (!bytes(2, raw))
            return false;
        value = qFromLittleEndian<quint16>(raw);
        return true;
    }

    bool u32(quint32 &value)
    {
        const char *raw = nullptr;
        if (!bytes(4, raw))
            return false;
        value = qFromLittleEndian<quint32>(raw);
        return true;
    }

    // Where a scrambled string stands: its bytes, after their 16-bit count.
    struct Span
    {
        qint64 offset = -1;
        quint16 length = 0;
    };

    bool span(Span &where)
    {
        if (!u16(where.length))
            return false;
        where.offset = m_pos;
        return skip(where.length);
    }

    // The string at where, unscrambled with the keys and read as UTF-8; empty for no span. The position
    // stays where it was.
    bool text(const Span &where, quint32 keyA, quint32 keyB, QString &text)
    {
        text.clear();
        if (where.offset < 0)
            return true;
        const qint64 resume = m_pos;
        const char *stored = nullptr;
        m_pos = where.offset;
        const bool read = bytes(where.length, stored);
        if (read)
            text = unscramble(stored, where.length, keyA, keyB);
        m_pos = resume;
        return read;
    }

    bool scrambledString(quint32 keyA, quint32 keyB, QString &text)
    {
        Span where;
        return span(where) && this->text(where, keyA, keyB, text);
    }

    // A 16-bit entry count, then per entry a language identifier and a scrambled string; only the text
    // chosen for language is unscrambled.
    bool languageTable(quint32 keyA, quint32 keyB, quint16 language, QString &chosen)
    {
        quint16 count = 0;
        if (!u16(count))
            return false;
        LanguageChoice<Span> choice(language);
        for (quint16 i = 0; i < count; ++i) {
            quint16 id = 0;
            Span where;
            if (!u16(id) || !span(where))
                return false;
            choice.offer(id, where);
        }
        return text(choice.chosen(), keyA, keyB, chosen);
    }

    // Whether the file holds count more bytes from the position; reads them if it must.
    bool available(qint64 count)
    {
        const qint64 windowEnd = m_windowStart + m_window.size();
        if (m_pos >= m_windowStart && m_pos + count <= windowEnd)
            return true;
        // What is still ahead of the position is kept; the rest of the window goes, so that memory stays
        // bounded by what one value needs.
        qint64 readFrom = m_pos;
        if (m_pos >= m_windowStart && m_pos <= windowEnd) {
            m_window.remove(0, m_pos - m_windowStart);
            readFrom = windowEnd;
        } else {
            m_window.clear();
        }
        m_windowStart = m_pos;
        if (m_file->pos() != readFrom && !m_file->seek(readFrom))
            return false;
        const qsizetype kept = m_window.size();
        const qint64 wanted = qMax<qint64>(count - kept, readBlockSize);
        m_window.resize(kept + qsizetype(wanted));
        const qint64 read = m_file->read(m_window.data() + kept, wanted);
        m_window.resize(kept + qsizetype(qMax<qint64>(read, 0)));
        return m_window.size() >= count;
    }

private:
    // Bytes of a key that take part in the scrambling: the value's significant bytes, at least one.
    static int keyLength(quint32 key)
    {
        if (key <= 0xff)
            return 1;
        if (key <= 0xffff)
            return 2;
        if (key <= 0xffffff)
            return 3;
        return 4;
    }

    // Each byte combined with the key byte of its place: A's significant bytes, then B's, repeated.
    static QString unscramble(const char *stored, int length, quint32 keyA, quint32 keyB)
    {
        char key[8];
        const int lengthA = keyLength(keyA);
        const int period = lengthA + keyLength(keyB);
        for (int m = 0; m < period; ++m)
            key[m] = char(m < lengthA ? keyA >> (8 * m) : keyB >> (8 * (m - lengthA)));
        QVarLengthArray<char, 256> plain(length);
        for (int j = 0, m = 0; j < length; ++j, m = m + 1 == period ? 0 : m + 1)
            plain[j] = char(stored[j] ^ key[m]);
        return QString::fromUtf8(plain.constData(), length);
    }

    QIODevice *m_file;
    // File bytes from m_windowStart on; on the stack while they fit the first read.
    QVarLengthArray<char, readBlockSize> m_window;
    qint64 m_windowStart = 0;
    qint64 m_pos = 0;
};

quint32 u32At(const char *raw, int offset)
{
    return qFromLittleEndian<quint32>(raw + offset);
}

QString conditionOperator(quint8 code)
{
    switch (code) {
    case 1: return QStringLiteral(">=");
    case 2: return QStringLiteral(">");
    case 3: return QStringLiteral("<=");
    case 4: return QStringLiteral("<");
    case 5: return QStringLiteral("!=");
    case 6: return QStringLiteral("=");
    default: return QString();
    }
}

bool readConditions(HeaderReader &reader, quint32 keyA, quint32 keyB, QList<MapCondition> &conditions)
{
    // Older files end after the language tables.
    if (!reader.available(4))
        return true;
    quint16 count = 0;
    if (!reader.u16(count))
        return false;
    for (quint16 i = 0; i < count; ++i) {
        MapCondition condition;
        quint8 op = 0;
        if (!reader.scrambledString(keyA, keyB, condition.packageName) || !reader.u8(op)
            || !reader.u32(condition.first) || !reader.u32(condition.second))
            return false;
        condition.op = conditionOperator(op);
        conditions.append(condition);
    }
    return true;
}

} // namespace

bool readMapHeader(const QString &languageName, QIODevice *file, MapHeader &header)
{
    return file && readMapHeader(languageName, file, file->size(), header);
}

bool readMapHeader(const QString &languageName, QIODevice *file, qint64 fileSize, MapHeader &header)
{
    if (!file || !file->isReadable())
        return false;
    HeaderReader reader(file);
    const char *start = nullptr;
    if (!reader.bytes(firstHeaderSize, start) || qstrncmp(start, "GNM3", 4) != 0)
        return false;
    const quint32 headerVersion = u32At(start, 4);
    if (headerVersion > newestHeaderVersion)
        return false;
    quint32 tableBase = u32At(start, 8);
    if (headerVersion > 0) {
        const char *longHeader = nullptr;
        reader.seek(0);
        if (!reader.bytes(longHeaderSize, longHeader))
            return false;
        tableBase = u32At(longHeader, 12);
    }

    const char *index = nullptr;
    if (!reader.bytes(indexBlockSize, index) || qstrncmp(index, "NIDX", 4) != 0)
        return false;
    const quint32 indexId = u32At(index, 8);
    const quint32 entryCount = u32At(index, 48);
    const quint16 language = windowsLanguageId(languageName);

    MapHeader result;
    const quint64 size = quint64(qMax<qint64>(fileSize, 0));
    if (const KnownMapTable::Entry *known = KnownMapTable::instance().find(size, indexId)) {
        result.packageCode = known->packageCode;
        result.firstVersion = known->firstVersion;
        result.secondVersion = known->secondVersion;
        result.title = chooseLanguageText(known->titles, language);
        result.versionText = chooseLanguageText(known->versionTexts, language);
        header = std::move(result);
        return true;
    }

    // 64-bit arithmetic: both values come from the file and may be anything.
    const qint64 dataStart = qint64(entryCount) * 4 + qint64(tableBase) + longHeaderSize
        - (headerVersion == 0 ? firstHeaderSize : 0);
    if (dataStart > fileSize)
        return false;
    reader.seek(dataStart);
    if (!reader.skip(4) || !reader.u32(result.firstVersion) || !reader.u32(result.secondVersion))
        return false;
    const quint32 keyA = result.firstVersion;
    const quint32 keyB = result.secondVersion;
    if (!reader.scrambledString(keyA, keyB, result.packageCode)
        || !reader.languageTable(keyA, keyB, language, result.title)
        || !reader.languageTable(keyA, keyB, language, result.versionText)
        || !readConditions(reader, keyA, keyB, result.conditions))
        return false;
    header = std::move(result);
    return true;
}

} // namespace vktcommon
