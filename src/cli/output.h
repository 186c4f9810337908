#pragma once

#include "progressprinter.h"

#include <QJsonObject>
#include <QString>

// Where korwind-update writes: results as text on standard output (or, with --json, one JSON document
// there at the end), messages on standard error, and the progress of the running step.
class Output
{
public:
    explicit Output(bool json);

    bool isJson() const { return m_json; }
    // A line of the text result; nothing with --json.
    void line(const QString &text = QString());
    // A message on standard error, in both forms.
    void message(const QString &text);
    // The JSON result; nothing without --json.
    void document(const QJsonObject &result);
    ProgressPrinter &progress() { return m_progress; }

private:
    bool m_json;
    ProgressPrinter m_progress;
};
