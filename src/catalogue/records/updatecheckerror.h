#pragma once

#include <QMetaType>
#include <QString>

// Outcome of a request to the update server.
struct UpdateCheckError
{
    enum : qint32 { UnknownDevice = 3, ServerUnavailable = 4 };

    qint32 code = -1;
    QString message;
    QString detail;

    // The text shown for the error: the message, else the detail.
    QString text() const { return message.isEmpty() ? detail : message; }
};

Q_DECLARE_METATYPE(UpdateCheckError)
