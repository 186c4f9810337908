#include "serverreplyparser.h"

#include "packagelistparser.h"

namespace {

const QByteArray endMarker("DATAEND");

bool isDecimalDigits(const QByteArray &text)
{
    if (text.isEmpty())
        return false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// Reads a raw status: decimal digits with an optional minus sign, nothing else.
bool parseRawStatus(const QByteArray &text, int &status)
{
    bool ok = false;
    status = text.toInt(&ok, 10);
    return ok && isDecimalDigits(text.startsWith('-') ? text.mid(1) : text);
}

bool parseUnsigned64(const QByteArray &text, quint64 &value)
{
    bool ok = false;
    value = text.toULongLong(&ok, 10);
    return ok && isDecimalDigits(text);
}

bool isSha1Text(const QByteArray &text)
{
    if (text.size() != 40)
        return false;
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')))
            return false;
    }
    return true;
}

// Name, description, version and file line of a program package; name and version must be set.
bool parseProductLines(const QList<QByteArray> &lines, qsizetype first, ProductInfo &product)
{
    if (first + 4 > lines.size())
        return false;
    product.name = QString::fromUtf8(lines[first]);
    product.description = QString::fromUtf8(lines[first + 1]);
    product.version = QString::fromUtf8(lines[first + 2]);
    return !product.name.isEmpty() && !product.version.isEmpty()
           && parsePackageFileLine(QString::fromUtf8(lines[first + 3]), product.file);
}

} // namespace

SERVER_REPLY_STATUS_CODE mapServerStatus(ServerQuestion question, int rawStatus)
{
    // Rows: raw status 1 to 5; columns: self-update, program packages, map packages, chunk information.
    static const SERVER_REPLY_STATUS_CODE table[5][4] = {
        {SRS_STATUS_1, SRS_STATUS_1, SRS_STATUS_1, SRS_STATUS_1},
        {SRS_STATUS_2, SRS_STATUS_2, SRS_STATUS_2, SRS_UNKNOWN},
        {SRS_STATUS_3, SRS_STATUS_3, SRS_STATUS_4, SRS_STATUS_3},
        {SRS_STATUS_4, SRS_STATUS_4, SRS_STATUS_6, SRS_STATUS_4},
        {SRS_UNKNOWN, SRS_STATUS_5, SRS_UNKNOWN, SRS_STATUS_6},
    };
    if (rawStatus < 1 || rawStatus > 5 || question < SQ_SELF_UPDATE || question > SQ_CHUNK_INFORMATION)
        return SRS_UNKNOWN;
    return table[rawStatus - 1][question - 1];
}

StatusLine parseStatusLine(const QByteArray &body)
{
    StatusLine result;
    const qsizetype lineEnd = body.indexOf('\n');
    const QByteArray firstLine = lineEnd < 0 ? body : body.left(lineEnd);
    if (firstLine.isEmpty())
        return result;

    const qsizetype comma = firstLine.indexOf(',');
    if (!parseRawStatus(comma < 0 ? firstLine : firstLine.left(comma), result.rawStatus))
        return result;
    if (comma >= 0) {
        result.message = QString::fromUtf8(firstLine.mid(comma + 1));
        if (!result.message.isEmpty()) {
            result.outcome = StatusLine::ServerStatus;
            return result;
        }
    } else if (result.rawStatus != 0) {
        return result; // a non-zero status needs a message
    }

    if (result.rawStatus != 0) {
        result.outcome = StatusLine::ServerStatus;
        return result;
    }
    result.outcome = StatusLine::Payload;
    if (lineEnd >= 0)
        result.payload = body.mid(lineEnd + 1);
    return result;
}

bool parseSelfUpdateRecord(const QByteArray &plaintext, ProductInfo &product)
{
    ProductInfo parsed;
    if (!parseProductLines(plaintext.split('\n'), 0, parsed))
        return false;
    parsed.kind = ProductInfo::SelfUpdatePackage;
    product = parsed;
    return true;
}

bool parseProgramPackageList(const QByteArray &plaintext, QList<ProductInfo> &products)
{
    const QList<QByteArray> lines = plaintext.split('\n');
    QList<ProductInfo> parsed;
    qsizetype position = 0;
    while (position < lines.size()) {
        if (lines[position] == endMarker) {
            products = parsed;
            return true;
        }
        ProductInfo product;
        // The fifth line of a record is not used.
        if (!parseProductLines(lines, position, product) || position + 5 > lines.size())
            return false;
        product.kind = ProductInfo::NavigatorPackage;
        parsed.append(product);
        position += 5;
    }
    return false;
}

ChunkInformation parseChunkInformation(const QByteArray &body)
{
    ChunkInformation result;
    QList<QByteArray> lines = body.split('\n');
    const QByteArray &firstLine = lines[0];
    const qsizetype comma = firstLine.indexOf(',');
    if (!parseRawStatus(comma < 0 ? firstLine : firstLine.left(comma), result.rawStatus))
        return result;
    if (comma < 0 && result.rawStatus != 0)
        return result;
    if (comma >= 0)
        result.message = QString::fromUtf8(firstLine.mid(comma + 1));

    if (lines.size() < 2 || !parseUnsigned64(lines[1], result.chunkSize))
        return result;
    if (lines.size() > 2 && lines.last().isEmpty())
        lines.removeLast(); // the answer may end with a line feed
    for (qsizetype i = 2; i < lines.size(); ++i) {
        if (!isSha1Text(lines[i]))
            return ChunkInformation();
        result.digests.append(lines[i]);
    }
    result.isContentError = false;
    return result;
}
