#pragma once

// Callbacks handed into every long operation; each is optional (a null pointer is simply not called).
namespace vktcommon {

class ProgressListener
{
public:
    virtual ~ProgressListener() = default;
    virtual void setProgress(int percent) = 0;
};

class ContinueListener
{
public:
    virtual ~ContinueListener() = default;
    // False asks the running operation to stop at its next check.
    virtual bool shouldContinue() = 0;
};

// A progress listener that also hears when an installation waits for the user; a device that asks
// for confirmation looks for this side of the listener it was given.
class InstallationProgressListener : public ProgressListener
{
public:
    // The device now waits for the user to confirm an installation on its own screen.
    virtual void waitForUserAction() = 0;
};

// Reports percent to progress when there is one.
inline void reportProgress(ProgressListener *progress, int percent)
{
    if (progress)
        progress->setProgress(percent);
}

// True when there is a continue listener and it asks to stop.
inline bool stopRequested(ContinueListener *cont)
{
    return cont && !cont->shouldContinue();
}

} // namespace vktcommon
