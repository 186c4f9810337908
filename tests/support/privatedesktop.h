#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A desktop of its own for a test of the real window system: a virtual X display, a session bus and, when
// asked, the desktop's accessibility bus, started for the test and stopped with it. Tests run in parallel
// each get their own display, buses and runtime folder.
class PrivateDesktop
{
public:
    PrivateDesktop() = default;
    ~PrivateDesktop();
    PrivateDesktop(const PrivateDesktop &) = delete;
    PrivateDesktop &operator=(const PrivateDesktop &) = delete;

    // False, with the reason in error, when a part cannot be started.
    bool start(bool accessibility, QString *error);
    // Programs started in this environment show their windows on the display; the toolkit uses the X
    // platform, with its accessibility bridge on when the desktop has the accessibility bus.
    QProcessEnvironment environment() const;

    // The toolkit picks its window system when the application object is made, so a test of a real
    // desktop runs twice: called first in main, this starts a desktop, runs the same test program inside
    // it and returns the program's exit status; inside the desktop it returns -1 and the test runs.
    static int runTestInside(int argc, char **argv, bool accessibility);

private:
    bool startProcess(QProcess &process, const QString &program, const QStringList &arguments, QString *error);
    bool waitForAccessibilityBus(QString *error);

    QTemporaryDir m_runtime;
    QString m_display;
    QString m_busAddress;
    bool m_accessibility = false;
    QProcess m_xserver;
    QProcess m_bus;
    QProcess m_accessibilityLauncher;
};
