#pragma once

#include <QStringList>
#include <QValidator>

class FileExistingChecker;

// Accepts a typed executable path when it lies under one of the device's storage roots (compared
// without regard to case) and, where a checker is given, names an existing file. Anything else is
// intermediate, so the user can go on typing.
//
// "Under a root" means the root followed by a separator and the rest of the path, or the root itself
// when it ends with one; a ".." component would leave the root and is not accepted, nor is a sibling
// folder whose name merely starts with the root's ("/media/NAV2" for the root "/media/NAV").
class PathValidator : public QValidator
{
    Q_OBJECT

public:
    // The checker belongs to the device services and must outlive the validator.
    PathValidator(const QStringList &roots, FileExistingChecker *checker, QObject *parent = nullptr);

    State validate(QString &input, int &pos) const override;

private:
    bool isUnderRoot(const QString &path) const;

    QStringList m_roots;
    FileExistingChecker *m_checker;
};
