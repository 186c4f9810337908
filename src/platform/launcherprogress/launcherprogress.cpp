#include "launcherprogress.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QtGlobal>

namespace {

const QString interfaceName = QStringLiteral("com.canonical.Unity.LauncherEntry");
const QString signalName = QStringLiteral("Update");
const QString progressKey = QStringLiteral("progress");
const QString visibleKey = QStringLiteral("progress-visible");
const QString urgentKey = QStringLiteral("urgent");

// Listeners accept the signal from any object path; one fixed path keeps it recognisable in a monitor.
const QString objectPath = QStringLiteral("/UpdateCenter/LauncherEntry");

} // namespace

LauncherProgress::LauncherProgress(const QString &desktopId)
    : m_appUri(QStringLiteral("application://") + desktopId + QStringLiteral(".desktop"))
{
}

LauncherProgress::LauncherProgress(const QString &desktopId, const QDBusConnection &bus)
    : LauncherProgress(desktopId)
{
    m_bus = bus;
}

void LauncherProgress::prepare(bool busy)
{
    m_shownPercent.reset();
    if (busy)
        send({{visibleKey, false}, {urgentKey, false}});
    else
        send({{progressKey, 0.0}, {visibleKey, true}, {urgentKey, false}});
}

void LauncherProgress::setProgress(int percent)
{
    const int bounded = qBound(0, percent, 100);
    if (m_shownPercent == bounded)
        return;
    m_shownPercent = bounded;
    send({{progressKey, bounded / 100.0}, {visibleKey, true}});
}

void LauncherProgress::stop()
{
    m_shownPercent.reset();
    send({{visibleKey, false}, {urgentKey, false}});
}

void LauncherProgress::setError()
{
    m_shownPercent.reset();
    send({{progressKey, 1.0}, {visibleKey, true}, {urgentKey, true}});
}

void LauncherProgress::send(const QVariantMap &properties)
{
    // The session bus is only reachable while an application object exists (between the cycles it does not).
    if (!m_bus && !QCoreApplication::instance())
        return;
    QDBusConnection bus = m_bus ? *m_bus : QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage message = QDBusMessage::createSignal(objectPath, interfaceName, signalName);
    message << m_appUri << properties;
    bus.send(message);
}
