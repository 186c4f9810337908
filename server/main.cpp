// The stand-in update server: serves a catalogue folder on loopback for the tests and the demo.
// Options and the catalogue layout are described in README.md.

#include "serverprivatekey.h"
#include "standinserver.h"

#include <QCommandLineParser>
#include <QFile>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <thread>

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Stand-in update server for the Korwind Navigator update center."));
    parser.addHelpOption();
    const QCommandLineOption catalogueOption(QStringLiteral("catalogue"), QStringLiteral("Catalogue folder to serve."),
                                             QStringLiteral("folder"));
    const QCommandLineOption keyOption(QStringLiteral("key"), QStringLiteral("PEM private key (default: the demo key)."),
                                       QStringLiteral("file"), QStringLiteral(VKT_DEMO_SERVER_PRIVATE_KEY));
    const QCommandLineOption hostOption(QStringLiteral("host"), QStringLiteral("Address to listen on."),
                                        QStringLiteral("address"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("Port; 0 picks a free one."),
                                        QStringLiteral("port"), QString::number(VKT_DEMO_SERVER_PORT));
    const QCommandLineOption urlOption(QStringLiteral("public-url"),
                                       QStringLiteral("Base of the download URLs (default: http://host:port)."),
                                       QStringLiteral("url"));
    const QCommandLineOption faultsOption(QStringLiteral("faults"), QStringLiteral("JSON file of fault rules."),
                                          QStringLiteral("file"));
    const QCommandLineOption controlOption(QStringLiteral("control"),
                                           QStringLiteral("Offer the /_control/ interface (fault rules, request log)."));
    const QCommandLineOption verboseOption(QStringLiteral("verbose"), QStringLiteral("Log every request to stderr."));
    parser.addOptions({catalogueOption, keyOption, hostOption, portOption, urlOption, faultsOption, controlOption,
                       verboseOption});
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s\n", parser.errorText().toLocal8Bit().constData());
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::printf("%s", parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("vkt-standin-server")).toLocal8Bit().constData());
        return 0;
    }
    if (!parser.isSet(catalogueOption)) {
        std::fprintf(stderr, "--catalogue is required (see --help)\n");
        return 2;
    }

    ServerPrivateKey key;
    QString error;
    if (!key.load(parser.value(keyOption), error)) {
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
        return 1;
    }

    StandInServer::Options options;
    options.catalogueFolder = parser.value(catalogueOption);
    options.publicUrl = parser.value(urlOption);
    options.control = parser.isSet(controlOption);
    options.verbose = parser.isSet(verboseOption);
    StandInServer server(options, key);

    if (parser.isSet(faultsOption)) {
        QFile faults(parser.value(faultsOption));
        if (!faults.open(QIODevice::ReadOnly) || !server.faults().set(faults.readAll(), error)) {
            std::fprintf(stderr, "cannot use the fault rules %s: %s\n", faults.fileName().toLocal8Bit().constData(),
                         error.toLocal8Bit().constData());
            return 1;
        }
    }

    // Termination signals are taken by this thread alone, which then stops the server cleanly.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    bool portOk = false;
    const int port = server.bind(parser.value(hostOption), parser.value(portOption).toInt(&portOk));
    if (!portOk || port < 0) {
        std::fprintf(stderr, "cannot listen on %s port %s\n", parser.value(hostOption).toLocal8Bit().constData(),
                     parser.value(portOption).toLocal8Bit().constData());
        return 1;
    }
    std::printf("stand-in update server listening on %s\n", server.publicUrl().toLocal8Bit().constData());
    std::fflush(stdout);

    bool served = true;
    std::thread listener([&server, &served] { served = server.run(); });
    int received = 0;
    sigwait(&stopSignals, &received);
    server.stop();
    listener.join();
    return served ? 0 : 1;
}
