#include "richtext.h"

#include <QTextDocument>

namespace RichText {

QString withLineBreaks(QString html)
{
    return html.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
}

QString fromMixed(const QString &text)
{
    return withLineBreaks(Qt::mightBeRichText(text) ? text : text.toHtmlEscaped());
}

} // namespace RichText
