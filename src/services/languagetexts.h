#pragma once

#include <QMap>
#include <QString>
#include <QtGlobal>

namespace vktcommon {

// Texts of one kind (a map's title, its version text) by Windows language identifier.
using LanguageTexts = QMap<quint16, QString>;

// The Windows language identifier of a locale name written as language_COUNTRY ("ru_RU" gives 1049);
// an unknown name gives 1033 (English, United States).
quint16 windowsLanguageId(const QString &localeName);

constexpr quint16 englishUnitedStates = 1033;

// Keeps, of texts offered one at a time, the one for language, else the English (1033) one, else the one
// with the lowest identifier; a later text with the same identifier replaces an earlier one. So texts
// can be chosen from as they are read, without keeping them all.
template <typename Text>
class LanguageChoice
{
public:
    explicit LanguageChoice(quint16 language) : m_language(language) {}

    void offer(quint16 id, const Text &text)
    {
        if (id == m_language) {
            m_requested = text;
            m_hasRequested = true;
        }
        if (id == englishUnitedStates) {
            m_english = text;
            m_hasEnglish = true;
        }
        if (!m_hasLowest || id <= m_lowestId) {
            m_lowest = text;
            m_lowestId = id;
            m_hasLowest = true;
        }
    }

    // A default Text when nothing was offered.
    Text chosen() const { return m_hasRequested ? m_requested : m_hasEnglish ? m_english : m_lowest; }

private:
    quint16 m_language;
    Text m_requested{};
    Text m_english{};
    Text m_lowest{};
    quint16 m_lowestId = 0;
    bool m_hasRequested = false;
    bool m_hasEnglish = false;
    bool m_hasLowest = false;
};

// The text for language, else the English (1033) one, else the one with the lowest identifier;
// empty when there are none.
QString chooseLanguageText(const LanguageTexts &texts, quint16 language);

} // namespace vktcommon
