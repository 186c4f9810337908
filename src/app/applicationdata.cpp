#include "applicationdata.h"

#include "appsettings.h"
#include "languages.h"
#include "nativeprogressbarhandler.h"

#include <QCoreApplication>
#include <QTranslator>

namespace {
ApplicationData *theInstance = nullptr;
}

ApplicationData::ApplicationData(const QString &translationsFolder)
    : m_translationsFolder(translationsFolder),
      m_languages(Languages::available(translationsFolder)),
      m_currentLanguage(QLocale::English, QLocale::UnitedStates),
      m_progressHandler(std::make_unique<NativeProgressBarHandler>(desktopId()))
{
    Q_ASSERT(!theInstance);
    theInstance = this;
}

ApplicationData::~ApplicationData()
{
    removeTranslators();
    theInstance = nullptr;
}

ApplicationData *ApplicationData::instance()
{
    return theInstance;
}

QLocale ApplicationData::chooseLanguage() const
{
    bool mustSave = false;
    const QLocale language = Languages::choose(m_languages, AppSettings::language(), QLocale::system(), mustSave);
    if (mustSave)
        AppSettings::setLanguage(language);
    return language;
}

void ApplicationData::installTranslations(const QLocale &language)
{
    removeTranslators();
    m_currentLanguage = language;
    if (language.language() == QLocale::English)
        return;

    // Each catalogue is installed on its own: a missing toolkit catalogue must not leave our texts untranslated.
    const QString name = language.name();
    auto *toolkit = new QTranslator;
    if (toolkit->load(QStringLiteral("qt_") + name, QStringLiteral(":/localization")))
        m_translators.append(toolkit);
    else
        delete toolkit;
    auto *own = new QTranslator;
    if (own->load(QStringLiteral("KorwindNavigatorUpdater_") + name, m_translationsFolder))
        m_translators.append(own);
    else
        delete own;
    for (QTranslator *translator : qAsConst(m_translators))
        QCoreApplication::installTranslator(translator);
}

void ApplicationData::removeTranslators()
{
    for (QTranslator *translator : qAsConst(m_translators)) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    m_translators.clear();
}
