#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a signal of the event loop, so that a running step is cancelled
// through its service instead of the process dying in the middle of a write. One instance.
class InterruptNotifier final : public QObject
{
    Q_OBJECT

public:
    explicit InterruptNotifier(QObject *parent = nullptr);
    ~InterruptNotifier() override;

    // Readable once an interrupt is pending (-1 without a notifier): lets a blocking wait for the
    // terminal end early. Reading it is left to the notifier.
    static int pendingDescriptor();

Q_SIGNALS:
    void interrupted();

private:
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
};
