#pragma once

#include "networksettings.h"

#include <QLocale>
#include <QString>

// The user's settings. Every accessor opens the settings store, reads or writes one key and closes it,
// so changes made by one part of the program are seen at once by every other.
namespace AppSettings {

bool createBackups();
void setCreateBackups(bool value);

bool useProxy();
void setUseProxy(bool value);

// Both folders default to <home>/VKT/...; the default folder is created when it does not exist.
QString backupsDirectory();
void setBackupsDirectory(const QString &path);
QString downloadsDirectory();
void setDownloadsDirectory(const QString &path);

// Locale name of the interface language; empty when none was saved.
QString language();
void setLanguage(const QLocale &locale);

// Empty stored values fall back to the system proxy (port "80" when the system names none).
QString proxyAddress();
void setProxyAddress(const QString &host);
QString proxyPort();
void setProxyPort(const QString &port);

// The settings the network services work with, and the given interface language.
NetworkSettings networkSettings(const QString &language);

} // namespace AppSettings
