#pragma once

#include <QProcess>
#include <QString>

// A bus daemon of the test's own, which ends with the test: tests that watch the program's messages to
// desktop services, or stand in for those services, use it instead of the desktop's session bus.
class PrivateBus
{
public:
    PrivateBus() = default;
    ~PrivateBus();
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    // Starts the daemon (package dbus); false, with the reason in error, when it does not come up.
    bool start(QString *error);
    QString address() const { return m_address; }

private:
    QProcess m_daemon;
    QString m_address;
};
