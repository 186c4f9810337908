#include "httppostrequestdata.h"

#include <QUrl>

void HTTPPostRequestData::addField(const QString &name, const QString &value)
{
    m_fields.append(qMakePair(name, percentEncoded(value)));
}

QByteArray HTTPPostRequestData::toByteArray()
{
    QString body;
    for (const auto &field : qAsConst(m_fields)) {
        if (!body.isEmpty())
            body += QLatin1Char('&');
        body += field.first + QLatin1Char('=') + field.second;
    }
    return body.toUtf8();
}

QString HTTPPostRequestData::percentEncoded(const QString &value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}
