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

// The text for language, else the English (1033) one, else the one with the lowest identifier;
// empty when there are none.
QString chooseLanguageText(const LanguageTexts &texts, quint16 language);

} // namespace vktcommon
