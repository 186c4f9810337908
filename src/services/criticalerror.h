#pragma once

#include <QString>

// The result of the installation check: an empty text is success; a non-critical error is a warning
// the user may accept and go on.
struct CriticalError
{
    QString text;
    bool critical = false;
};
