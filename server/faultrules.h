#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QString>

#include <optional>

// One way of misbehaving, for the requests whose path matches (README.md, "Fault injection").
struct Fault
{
    QString path;   // exact path, or a prefix followed by "*"
    int times = -1; // how many matching requests it applies to; -1 for all

    int httpStatus = 0;
    std::optional<QByteArray> body;
    std::optional<QByteArray> statusLine;
    std::optional<QByteArray> plaintext;
    qint64 tamper = -1;
    qint64 truncateSeal = -1;
    int redirects = 0;
    bool redirectToSelf = false;
    double stallSeconds = 0;
    qint64 stallAfter = -1;
    qint64 dropAfter = -1;
    QList<qint64> corrupt;
    bool ignoreRange = false;
    qint64 rate = 0;

    bool matches(const QString &requestPath) const;
};

// The fault rules in force; shared by the server's handler threads.
class FaultRules
{
public:
    // Replaces the rules by those of a JSON array; false with a reason (rules unchanged) when malformed.
    bool set(const QByteArray &json, QString &error);
    void clear();
    // The first rule that matches the path and still applies, counted as used.
    std::optional<Fault> take(const QString &path);

private:
    QMutex m_mutex;
    QList<Fault> m_rules;
};
