#pragma once

#include "transferstatusinfo.h"

#include <QCoreApplication>
#include <QString>

#include <cstdio>

// Shows how the running step goes. On a terminal: one line redrawn in place with the stage, the file,
// the percentage, the speed and the time left. Otherwise plain lines: the stage, then the progress at
// every tenth percent. Searches and server questions show only on a terminal, where their line is
// wiped when the next output comes, so that piped results hold no progress. Silent for JSON output.
class ProgressPrinter
{
    Q_DECLARE_TR_FUNCTIONS(ProgressPrinter)

public:
    enum class Style { Terminal, Lines, Silent };

    ProgressPrinter(Style style, FILE *stream);

    // A step of the job: it stays on the screen.
    void startStage(const QString &stage);
    // A search or question before the job.
    void startSearch(const QString &text);
    void setPercent(int percent);
    void setTransfer(const TransferStatusInfo &info);
    // A remark of the running step ("don't unplug ..."), shown once.
    void setNote(const QString &note);
    // Ends (or, for a search, wipes) the redrawn line, so that other text starts on a line of its own.
    void closeLine();

private:
    QString statusText() const;
    void redraw();
    void write(const QString &text);

    Style m_style;
    FILE *m_stream;
    QString m_stage;
    int m_percent = -1;
    int m_printedTenth = -1;
    TransferStatusInfo m_transfer;
    bool m_lineOpen = false;
    bool m_searching = false;
};
