#pragma once

#include "zipforge.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// What the self-update tests work with: for each test a fresh folder holding the downloads folder (named in
// the settings) and the temporary folder (TMPDIR); and packages made at test time, zip archives whose
// "setup" is a shell script that records that it ran.
class SelfUpdateFixture
{
public:
    static QString archiveName() { return QStringLiteral("updater-2.0.zip"); }

    // Once for a test program: a settings store of its own below home.
    static void useSettingsBelow(const QString &home);

    SelfUpdateFixture();
    ~SelfUpdateFixture();
    SelfUpdateFixture(const SelfUpdateFixture &) = delete;
    SelfUpdateFixture &operator=(const SelfUpdateFixture &) = delete;

    bool isValid() const { return m_valid; }
    QString path(const QString &relative) const { return m_folder.filePath(relative); }
    QString downloads() const { return path("downloads"); }
    QString temporary() const { return path("tmp"); }
    QString archivePath() const { return downloads() + '/' + archiveName(); }
    // Everything below the test's folder, relative to it, sorted.
    QStringList contents() const;

    // A package with the script under setupName and a data file in a folder beside it. The script writes its
    // own path and its argument count into marker, one a line.
    static QByteArray archive(const QString &marker, const QByteArray &setupName = "setup");
    static QByteArray archive(const QList<ZipForge::Entry> &entries);
    // Method 8 deflates, 0 stores.
    static ZipForge::Entry entry(const QByteArray &name, const QByteArray &data, quint16 method = 8);
    // What the script recorded; empty while it has not run.
    static QStringList record(const QString &marker);
    static bool write(const QString &path, const QByteArray &bytes);

private:
    QTemporaryDir m_folder;
    bool m_valid = false;
};
