#pragma once

#include "listeners.h"

// A continue listener the test switches off when it wants the operation cancelled.
class FlagContinueListener final : public vktcommon::ContinueListener
{
public:
    bool shouldContinue() override { return mayContinue; }
    bool mayContinue = true;
};
