#pragma once

#include "enums.h"
#include "launcherprogress.h"

#include <QObject>
#include <QtGui/qwindowdefs.h>

// Turns the progress of the pages' bars into the progress of the program's launcher entry. One
// instance lives for the whole program, across application cycles; the bars connect to it when they
// are made. The launcher entry belongs to the program, so the window ids are accepted but not needed.
class NativeProgressBarHandler : public QObject
{
    Q_OBJECT

public:
    // desktopId names the program's .desktop file without the extension.
    explicit NativeProgressBarHandler(const QString &desktopId, QObject *parent = nullptr);
    // The same over the given connection instead of the session bus.
    NativeProgressBarHandler(const QString &desktopId, const QDBusConnection &bus, QObject *parent = nullptr);
    ~NativeProgressBarHandler() override;

    // The one handler, or null while none exists.
    static NativeProgressBarHandler *instance();

public Q_SLOTS:
    void prepare(WId _hWinId, PROGRESS_TYPE _type);
    void progress(WId _hWinId, int _nPercent);
    void stopProgress(WId _hWinId);
    void setError(WId _hWinId);

private:
    LauncherProgress m_launcher;
};
