#include "privatedesktop.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QTextStream>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

const QString insideVariable = QStringLiteral("VKT_INSIDE_PRIVATE_DESKTOP");
constexpr int startTimeoutMs = 30000;

// The first line that a starting program writes on its output: Xvfb's display, the bus's address.
QString firstLine(QProcess &process)
{
    const QDeadlineTimer deadline(startTimeoutMs);
    while (!process.canReadLine() && !deadline.hasExpired() && process.state() == QProcess::Running)
        process.waitForReadyRead(int(deadline.remainingTime()));
    return QString::fromLocal8Bit(process.readLine()).trimmed();
}

// A process of the desktop ends with the test that started it, also when the test is killed; the
// accessibility launcher's bus and registry share its process group.
void belongToTheTest(QProcess &process)
{
    process.setChildProcessModifier([] {
        ::setsid();
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    });
}

void stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    ::kill(-pid_t(process.processId()), SIGTERM);
    process.terminate();
    if (!process.waitForFinished(5000)) {
        ::kill(-pid_t(process.processId()), SIGKILL);
        process.waitForFinished(5000);
    }
}

} // namespace

PrivateDesktop::~PrivateDesktop()
{
    stop(m_accessibilityLauncher);
    stop(m_bus);
    stop(m_xserver);
}

bool PrivateDesktop::startProcess(QProcess &process, const QString &program, const QStringList &arguments,
                                  QString *error)
{
    process.setProcessEnvironment(environment());
    process.setStandardErrorFile(QProcess::nullDevice());
    belongToTheTest(process);
    process.start(program, arguments);
    if (process.waitForStarted(startTimeoutMs))
        return true;
    *error = program + QStringLiteral(": ") + process.errorString();
    return false;
}

bool PrivateDesktop::start(bool accessibility, QString *error)
{
    if (!m_runtime.isValid()) {
        *error = QStringLiteral("no runtime folder");
        return false;
    }
    // Xvfb takes the first free display and says which; no two tests can take the same one.
    if (!startProcess(m_xserver, QStringLiteral("Xvfb"),
                      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                       QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")},
                      error))
        return false;
    const QString display = firstLine(m_xserver);
    if (display.isEmpty()) {
        *error = QStringLiteral("Xvfb did not name its display");
        return false;
    }
    m_display = QLatin1Char(':') + display;

    if (!startProcess(m_bus, QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")}, error))
        return false;
    m_busAddress = firstLine(m_bus);
    if (m_busAddress.isEmpty()) {
        *error = QStringLiteral("the session bus did not give its address");
        return false;
    }
    if (!accessibility)
        return true;
    if (!startProcess(m_accessibilityLauncher, QStringLiteral("/usr/libexec/at-spi-bus-launcher"),
                      {QStringLiteral("--launch-immediately")}, error))
        return false;
    m_accessibility = true;
    return waitForAccessibilityBus(error);
}

bool PrivateDesktop::waitForAccessibilityBus(QString *error)
{
    const QString name = QStringLiteral("vkt-private-desktop");
    bool registered = false;
    {
        QDBusConnection bus = QDBusConnection::connectToBus(m_busAddress, name);
        const QDeadlineTimer deadline(startTimeoutMs);
        while (bus.isConnected() && !deadline.hasExpired()
               && !(registered = bus.interface()->isServiceRegistered(QStringLiteral("org.a11y.Bus"))))
            QThread::msleep(20);
    }
    QDBusConnection::disconnectFromBus(name);
    if (!registered)
        *error = QStringLiteral("the accessibility bus did not start");
    return registered;
}

QProcessEnvironment PrivateDesktop::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    environment.insert(insideVariable, QStringLiteral("1"));
    if (!m_display.isEmpty()) {
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    }
    if (!m_busAddress.isEmpty())
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_busAddress);
    if (m_accessibility) {
        environment.insert(QStringLiteral("QT_ACCESSIBILITY"), QStringLiteral("1"));
        environment.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    }
    return environment;
}

int PrivateDesktop::runTestInside(int argc, char **argv, bool accessibility)
{
    if (qEnvironmentVariableIsSet(qPrintable(insideVariable)))
        return -1;
    QCoreApplication application(argc, argv);
    PrivateDesktop desktop;
    QString error;
    if (!desktop.start(accessibility, &error)) {
        QTextStream(stderr) << "No private desktop for the test: " << error << '\n';
        return 1;
    }
    QProcess test;
    belongToTheTest(test);
    test.setProcessChannelMode(QProcess::ForwardedChannels);
    test.setProcessEnvironment(desktop.environment());
    test.start(QCoreApplication::applicationFilePath(), QCoreApplication::arguments().mid(1));
    if (!test.waitForFinished(-1) || test.exitStatus() != QProcess::NormalExit)
        return 1;
    return test.exitCode();
}
