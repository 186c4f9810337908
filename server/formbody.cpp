#include "formbody.h"

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool decode(const QByteArray &text, QByteArray &decoded)
{
    decoded.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            decoded += ' ';
        } else if (c == '%') {
            const int high = i + 1 < text.size() ? hexValue(text[i + 1]) : -1;
            const int low = i + 2 < text.size() ? hexValue(text[i + 2]) : -1;
            if (high < 0 || low < 0)
                return false;
            decoded += char(high * 16 + low);
            i += 2;
        } else {
            decoded += c;
        }
    }
    return true;
}

} // namespace

bool parseFormBody(const QByteArray &body, FormFields &fields)
{
    fields.clear();
    if (body.isEmpty())
        return true;
    for (const QByteArray &pair : body.split('&')) {
        const qsizetype equals = pair.indexOf('=');
        QByteArray name;
        QByteArray value;
        if (!decode(equals < 0 ? pair : pair.left(equals), name)
            || !decode(equals < 0 ? QByteArray() : pair.mid(equals + 1), value))
            return false;
        fields.append(qMakePair(name, value));
    }
    return true;
}

qsizetype findFormField(const FormFields &fields, const QByteArray &name)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (fields[i].first == name)
            return i;
    }
    return -1;
}

QByteArray formValue(const FormFields &fields, const QByteArray &name)
{
    const qsizetype index = findFormField(fields, name);
    return index < 0 ? QByteArray() : fields[index].second;
}
