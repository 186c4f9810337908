#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringDecoder>
#include <QTemporaryDir>

// Builds the folder of an emulated Windows CE device (the layout HostCePlatform reads) for one test.
class EmulatedDevice
{
public:
    EmulatedDevice() { QDir(m_folder.path()).mkpath(QStringLiteral("files")); }

    std::string folder() const { return QFile::encodeName(m_folder.path()).toStdString(); }
    QString hostPath(const QString &devicePath) const
    {
        return m_folder.path() + QStringLiteral("/files") + QString(devicePath).replace(QLatin1Char('\\'), QLatin1Char('/'));
    }

    bool addFile(const QString &devicePath, const QByteArray &content)
    {
        const QString path = hostPath(devicePath);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
    }
    bool addFolder(const QString &devicePath) { return QDir().mkpath(hostPath(devicePath)); }
    bool addLink(const QString &devicePath, const QString &target)
    {
        QDir().mkpath(QFileInfo(hostPath(devicePath)).path());
        return QFile::link(target, hostPath(devicePath));
    }
    // attributes: hexadecimal, as in the attributes file.
    bool setAttributes(const QString &devicePath, const QString &attributes)
    {
        return append(QStringLiteral("attributes.txt"), attributes + QLatin1Char(' ') + devicePath + QLatin1Char('\n'));
    }
    bool addStorageCard(const QString &name) { return addFolder(QLatin1Char('\\') + name) && setAttributes(QLatin1Char('\\') + name, QStringLiteral("100")); }
    bool setRegistryText(const QString &key, const QString &name, const QString &value)
    {
        return append(QStringLiteral("registry.txt"),
                      QStringLiteral("[HKEY_LOCAL_MACHINE%1]\n%2=%3\n").arg(key, name, value));
    }
    bool refuseConfiguration()
    {
        QFile file(m_folder.filePath(QStringLiteral("configuration-fails")));
        return file.open(QIODevice::WriteOnly);
    }
    QStringList configurationDocuments() const
    {
        QStringList documents;
        const QDir folder(m_folder.filePath(QStringLiteral("configuration")));
        for (const QString &name : folder.entryList(QDir::Files, QDir::Name)) {
            QFile file(folder.filePath(name));
            if (!file.open(QIODevice::ReadOnly))
                continue;
            documents << QStringDecoder(QStringDecoder::Utf16LE).decode(file.readAll());
        }
        return documents;
    }

private:
    bool append(const QString &name, const QString &text)
    {
        QFile file(m_folder.filePath(name));
        return file.open(QIODevice::Append) && file.write(text.toUtf8()) > 0;
    }

    QTemporaryDir m_folder;
};
