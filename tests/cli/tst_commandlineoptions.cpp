// The command line of korwind-update: what each accepted line asks for, and the lines it refuses.

#include "commandlineoptions.h"

#include <QtTest>

namespace {

// The options a line set, in one comparable text.
QString summary(const CommandLineOptions &o)
{
    static const char *const commands[] = {"help", "version", "devices", "status", "update", "backups", "restore",
                                           "delete-backup"};
    static const char *const maps[] = {"updates", "all", "none", "codes"};
    QStringList parts = {QString::fromLatin1(commands[int(o.command)])};
    if (o.device)
        parts << QStringLiteral("device=%1").arg(o.device);
    if (!o.executable.isEmpty())
        parts << "exe=" + o.executable;
    if (!o.contentUid.isEmpty())
        parts << "content=" + o.contentUid;
    if (!o.navigatorVersion.isEmpty())
        parts << "navigator=" + o.navigatorVersion;
    if (o.noNavigator)
        parts << "no-navigator";
    if (o.maps != CommandLineOptions::MapChoice::Updates)
        parts << "maps=" + QString::fromLatin1(maps[int(o.maps)])
                     + (o.mapCodes.isEmpty() ? "" : ":" + o.mapCodes.join(','));
    if (!o.backup)
        parts << "no-backup";
    if (o.yes)
        parts << "yes";
    if (!o.backupId.isEmpty())
        parts << "id=" + o.backupId;
    if (o.json)
        parts << "json";
    if (!o.serverUrl.isEmpty())
        parts << "server=" + o.serverUrl;
    if (!o.downloadsFolder.isEmpty())
        parts << "downloads=" + o.downloadsFolder;
    if (o.proxyGiven)
        parts << QStringLiteral("proxy=%1:%2@%3:%4").arg(o.proxyUser, o.proxyPassword, o.proxyHost, o.proxyPort);
    if (o.noProxy)
        parts << "no-proxy";
    return parts.join(' ');
}

} // namespace

class TestCommandLineOptions : public QObject
{
    Q_OBJECT

private slots:
    void accepted_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("options");
        QTest::newRow("nothing: help") << QStringList{} << "help";
        QTest::newRow("help wins over a command") << QStringList{"update", "--help"} << "help";
        QTest::newRow("devices as JSON") << QStringList{"devices", "--json"} << "devices json";
        QTest::newRow("status of one executable")
            << QStringList{"status", "--device", "2", "--exe", "/media/A/Navi.exe"}
            << "status device=2 exe=/media/A/Navi.exe";
        QTest::newRow("update, everything named")
            << QStringList{"update", "--device=1", "--content", "{u}", "--navigator", "6.0.0.0", "--maps",
                           "korwind.rus,korwind.deu,korwind.rus", "--no-backup", "--yes"}
            << "update device=1 content={u} navigator=6.0.0.0 maps=codes:korwind.rus,korwind.deu no-backup yes";
        QTest::newRow("update, all maps, no navigator")
            << QStringList{"update", "--maps", "all", "--no-navigator"} << "update no-navigator maps=all";
        QTest::newRow("update, no maps") << QStringList{"update", "--no-maps"} << "update maps=none";
        QTest::newRow("restore") << QStringList{"restore", "backup_01.02.2024_1", "--device", "1"}
                                 << "restore device=1 id=backup_01.02.2024_1";
        QTest::newRow("server without its trailing slash")
            << QStringList{"devices", "--server", "http://127.0.0.1:8417/"} << "devices server=http://127.0.0.1:8417";
        QTest::newRow("proxy with credentials")
            << QStringList{"status", "--proxy", "anna:s3cret@proxy.local:3128"}
            << "status proxy=anna:s3cret@proxy.local:3128";
        QTest::newRow("proxy as an address, port 80")
            << QStringList{"status", "--proxy", "http://proxy.local/"} << "status proxy=:@proxy.local:80";
        QTest::newRow("no proxy") << QStringList{"backups", "--no-proxy"} << "backups no-proxy";
    }
    void accepted()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, options);
        CommandLineOptions parsed;
        const Outcome outcome = CommandLineOptions::parse(QStringList{"korwind-update"} + arguments, parsed);
        QVERIFY2(outcome.ok(), qPrintable(outcome.message));
        QCOMPARE(summary(parsed), options);
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown command") << QStringList{"upgrade"} << "Unknown command \"upgrade\"";
        QTest::newRow("unknown option") << QStringList{"update", "--force"} << "Unknown option 'force'";
        QTest::newRow("option of another command") << QStringList{"status", "--maps", "all"}
                                                   << "--maps does not apply to the command status.";
        QTest::newRow("device zero") << QStringList{"status", "--device", "0"} << "--device takes a device number";
        QTest::newRow("device not a number") << QStringList{"status", "--device", "first"}
                                             << "--device takes a device number";
        QTest::newRow("navigator and none") << QStringList{"update", "--navigator", "6.0.0.0", "--no-navigator"}
                                            << "exclude each other";
        QTest::newRow("navigator not a version") << QStringList{"update", "--navigator", "6.0"} << "four numbers";
        QTest::newRow("maps and none") << QStringList{"update", "--maps", "all", "--no-maps"} << "exclude each other";
        QTest::newRow("empty map code") << QStringList{"update", "--maps", "korwind.rus,,korwind.deu"}
                                        << "map codes separated by commas";
        QTest::newRow("restore without an ID") << QStringList{"restore"} << "takes a backup ID";
        QTest::newRow("devices with an argument") << QStringList{"devices", "1"} << "takes no arguments";
        QTest::newRow("server without scheme") << QStringList{"devices", "--server", "updates.example"}
                                               << "--server takes an http:// or https:// address.";
        QTest::newRow("proxy of another scheme") << QStringList{"status", "--proxy", "socks5://proxy.local:1080"}
                                                 << "--proxy takes";
        QTest::newRow("proxy and none") << QStringList{"status", "--proxy", "proxy.local", "--no-proxy"}
                                        << "exclude each other";
    }
    void refused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        CommandLineOptions parsed;
        const Outcome outcome = CommandLineOptions::parse(QStringList{"korwind-update"} + arguments, parsed);
        QCOMPARE(outcome.status, ExitStatus::Usage);
        QVERIFY2(outcome.message.contains(message), qPrintable(outcome.message));
    }
};

QTEST_GUILESS_MAIN(TestCommandLineOptions)
#include "tst_commandlineoptions.moc"
