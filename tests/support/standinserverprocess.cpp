#include "standinserverprocess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace {

constexpr int startTimeoutMs = 10000;
constexpr int requestTimeoutMs = 20000;

} // namespace

QByteArray StandInServerProcess::Reply::header(const QByteArray &name) const
{
    for (const auto &entry : headers) {
        if (entry.first.compare(name, Qt::CaseInsensitive) == 0)
            return entry.second;
    }
    return QByteArray();
}

StandInServerProcess::~StandInServerProcess()
{
    stop();
}

bool StandInServerProcess::start(const QString &catalogueFolder, const QStringList &extraArguments)
{
    m_process.setProgram(QStringLiteral(VKT_STANDIN_SERVER));
    m_process.setArguments(QStringList{QStringLiteral("--catalogue"), catalogueFolder, QStringLiteral("--port"),
                                       QStringLiteral("0"), QStringLiteral("--control")}
                           + extraArguments);
    m_process.start();
    const QByteArray marker("listening on ");
    QByteArray output;
    QDeadlineTimer deadline(startTimeoutMs);
    while (!deadline.hasExpired() && m_process.state() != QProcess::NotRunning) {
        m_process.waitForReadyRead(100);
        output += m_process.readAllStandardOutput();
        const qsizetype at = output.indexOf(marker);
        const qsizetype end = output.indexOf('\n', at);
        if (at >= 0 && end > at) {
            m_baseUrl = QString::fromUtf8(output.mid(at + marker.size(), end - at - marker.size())).trimmed();
            return true;
        }
    }
    m_errorText = QString::fromUtf8(output + m_process.readAllStandardError());
    stop();
    return false;
}

void StandInServerProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool StandInServerProcess::setFaults(const QByteArray &json)
{
    return post(QStringLiteral("/_control/faults"), json).httpStatus == 200;
}

bool StandInServerProcess::reset()
{
    return post(QStringLiteral("/_control/reset"), QByteArray()).httpStatus == 200;
}

QJsonArray StandInServerProcess::requests()
{
    return QJsonDocument::fromJson(get(QStringLiteral("/_control/requests")).body).array();
}

StandInServerProcess::Reply StandInServerProcess::get(const QString &path, const QByteArray &range)
{
    return request("GET", path, QByteArray(), range);
}

StandInServerProcess::Reply StandInServerProcess::post(const QString &path, const QByteArray &body)
{
    return request("POST", path, body, QByteArray());
}

StandInServerProcess::Reply StandInServerProcess::request(const QByteArray &method, const QString &path,
                                                          const QByteArray &body, const QByteArray &range)
{
    QNetworkAccessManager manager;
    // The test's own control requests never go through a proxy the test may have set up.
    manager.setProxy(QNetworkProxy::NoProxy);
    QNetworkRequest request(QUrl(m_baseUrl + path));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    if (method == "POST")
        request.setRawHeader("Content-Type", "application/x-www-form-urlencoded");
    if (!range.isEmpty())
        request.setRawHeader("Range", range);
    QNetworkReply *reply = method == "POST" ? manager.post(request, body) : manager.get(request);

    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(requestTimeoutMs, &loop, &QEventLoop::quit);
    loop.exec();

    Reply result;
    if (!reply->isFinished()) {
        result.error = QStringLiteral("no answer in time");
        reply->abort();
    } else if (reply->error() != QNetworkReply::NoError) {
        result.error = reply->errorString();
    }
    result.httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.body = reply->readAll();
    result.headers = reply->rawHeaderPairs();
    delete reply;
    return result;
}

bool writeCatalogueFile(const QString &catalogueFolder, const QString &relativePath, const QByteArray &content)
{
    const QString path = QDir(catalogueFolder).filePath(relativePath);
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly | QIODevice::Truncate)
           && file.write(content) == content.size();
}
