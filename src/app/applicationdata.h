#pragma once

#include <QList>
#include <QLocale>
#include <QString>

class QTranslator;

// The application-wide state that outlives the in-process restarts: the languages and the
// translators installed for the current one. One instance, reachable through instance().
class ApplicationData
{
public:
    explicit ApplicationData(const QString &translationsFolder);
    ~ApplicationData();
    ApplicationData(const ApplicationData &) = delete;
    ApplicationData &operator=(const ApplicationData &) = delete;

    static ApplicationData *instance();

    const QList<QLocale> &languages() const { return m_languages; }
    QLocale currentLanguage() const { return m_currentLanguage; }

    // Chooses the language from the settings (saving the fallback when the saved one is gone) and installs it.
    void chooseAndInstallLanguage();
    // Replaces the installed translators by those of the language; English needs none.
    void installTranslations(const QLocale &language);

private:
    void removeTranslators();

    QString m_translationsFolder;
    QList<QLocale> m_languages;
    QLocale m_currentLanguage;
    QList<QTranslator *> m_translators;
};
