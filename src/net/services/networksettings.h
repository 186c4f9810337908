#pragma once

#include <QString>

// What the network services read from the program's settings before each operation. The program
// fills it from its settings accessors, so the keys and the system-proxy fallback live there alone.
struct NetworkSettings
{
    bool useProxy = false;
    QString proxyAddress;    // host: the stored one, else the system proxy's
    QString proxyPort;       // as text: the stored one, else the system proxy's
    QString language;        // locale name of the current interface language
    QString downloadsFolder; // where downloads go
};
