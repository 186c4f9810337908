#include "pathvalidator.h"

#include "fileexistingchecker.h"

#include <QRegularExpression>

namespace {

bool isSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

} // namespace

PathValidator::PathValidator(const QStringList &roots, FileExistingChecker *checker, QObject *parent)
    : QValidator(parent), m_roots(roots), m_checker(checker)
{
}

QValidator::State PathValidator::validate(QString &input, int &) const
{
    if (!isUnderRoot(input))
        return Intermediate;
    return !m_checker || m_checker->fileExists(input) ? Acceptable : Intermediate;
}

bool PathValidator::isUnderRoot(const QString &path) const
{
    static const QRegularExpression separators(QStringLiteral("[/\\\\]"));
    if (path.split(separators).contains(QStringLiteral("..")))
        return false;
    for (const QString &root : m_roots) {
        if (root.isEmpty() || !path.startsWith(root, Qt::CaseInsensitive))
            continue;
        if (isSeparator(root.back()) || (path.size() > root.size() && isSeparator(path.at(root.size()))))
            return true;
    }
    return false;
}
