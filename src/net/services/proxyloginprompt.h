#pragma once

#include <QString>

// Asks the user for the user name and password a proxy wants: the wizard answers with a dialog, the
// command-line program on the terminal.
class ProxyLoginPrompt
{
public:
    virtual ~ProxyLoginPrompt() = default;
    // False when the user declines (or cannot be asked); user and password are then left as they were.
    virtual bool askCredentials(QString &user, QString &password) = 0;
};
