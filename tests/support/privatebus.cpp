#include "privatebus.h"

#include <signal.h>
#include <sys/prctl.h>

PrivateBus::~PrivateBus()
{
    m_daemon.terminate();
    m_daemon.waitForFinished();
}

bool PrivateBus::start(QString *error)
{
    // The daemon ends with the test even when the test does not get to its end.
    m_daemon.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    if (!m_daemon.waitForReadyRead(10000)) {
        *error = QStringLiteral("dbus-daemon (package dbus) did not start");
        return false;
    }
    m_address = QString::fromUtf8(m_daemon.readLine().trimmed());
    return true;
}
