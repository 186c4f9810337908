#include "interruptnotifier.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace {

// Written by the signal handler, read by the event loop.
int pipeEnds[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    // Nothing can be done in a signal handler when the pipe is full: the pending bytes report it already.
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
}

void setHandler(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

} // namespace

InterruptNotifier::InterruptNotifier(QObject *parent) : QObject(parent)
{
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &InterruptNotifier::readPipe);
    setHandler(onSignal);
}

InterruptNotifier::~InterruptNotifier()
{
    setHandler(SIG_DFL);
    delete m_notifier;
    for (int &end : pipeEnds) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

void InterruptNotifier::readPipe()
{
    char bytes[16];
    while (::read(pipeEnds[0], bytes, sizeof bytes) > 0) {
    }
    emit interrupted();
}

int InterruptNotifier::pendingDescriptor()
{
    return pipeEnds[0];
}
