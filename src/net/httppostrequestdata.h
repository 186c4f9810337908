#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// The fields of a URL-encoded form, in wire order, and the body they make.
class HTTPPostRequestData
{
public:
    virtual ~HTTPPostRequestData() = default;

    // Appends a field; the value is kept percent-encoded, the name as given (plain ASCII words).
    void addField(const QString &name, const QString &value);

    // "name=value" pairs joined by "&", as UTF-8.
    virtual QByteArray toByteArray();

    // Percent-encoding of the UTF-8 form: letters, digits and "-._~" pass, every other byte is %XX.
    static QString percentEncoded(const QString &value);

private:
    QList<QPair<QString, QString>> m_fields;
};
