#pragma once

#include <QList>
#include <QLocale>
#include <QString>

// Which interface languages exist and which one to use.
namespace Languages {

// One language per "KorwindNavigatorUpdater_<locale>.qm" in the folder (names that are no locale are
// skipped), then English, always last.
QList<QLocale> available(const QString &translationsFolder);

bool contains(const QList<QLocale> &languages, const QLocale &locale);

// The saved language when it is available; otherwise the system language when available, else English.
// mustSave is set when the result replaces what was saved.
QLocale choose(const QList<QLocale> &languages, const QString &savedName, const QLocale &system, bool &mustSave);

} // namespace Languages
