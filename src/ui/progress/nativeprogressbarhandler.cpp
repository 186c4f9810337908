#include "nativeprogressbarhandler.h"

namespace {
NativeProgressBarHandler *theInstance = nullptr;
}

NativeProgressBarHandler::NativeProgressBarHandler(const QString &desktopId, QObject *parent)
    : QObject(parent), m_launcher(desktopId)
{
    Q_ASSERT(!theInstance);
    theInstance = this;
}

NativeProgressBarHandler::NativeProgressBarHandler(const QString &desktopId, const QDBusConnection &bus,
                                                   QObject *parent)
    : QObject(parent), m_launcher(desktopId, bus)
{
    Q_ASSERT(!theInstance);
    theInstance = this;
}

NativeProgressBarHandler::~NativeProgressBarHandler()
{
    theInstance = nullptr;
}

NativeProgressBarHandler *NativeProgressBarHandler::instance()
{
    return theInstance;
}

void NativeProgressBarHandler::prepare(WId, PROGRESS_TYPE _type)
{
    m_launcher.prepare(_type != PT_PERCENT);
}

void NativeProgressBarHandler::progress(WId, int _nPercent)
{
    m_launcher.setProgress(_nPercent);
}

void NativeProgressBarHandler::stopProgress(WId)
{
    m_launcher.stop();
}

void NativeProgressBarHandler::setError(WId)
{
    m_launcher.setError();
}
