#pragma once

#include <QString>

class QNetworkReply;

// The user-facing text of a failed reply, shared by the form requests and the range downloads.
QString networkErrorText(const QNetworkReply *reply);
