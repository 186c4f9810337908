#include "remoteapi.h"

#include "emulatedremoteapi.h"

#include <QtEndian>

std::unique_ptr<RemoteApi> RemoteApi::fromEnvironment()
{
    const QString folder = qEnvironmentVariable("VKT_CE_DEVICE");
    if (folder.isEmpty())
        return nullptr;
    return std::make_unique<EmulatedRemoteApi>(folder);
}

RegistryValue RegistryValue::fromText(const QString &text)
{
    RegistryValue value;
    value.type = RT_TEXT;
    for (const QChar c : text) {
        value.data.append(char(c.unicode() & 0xFF));
        value.data.append(char(c.unicode() >> 8));
    }
    value.data.append(2, '\0');
    return value;
}

RegistryValue RegistryValue::fromNumber(quint32 number)
{
    RegistryValue value;
    value.type = RT_NUMBER;
    value.data.resize(4);
    qToLittleEndian(number, value.data.data());
    return value;
}

QString RegistryValue::text() const
{
    QString text;
    for (qsizetype i = 0; i + 1 < data.size(); i += 2) {
        const char16_t unit = qFromLittleEndian<char16_t>(data.constData() + i);
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}
