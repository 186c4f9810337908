// korwind-update: the update center's job from the command line, for people who update many devices
// and for scripts. `korwind-update --help` lists the commands, the options and the exit statuses.
#include "appsettings.h"
#include "backupcommands.h"
#include "commandlineoptions.h"
#include "devicecommands.h"
#include "languages.h"
#include "output.h"
#include "programfolder.h"
#include "servicesession.h"
#include "sharedtypes.h"
#include "updatecommand.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QTranslator>

namespace {

Outcome runCommand(ServiceSession &session, const CommandLineOptions &options, QJsonObject &result)
{
    using Command = CommandLineOptions::Command;
    switch (options.command) {
    case Command::Devices:
        return DeviceCommands::devices(session, result);
    case Command::Status:
        return DeviceCommands::status(session, options, result);
    case Command::Update:
        return UpdateCommand(session, options, result).run();
    case Command::Backups:
        return BackupCommands::list(session, options, result);
    case Command::Restore:
        return BackupCommands::restore(session, options, result);
    case Command::DeleteBackup:
        return BackupCommands::remove(session, options, result);
    case Command::Help:
    case Command::Version:
        break;
    }
    return Outcome::success();
}

int finish(Output &output, QJsonObject result, const Outcome &outcome)
{
    result.insert(QStringLiteral("status"), statusName(outcome.status));
    result.insert(QStringLiteral("exitStatus"), int(outcome.status));
    if (!outcome.ok()) {
        result.insert(QStringLiteral("message"), outcome.message);
        output.message(outcome.message);
    }
    output.document(result);
    return int(outcome.status);
}

} // namespace

int main(int argc, char **argv)
{
    // The wizard's identity, so that both programs read the same settings.
    QCoreApplication::setApplicationName(QStringLiteral("Korwind Navigator update center"));
    QCoreApplication::setOrganizationName(QStringLiteral("DRQ"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("korwind.example"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VKT_VERSION));
    registerSharedTypes();
    const QString translations = programFolder();
    QCoreApplication application(argc, argv);

    // The interface language as the wizard chooses it; a choice made here is not saved.
    bool mustSave = false;
    const QLocale language = Languages::choose(Languages::available(translations), AppSettings::language(),
                                               QLocale::system(), mustSave);
    QTranslator translator;
    if (language.language() != QLocale::English
        && translator.load(QStringLiteral("KorwindNavigatorUpdater_") + language.name(), translations))
        QCoreApplication::installTranslator(&translator);

    CommandLineOptions options;
    const Outcome parsed = CommandLineOptions::parse(QCoreApplication::arguments(), options);
    // A line that cannot be read still gets its answer in the form it asked for.
    Output output(options.json || QCoreApplication::arguments().contains(QStringLiteral("--json")));
    if (!parsed.ok())
        return finish(output, QJsonObject(), parsed);
    if (options.command == CommandLineOptions::Command::Help) {
        output.line(CommandLineOptions::helpText());
        return 0;
    }
    if (options.command == CommandLineOptions::Command::Version) {
        output.line(QStringLiteral("korwind-update %1").arg(QCoreApplication::applicationVersion()));
        return 0;
    }

    ServiceSession session(options, language.name(), output);
    QJsonObject result{{QStringLiteral("command"), CommandLineOptions::commandName(options.command)}};
    const Outcome outcome = runCommand(session, options, result);
    return finish(output, result, outcome);
}
