#include "modulereplies.h"

#include "deviceerror.h"
#include "navigatorinfo.h"

#include <QtEndian>

#include <algorithm>

namespace vktpdl {

namespace {

constexpr qsizetype statusSize = 2;
constexpr qsizetype rootsHeaderSize = 6;
constexpr qsizetype navigatorHeaderSize = 14;
constexpr qsizetype identifierSize = 40;
constexpr quint16 statusFound = 0;

quint16 read16(const QByteArray &bytes, qsizetype offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

quint32 read32(const QByteArray &bytes, qsizetype offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

// The count at offset and the bytes after it; false when the reply holds fewer.
bool countedBytes(const QByteArray &reply, qsizetype offset, QByteArray &bytes)
{
    const quint64 count = read32(reply, offset);
    const qsizetype start = offset + 4;
    if (count > quint64(reply.size() - start))
        return false;
    bytes = reply.mid(start, qsizetype(count));
    return true;
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

} // namespace

int ModuleReplies::readModuleVersion(const QByteArray &reply, quint32 &version)
{
    if (reply.size() < 4)
        return DE_WRONG_REPLY;
    version = read32(reply, 0);
    return DE_NO_ERROR;
}

int ModuleReplies::readRoots(const QByteArray &reply, QStringList &roots)
{
    QByteArray text;
    if (reply.size() < rootsHeaderSize || read16(reply, 0) != statusFound || !countedBytes(reply, statusSize, text))
        return DE_WRONG_REPLY;
    roots += QString::fromUtf8(text).split(QChar(0), Qt::SkipEmptyParts);
    return DE_NO_ERROR;
}

int ModuleReplies::readNavigator(const QByteArray &reply, NavigatorInfo &info)
{
    QByteArray folder;
    if (reply.size() < navigatorHeaderSize || read16(reply, 0) != statusFound
        || !countedBytes(reply, navigatorHeaderSize - 4, folder))
        return DE_NAVIGATOR_NOT_FOUND;
    const QByteArray identifier = reply.mid(navigatorHeaderSize + folder.size(), identifierSize);
    if (identifier.size() != identifierSize || !std::all_of(identifier.cbegin(), identifier.cend(), isHexDigit))
        return DE_NAVIGATOR_NOT_FOUND;
    // The folder ends at its NUL, as the module writes it.
    const qsizetype end = folder.indexOf('\0');
    info.version = DottedVersion(read16(reply, 2), read16(reply, 4), read16(reply, 6), read16(reply, 8));
    info.folder = QString::fromUtf8(end < 0 ? folder : folder.left(end));
    info.identifier = identifier.toLower();
    info.description.clear();
    return DE_NO_ERROR;
}

} // namespace vktpdl
