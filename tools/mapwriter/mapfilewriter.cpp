#include "mapfilewriter.h"

#include <QFile>
#include <QtEndian>

namespace {

constexpr int indexBlockSize = 124;

QByteArray significantBytes(quint32 value)
{
    QByteArray bytes;
    do {
        bytes.append(char(value & 0xff));
        value >>= 8;
    } while (value != 0);
    return bytes;
}

class FieldWriter
{
public:
    explicit FieldWriter(QList<MapFileField> *fields) : m_fields(fields) {}

    void raw(const QString &name, const QByteArray &bytes)
    {
        if (m_fields)
            m_fields->append({name, m_out.size(), bytes.size()});
        m_out.append(bytes);
    }

    void u8(const QString &name, quint8 value) { raw(name, QByteArray(1, char(value))); }

    void u16(const QString &name, quint16 value)
    {
        char bytes[2];
        qToLittleEndian(value, bytes);
        raw(name, QByteArray(bytes, 2));
    }

    void u32(const QString &name, quint32 value)
    {
        char bytes[4];
        qToLittleEndian(value, bytes);
        raw(name, QByteArray(bytes, 4));
    }

    void text(const QString &name, const QByteArray &plain, quint32 a, quint32 b)
    {
        u16(name + QStringLiteral(" length"), quint16(plain.size()));
        raw(name + QStringLiteral(" bytes"), scrambleMapText(plain, a, b));
    }

    void table(const QString &name, const QList<MapFileText> &entries, quint32 a, quint32 b)
    {
        u16(name + QStringLiteral(" count"), quint16(entries.size()));
        for (int i = 0; i < entries.size(); ++i) {
            const QString entry = QStringLiteral("%1 %2").arg(name).arg(i);
            u16(entry + QStringLiteral(" language"), entries.at(i).language);
            text(entry, entries.at(i).utf8, a, b);
        }
    }

    QByteArray &bytes() { return m_out; }

private:
    QList<MapFileField> *m_fields;
    QByteArray m_out;
};

QByteArray fixedSize(QByteArray bytes, int size)
{
    bytes.resize(size, '\0');
    return bytes;
}

} // namespace

QByteArray scrambleMapText(const QByteArray &text, quint32 a, quint32 b)
{
    const QByteArray key = significantBytes(a) + significantBytes(b);
    QByteArray out = text;
    for (int j = 0; j < out.size(); ++j)
        out[j] = char(out.at(j) ^ key.at(j % key.size()));
    return out;
}

QByteArray writeMapFile(const MapFileRecipe &recipe, QList<MapFileField> *fields)
{
    FieldWriter w(fields);
    const bool shortHeader = recipe.headerVersion == 0;
    // The data follows the entry table; a reader finds it at entries * 4 + base + 24 (12 less for version 0).
    const qint64 dataStart = (shortHeader ? 12 : 24) + indexBlockSize + qint64(recipe.entryCount) * 4;
    const quint32 base = recipe.explicitTableBase
        ? recipe.tableBase
        : quint32(dataStart - qint64(recipe.entryCount) * 4 - 24 + (shortHeader ? 12 : 0));

    w.raw(QStringLiteral("magic"), fixedSize(recipe.magic, 4));
    w.u32(QStringLiteral("header version"), recipe.headerVersion);
    if (!shortHeader)
        w.u32(QStringLiteral("header reserved"), 0);
    w.u32(QStringLiteral("table base"), base);
    if (!shortHeader)
        w.raw(QStringLiteral("header tail"), QByteArray(8, '\0'));

    w.raw(QStringLiteral("index magic"), fixedSize(recipe.indexMagic, 4));
    w.u32(QStringLiteral("index reserved"), 0);
    w.u32(QStringLiteral("index identifier"), recipe.indexId);
    w.raw(QStringLiteral("index middle"), QByteArray(36, '\0'));
    w.u32(QStringLiteral("entry count"), recipe.entryCount);
    w.raw(QStringLiteral("index tail"), QByteArray(indexBlockSize - 52, '\0'));
    // Only a file whose data really follows the table gets the table written out.
    if (!recipe.explicitTableBase && recipe.entryCount > 0)
        w.raw(QStringLiteral("entry table"), QByteArray(qsizetype(recipe.entryCount) * 4, '\0'));

    const quint32 a = recipe.firstVersion;
    const quint32 b = recipe.secondVersion;
    w.u32(QStringLiteral("data marker"), 0);
    w.u32(QStringLiteral("first version"), a);
    w.u32(QStringLiteral("second version"), b);
    w.text(QStringLiteral("package code"), recipe.packageCode, a, b);
    w.table(QStringLiteral("title"), recipe.titles, a, b);
    w.table(QStringLiteral("version text"), recipe.versionTexts, a, b);
    if (recipe.withConditions) {
        w.u16(QStringLiteral("condition count"), quint16(recipe.conditions.size()));
        for (int i = 0; i < recipe.conditions.size(); ++i) {
            const MapFileCondition &condition = recipe.conditions.at(i);
            const QString name = QStringLiteral("condition %1").arg(i);
            w.text(name + QStringLiteral(" name"), condition.packageName, a, b);
            w.u8(name + QStringLiteral(" operator"), condition.op);
            w.u32(name + QStringLiteral(" first"), condition.first);
            w.u32(name + QStringLiteral(" second"), condition.second);
        }
    }
    QByteArray &out = w.bytes();
    if (recipe.fileSize > quint64(out.size()))
        out.append(QByteArray(qsizetype(recipe.fileSize - quint64(out.size())), '\0'));
    return out;
}

bool writeMapFile(const MapFileRecipe &recipe, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    // The padding is left to the file system as a hole, so that map files of realistic sizes cost no disk.
    MapFileRecipe unpadded = recipe;
    unpadded.fileSize = 0;
    const QByteArray bytes = writeMapFile(unpadded);
    if (file.write(bytes) != bytes.size() || !file.flush())
        return false;
    return recipe.fileSize <= quint64(bytes.size()) || file.resize(qint64(recipe.fileSize));
}
