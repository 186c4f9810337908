#include "authproxyprocess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QNetworkProxy>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

constexpr int startTimeoutMs = 10000;
const QString basicAuthHelper = QStringLiteral("/usr/lib/squid/basic_ncsa_auth");

quint16 freeLoopbackPort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

bool accepts(quint16 port)
{
    QTcpSocket socket;
    socket.setProxy(QNetworkProxy::NoProxy);
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(200);
}

QByteArray passwordHash(const QString &password)
{
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"), {QStringLiteral("passwd"), QStringLiteral("-apr1"), password});
    openssl.waitForFinished(5000);
    return openssl.exitCode() == 0 ? openssl.readAllStandardOutput().trimmed() : QByteArray();
}

} // namespace

AuthProxyProcess::~AuthProxyProcess()
{
    stop();
}

QString AuthProxyProcess::programPath()
{
    if (!QFile::exists(basicAuthHelper))
        return QString();
    return QStandardPaths::findExecutable(QStringLiteral("squid"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
}

bool AuthProxyProcess::writeFile(const QString &name, const QByteArray &content)
{
    QFile file(m_folder.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return false;
    // Started as root, squid works as its own user, which must read and write here.
    return file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther
                               | QFileDevice::ReadGroup);
}

bool AuthProxyProcess::start(const QString &user, const QString &password)
{
    m_port = freeLoopbackPort();
    const QByteArray hash = passwordHash(password);
    const QString folder = m_folder.path();
    const QByteArray config = QStringLiteral(
        "http_port 127.0.0.1:%1\n"
        "visible_hostname vkt-test-proxy\n"
        "pid_filename %2/squid.pid\n"
        "cache_log %2/cache.log\n"
        "access_log stdio:%2/access.log\n"
        "cache deny all\n"
        "cache_dir null /tmp\n"
        "shutdown_lifetime 0 seconds\n"
        "pinger_enable off\n"
        "hosts_file %2/hosts\n"
        "dns_nameservers 127.0.0.1\n"
        "auth_param basic program %3 %2/passwd\n"
        "acl authed proxy_auth REQUIRED\n"
        "http_access allow localhost authed\n"
        "http_access deny all\n")
                                  .arg(m_port)
                                  .arg(folder, basicAuthHelper)
                                  .toUtf8();
    const bool prepared = m_port != 0 && !hash.isEmpty()
                          && QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                               | QFileDevice::ExeOwner | QFileDevice::ReadOther
                                                               | QFileDevice::WriteOther | QFileDevice::ExeOther)
                          && writeFile(QStringLiteral("squid.conf"), config)
                          && writeFile(QStringLiteral("passwd"), user.toUtf8() + ':' + hash + '\n')
                          && writeFile(QStringLiteral("hosts"), "127.0.0.1 " + hostName().toUtf8() + '\n');
    if (!prepared) {
        m_errorText = QStringLiteral("could not prepare the proxy's folder");
        return false;
    }

    m_process.setProgram(programPath());
    // A service name of its own names squid's shared memory, which a killed squid leaves behind and
    // which another user's squid could not replace.
    m_serviceName = QStringLiteral("vktproxy%1x%2").arg(QCoreApplication::applicationPid()).arg(m_port);
    m_process.setArguments({QStringLiteral("-N"), QStringLiteral("-n"), m_serviceName, QStringLiteral("-f"),
                            m_folder.filePath(QStringLiteral("squid.conf"))});
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start();
    QDeadlineTimer deadline(startTimeoutMs);
    while (!deadline.hasExpired() && !m_process.waitForFinished(20)) {
        if (accepts(m_port))
            return true;
    }
    stop();
    QFile cacheLog(m_folder.filePath(QStringLiteral("cache.log")));
    m_errorText = QString::fromUtf8(m_process.readAll()
                                    + (cacheLog.open(QIODevice::ReadOnly) ? cacheLog.readAll() : QByteArray()));
    return false;
}

void AuthProxyProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    // Nothing of a test proxy is worth a graceful shutdown; its helpers end with their input.
    m_process.kill();
    m_process.waitForFinished(5000);
    const QDir sharedMemory(QStringLiteral("/dev/shm"));
    for (const QString &name : sharedMemory.entryList({m_serviceName + QStringLiteral("-*")}, QDir::Files))
        QFile::remove(sharedMemory.filePath(name));
}

QByteArray AuthProxyProcess::accessLog() const
{
    QFile file(m_folder.filePath(QStringLiteral("access.log")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
