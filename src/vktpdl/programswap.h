#pragma once

#include "filesystem.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace vktpdl {

// A file of a new program: where it goes, relative to the program's folder ('/' between levels), and
// the file of the PC that holds it.
struct ProgramFile
{
    QString relativePath;
    QString source;
};

// Installs a program folder so that an interruption at any moment leaves the old program or the new one
// able to start, never neither: the new folder is built beside the old one ("<folder>.kwnew") from the
// package's files and the old folder's own other files, each flushed and read back, marked complete, and
// swapped in by renames. Where the folder cannot be swapped (a volume's root, a folder holding the maps) or
// the card cannot hold both programs, each file is replaced on its own instead.
class ProgramSwap
{
public:
    // pcWorkFolder: a private folder of the PC for the old files on their way into the new folder.
    ProgramSwap(FileSystem &device, const QString &folder, const QString &pcWorkFolder);

    // dropped: relative paths of old files the new program does without (executables it replaces under
    // other names). wholeFolder false replaces file by file.
    int install(const QList<ProgramFile> &files, const QStringList &dropped, bool wholeFolder,
                vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont);

    // The folders a swap makes beside the program's folder, which the navigator search does not enter.
    static bool isSwapFolderName(const QString &name);
    // Finishes or undoes what an interrupted swap left in parent: a complete new folder whose old one is
    // already out of the way takes its name; what is left of an old or an unfinished new folder goes.
    static int repair(FileSystem &device, const QString &parent);

private:
    struct OldFile
    {
        QString relativePath;
        qint64 size = 0;
    };

    int swapFolder(const QList<ProgramFile> &files, const QStringList &dropped, vktcommon::ProgressListener *progress,
                   vktcommon::ContinueListener *cont);
    int listOldFiles(const QString &folder, const QString &relative, QList<OldFile> &files, QStringList &folders);
    int replaceEachFile(const QList<ProgramFile> &files, const QStringList &dropped,
                        vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont);
    int buildStage(const QList<ProgramFile> &files, const QList<OldFile> &carried, const QStringList &folders,
                   vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont);
    int swapStage();
    int createFolders(const QString &root, const QString &relativeFile);
    QString devicePath(const QString &root, const QString &relative) const;

    FileSystem &m_device;
    QString m_folder;
    QString m_pcWorkFolder;
};

} // namespace vktpdl
