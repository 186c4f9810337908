#pragma once

#include <QList>
#include <QLocale>
#include <QString>

#include <memory>

class NativeProgressBarHandler;
class QTranslator;

// The application-wide state that outlives the in-process restarts: the languages, the translators
// installed for the current one and the launcher progress of the program. One instance, reachable
// through instance().
class ApplicationData
{
public:
    explicit ApplicationData(const QString &translationsFolder);
    ~ApplicationData();
    ApplicationData(const ApplicationData &) = delete;
    ApplicationData &operator=(const ApplicationData &) = delete;

    static ApplicationData *instance();
    // The name of the program's desktop entry (its .desktop file without the extension).
    static QString desktopId() { return QStringLiteral("example.korwind.UpdateCenter"); }

    const QList<QLocale> &languages() const { return m_languages; }
    QLocale currentLanguage() const { return m_currentLanguage; }

    // The language to run in: the saved one when available, else the fallback, which is then saved.
    QLocale chooseLanguage() const;
    // Replaces the installed translators by those of the language; English needs none.
    void installTranslations(const QLocale &language);
    // Removes the translators; called while the cycle's application object still exists.
    void removeTranslators();

private:

    QString m_translationsFolder;
    QList<QLocale> m_languages;
    QLocale m_currentLanguage;
    QList<QTranslator *> m_translators;
    std::unique_ptr<NativeProgressBarHandler> m_progressHandler;
};
