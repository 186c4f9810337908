#pragma once

#include <QString>

// Texts of the pages mix plain text (with line feeds) and rich text (with <br>, <font>, links).
// Labels and panes show them as rich text, so both kinds need one form.
namespace RichText {

// Rich text whose line feeds break the line, as they do in the plain texts it is mixed with.
QString withLineBreaks(QString html);
// Rich text stays as it is and plain text is escaped; line feeds break the line in both.
QString fromMixed(const QString &text);

} // namespace RichText
