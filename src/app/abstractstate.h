#pragma once

#include "enums.h"

#include <functional>

// One recorded visit of a wizard page. Entering it calls the page method again, which records a fresh
// state; "Back" looks for stable states (pages where the user chose something), "Retry" for unstable
// ones (operations and error pages).
class AbstractState
{
public:
    virtual ~AbstractState() = default;
    virtual void enter() = 0;
    virtual bool isStable() const = 0;
    virtual bool allowsBackupManagement() const = 0;
    virtual STATE_TAG tag() const { return ST_UNTAGGED; }
};

// The state of one page method: which method to call again and the page's flags. Every page of the
// window and of the workflow logics differs only in these, so one class serves them all.
class PageState final : public AbstractState
{
public:
    enum Flag { Unstable = 0, Stable = 1, AllowsBackupManagement = 2 };

    PageState(std::function<void()> enter, int flags, STATE_TAG tag = ST_UNTAGGED)
        : m_enter(std::move(enter)), m_flags(flags), m_tag(tag)
    {
    }

    void enter() override { m_enter(); }
    bool isStable() const override { return m_flags & Stable; }
    bool allowsBackupManagement() const override { return m_flags & AllowsBackupManagement; }
    STATE_TAG tag() const override { return m_tag; }

private:
    std::function<void()> m_enter;
    int m_flags;
    STATE_TAG m_tag;
};
