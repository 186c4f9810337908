#pragma once

#include "setuplauncher.h"

// Starts the setup as a process of its own session. A start refused with "permission denied" is repeated
// through the desktop's elevation agent, which authenticates the user and then runs the setup in its place.
class DetachedSetupLauncher final : public SetupLauncher
{
public:
    // elevationCommand: the agent's program, as a path or a name looked up in PATH; it is given the setup's
    // path as its only argument and ends with 126 or 127 when it refuses or cannot run it.
    explicit DetachedSetupLauncher(QString elevationCommand = QStringLiteral("pkexec"));

    bool start(const QString &program) const override;

private:
    bool startElevated(const QByteArray &program) const;

    QString m_elevationCommand;
};
