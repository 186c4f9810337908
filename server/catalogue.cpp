#include "catalogue.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QUrl>

namespace {

bool isPlainName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
           && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

QStringList listValue(const QString &value)
{
    QStringList items;
    for (const QString &item : value.split(QLatin1Char(','), Qt::SkipEmptyParts))
        items.append(item.trimmed());
    return items;
}

} // namespace

Catalogue::Catalogue(const QString &folder, const QString &publicUrl) : m_folder(folder), m_publicUrl(publicUrl)
{
}

bool Catalogue::readPackages(const QString &fileName, QList<Package> &packages, bool &exists, QString &error) const
{
    packages.clear();
    QFile file(QDir(m_folder).filePath(fileName));
    exists = file.exists();
    if (!exists)
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read ") + file.fileName();
        return false;
    }
    // Blocks of "key: value" lines separated by empty lines; "#" starts a comment line.
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    Package package;
    bool inBlock = false;
    for (qsizetype i = 0; i <= lines.size(); ++i) {
        const QString line = i < lines.size() ? lines[i].trimmed() : QString();
        if (line.startsWith(QLatin1Char('#')))
            continue;
        if (line.isEmpty()) {
            if (inBlock)
                packages.append(package);
            package = Package();
            inBlock = false;
            continue;
        }
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon <= 0) {
            error = QStringLiteral("%1:%2: expected \"key: value\"").arg(file.fileName()).arg(i + 1);
            return false;
        }
        const QString key = line.left(colon).trimmed();
        const QString value = line.mid(colon + 1).trimmed();
        inBlock = true;
        if (key == QLatin1String("name"))
            package.name = value;
        else if (key == QLatin1String("description"))
            package.description = value;
        else if (key == QLatin1String("version"))
            package.version = value;
        else if (key == QLatin1String("file"))
            package.file = value;
        else if (key == QLatin1String("typefile"))
            package.typefile = value;
        else if (key == QLatin1String("devicenames"))
            package.deviceNames = listValue(value);
        else if (key == QLatin1String("checksums"))
            package.checksums = listValue(value);
        else {
            error = QStringLiteral("%1:%2: unknown key %3").arg(file.fileName()).arg(i + 1).arg(key);
            return false;
        }
    }
    return true;
}

bool Catalogue::selfUpdate(Package &package, bool &offered, QString &error) const
{
    QList<Package> packages;
    if (!readPackages(QStringLiteral("selfupdate.txt"), packages, offered, error))
        return false;
    offered = !packages.isEmpty();
    if (offered)
        package = packages.first();
    return true;
}

bool Catalogue::navigatorPackages(QList<Package> &packages, QString &error) const
{
    bool exists = false;
    return readPackages(QStringLiteral("navigators.txt"), packages, exists, error);
}

bool Catalogue::mapList(const QString &navigatorVersion, QByteArray &list, bool &found, QString &error) const
{
    const QDir maps(QDir(m_folder).filePath(QStringLiteral("maps")));
    QFile file(maps.filePath(navigatorVersion + QStringLiteral(".txt")));
    if (!isPlainName(navigatorVersion) || !file.exists())
        file.setFileName(maps.filePath(QStringLiteral("default.txt")));
    found = file.exists();
    list.clear();
    if (!found)
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read ") + file.fileName();
        return false;
    }
    const QByteArray text = file.readAll();
    if (text.isEmpty())
        return true;
    QList<QByteArray> lines = text.split('\n');
    for (QByteArray &line : lines) {
        if (line.startsWith("@file ") && !fileLine(QString::fromUtf8(line.mid(6)).trimmed(), line, error))
            return false;
    }
    list = lines.join('\n');
    return true;
}

QString Catalogue::filePath(const QString &name) const
{
    if (!isPlainName(name))
        return QString();
    const QString path = QDir(QDir(m_folder).filePath(QStringLiteral("files"))).filePath(name);
    return QFileInfo(path).isFile() ? path : QString();
}

bool Catalogue::fileLine(const QString &fileName, QByteArray &line, QString &error) const
{
    const QString path = filePath(fileName);
    if (path.isEmpty()) {
        error = QStringLiteral("the catalogue names a file that files/ does not hold: ") + fileName;
        return false;
    }
    const QVector<QByteArray> whole = digests(path, 0);
    if (whole.size() != 1) {
        error = QStringLiteral("cannot read ") + path;
        return false;
    }
    const QByteArray url = m_publicUrl.toUtf8() + "/files/" + QUrl::toPercentEncoding(fileName);
    line = fileName.toUtf8() + ',' + QByteArray::number(QFileInfo(path).size()) + ',' + fileName.toUtf8() + ','
           + whole.first() + ',' + url;
    return true;
}

QVector<QByteArray> Catalogue::digests(const QString &path, quint64 blockSize) const
{
    const QFileInfo info(path);
    const QString key = QStringLiteral("%1|%2|%3|%4")
                            .arg(path)
                            .arg(info.size())
                            .arg(info.lastModified().toMSecsSinceEpoch())
                            .arg(blockSize);
    {
        QMutexLocker locker(&m_cacheMutex);
        const auto cached = m_digestCache.constFind(key);
        if (cached != m_digestCache.constEnd())
            return *cached;
    }

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QVector<QByteArray>();
    QVector<QByteArray> result;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    quint64 inBlock = 0;
    while (!file.atEnd()) {
        const qint64 want = blockSize == 0 ? 1 << 20 : qint64(qMin<quint64>(blockSize - inBlock, 1 << 20));
        const QByteArray piece = file.read(want);
        if (piece.isEmpty())
            return QVector<QByteArray>();
        hash.addData(piece);
        inBlock += quint64(piece.size());
        if (blockSize != 0 && inBlock == blockSize) {
            result.append(hash.result().toHex());
            hash.reset();
            inBlock = 0;
        }
    }
    if (blockSize == 0 || inBlock > 0)
        result.append(hash.result().toHex());

    QMutexLocker locker(&m_cacheMutex);
    m_digestCache.insert(key, result);
    return result;
}
