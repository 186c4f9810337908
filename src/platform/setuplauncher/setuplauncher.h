#pragma once

#include <QString>

// Starts the setup program of a newer update center, detached, so that this program may end right after.
class SetupLauncher
{
public:
    virtual ~SetupLauncher() = default;

    // Starts program with no arguments in this program's working folder; when the system refuses for lack of
    // permission, starts it again elevated. True once the program runs. Safe to call from any thread.
    virtual bool start(const QString &program) const = 0;
};
