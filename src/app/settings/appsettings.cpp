#include "appsettings.h"

#include "systemproxy.h"

#include <QDir>
#include <QSettings>

namespace {

const QString keyCreateBackups = QStringLiteral("createBackups");
const QString keyBackupsDirectory = QStringLiteral("backupsDirectory");
const QString keyDownloadsDirectory = QStringLiteral("downloadsDirectory");
const QString keyLanguage = QStringLiteral("language");
const QString keyUseProxy = QStringLiteral("useProxy");
const QString keyProxyAddress = QStringLiteral("proxyAdress");
const QString keyProxyPort = QStringLiteral("proxyPort");

// A value of the wrong type (a hand-edited file, say) counts as absent.
bool readBool(const QString &key, bool fallback)
{
    const QVariant value = QSettings().value(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return fallback;
}

QString readText(const QString &key)
{
    const QVariant value = QSettings().value(key);
    return value.canConvert<QString>() ? value.toString() : QString();
}

void write(const QString &key, const QVariant &value)
{
    QSettings().setValue(key, value);
}

QString directoryOrDefault(const QString &key, const QString &folderName)
{
    const QString stored = readText(key);
    if (!stored.isEmpty())
        return stored;
    const QString path = QDir::homePath() + QStringLiteral("/VKT/") + folderName;
    QDir().mkpath(path);
    return QDir::toNativeSeparators(path);
}

struct HostAndPort
{
    QString host;
    int port = 80;
};

HostAndPort systemProxy()
{
    HostAndPort proxy;
    SystemProxy::parse(SystemProxy::proxyServerText(), proxy.host, proxy.port);
    return proxy;
}

} // namespace

namespace AppSettings {

bool createBackups() { return readBool(keyCreateBackups, true); }
void setCreateBackups(bool value) { write(keyCreateBackups, value); }

bool useProxy() { return readBool(keyUseProxy, false); }
void setUseProxy(bool value) { write(keyUseProxy, value); }

QString backupsDirectory() { return directoryOrDefault(keyBackupsDirectory, QStringLiteral("backups")); }
void setBackupsDirectory(const QString &path) { write(keyBackupsDirectory, path); }

QString downloadsDirectory() { return directoryOrDefault(keyDownloadsDirectory, QStringLiteral("downloads")); }
void setDownloadsDirectory(const QString &path) { write(keyDownloadsDirectory, path); }

QString language() { return readText(keyLanguage); }
void setLanguage(const QLocale &locale) { write(keyLanguage, locale.name()); }

QString proxyAddress()
{
    const QString stored = readText(keyProxyAddress);
    return stored.isEmpty() ? systemProxy().host : stored;
}
void setProxyAddress(const QString &host) { write(keyProxyAddress, host); }

QString proxyPort()
{
    const QString stored = readText(keyProxyPort);
    return stored.isEmpty() ? QString::number(systemProxy().port) : stored;
}
void setProxyPort(const QString &port) { write(keyProxyPort, port); }

NetworkSettings networkSettings(const QString &language)
{
    return NetworkSettings{useProxy(), proxyAddress(), proxyPort(), language, downloadsDirectory()};
}

} // namespace AppSettings
