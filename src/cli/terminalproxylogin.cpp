#include "terminalproxylogin.h"

#include "interruptnotifier.h"

#include <QByteArray>
#include <QTextStream>

#include <cerrno>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Turns the terminal's echo off for its lifetime.
class HiddenInput
{
public:
    HiddenInput() : m_saved(tcgetattr(STDIN_FILENO, &m_settings) == 0)
    {
        if (!m_saved)
            return;
        termios hidden = m_settings;
        hidden.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &hidden);
    }
    ~HiddenInput()
    {
        if (m_saved)
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_settings);
    }
    HiddenInput(const HiddenInput &) = delete;
    HiddenInput &operator=(const HiddenInput &) = delete;

private:
    termios m_settings = {};
    bool m_saved;
};

// One line from the terminal; false at its end or when an interrupt (Ctrl-C) came first, which the
// event loop then turns into the cancellation of the running step.
bool readLine(QString &line)
{
    QByteArray bytes;
    pollfd waits[2] = {{STDIN_FILENO, POLLIN, 0}, {InterruptNotifier::pendingDescriptor(), POLLIN, 0}};
    const nfds_t count = waits[1].fd >= 0 ? 2 : 1;
    for (;;) {
        if (::poll(waits, count, -1) < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (count == 2 && (waits[1].revents & POLLIN))
            return false;
        char c = 0;
        const ssize_t got = ::read(STDIN_FILENO, &c, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        if (c == '\n')
            break;
        bytes.append(c);
    }
    line = QString::fromLocal8Bit(bytes);
    return true;
}

} // namespace

bool TerminalProxyLogin::askCredentials(QString &user, QString &password)
{
    if (!isatty(STDIN_FILENO))
        return false;
    QTextStream err(stderr);
    err << tr("The proxy asks for a login.") << Qt::endl << tr("User name: ") << Qt::flush;
    QString typedUser;
    if (!readLine(typedUser) || typedUser.isEmpty()) {
        err << Qt::endl;
        return false;
    }
    err << tr("Password: ") << Qt::flush;
    QString typedPassword;
    bool answered = false;
    {
        const HiddenInput hidden;
        answered = readLine(typedPassword);
    }
    err << Qt::endl;
    if (!answered)
        return false;
    user = typedUser;
    password = typedPassword;
    return true;
}
