#include "replacingfile.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

#include <unistd.h>

namespace vktcommon {

ReplacingFile::ReplacingFile(const QString &filePath)
    : m_filePath(filePath)
    , m_file(QFileInfo(filePath).path() + QStringLiteral("/.") + QFileInfo(filePath).fileName()
             + QStringLiteral(".XXXXXX"))
{
}

bool ReplacingFile::open()
{
    // Asking for the name makes the file a named one even where Qt could keep it unnamed.
    return m_file.open() && !m_file.fileName().isEmpty();
}

bool ReplacingFile::commit()
{
    if (!m_file.isOpen() || !m_file.flush() || ::fsync(m_file.handle()) != 0)
        return false;
    // rename(2) itself: it replaces whatever stands at the name, a link included, where the toolkit's
    // renames refuse an existing name.
    const QByteArray written = QFile::encodeName(m_file.fileName());
    m_file.close();
    if (::rename(written.constData(), QFile::encodeName(m_filePath).constData()) != 0)
        return false;
    m_file.setAutoRemove(false);
    return true;
}

} // namespace vktcommon
