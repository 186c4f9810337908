#include "applicationcycle.h"

#include "applicationdata.h"
#include "appsettings.h"
#include "deviceservices.h"
#include "logindialog.h"
#include "mainwindow.h"
#include "networkservices.h"
#include "packageservices.h"

#include <QApplication>
#include <QByteArray>
#include <QList>

namespace {

// The translations of one cycle: installed once the application object exists and removed while it
// still does, since the toolkit warns about translators removed after it is gone.
class CycleTranslations
{
public:
    explicit CycleTranslations(const QLocale &language) { ApplicationData::instance()->installTranslations(language); }
    ~CycleTranslations() { ApplicationData::instance()->removeTranslators(); }
    CycleTranslations(const CycleTranslations &) = delete;
    CycleTranslations &operator=(const CycleTranslations &) = delete;
};

} // namespace

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
    // The device services read maps' texts in the interface language, so it is chosen before they exist.
    const QLocale language = ApplicationData::instance()->chooseLanguage();
    DeviceServices deviceServices({[] { return AppSettings::downloadsDirectory(); },
                                   [] { return AppSettings::backupsDirectory(); }, language.name()});

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
    CycleTranslations translations(language);

    NetworkServices networkServices([language] { return AppSettings::networkSettings(language.name()); },
                                    std::make_unique<LoginDialog>());
    PackageServices packageServices;
    MainWindow window(&deviceServices, &networkServices, &packageServices);
    window.show();
    return application.exec();
}
