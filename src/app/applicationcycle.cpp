#include "applicationcycle.h"

#include "applicationdata.h"
#include "appsettings.h"
#include "mainwindow.h"
#include "networkservices.h"

#include <QApplication>
#include <QByteArray>
#include <QList>

int runApplicationCycles(const std::function<int()> &cycle)
{
    int result = 0;
    do {
        result = cycle();
    } while (result == RestartExitCode);
    return result;
}

int runOneCycle(int argc, char **argv)
{
    // The application object may keep pointers into its arguments, so it gets a copy owned by this cycle.
    QList<QByteArray> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    QList<char *> argumentPointers;
    for (QByteArray &argument : arguments)
        argumentPointers.append(argument.data());
    argumentPointers.append(nullptr);
    int argumentCount = argc;

    QApplication application(argumentCount, argumentPointers.data());
    ApplicationData::instance()->chooseAndInstallLanguage();

    NetworkServices networkServices(
        [] { return AppSettings::networkSettings(ApplicationData::instance()->currentLanguage().name()); });
    MainWindow window;
    window.show();
    return application.exec();
}
