#pragma once

#include <QDBusConnection>
#include <QString>
#include <QVariantMap>

#include <optional>

// The progress on the program's launcher entry (task manager button or dock icon), sent as the
// session-bus signal com.canonical.Unity.LauncherEntry.Update. The entry belongs to the program, not
// to a window. Without a bus every call does nothing.
class LauncherProgress final
{
public:
    // desktopId names the program's .desktop file without the extension; the session bus is looked
    // up at each call, so the object may exist before the application object and outlive it.
    explicit LauncherProgress(const QString &desktopId);
    // The same on the given connection (a private bus in tests).
    LauncherProgress(const QString &desktopId, const QDBusConnection &bus);

    QString appUri() const { return m_appUri; }

    // An empty bar for a percentage, or no bar for work of unknown length: the entry has no busy state.
    void prepare(bool busy);
    void setProgress(int percent);
    void stop();
    // A full bar with the entry asking for attention.
    void setError();

private:
    void send(const QVariantMap &properties);

    QString m_appUri;
    std::optional<QDBusConnection> m_bus;
    // The last percentage sent while the bar shows it; repeats of it are not sent again.
    std::optional<int> m_shownPercent;
};
