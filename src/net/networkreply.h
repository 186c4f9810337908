#pragma once

#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QObject;

// Helpers shared by the form requests and the range downloads over their replies.

// The user-facing text of a failed reply.
QString networkErrorText(const QNetworkReply *reply);

// Where a reply redirects to, resolved against the URL asked for; empty when it does not redirect or
// redirects to that same URL.
QUrl redirectionTarget(const QNetworkReply *reply, const QUrl &requestedUrl);

// A fresh access manager owned by owner. A proxy's refusal stays cached in an access manager; a fresh
// one asks for credentials again. The previous manager goes once the reply in flight is gone.
QNetworkAccessManager *replaceAccessManager(QObject *owner, QNetworkAccessManager *previous,
                                            QNetworkReply *replyInFlight);
