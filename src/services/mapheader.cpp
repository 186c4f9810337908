#include "mapheader.h"

#include "knownmaptable.h"
#include "languagetexts.h"

#include <QIODevice>
#include <QtEndian>

namespace vktcommon {

namespace {

constexpr int firstHeaderSize = 12;
constexpr int longHeaderSize = 24;
constexpr int indexBlockSize = 124;
constexpr quint32 newestHeaderVersion = 2;

// Little-endian reads that fail unless the file delivers exactly the requested bytes.
class HeaderReader
{
public:
    // The size is asked once: on a file each question is a system call.
    explicit HeaderReader(QIODevice *file) : m_file(file), m_size(file->size()) {}

    qint64 size() const { return m_size; }

    bool bytes(qint64 count, QByteArray &out)
    {
        out = m_file->read(count);
        return out.size() == count;
    }

    bool skip(qint64 count)
    {
        QByteArray ignored;
        return bytes(count, ignored);
    }

    bool u8(quint8 &value)
    {
        char byte = 0;
        if (!m_file->getChar(&byte))
            return false;
        value = quint8(byte);
        return true;
    }

    bool u16(quint16 &value)
    {
        QByteArray raw;
        if (!bytes(2, raw))
            return false;
        value = qFromLittleEndian<quint16>(raw.constData());
        return true;
    }

    bool u32(quint32 &value)
    {
        QByteArray raw;
        if (!bytes(4, raw))
            return false;
        value = qFromLittleEndian<quint32>(raw.constData());
        return true;
    }

    // A 16-bit byte count and that many bytes, unscrambled with the keys and read as UTF-8.
    bool scrambledString(quint32 keyA, quint32 keyB, QString &text)
    {
        quint16 length = 0;
        QByteArray raw;
        if (!u16(length) || !bytes(length, raw))
            return false;
        const int lengthA = keyLength(keyA);
        const int period = lengthA + keyLength(keyB);
        for (int j = 0; j < raw.size(); ++j) {
            const int m = j % period;
            const quint32 key = m < lengthA ? keyA >> (8 * m) : keyB >> (8 * (m - lengthA));
            raw[j] = char(quint8(raw[j]) ^ quint8(key));
        }
        text = QString::fromUtf8(raw);
        return true;
    }

    // A 16-bit entry count, then per entry a language identifier and a scrambled text.
    bool languageTable(quint32 keyA, quint32 keyB, LanguageTexts &texts)
    {
        quint16 count = 0;
        if (!u16(count))
            return false;
        for (quint16 i = 0; i < count; ++i) {
            quint16 language = 0;
            QString text;
            if (!u16(language) || !scrambledString(keyA, keyB, text))
                return false;
            texts.insert(language, text);
        }
        return true;
    }

    bool seek(qint64 position) { return m_file->seek(position); }
    qint64 remaining() const { return m_size - m_file->pos(); }

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

    QIODevice *m_file;
    qint64 m_size;
};

quint32 u32At(const QByteArray &raw, int offset)
{
    return qFromLittleEndian<quint32>(raw.constData() + offset);
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
    if (reader.remaining() < 4)
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
    if (!file || !file->isReadable())
        return false;
    HeaderReader reader(file);
    QByteArray start;
    if ((file->pos() != 0 && !reader.seek(0)) || !reader.bytes(firstHeaderSize, start) || !start.startsWith("GNM3"))
        return false;
    const quint32 headerVersion = u32At(start, 4);
    if (headerVersion > newestHeaderVersion)
        return false;
    quint32 tableBase = u32At(start, 8);
    if (headerVersion > 0) {
        // The longer header starts with the same 12 bytes; reading on keeps the file's buffer.
        QByteArray rest;
        if (!reader.bytes(longHeaderSize - firstHeaderSize, rest))
            return false;
        tableBase = u32At(start + rest, 12);
    }

    QByteArray index;
    if (!reader.bytes(indexBlockSize, index) || !index.startsWith("NIDX"))
        return false;
    const quint32 indexId = u32At(index, 8);
    const quint32 entryCount = u32At(index, 48);
    const quint16 language = windowsLanguageId(languageName);

    MapHeader result;
    if (const KnownMapTable::Entry *known = KnownMapTable::instance().find(quint64(reader.size()), indexId)) {
        result.packageCode = known->packageCode;
        result.firstVersion = known->firstVersion;
        result.secondVersion = known->secondVersion;
        result.title = chooseLanguageText(known->titles, language);
        result.versionText = chooseLanguageText(known->versionTexts, language);
        header = result;
        return true;
    }

    // 64-bit arithmetic: both values come from the file and may be anything.
    const qint64 dataStart = qint64(entryCount) * 4 + qint64(tableBase) + longHeaderSize
        - (headerVersion == 0 ? firstHeaderSize : 0);
    if (dataStart > reader.size() || !reader.seek(dataStart) || !reader.skip(4))
        return false;
    if (!reader.u32(result.firstVersion) || !reader.u32(result.secondVersion))
        return false;
    const quint32 keyA = result.firstVersion;
    const quint32 keyB = result.secondVersion;
    LanguageTexts titles;
    LanguageTexts versionTexts;
    if (!reader.scrambledString(keyA, keyB, result.packageCode) || !reader.languageTable(keyA, keyB, titles)
        || !reader.languageTable(keyA, keyB, versionTexts) || !readConditions(reader, keyA, keyB, result.conditions))
        return false;
    result.title = chooseLanguageText(titles, language);
    result.versionText = chooseLanguageText(versionTexts, language);
    header = result;
    return true;
}

} // namespace vktcommon
