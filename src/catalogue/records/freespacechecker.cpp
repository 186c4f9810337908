#include "freespacechecker.h"

qint64 FreeSpaceChecker::freeSpace() const
{
    if (!m_provider || m_contentIndex < 0)
        return -1;
    return m_provider->freeSpace(m_contentIndex);
}

qint64 FreeSpaceChecker::otherFilesSize() const
{
    if (!m_provider || m_contentIndex < 0)
        return -1;
    return m_provider->otherFilesSize(m_contentIndex);
}
