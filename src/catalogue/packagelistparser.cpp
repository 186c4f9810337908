#include "packagelistparser.h"

#include <QStringList>

namespace {

const QLatin1String endMarker("DATAEND");

bool isDecimalDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// A signed 32-bit decimal: an optional minus sign and digits, nothing else (no blanks, no plus sign).
bool parseInt32(const QString &text, qint32 &value)
{
    const QStringView digits = text.startsWith(QLatin1Char('-')) ? QStringView(text).mid(1) : QStringView(text);
    if (!isDecimalDigits(digits))
        return false;
    bool ok = false;
    value = text.toInt(&ok, 10);
    return ok;
}

bool isPlainFileName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.unicode() < 0x20)
            return false;
    }
    return true;
}

bool isSha1Text(const QString &text)
{
    if (text.size() != 40)
        return false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F')))
            return false;
    }
    return true;
}

bool isRelationOperator(const QString &op)
{
    static const QStringList operators = {QStringLiteral("<"), QStringLiteral("<="), QStringLiteral(">"),
                                          QStringLiteral(">="), QStringLiteral("!="), QStringLiteral("=")};
    return operators.contains(op);
}

// "kind,code" or "kind,code (op major.minor)"; parentheses are dropped and parts split at single spaces.
bool parseRelationLine(const QString &line, MapInfo &map)
{
    const QStringList halves = line.split(QLatin1Char(','));
    if (halves.size() != 2)
        return false;

    QList<PackageRelation> *relations = nullptr;
    if (halves[0] == QLatin1String("depends"))
        relations = &map.depends;
    else if (halves[0] == QLatin1String("conflicts"))
        relations = &map.conflicts;
    else if (halves[0] == QLatin1String("replaces"))
        relations = &map.replaces;
    else
        return false;

    QString text = halves[1];
    text.remove(QLatin1Char('(')).remove(QLatin1Char(')'));
    const QStringList parts = text.split(QLatin1Char(' '));

    PackageRelation relation;
    relation.code = parts[0];
    if (relation.code.isEmpty())
        return false;
    if (parts.size() == 3) {
        relation.op = parts[1];
        if (!isRelationOperator(relation.op)
            || !parsePackageVersion(parts[2], relation.majorVersion, relation.minorVersion))
            return false;
    } else if (parts.size() != 1) {
        return false;
    }
    relations->append(relation);
    return true;
}

// Hands out the lines of the list one by one; past the end it reports that none is left.
class LineReader
{
public:
    explicit LineReader(const QByteArray &text) : m_lines(text.split('\n')) {}

    bool next(QString &line)
    {
        if (m_position >= m_lines.size())
            return false;
        line = QString::fromUtf8(m_lines[m_position++]);
        return true;
    }

private:
    const QList<QByteArray> m_lines;
    qsizetype m_position = 0;
};

// Reads the seven fixed lines after the name and the relation lines up to the empty line.
bool parseRecordBody(LineReader &reader, MapInfo &map)
{
    QString versionText;
    QString fileLine;
    if (!reader.next(map.code) || map.code.isEmpty() || !reader.next(map.description)
        || !reader.next(map.version) || map.version.isEmpty() || !reader.next(versionText)
        || !parsePackageVersion(versionText, map.majorVersion, map.minorVersion) || !reader.next(map.mapText)
        || !reader.next(fileLine) || !parsePackageFileLine(fileLine, map.file))
        return false;

    QString line;
    while (reader.next(line)) {
        if (line.isEmpty())
            return true;
        if (!parseRelationLine(line, map))
            return false;
    }
    return false;
}

bool parseRecords(const QByteArray &text, QList<MapInfo> &maps)
{
    LineReader reader(text);
    QString name;
    while (reader.next(name)) {
        if (name == endMarker)
            return true;
        if (name.isEmpty())
            return false;
        MapInfo map;
        map.name = name;
        map.kind = ProductInfo::MapPackage;
        if (!parseRecordBody(reader, map))
            return false;
        maps.append(map);
    }
    return false;
}

} // namespace

bool parsePackageVersion(const QString &text, qint32 &majorVersion, qint32 &minorVersion)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    return parts.size() == 2 && parseInt32(parts[0], majorVersion) && parseInt32(parts[1], minorVersion);
}

bool parsePackageFileLine(const QString &line, PackageFile &file)
{
    const QStringList fields = line.split(QLatin1Char(','));
    if (fields.size() != 5 || !isPlainFileName(fields[0]) || !isDecimalDigits(fields[1]) || fields[2].isEmpty()
        || !isSha1Text(fields[3]) || fields[4].isEmpty())
        return false;
    bool sizeOk = false;
    const quint64 size = fields[1].toULongLong(&sizeOk, 10);
    const QUrl url(fields[4]);
    if (!sizeOk || !url.isValid())
        return false;
    file.fileName = fields[0];
    file.size = size;
    file.extraText = fields[2];
    file.extraBytes = fields[3].toLatin1();
    file.url = url;
    return true;
}

bool parseMapPackageList(const QByteArray &text, QList<MapInfo> &maps)
{
    maps.clear();
    if (!parseRecords(text, maps)) {
        maps.clear();
        return false;
    }
    return true;
}
