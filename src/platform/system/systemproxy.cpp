#include "systemproxy.h"

#include <QRegularExpression>

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
