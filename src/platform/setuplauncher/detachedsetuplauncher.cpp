#include "detachedsetuplauncher.h"

#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// The agent's exit codes for a program it did not run: authentication dismissed, and refused or failed.
constexpr int agentDismissed = 126;
constexpr int agentFailed = 127;
// An ending process closes its descriptors a moment before it can be waited for.
constexpr auto agentExitGrace = std::chrono::milliseconds(250);

// Forked children below call only async-signal-safe functions: the parent has other threads.
void reportError(int reportFd, int error)
{
    [[maybe_unused]] const ssize_t written = ::write(reportFd, &error, sizeof error);
}

// In a forked child: the default signal state, then the program; a failed exec reports its errno.
[[noreturn]] void execOrReport(char *const argv[], int reportFd)
{
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction standard = {};
    standard.sa_handler = SIG_DFL;
    sigaction(SIGPIPE, &standard, nullptr);
    ::execv(argv[0], argv);
    reportError(reportFd, errno);
    ::_exit(127);
}

// The errno a child wrote into the report pipe, or 0 when the pipe closed empty.
int readReport(int fd)
{
    int error = 0;
    auto *bytes = reinterpret_cast<char *>(&error);
    size_t received = 0;
    while (received < sizeof error) {
        const ssize_t count = ::read(fd, bytes + received, sizeof error - received);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return EIO;
        if (count == 0)
            break;
        received += static_cast<size_t>(count);
    }
    if (received == 0)
        return 0;
    return received == sizeof error ? error : EIO;
}

void waitForEnd(pid_t child)
{
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

// Starts the program in a session of its own through a child that ends at once, so that the program is
// nobody's child here and outlives this program. Returns the exec's errno, 0 when the program runs.
int spawnDetached(const QByteArray &program)
{
    char *const argv[] = {const_cast<char *>(program.constData()), nullptr};
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return errno;
    const pid_t child = ::fork();
    if (child < 0) {
        const int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        return error;
    }
    if (child == 0) {
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild == 0)
            execOrReport(argv, report[1]);
        if (grandchild < 0)
            reportError(report[1], errno);
        ::_exit(0);
    }
    ::close(report[1]);
    // The pipe closes empty once the program has replaced the grandchild (close-on-exec).
    const int error = readReport(report[0]);
    ::close(report[0]);
    waitForEnd(child);
    return error;
}

// Whether the agent, whose report pipe has closed, ended without running the program. One still running
// after the grace has run it: the program has taken its place.
bool agentDeclined(pid_t agent)
{
    const auto deadline = std::chrono::steady_clock::now() + agentExitGrace;
    do {
        int status = 0;
        const pid_t ended = ::waitpid(agent, &status, WNOHANG);
        if (ended == agent) {
            const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            return code == agentDismissed || code == agentFailed;
        }
        if (ended < 0 && errno != EINTR)
            return true; // its end can no longer be known
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

} // namespace

DetachedSetupLauncher::DetachedSetupLauncher(QString elevationCommand)
    : m_elevationCommand(std::move(elevationCommand))
{
}

bool DetachedSetupLauncher::start(const QString &program) const
{
    const QByteArray path = QFile::encodeName(program);
    const int error = spawnDetached(path);
    if (error == EACCES)
        return startElevated(path);
    return error == 0;
}

bool DetachedSetupLauncher::startElevated(const QByteArray &program) const
{
    const QString agentPath = QStandardPaths::findExecutable(m_elevationCommand);
    if (agentPath.isEmpty())
        return false;
    const QByteArray agent = QFile::encodeName(agentPath);
    char *const argv[] = {const_cast<char *>(agent.constData()), const_cast<char *>(program.constData()), nullptr};
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;
    // The agent stays a child of this program: it refuses to serve a process whose parent has gone.
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        ::setsid();
        // The agent inherits the pipe and closes it when it runs the program (it closes every descriptor
        // above the standard three then) or when it ends; only a failed exec of the agent writes to it.
        ::fcntl(report[1], F_SETFD, 0);
        execOrReport(argv, report[1]);
    }
    ::close(report[1]);
    const int error = readReport(report[0]);
    ::close(report[0]);
    if (error != 0) {
        waitForEnd(child);
        return false;
    }
    return !agentDeclined(child);
}
