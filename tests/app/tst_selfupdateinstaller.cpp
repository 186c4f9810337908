// The installation task of a self-update: the package from the downloads folder, unpacked into a new private
// folder under the temporary folder, its setup started; every failure as its text, with the download kept.

#include "detachedsetuplauncher.h"
#include "productinfo.h"
#include "selfupdateinstaller.h"
#include "selfupdatefixture.h"
#include "zipforge.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString archiveName = SelfUpdateFixture::archiveName();
const QString installationError = "Update installation error.";

// Answers every start as told and remembers what it was asked to start.
class ScriptedLauncher final : public SetupLauncher
{
public:
    explicit ScriptedLauncher(bool answer) : m_answer(answer) {}
    bool start(const QString &program) const override
    {
        started.append(program);
        return m_answer;
    }
    mutable QStringList started;

private:
    bool m_answer;
};

ZipForge::Entry entry(const QByteArray &name, const QByteArray &data, quint16 method = 8)
{
    return SelfUpdateFixture::entry(name, data, method);
}

} // namespace

class TestSelfUpdateInstaller : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    std::unique_ptr<SelfUpdateFixture> m_fixture;
    ProductInfo m_package;

    QString install(SelfUpdateInstaller &installer)
    {
        QSignalSpy finished(&installer, &SelfUpdateInstaller::taskFinished);
        installer.start(&m_package);
        if (!finished.wait(20000))
            return "(no answer)";
        return finished.at(0).at(0).toString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        SelfUpdateFixture::useSettingsBelow(m_home.path());
    }

    void init()
    {
        m_fixture = std::make_unique<SelfUpdateFixture>();
        QVERIFY(m_fixture->isValid());
        m_package = ProductInfo();
        m_package.kind = ProductInfo::SelfUpdatePackage;
        m_package.file.fileName = archiveName;
    }

    void cleanup() { m_fixture.reset(); }

    void setupStarted()
    {
        const QString marker = m_fixture->path("marker");
        QVERIFY(SelfUpdateFixture::write(m_fixture->archivePath(), SelfUpdateFixture::archive(marker)));
        SelfUpdateInstaller installer(std::make_shared<DetachedSetupLauncher>(m_fixture->path("no-agent")));

        QCOMPARE(install(installer), QString());
        QTRY_COMPARE(SelfUpdateFixture::record(marker).size(), 2);
        const QStringList ran = SelfUpdateFixture::record(marker);
        QCOMPARE(ran.at(1), "0"); // no arguments
        const QFileInfo folder(QFileInfo(ran.at(0)).path());
        QCOMPARE(ran.at(0), folder.filePath() + "/setup");
        QCOMPARE(folder.path(), m_fixture->temporary());
        QVERIFY(folder.fileName().startsWith("korwind-update-"));
        const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
                                          | QFile::WriteOther | QFile::ExeOther;
        QCOMPARE(folder.permissions() & others, QFile::Permissions());
        const QString unpacked = "tmp/" + folder.fileName();
        QCOMPARE(m_fixture->contents(), QStringList({"downloads", "marker", "tmp", unpacked, unpacked + "/setup",
                                                     unpacked + "/share", unpacked + "/share/readme.txt"}));
    }

    void failures_data()
    {
        QTest::addColumn<QByteArray>("archive"); // empty: no download
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("launcherAnswer");
        QTest::addColumn<QString>("temporaryFolder"); // folder, missing or file
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("launched");

        const QByteArray script = "#!/bin/sh\ntrue\n";
        ZipForge forge;
        forge.add(entry("setup", script));
        const QByteArray good = forge.build();
        const auto row = [&](const char *name, const QByteArray &archive, const QString &text) {
            QTest::newRow(name) << archive << archiveName << true << "folder" << text << false;
        };
        row("no setup at the top level", SelfUpdateFixture::archive({entry("bin/setup", script)}), installationError);
        row("setup is a folder", SelfUpdateFixture::archive({entry("setup/readme", script)}), installationError);
        QTest::newRow("start refused") << good << archiveName << false << "folder" << installationError << true;
        QTest::newRow("file name leaves the downloads folder")
            << good << "../" + archiveName << true << "folder" << installationError << false;
        QTest::newRow("temporary folder missing")
            << good << archiveName << true << "missing" << "Error: can't create directory." << false;
        QTest::newRow("temporary folder is a file")
            << good << archiveName << true << "file" << "Error: can't create directory." << false;

        row("no download", QByteArray(), "Error: can't open archive.");
        QByteArray empty = good;
        put16(empty, forge.end() + ZipForge::endEntryCount, 0);
        row("no entries", empty, "Error: archive is empty.");
        QByteArray damaged = SelfUpdateFixture::archive({entry("setup", script, 0)});
        const qsizetype storedData = 30 + 5; // local header and name
        damaged[storedData + 3] = '!';
        row("damaged entry data", damaged, "Error: archive corrupted.");
        QByteArray shortName = good;
        put16(shortName, forge.central(0) + ZipForge::centralNameLength, 60000);
        row("central name beyond the end", shortName, "Error: can't read archive.");
        ZipForge::Entry badDeflate = entry("setup", script);
        badDeflate.compressed = QByteArray("\xff\xff\xff\xff\xff\xff", 6);
        row("damaged compressed data", SelfUpdateFixture::archive({badDeflate}), "Error: can't write archive.");
        row("name leaves the folder", SelfUpdateFixture::archive({entry("setup", script), entry("../escape", "x")}), "Invalid Archive.");
        ZipForge::Entry disguised = entry("setup", script);
        disguised.localName = "setuq";
        row("local header disagrees", SelfUpdateFixture::archive({disguised}), "Error in parsing archive.");
        row("unsupported method", SelfUpdateFixture::archive({entry("setup", script), entry("other", "x", 12)}), "Error: unsupported archive format.");
        row("file in place of a folder", SelfUpdateFixture::archive({entry("setup", script), entry("setup/inner", "x")}), "Can't create file");
    }
    void failures()
    {
        QFETCH(QByteArray, archive);
        QFETCH(QString, fileName);
        QFETCH(bool, launcherAnswer);
        QFETCH(QString, temporaryFolder);
        QFETCH(QString, text);
        QFETCH(bool, launched);

        if (!archive.isEmpty())
            QVERIFY(SelfUpdateFixture::write(m_fixture->archivePath(), archive));
        if (temporaryFolder != "folder")
            QVERIFY(QDir(m_fixture->temporary()).removeRecursively());
        if (temporaryFolder == "file")
            QVERIFY(SelfUpdateFixture::write(m_fixture->temporary(), "not a folder"));
        m_package.file.fileName = fileName;
        auto launcher = std::make_shared<ScriptedLauncher>(launcherAnswer);
        SelfUpdateInstaller installer(launcher);

        QCOMPARE(install(installer), text);
        QCOMPARE(launcher->started.size(), launched ? 1 : 0);
        // The download stays for a retry, and nothing else is left: no folder, nothing written elsewhere.
        QStringList expected = {"downloads"};
        if (!archive.isEmpty())
            expected.append("downloads/" + archiveName);
        if (temporaryFolder != "missing")
            expected.append("tmp");
        QCOMPARE(m_fixture->contents(), expected);
    }

    void statusTexts_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        QTest::newRow("success") << 2000 << "";
        QTest::newRow("decompressor not ready") << 2002 << "Zlib error.";
        QTest::newRow("seek") << 2007 << "Error: can't seek in archive.";
        QTest::newRow("program too old") << 2012 << "You need update Korwind Navigator update center.";
        // Failures without a text of their own must not read as success.
        QTest::newRow("cancelled") << 2014 << installationError;
        QTest::newRow("unknown") << 2100 << installationError;
    }
    void statusTexts()
    {
        QFETCH(int, status);
        QFETCH(QString, text);
        QCOMPARE(SelfUpdateInstaller::archiveStatusText(status), text);
    }
};

QTEST_GUILESS_MAIN(TestSelfUpdateInstaller)
#include "tst_selfupdateinstaller.moc"
