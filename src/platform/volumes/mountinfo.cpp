#include "mountinfo.h"

#include <QFile>

namespace {

// The kernel writes space, tab, newline and backslash in paths as three octal digits ("\040").
QString decodeField(const QByteArray &field)
{
    QByteArray bytes;
    bytes.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field.at(i);
        if (c == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            bool ok = false;
            const int value = digits.toInt(&ok, 8);
            if (ok && digits.size() == 3 && value < 256) {
                bytes.append(char(value));
                i += 3;
                continue;
            }
        }
        bytes.append(c);
    }
    return QFile::decodeName(bytes);
}

bool namesReadOnly(const QByteArray &options)
{
    return options.split(',').contains("ro");
}

} // namespace

bool parseMountInfoLine(const QByteArray &line, MountEntry &entry)
{
    const QList<QByteArray> fields = line.trimmed().split(' ');
    // id, parent id, major:minor, root, mount point, options, optional fields..., "-", type, source, options
    const qsizetype dash = fields.indexOf(QByteArray("-"), 6);
    if (fields.size() < 6 || dash < 0 || dash + 2 >= fields.size())
        return false;
    const QList<QByteArray> numbers = fields.at(2).split(':');
    if (numbers.size() != 2)
        return false;
    bool majorOk = false;
    bool minorOk = false;
    entry.major = numbers.at(0).toUInt(&majorOk);
    entry.minor = numbers.at(1).toUInt(&minorOk);
    if (!majorOk || !minorOk)
        return false;
    entry.root = decodeField(fields.at(3));
    entry.mountPoint = decodeField(fields.at(4));
    entry.fileSystemType = decodeField(fields.at(dash + 1));
    entry.source = decodeField(fields.at(dash + 2));
    // The mount's own options, then the file system's (after the source).
    entry.readOnly = namesReadOnly(fields.at(5)) || (dash + 3 < fields.size() && namesReadOnly(fields.at(dash + 3)));
    return true;
}

bool readMountInfo(const QString &path, QList<MountEntry> &entries)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // mountinfo is generated as it is read and reports a size of 0, so atEnd() cannot be trusted.
    for (const QByteArray &line : file.readAll().split('\n')) {
        MountEntry entry;
        if (parseMountInfoLine(line, entry))
            entries.append(entry);
    }
    return true;
}
