#pragma once

#include <QtGlobal>

// Supplies, per content folder index, the figures a FreeSpaceChecker reports.
class FreeSpaceDataProvider
{
public:
    virtual ~FreeSpaceDataProvider() = default;
    virtual qint64 freeSpace(int contentIndex) = 0;
    virtual qint64 otherFilesSize(int contentIndex) = 0;
};

// Free space and size of old files of one content folder, asked of the provider when shown.
class FreeSpaceChecker
{
public:
    FreeSpaceChecker() = default;
    FreeSpaceChecker(FreeSpaceDataProvider *provider, int contentIndex)
        : m_provider(provider), m_contentIndex(contentIndex)
    {
    }
    virtual ~FreeSpaceChecker() = default;

    // Both return -1 when the checker has no provider or no index.
    virtual qint64 freeSpace() const;
    virtual qint64 otherFilesSize() const;

    int contentIndex() const { return m_contentIndex; }

private:
    FreeSpaceDataProvider *m_provider = nullptr;
    int m_contentIndex = -1;
};
