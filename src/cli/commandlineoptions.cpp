#include "commandlineoptions.h"

#include "dottedversion.h"

#include <QCommandLineParser>
#include <QDir>
#include <QUrl>

#include <algorithm>

namespace {

using Command = CommandLineOptions::Command;

struct CommandDescription
{
    const char *name;
    Command command;
    int arguments; // positional arguments after the command
    QStringList options;
};

const QStringList commonOptions = {QStringLiteral("json"),    QStringLiteral("server"),  QStringLiteral("downloads"),
                                   QStringLiteral("backups"), QStringLiteral("proxy"),   QStringLiteral("no-proxy"),
                                   QStringLiteral("help"),    QStringLiteral("version")};

const QList<CommandDescription> &commands()
{
    static const QList<CommandDescription> descriptions = {
        {"devices", Command::Devices, 0, {}},
        {"status", Command::Status, 0, {QStringLiteral("device"), QStringLiteral("exe")}},
        {"update",
         Command::Update,
         0,
         {QStringLiteral("device"), QStringLiteral("exe"), QStringLiteral("content"), QStringLiteral("navigator"),
          QStringLiteral("no-navigator"), QStringLiteral("maps"), QStringLiteral("no-maps"),
          QStringLiteral("no-backup"), QStringLiteral("yes")}},
        {"backups", Command::Backups, 0, {QStringLiteral("device")}},
        {"restore", Command::Restore, 1, {QStringLiteral("device")}},
        {"delete-backup", Command::DeleteBackup, 1, {}},
    };
    return descriptions;
}

Outcome usage(const QString &message)
{
    return Outcome::failure(ExitStatus::Usage, message);
}

// [USER[:PASSWORD]@]HOST[:PORT], or the same as an http:// address.
bool parseProxy(const QString &text, CommandLineOptions &options)
{
    const QString address = text.contains(QStringLiteral("://")) ? text : QStringLiteral("http://") + text;
    const QUrl url = QUrl::fromUserInput(address);
    if (!url.isValid() || url.host().isEmpty() || url.scheme() != QLatin1String("http"))
        return false;
    options.proxyHost = url.host();
    options.proxyPort = QString::number(url.port(80));
    options.proxyUser = url.userName();
    options.proxyPassword = url.password();
    return true;
}

Outcome readValues(const QCommandLineParser &parser, CommandLineOptions &options)
{
    if (parser.isSet(QStringLiteral("device"))) {
        bool ok = false;
        options.device = parser.value(QStringLiteral("device")).toInt(&ok);
        if (!ok || options.device < 1)
            return usage(CommandLineOptions::tr("--device takes a device number as `devices` lists it (1, 2, ...)."));
    }
    options.executable = parser.value(QStringLiteral("exe"));
    options.contentUid = parser.value(QStringLiteral("content"));

    options.noNavigator = parser.isSet(QStringLiteral("no-navigator"));
    if (parser.isSet(QStringLiteral("navigator"))) {
        if (options.noNavigator)
            return usage(CommandLineOptions::tr("--navigator and --no-navigator exclude each other."));
        options.navigatorVersion = parser.value(QStringLiteral("navigator"));
        bool ok = false;
        DottedVersion::fromString(options.navigatorVersion, &ok);
        if (!ok)
            return usage(CommandLineOptions::tr("--navigator takes a version of four numbers, such as 6.0.0.0."));
    }

    if (parser.isSet(QStringLiteral("no-maps"))) {
        if (parser.isSet(QStringLiteral("maps")))
            return usage(CommandLineOptions::tr("--maps and --no-maps exclude each other."));
        options.maps = CommandLineOptions::MapChoice::None;
    } else if (parser.isSet(QStringLiteral("maps"))) {
        const QString value = parser.value(QStringLiteral("maps"));
        if (value == QLatin1String("all")) {
            options.maps = CommandLineOptions::MapChoice::All;
        } else {
            options.maps = CommandLineOptions::MapChoice::Codes;
            options.mapCodes = value.split(QLatin1Char(','));
            if (options.mapCodes.contains(QString()))
                return usage(CommandLineOptions::tr("--maps takes \"all\" or map codes separated by commas."));
            options.mapCodes.removeDuplicates();
        }
    }
    options.backup = !parser.isSet(QStringLiteral("no-backup"));
    options.yes = parser.isSet(QStringLiteral("yes"));

    options.serverUrl = parser.value(QStringLiteral("server"));
    if (parser.isSet(QStringLiteral("server"))) {
        const QUrl url(options.serverUrl);
        if (!url.isValid() || url.host().isEmpty()
            || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
            return usage(CommandLineOptions::tr("--server takes an http:// or https:// address."));
        while (options.serverUrl.endsWith(QLatin1Char('/')))
            options.serverUrl.chop(1);
    }
    for (const auto &[name, folder] : {std::pair(QStringLiteral("downloads"), &options.downloadsFolder),
                                        std::pair(QStringLiteral("backups"), &options.backupsFolder)}) {
        if (!parser.isSet(name))
            continue;
        if (parser.value(name).isEmpty())
            return usage(CommandLineOptions::tr("--%1 takes a folder.").arg(name));
        *folder = QDir(parser.value(name)).absolutePath();
    }
    options.noProxy = parser.isSet(QStringLiteral("no-proxy"));
    options.proxyGiven = parser.isSet(QStringLiteral("proxy"));
    if (options.proxyGiven) {
        if (options.noProxy)
            return usage(CommandLineOptions::tr("--proxy and --no-proxy exclude each other."));
        if (!parseProxy(parser.value(QStringLiteral("proxy")), options))
            return usage(CommandLineOptions::tr("--proxy takes [USER[:PASSWORD]@]HOST[:PORT]."));
    }
    return Outcome::success();
}

} // namespace

Outcome CommandLineOptions::parse(const QStringList &arguments, CommandLineOptions &options)
{
    options = CommandLineOptions();
    QCommandLineParser parser;
    const auto flag = [&](const QString &name) { parser.addOption(QCommandLineOption(name)); };
    const auto valued = [&](const QString &name) { parser.addOption(QCommandLineOption(name, QString(), name)); };
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    for (const char *name : {"json", "version", "no-navigator", "no-maps", "no-backup", "yes", "no-proxy"})
        flag(QString::fromLatin1(name));
    for (const char *name :
         {"device", "exe", "content", "navigator", "maps", "server", "downloads", "backups", "proxy"})
        valued(QString::fromLatin1(name));
    if (!parser.parse(arguments))
        return usage(parser.errorText());

    options.json = parser.isSet(QStringLiteral("json"));
    QStringList positional = parser.positionalArguments();
    if (parser.isSet(QStringLiteral("help")) || (positional.isEmpty() && !parser.isSet(QStringLiteral("version")))) {
        options.command = Command::Help;
        return Outcome::success();
    }
    if (parser.isSet(QStringLiteral("version"))) {
        options.command = Command::Version;
        return Outcome::success();
    }

    const QString name = positional.takeFirst();
    const auto description = std::find_if(commands().cbegin(), commands().cend(),
                                   [&](const CommandDescription &candidate) { return name == QLatin1String(candidate.name); });
    if (description == commands().cend())
        return usage(tr("Unknown command \"%1\"; korwind-update --help lists the commands.").arg(name));
    options.command = description->command;
    for (const QString &option : parser.optionNames()) {
        const QString longName = option == QLatin1String("h") ? QStringLiteral("help") : option;
        if (!commonOptions.contains(longName) && !description->options.contains(longName))
            return usage(tr("--%1 does not apply to the command %2.").arg(longName, name));
    }
    if (positional.size() != description->arguments) {
        return usage(description->arguments == 0 ? tr("The command %1 takes no arguments.").arg(name)
                                          : tr("The command %1 takes a backup ID, as `backups` lists them.").arg(name));
    }
    if (description->arguments == 1) {
        options.backupId = positional.first();
        if (options.backupId.isEmpty())
            return usage(tr("The command %1 takes a backup ID, as `backups` lists them.").arg(name));
    }
    return readValues(parser, options);
}

QString CommandLineOptions::commandName(Command command)
{
    for (const CommandDescription &description : commands()) {
        if (description.command == command)
            return QString::fromLatin1(description.name);
    }
    return QString();
}

QString CommandLineOptions::helpText()
{
    return tr(R"(Usage: korwind-update COMMAND [OPTIONS]

Updates the Korwind Navigator and its maps on a connected device, as the update wizard does.

Commands:
  devices                  the devices found: number, kind, name and remarks
  status [--device N] [--exe PATH]
                           the navigators and their versions, the content folders with their free
                           space and maps, and what the update server offers for them
  update [--device N] [--exe PATH] [--content UID] [--navigator VERSION | --no-navigator]
         [--maps all|CODE,... | --no-maps] [--no-backup] [--yes]
                           downloads, backs up and installs the navigator update (the first one
                           offered unless named) and the maps: the updates of the installed maps,
                           unless named ("all": the updates and every map not installed yet)
  backups [--device N]     the backups kept (those of the device with --device)
  restore ID [--device N]  puts a backup back onto the device
  delete-backup ID         deletes a backup

Options:
  --device N               the device numbered N by `devices`; needed when there are several
  --exe PATH               the navigator executable; needed when there are several
  --content UID            the content folder for maps; needed when it cannot be chosen alone
  --no-backup              no backup before the update (the setting "create backups" is used otherwise)
  --yes                    go on when the device warns that the package may not fit it
  --json                   print the result as JSON on standard output
  --server URL             the update server's address instead of the built-in one
  --downloads FOLDER       the downloads folder instead of the one in the settings
  --backups FOLDER         the backups folder instead of the one in the settings
  --proxy [USER[:PASSWORD]@]HOST[:PORT]
                           use this HTTP proxy; --no-proxy: use none (the settings decide otherwise)
  --help, --version

Exit status:
  0  success
  2  wrong command line: unknown command or option, a bad value, an unknown map code or backup ID
  3  device: not found, not usable, no navigator or content folder found, unplugged during the job
  4  server: the update server cannot be reached or refused the question
  5  download failed
  6  not enough free space on the device for the chosen maps
  7  installation: a backup, the preparation, a deletion, the installation or a restoration failed
  8  cancelled: Ctrl-C, or a warning of the device that only --yes passes
  9  busy: another korwind-update works on the same device or backups folder
)");
}
