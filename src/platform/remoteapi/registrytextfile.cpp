#include "registrytextfile.h"

#include "nofollow.h"

#include <QFile>
#include <QStringList>

#include <algorithm>

namespace {

const QString defaultValueName = QStringLiteral("@");
const QString numberPrefix = QStringLiteral("dword:");

// The levels of a key, folded, so that "A\\b\" and "a\B" are the same key.
QString comparableKey(const QString &key)
{
    return key.split(QLatin1Char('\\'), Qt::SkipEmptyParts).join(QLatin1Char('\\')).toCaseFolded();
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

RegistryValue parsedValue(const QString &written)
{
    if (written.startsWith(numberPrefix, Qt::CaseInsensitive)) {
        const QString digits = written.mid(numberPrefix.size());
        bool ok = false;
        const uint number = digits.toUInt(&ok, 16);
        if (ok && digits.size() <= 8)
            return RegistryValue::fromNumber(number);
    }
    return RegistryValue::fromText(written);
}

} // namespace

bool RegistryTextFile::load(const QString &path)
{
    m_keys.clear();
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    Key *current = nullptr;
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString key = line.mid(1, line.size() - 2);
            qsizetype index = indexOf(key);
            if (index < 0) {
                m_keys.append({key, {}});
                index = m_keys.size() - 1;
            }
            current = &m_keys[index];
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (current && equals > 0) {
            const QString name = line.left(equals);
            const QString written = line.mid(equals + 1);
            auto existing = std::find_if(current->values.begin(), current->values.end(),
                                         [&](const QPair<QString, QString> &value) { return sameName(value.first, name); });
            if (existing != current->values.end())
                existing->second = written;
            else
                current->values.append({name, written});
        }
    }
    return true;
}

bool RegistryTextFile::save(const QString &path) const
{
    QString text;
    for (const Key &key : m_keys) {
        text += QLatin1Char('[') + key.path + QStringLiteral("]\n");
        for (const auto &value : key.values)
            text += value.first + QLatin1Char('=') + value.second + QLatin1Char('\n');
    }
    QFile file(path);
    const QByteArray bytes = text.toUtf8();
    return vktcommon::openNoFollow(file, QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size()
           && file.flush();
}

bool RegistryTextFile::hasKey(const QString &key) const
{
    return indexOf(key) >= 0;
}

bool RegistryTextFile::value(const QString &key, const QString &name, RegistryValue &value) const
{
    const qsizetype index = indexOf(key);
    if (index < 0)
        return false;
    const QString wanted = name.isEmpty() ? defaultValueName : name;
    for (const auto &written : m_keys.at(index).values) {
        if (sameName(written.first, wanted)) {
            value = parsedValue(written.second);
            return true;
        }
    }
    return false;
}

bool RegistryTextFile::setText(const QString &key, const QString &name, const QString &text)
{
    const auto breaksLine = [](const QString &part) {
        return part.contains(QLatin1Char('\n')) || part.contains(QLatin1Char('\r'));
    };
    if (breaksLine(key) || breaksLine(name) || breaksLine(text) || name.contains(QLatin1Char('='))
        || key.contains(QLatin1Char(']')))
        return false;
    qsizetype index = indexOf(key);
    if (index < 0) {
        m_keys.append({key, {}});
        index = m_keys.size() - 1;
    }
    const QString written = name.isEmpty() ? defaultValueName : name;
    for (auto &value : m_keys[index].values) {
        if (sameName(value.first, written)) {
            value.second = text;
            return true;
        }
    }
    m_keys[index].values.append({written, text});
    return true;
}

QString RegistryTextFile::localMachineKey(const QString &subKey)
{
    return QStringLiteral("HKEY_LOCAL_MACHINE\\") + subKey;
}

qsizetype RegistryTextFile::indexOf(const QString &key) const
{
    const QString wanted = comparableKey(key);
    for (qsizetype i = 0; i < m_keys.size(); ++i) {
        if (comparableKey(m_keys.at(i).path) == wanted)
            return i;
    }
    return -1;
}
