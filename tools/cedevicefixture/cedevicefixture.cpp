#include "cedevicefixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

CeDeviceFixture::CeDeviceFixture(const QString &folder) : m_folder(QDir(folder).absolutePath())
{
    QDir().mkpath(m_folder + QStringLiteral("/files"));
}

QString CeDeviceFixture::hostPath(const QString &devicePath) const
{
    return m_folder + QStringLiteral("/files") + QString(devicePath).replace(QLatin1Char('\\'), QLatin1Char('/'));
}

bool CeDeviceFixture::addFile(const QString &devicePath, const QByteArray &content)
{
    const QString path = hostPath(devicePath);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

bool CeDeviceFixture::addFolder(const QString &devicePath)
{
    return QDir().mkpath(hostPath(devicePath));
}

bool CeDeviceFixture::setAttributes(const QString &devicePath, const QString &attributes)
{
    return append(QStringLiteral("attributes.txt"), attributes + QLatin1Char(' ') + devicePath + QLatin1Char('\n'));
}

bool CeDeviceFixture::addStorageCard(const QString &name)
{
    const QString path = QLatin1Char('\\') + name;
    return addFolder(path) && setAttributes(path, QStringLiteral("100"));
}

bool CeDeviceFixture::setRegistryText(const QString &key, const QString &name, const QString &value)
{
    const QString section = QStringLiteral("[HKEY_LOCAL_MACHINE\\%1]\n").arg(key.startsWith(QLatin1Char('\\')) ? key.mid(1) : key);
    return append(QStringLiteral("registry.txt"), name.isEmpty() ? section : section + name + QLatin1Char('=') + value + QLatin1Char('\n'));
}

bool CeDeviceFixture::makeWindowsMobile(const QString &name)
{
    return setConnection(QStringLiteral("name"), name) && setConnection(QStringLiteral("os-version"), QStringLiteral("5.2"))
           && setRegistryText(QStringLiteral("SYSTEM\\Versions"), QString(), QString());
}

bool CeDeviceFixture::setConnection(const QString &key, const QString &value)
{
    return append(QStringLiteral("connection.txt"), key + QLatin1Char('=') + value + QLatin1Char('\n'));
}

bool CeDeviceFixture::installSyncSoftware(const QString &appManager)
{
    return setDesktopValue(QStringLiteral("SOFTWARE\\Microsoft\\Windows CE Services"), QStringLiteral("MajorVersion"),
                           QStringLiteral("dword:00000004"))
           && setDesktopValue(QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE"),
                              QStringLiteral("@"), appManager);
}

bool CeDeviceFixture::setDesktopValue(const QString &key, const QString &name, const QString &written)
{
    return append(QStringLiteral("desktop-registry.txt"),
                  QStringLiteral("[HKEY_LOCAL_MACHINE\\%1]\n%2=%3\n").arg(key, name, written));
}

bool CeDeviceFixture::append(const QString &name, const QString &text)
{
    QFile file(m_folder + QLatin1Char('/') + name);
    const QByteArray bytes = text.toUtf8();
    return file.open(QIODevice::Append) && file.write(bytes) == bytes.size();
}
