#include "networkerrortext.h"

#include <QCoreApplication>
#include <QNetworkReply>

QString networkErrorText(const QNetworkReply *reply)
{
    switch (reply->error()) {
    case QNetworkReply::ConnectionRefusedError:
        return QCoreApplication::translate("QHttp", "Connection refused");
    case QNetworkReply::RemoteHostClosedError:
        return QCoreApplication::translate("QHttp", "Connection closed");
    case QNetworkReply::HostNotFoundError:
        return QCoreApplication::translate("QHttp", "Host %1 not found").arg(reply->url().toString());
    case QNetworkReply::TimeoutError:
        return QCoreApplication::translate("QAbstractSocket", "Socket operation timed out");
    case QNetworkReply::SslHandshakeFailedError:
        return QCoreApplication::translate("QHttp", "SSL handshake failed");
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return QCoreApplication::translate("QHttp", "Proxy requires authentication");
    case QNetworkReply::AuthenticationRequiredError:
        return QCoreApplication::translate("QHttp", "Host requires authentication");
    case QNetworkReply::ProtocolUnknownError:
        return QCoreApplication::translate("QHttp", "Unknown protocol specified");
    case QNetworkReply::ProtocolFailure:
        return QCoreApplication::translate("QHttp", "Data corrupted");
    default:
        return reply->errorString();
    }
}
