#pragma once

#include "proxyloginprompt.h"

#include <QCoreApplication>

// Asks for a proxy's user name and password on the terminal (the password without echo); without a
// terminal on standard input it declines, and the request fails as a refused login.
class TerminalProxyLogin final : public ProxyLoginPrompt
{
    Q_DECLARE_TR_FUNCTIONS(TerminalProxyLogin)

public:
    bool askCredentials(QString &user, QString &password) override;
};
