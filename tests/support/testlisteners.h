#pragma once

#include "listeners.h"

#include <QList>

// Listeners for tests: one records every percentage, the other says stop after a number of answers.
class RecordingProgress : public vktcommon::ProgressListener
{
public:
    void setProgress(int percent) override { values.append(percent); }
    QList<int> values;
};

class StopAfter : public vktcommon::ContinueListener
{
public:
    explicit StopAfter(int answers) : m_left(answers) {}
    bool shouldContinue() override { return m_left-- > 0; }

private:
    int m_left;
};
