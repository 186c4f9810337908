#pragma once

#include "storageinfo.h"

#include <QString>

// A storage as the lists name it: its label (or, without one, where it is), what it is, its size and
// its free space, as far as they are known: "NAVI_SD: memory card, 7,45GB, 2,10GB free".
QString storageText(const StorageInfo &storage);
