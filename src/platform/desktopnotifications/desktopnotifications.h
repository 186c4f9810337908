#pragma once

#include <QDBusConnection>
#include <QString>

#include <optional>

// Messages in the desktop's notification area, sent to its notification service
// (org.freedesktop.Notifications on the session bus). Without a bus or a service nothing is shown.
class DesktopNotifications final
{
public:
    // desktopId names the program's .desktop file without the extension, and its icon.
    explicit DesktopNotifications(const QString &desktopId);
    // The same on the given connection (a private bus in tests).
    DesktopNotifications(const QString &desktopId, const QDBusConnection &bus);

    // Sends the message and returns at once: the service's answer is not waited for.
    void notify(const QString &summary, const QString &body);

private:
    QString m_desktopId;
    std::optional<QDBusConnection> m_bus;
};
