#include "selfupdatefixture.h"

#include "appsettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSettings>

void SelfUpdateFixture::useSettingsBelow(const QString &home)
{
    qputenv("HOME", QFile::encodeName(home));
    QCoreApplication::setOrganizationName("DRQ");
    QCoreApplication::setApplicationName("Korwind Navigator update center");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home + "/config");
}

SelfUpdateFixture::SelfUpdateFixture()
{
    m_valid = m_folder.isValid() && QDir().mkdir(downloads()) && QDir().mkdir(temporary());
    AppSettings::setDownloadsDirectory(downloads());
    qputenv("TMPDIR", QFile::encodeName(temporary()));
}

SelfUpdateFixture::~SelfUpdateFixture()
{
    qunsetenv("TMPDIR");
}

QStringList SelfUpdateFixture::contents() const
{
    QStringList paths;
    QDirIterator it(m_folder.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths.append(QDir(m_folder.path()).relativeFilePath(it.next()));
    paths.sort();
    return paths;
}

QByteArray SelfUpdateFixture::archive(const QString &marker, const QByteArray &setupName)
{
    const QByteArray path = QFile::encodeName(marker);
    const QByteArray script = "#!/bin/sh\n"
                              "printf '%s\\n%s\\n' \"$0\" \"$#\" > '" + path + ".part'\n"
                              "mv '" + path + ".part' '" + path + "'\n";
    return archive({entry(setupName, script), entry("share/readme.txt", "The new update center.\n")});
}

QByteArray SelfUpdateFixture::archive(const QList<ZipForge::Entry> &entries)
{
    ZipForge forge;
    for (const ZipForge::Entry &entry : entries)
        forge.add(entry);
    return forge.build();
}

ZipForge::Entry SelfUpdateFixture::entry(const QByteArray &name, const QByteArray &data, quint16 method)
{
    ZipForge::Entry entry;
    entry.name = name;
    entry.data = data;
    entry.method = method;
    return entry;
}

QStringList SelfUpdateFixture::record(const QString &marker)
{
    QFile file(marker);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

bool SelfUpdateFixture::write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
