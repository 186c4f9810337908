#include "partialprogresslistener.h"

namespace vktcommon {

PartialProgressListener::PartialProgressListener(ProgressListener *parent, int start, int end)
    : m_start(start), m_end(end), m_parent(parent)
{
}

void PartialProgressListener::setProgress(int percent)
{
    if (!m_parent)
        return;
    m_parent->setProgress(m_start + static_cast<int>(static_cast<float>((m_end - m_start) / 100.0 * percent)));
}

void PartialProgressListener::setRange(int start, int end)
{
    m_start = start;
    m_end = end;
}

} // namespace vktcommon
