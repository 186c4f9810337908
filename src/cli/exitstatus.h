#pragma once

#include <QString>

// The exit status of korwind-update: one per kind of failure, so that scripts can tell them apart.
enum class ExitStatus : int {
    Success = 0,
    Usage = 2,        // the command line is wrong: unknown command or option, a bad value, an unknown name
    Device = 3,       // no usable device, navigator or content folder; the device went away
    Server = 4,       // the update server cannot be reached or refused the question
    Download = 5,     // a file could not be downloaded
    Space = 6,        // the chosen maps do not fit on the device
    Installation = 7, // a backup, the preparation, a deletion, the installation or a restoration failed
    Cancelled = 8,    // interrupted (Ctrl-C), or a question that only --yes answers
    Busy = 9,         // another korwind-update works on the same device or backups folder
};

// The status's name in the JSON output: "success", "usage", "device", ...
QString statusName(ExitStatus status);

// How a step ended: success, or a failure with its status and message.
struct Outcome
{
    ExitStatus status = ExitStatus::Success;
    QString message;

    bool ok() const { return status == ExitStatus::Success; }
    static Outcome success() { return {}; }
    static Outcome failure(ExitStatus status, const QString &message) { return {status, message}; }
};
