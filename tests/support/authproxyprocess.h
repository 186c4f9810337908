#pragma once

#include <QByteArray>
#include <QDir>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// Runs squid on a free loopback port for one test, asking every client for one user name and password
// by basic authentication (407 without or with wrong credentials). The toolkit never sends loopback
// addresses through a proxy, so the proxy resolves the name in hostName() to 127.0.0.1 by itself.
class AuthProxyProcess
{
public:
    AuthProxyProcess() = default;
    ~AuthProxyProcess();
    AuthProxyProcess(const AuthProxyProcess &) = delete;
    AuthProxyProcess &operator=(const AuthProxyProcess &) = delete;

    // The proxy program; empty when it is not installed.
    static QString programPath();
    // A name only the proxy knows, standing for 127.0.0.1.
    static QString hostName() { return QStringLiteral("updates.example"); }

    // False (with the reason in errorText()) when the proxy could not be started.
    bool start(const QString &user, const QString &password);
    void stop();
    QString errorText() const { return m_errorText; }
    quint16 port() const { return m_port; }
    // The proxy's access log so far: one line per request it handled.
    QByteArray accessLog() const;

private:
    bool writeFile(const QString &name, const QByteArray &content);

    // Squid's configuration cannot quote paths, so the folder's name has no spaces.
    QTemporaryDir m_folder{QDir::tempPath() + QStringLiteral("/vkt-test-proxy-XXXXXX")};
    QProcess m_process;
    QString m_serviceName;
    quint16 m_port = 0;
    QString m_errorText;
};
