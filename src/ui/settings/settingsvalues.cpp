#include "settingsvalues.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryFile>

namespace {

QString translated(const char *text)
{
    return QCoreApplication::translate("SettingsValues", text);
}

struct FolderTexts
{
    SettingsProblem::Field field;
    const char *missing;
    const char *relative;
    const char *notCreated;
    const char *notWritable;
};

const FolderTexts backupsTexts = {
    SettingsProblem::BackupsDirectory, QT_TRANSLATE_NOOP("SettingsValues", "Choose a folder to store the backups."),
    QT_TRANSLATE_NOOP("SettingsValues", "The folder to store the backups must be given with its full path."),
    QT_TRANSLATE_NOOP("SettingsValues", "The folder to store the backups, \"%1\", cannot be created."),
    QT_TRANSLATE_NOOP("SettingsValues", "The folder to store the backups, \"%1\", cannot be written to.")};

const FolderTexts downloadsTexts = {
    SettingsProblem::DownloadsDirectory, QT_TRANSLATE_NOOP("SettingsValues", "Choose a folder to store downloaded files."),
    QT_TRANSLATE_NOOP("SettingsValues", "The folder to store downloaded files must be given with its full path."),
    QT_TRANSLATE_NOOP("SettingsValues", "The folder to store downloaded files, \"%1\", cannot be created."),
    QT_TRANSLATE_NOOP("SettingsValues", "The folder to store downloaded files, \"%1\", cannot be written to.")};

// Writing a file is the only sure test: permission bits say nothing about read-only mounts or
// access lists. The probe is created exclusively, so it never follows a link standing in its place.
bool canWriteIn(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".write-check-XXXXXX")));
    return probe.open();
}

SettingsProblem checkFolder(const QString &path, const FolderTexts &texts)
{
    if (path.isEmpty())
        return {texts.field, translated(texts.missing)};
    if (QDir::isRelativePath(path))
        return {texts.field, translated(texts.relative)};
    if (!QDir().mkpath(path))
        return {texts.field, translated(texts.notCreated).arg(QDir::toNativeSeparators(path))};
    if (!canWriteIn(path))
        return {texts.field, translated(texts.notWritable).arg(QDir::toNativeSeparators(path))};
    return {};
}

bool isPort(const QString &text)
{
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    bool ok = false;
    const uint port = text.toUInt(&ok);
    return ok && port >= 1 && port <= 65535;
}

} // namespace

SettingsProblem checkSettings(const SettingsValues &values)
{
    if (values.useProxy) {
        if (values.proxyAddress.trimmed().isEmpty())
            return {SettingsProblem::ProxyAddress, translated("Enter the address of the proxy server, or switch the proxy off.")};
        if (!isPort(values.proxyPort.trimmed()))
            return {SettingsProblem::ProxyPort, translated("The proxy port must be a number from 1 to 65535.")};
    }
    for (const auto &[path, texts] : {std::pair{values.backupsDirectory, backupsTexts}, std::pair{values.downloadsDirectory, downloadsTexts}}) {
        const SettingsProblem problem = checkFolder(path, texts);
        if (problem.field != SettingsProblem::None)
            return problem;
    }
    return {};
}
