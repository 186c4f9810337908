#include "downloadedfilepath.h"

#include <QChar>
#include <QDir>
#include <QFileInfo>

namespace vktcommon {

bool isPlainFileName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
        && !name.contains(QChar(u'\0'));
}

QString downloadedFilePath(const QString &downloadsFolder, const QString &fileName)
{
    if (!isPlainFileName(fileName))
        return {};
    const QString absolute = QFileInfo(QDir(downloadsFolder), fileName).absoluteFilePath();
    return QDir::toNativeSeparators(QDir::cleanPath(absolute));
}

} // namespace vktcommon
