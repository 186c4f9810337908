#include "progressprinter.h"

#include "formatting.h"

#include <QStringList>

#include <sys/ioctl.h>
#include <unistd.h>

namespace {

int terminalWidth(FILE *stream)
{
    winsize size = {};
    if (ioctl(fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

} // namespace

ProgressPrinter::ProgressPrinter(Style style, FILE *stream) : m_style(style), m_stream(stream) {}

void ProgressPrinter::startStage(const QString &stage)
{
    if (m_style == Style::Silent)
        return;
    closeLine();
    m_stage = stage;
    m_searching = false;
    m_percent = -1;
    m_printedTenth = -1;
    m_transfer = TransferStatusInfo();
    if (m_style == Style::Lines)
        write(stage + QLatin1Char('\n'));
    else
        redraw();
}

void ProgressPrinter::startSearch(const QString &text)
{
    if (m_style == Style::Terminal)
        startStage(text);
    m_searching = true;
}

void ProgressPrinter::setPercent(int percent)
{
    if (m_style == Style::Silent || percent == m_percent || (m_searching && m_style == Style::Lines))
        return;
    m_percent = qBound(0, percent, 100);
    if (m_style == Style::Terminal) {
        redraw();
        return;
    }
    const int tenth = m_percent / 10;
    if (tenth <= m_printedTenth)
        return;
    m_printedTenth = tenth;
    write(QStringLiteral("  ") + statusText() + QLatin1Char('\n'));
}

void ProgressPrinter::setTransfer(const TransferStatusInfo &info)
{
    m_transfer = info;
    // The figures come every second, the percentage only at a service's own steps (a download's chunks).
    const bool known = info.total > 0 && info.total != TransferStatusInfo::unknownBytes
                       && info.done != TransferStatusInfo::unknownBytes;
    const int percent = known ? int(qMin(info.done, info.total) * 100 / info.total) : m_percent;
    if (percent != m_percent)
        setPercent(percent);
    else if (m_style == Style::Terminal)
        redraw();
}

void ProgressPrinter::setNote(const QString &note)
{
    if (m_style == Style::Silent || note.isEmpty())
        return;
    closeLine();
    write(QStringLiteral("  ") + note + QLatin1Char('\n'));
    if (m_style == Style::Terminal)
        redraw();
}

void ProgressPrinter::closeLine()
{
    if (!m_lineOpen)
        return;
    write(m_searching ? QStringLiteral("\r\x1b[K") : QStringLiteral("\n"));
    m_lineOpen = false;
}

QString ProgressPrinter::statusText() const
{
    QStringList parts;
    if (!m_transfer.fileName.isEmpty())
        parts << m_transfer.fileName;
    if (m_percent >= 0)
        parts << QStringLiteral("%1%").arg(m_percent);
    if (m_transfer.speed > 0)
        parts << Utilities::formatSpeed(quint64(m_transfer.speed));
    if (m_transfer.secondsLeft >= 0)
        parts << tr("%1 left").arg(Utilities::formatDuration(m_transfer.secondsLeft));
    return parts.join(QStringLiteral("  "));
}

void ProgressPrinter::redraw()
{
    const QString status = statusText();
    const QString separator = m_stage.endsWith(QLatin1String("...")) ? QStringLiteral(" ") : QStringLiteral(": ");
    QString line = status.isEmpty() ? m_stage : m_stage + separator + status;
    // A line longer than the terminal would wrap, and the carriage return could not take it back.
    line.truncate(terminalWidth(m_stream) - 1);
    write(QStringLiteral("\r\x1b[K") + line);
    m_lineOpen = true;
}

void ProgressPrinter::write(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    fwrite(bytes.constData(), 1, size_t(bytes.size()), m_stream);
    fflush(m_stream);
}
