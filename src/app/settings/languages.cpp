#include "languages.h"

#include <QDir>

namespace Languages {

namespace {

const QString filePrefix = QStringLiteral("KorwindNavigatorUpdater_");
const QString fileSuffix = QStringLiteral(".qm");

bool sameLanguage(const QLocale &a, const QLocale &b)
{
    // The texts are written in English, so every English locale is served without a translation.
    if (a.language() == QLocale::English)
        return b.language() == QLocale::English;
    return a.language() == b.language() && a.territory() == b.territory();
}

} // namespace

QList<QLocale> available(const QString &translationsFolder)
{
    QList<QLocale> languages;
    const QStringList files = QDir(translationsFolder).entryList({filePrefix + QLatin1Char('*') + fileSuffix}, QDir::Files, QDir::Name);
    for (const QString &file : files) {
        const QString name = file.mid(filePrefix.size(), file.size() - filePrefix.size() - fileSuffix.size());
        const QLocale locale(name);
        if (locale.language() == QLocale::C || locale.language() == QLocale::English || contains(languages, locale))
            continue;
        languages.append(locale);
    }
    languages.append(QLocale(QLocale::English, QLocale::UnitedStates));
    return languages;
}

bool contains(const QList<QLocale> &languages, const QLocale &locale)
{
    for (const QLocale &language : languages) {
        if (sameLanguage(language, locale))
            return true;
    }
    return false;
}

QLocale choose(const QList<QLocale> &languages, const QString &savedName, const QLocale &system, bool &mustSave)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale fallback = contains(languages, system) ? system : english;
    mustSave = false;
    if (savedName.isEmpty())
        return fallback;
    const QLocale saved(savedName);
    if (saved.language() != QLocale::C && contains(languages, saved))
        return saved;
    mustSave = true;
    return fallback;
}

} // namespace Languages
