#include "systemproxy.h"

#include <QRegularExpression>
#include <QUrl>

namespace SystemProxy {

QString proxyServerText()
{
    QString text = qEnvironmentVariable("http_proxy");
    if (text.isEmpty())
        text = qEnvironmentVariable("HTTP_PROXY");
    return text;
}

bool parse(const QString &text, QString &host, int &port)
{
    // On Linux the value is usually a URL, which may carry a scheme in any case, credentials and a path.
    static const QRegularExpression urlStart(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    if (urlStart.match(text).hasMatch()) {
        const QUrl url(text);
        if (url.isValid() && !url.host().isEmpty()) {
            host = url.host();
            port = url.port(80);
            return true;
        }
    }
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("(.*http=)?(http://)?([^:;]*)(:(\\d*))?.*")),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    host = match.captured(3);
    const QString portText = match.captured(5);
    port = portText.isEmpty() ? 80 : portText.toInt();
    return true;
}

} // namespace SystemProxy
