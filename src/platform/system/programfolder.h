#pragma once

#include <QString>

// The folder that holds the running program's executable, known before any application object exists.
QString programFolder();
