#include "output.h"

#include <QJsonDocument>

#include <cstdio>
#include <unistd.h>

namespace {

ProgressPrinter::Style progressStyle(bool json)
{
    if (json)
        return ProgressPrinter::Style::Silent;
    return isatty(STDOUT_FILENO) ? ProgressPrinter::Style::Terminal : ProgressPrinter::Style::Lines;
}

void write(FILE *stream, const QByteArray &bytes)
{
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    fflush(stream);
}

} // namespace

Output::Output(bool json) : m_json(json), m_progress(progressStyle(json), stdout) {}

void Output::line(const QString &text)
{
    if (m_json)
        return;
    m_progress.closeLine();
    write(stdout, (text + QLatin1Char('\n')).toLocal8Bit());
}

void Output::message(const QString &text)
{
    m_progress.closeLine();
    write(stderr, (text + QLatin1Char('\n')).toLocal8Bit());
}

void Output::document(const QJsonObject &result)
{
    if (m_json)
        write(stdout, QJsonDocument(result).toJson(QJsonDocument::Indented));
}
