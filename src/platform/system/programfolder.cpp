#include "programfolder.h"

#include <QFileInfo>

QString programFolder()
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}
