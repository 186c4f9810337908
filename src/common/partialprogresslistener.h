#pragma once

#include "listeners.h"

namespace vktcommon {

// Maps 0..100 onto [start, end] of a parent listener, so a step can report its own percentages.
class PartialProgressListener : public ProgressListener
{
public:
    explicit PartialProgressListener(ProgressListener *parent = nullptr, int start = 0, int end = 100);

    void setProgress(int percent) override;
    void setRange(int start, int end);

private:
    int m_start;
    int m_end;
    ProgressListener *m_parent;
};

} // namespace vktcommon
