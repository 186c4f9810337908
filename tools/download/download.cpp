// Runs one download of package files into a folder, the way the update center does, and reports
// the result: exit status 0 on success, the failure code otherwise (100 for a transport error).
//
//     vktdownload --server URL --folder FOLDER NAME,SIZE,IDENTIFIER,SHA-1,URL...
//
// Each file is given as a file line of the update server.

#include "downloadresumethreadedtask.h"
#include "listeners.h"
#include "sharedtypes.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

constexpr int transportErrorStatus = 100;

bool parseFileLine(const QString &line, PackageFile &file)
{
    const QStringList fields = line.split(QLatin1Char(','));
    if (fields.size() != 5)
        return false;
    bool sizeOk = false;
    file.fileName = fields.at(0);
    file.size = fields.at(1).toULongLong(&sizeOk);
    file.extraText = fields.at(2);
    file.extraBytes = fields.at(3).toLatin1();
    file.url = QUrl(fields.at(4));
    return sizeOk && file.url.isValid();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    registerSharedTypes();

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption serverOption(QStringLiteral("server"), QStringLiteral("Base address of the update server."),
                                          QStringLiteral("URL"));
    const QCommandLineOption folderOption(QStringLiteral("folder"), QStringLiteral("Downloads folder."),
                                          QStringLiteral("FOLDER"));
    parser.addOptions({serverOption, folderOption});
    parser.addPositionalArgument(QStringLiteral("lines"), QStringLiteral("File lines NAME,SIZE,IDENTIFIER,SHA-1,URL."));
    parser.process(application);

    QList<PackageFile> files;
    for (const QString &line : parser.positionalArguments()) {
        PackageFile file;
        if (!parseFileLine(line, file)) {
            std::fprintf(stderr, "not a file line: %s\n", qPrintable(line));
            return 2;
        }
        files.append(file);
    }
    if (files.isEmpty() || !parser.isSet(folderOption)) {
        parser.showHelp(2);
    }

    DownloadResumeThreadedTask task;
    task.setup(files, QStringLiteral("en_US"), nullptr, nullptr);
    task.setServerBaseUrl(parser.value(serverOption));
    task.setDownloadsFolder(parser.value(folderOption));

    int status = 0;
    QObject::connect(&task, qOverload<QString>(&DownloadResumeThreadedTask::downloadComplete), &application,
                     [&status](const QString &error) {
                         if (!error.isEmpty()) {
                             std::fprintf(stderr, "transport error: %s\n", qPrintable(error));
                             status = transportErrorStatus;
                         }
                     });
    QObject::connect(&task, qOverload<NETWORK_ERROR_CODE>(&DownloadResumeThreadedTask::downloadComplete),
                     &application, [&status](NETWORK_ERROR_CODE code) {
                         std::fprintf(stderr, "download failed with code %d\n", int(code));
                         status = int(code);
                     });
    QObject::connect(&task, &DownloadResumeThreadedTask::updateDownloadStarted, &application,
                     [] { std::fprintf(stderr, "downloading\n"); });
    QObject::connect(&task, &DownloadResumeThreadedTask::updateVerificationStarted, &application,
                     [] { std::fprintf(stderr, "verifying\n"); });
    QObject::connect(&task, &QThread::finished, &application, &QCoreApplication::quit);
    task.start();
    application.exec();
    return status;
}
