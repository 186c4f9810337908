#include "desktopnotifications.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace {

const QString serviceName = QStringLiteral("org.freedesktop.Notifications");
const QString objectPath = QStringLiteral("/org/freedesktop/Notifications");
constexpr int serverChosenTimeout = -1;

} // namespace

DesktopNotifications::DesktopNotifications(const QString &desktopId) : m_desktopId(desktopId) {}

DesktopNotifications::DesktopNotifications(const QString &desktopId, const QDBusConnection &bus)
    : DesktopNotifications(desktopId)
{
    m_bus = bus;
}

void DesktopNotifications::notify(const QString &summary, const QString &body)
{
    // The session bus is only reachable while an application object exists.
    if (!m_bus && !QCoreApplication::instance())
        return;
    QDBusConnection bus = m_bus ? *m_bus : QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage message = QDBusMessage::createMethodCall(serviceName, objectPath, serviceName, QStringLiteral("Notify"));
    // The desktop entry lets the desktop show the program's name and icon and bring its window up.
    const QVariantMap hints = {{QStringLiteral("desktop-entry"), m_desktopId}};
    message << QCoreApplication::applicationName() << uint(0) << m_desktopId << summary << body << QStringList()
            << hints << serverChosenTimeout;
    bus.send(message);
}
