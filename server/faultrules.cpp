#include "faultrules.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutexLocker>

namespace {

bool readFault(const QJsonObject &object, Fault &fault, QString &error)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString key = it.key();
        const QJsonValue value = it.value();
        if (key == QLatin1String("path"))
            fault.path = value.toString();
        else if (key == QLatin1String("times"))
            fault.times = value.toInt(-1);
        else if (key == QLatin1String("httpStatus"))
            fault.httpStatus = value.toInt();
        else if (key == QLatin1String("body"))
            fault.body = value.toString().toUtf8();
        else if (key == QLatin1String("statusLine"))
            fault.statusLine = value.toString().toUtf8();
        else if (key == QLatin1String("plaintext"))
            fault.plaintext = value.toString().toUtf8();
        else if (key == QLatin1String("tamper"))
            fault.tamper = value.toInteger(-1);
        else if (key == QLatin1String("truncateSeal"))
            fault.truncateSeal = value.toInteger(-1);
        else if (key == QLatin1String("redirects"))
            fault.redirects = value.toInt();
        else if (key == QLatin1String("redirectToSelf"))
            fault.redirectToSelf = value.toBool();
        else if (key == QLatin1String("stallSeconds"))
            fault.stallSeconds = value.toDouble();
        else if (key == QLatin1String("stallAfter"))
            fault.stallAfter = value.toInteger(-1);
        else if (key == QLatin1String("dropAfter"))
            fault.dropAfter = value.toInteger(-1);
        else if (key == QLatin1String("corrupt")) {
            for (const QJsonValue offset : value.toArray())
                fault.corrupt.append(offset.toInteger(-1));
        } else if (key == QLatin1String("ignoreRange"))
            fault.ignoreRange = value.toBool();
        else if (key == QLatin1String("rate"))
            fault.rate = value.toInteger();
        else {
            error = QStringLiteral("unknown fault key ") + key;
            return false;
        }
    }
    if (fault.path.isEmpty()) {
        error = QStringLiteral("a fault rule needs a path");
        return false;
    }
    return true;
}

} // namespace

bool Fault::matches(const QString &requestPath) const
{
    if (path.endsWith(QLatin1Char('*')))
        return requestPath.startsWith(QStringView(path).chopped(1));
    return requestPath == path;
}

bool FaultRules::set(const QByteArray &json, QString &error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (!document.isArray()) {
        error = QStringLiteral("fault rules must be a JSON array: ") + parseError.errorString();
        return false;
    }
    QList<Fault> rules;
    for (const QJsonValue value : document.array()) {
        Fault fault;
        if (!value.isObject() || !readFault(value.toObject(), fault, error)) {
            if (error.isEmpty())
                error = QStringLiteral("a fault rule must be a JSON object");
            return false;
        }
        rules.append(fault);
    }
    QMutexLocker locker(&m_mutex);
    m_rules = rules;
    return true;
}

void FaultRules::clear()
{
    QMutexLocker locker(&m_mutex);
    m_rules.clear();
}

std::optional<Fault> FaultRules::take(const QString &path)
{
    QMutexLocker locker(&m_mutex);
    for (Fault &rule : m_rules) {
        if (rule.times == 0 || !rule.matches(path))
            continue;
        if (rule.times > 0)
            --rule.times;
        return rule;
    }
    return std::nullopt;
}
