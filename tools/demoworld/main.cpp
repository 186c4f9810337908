// demo-world: writes the demo world (catalogue, navigation device, settings) for tools/demo.
//
//   demo-world FOLDER
#include "demoworld.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 2) {
        std::fputs("usage: demo-world FOLDER\n", stderr);
        return 2;
    }
    QString error;
    if (!DemoWorld(arguments.at(1)).write(&error)) {
        std::fprintf(stderr, "demo-world: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
