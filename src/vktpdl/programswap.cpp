#include "programswap.h"

#include "checkedcopy.h"
#include "partialprogresslistener.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vktpdl {

namespace {

const QString stageSuffix = QStringLiteral(".kwnew");
const QString retiredSuffix = QStringLiteral(".kwold");
// Written last into a new folder: only a folder that holds it is a whole program.
const QString completeMarker = QStringLiteral("KorwindProgramStage.kwdone");
// Room left on the card beside both programs, for the file system's own needs.
constexpr quint64 spareBytes = 1024 * 1024;

bool containsPath(const QStringList &paths, const QString &path)
{
    return paths.contains(path, Qt::CaseInsensitive);
}

int progressAt(quint64 done, quint64 total)
{
    return total == 0 ? 100 : int(done * 100 / total);
}

} // namespace

ProgramSwap::ProgramSwap(FileSystem &device, const QString &folder, const QString &pcWorkFolder)
    : m_device(device), m_folder(folder), m_pcWorkFolder(pcWorkFolder)
{
}

bool ProgramSwap::isSwapFolderName(const QString &name)
{
    return name.endsWith(stageSuffix, Qt::CaseInsensitive) || name.endsWith(retiredSuffix, Qt::CaseInsensitive);
}

QString ProgramSwap::devicePath(const QString &root, const QString &relative) const
{
    QString path = relative;
    path.replace(QLatin1Char('/'), m_device.separator());
    return m_device.joinPath(root, path);
}

int ProgramSwap::createFolders(const QString &root, const QString &relativeFile)
{
    const qsizetype slash = relativeFile.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? DE_NO_ERROR : m_device.createDirectory(devicePath(root, relativeFile.left(slash)));
}

int ProgramSwap::install(const QList<ProgramFile> &files, const QStringList &dropped, bool wholeFolder,
                         vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    const int result = wholeFolder ? swapFolder(files, dropped, progress, cont)
                                   : replaceEachFile(files, dropped, progress, cont);
    // Done only once the volume holds all of it.
    return result == DE_NO_ERROR ? m_device.syncVolume(m_folder) : result;
}

int ProgramSwap::swapFolder(const QList<ProgramFile> &files, const QStringList &dropped,
                            vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    QList<OldFile> old;
    QStringList folders;
    int result = listOldFiles(m_folder, QString(), old, folders);
    if (result != DE_NO_ERROR)
        return result;
    QStringList replaced = dropped;
    quint64 needed = spareBytes;
    for (const ProgramFile &file : files) {
        replaced.append(file.relativePath);
        needed += quint64(QFileInfo(file.source).size());
    }
    QList<OldFile> carried;
    for (const OldFile &file : std::as_const(old)) {
        if (!containsPath(replaced, file.relativePath)) {
            carried.append(file);
            needed += quint64(file.size);
        }
    }
    quint64 free = 0;
    if (m_device.freeSpace(m_device.parentPath(m_folder), free) == DE_NO_ERROR && free < needed)
        return replaceEachFile(files, dropped, progress, cont);

    const QString stage = m_folder + stageSuffix;
    // Leftovers of an earlier attempt; the old program itself is untouched by this.
    result = m_device.removeTree(stage);
    if (result == DE_NO_ERROR)
        result = m_device.removeTree(m_folder + retiredSuffix);
    if (result == DE_NO_ERROR)
        result = m_device.createDirectory(stage);
    vktcommon::PartialProgressListener share(progress, 0, 95);
    if (result == DE_NO_ERROR)
        result = buildStage(files, carried, folders, &share, cont);
    if (result == DE_NO_ERROR)
        result = swapStage();
    if (result != DE_NO_ERROR) {
        // The old program is still in place; a new folder that is not whole must not be mistaken for one.
        m_device.removeTree(stage);
        return result;
    }
    vktcommon::reportProgress(progress, 100);
    return DE_NO_ERROR;
}

int ProgramSwap::listOldFiles(const QString &folder, const QString &relative, QList<OldFile> &files,
                              QStringList &folders)
{
    QStringList names;
    int result = m_device.listFiles(folder, QStringLiteral("*"), names);
    if (result != DE_NO_ERROR)
        return result;
    const auto relativeOf = [&relative](const QString &name) {
        return relative.isEmpty() ? name : relative + QLatin1Char('/') + name;
    };
    for (const QString &name : std::as_const(names)) {
        // A copy that an interruption cut short belongs to no program.
        if (isTemporaryName(name) || name == completeMarker)
            continue;
        OldFile file;
        file.relativePath = relativeOf(name);
        result = m_device.fileSize(m_device.joinPath(folder, name), file.size);
        if (result != DE_NO_ERROR)
            return result;
        files.append(file);
    }
    QStringList subfolders;
    result = m_device.listFolders(folder, QStringLiteral("*"), subfolders);
    if (result != DE_NO_ERROR)
        return result;
    for (const QString &name : std::as_const(subfolders)) {
        folders.append(relativeOf(name));
        result = listOldFiles(m_device.joinPath(folder, name), relativeOf(name), files, folders);
        if (result != DE_NO_ERROR)
            return result;
    }
    return DE_NO_ERROR;
}

int ProgramSwap::buildStage(const QList<ProgramFile> &files, const QList<OldFile> &carried,
                            const QStringList &folders, vktcommon::ProgressListener *progress,
                            vktcommon::ContinueListener *cont)
{
    const QString stage = m_folder + stageSuffix;
    for (const QString &folder : folders) {
        const int result = m_device.createDirectory(devicePath(stage, folder));
        if (result != DE_NO_ERROR)
            return result;
    }
    quint64 total = 0;
    for (const OldFile &file : carried)
        total += quint64(file.size);
    for (const ProgramFile &file : files)
        total += quint64(QFileInfo(file.source).size());
    quint64 done = 0;
    vktcommon::PartialProgressListener share(progress);

    // The old folder's own files (settings, saved places) come along through the PC, checked like the rest.
    const QString passage = QDir(m_pcWorkFolder).filePath(QStringLiteral("carried"));
    for (const OldFile &file : carried) {
        share.setRange(progressAt(done, total), progressAt(done + quint64(file.size), total));
        QFile::remove(passage);
        int result = m_device.getFile(passage, devicePath(m_folder, file.relativePath), nullptr, cont);
        if (result == DE_NO_ERROR)
            result = putFileChecked(m_device, devicePath(stage, file.relativePath), passage, QString(), &share, cont);
        QFile::remove(passage);
        if (result != DE_NO_ERROR)
            return result;
        done += quint64(file.size);
    }
    for (const ProgramFile &file : files) {
        const quint64 size = quint64(QFileInfo(file.source).size());
        share.setRange(progressAt(done, total), progressAt(done + size, total));
        int result = createFolders(stage, file.relativePath);
        if (result == DE_NO_ERROR)
            result = putFileChecked(m_device, devicePath(stage, file.relativePath), file.source, QString(), &share, cont);
        if (result != DE_NO_ERROR)
            return result;
        done += size;
    }

    const QString marker = QDir(m_pcWorkFolder).filePath(completeMarker);
    QFile markerFile(marker);
    if (!markerFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return DE_TRANSFER_ERROR;
    markerFile.close();
    return putFileChecked(m_device, m_device.joinPath(stage, completeMarker), marker, QString(), nullptr, cont);
}

int ProgramSwap::swapStage()
{
    const QString stage = m_folder + stageSuffix;
    const QString retired = m_folder + retiredSuffix;
    const QString parent = m_device.parentPath(m_folder);
    QString oldProgram = stage;
    int result = m_device.exchangeFolders(m_folder, stage);
    if (result == DE_NOT_SUPPORTED) {
        // Two renames: an interruption between them leaves the complete new folder and the old one
        // beside each other, and the next device search gives the new one its name (repair).
        oldProgram = retired;
        result = m_device.renameFile(m_folder, retired);
        if (result == DE_NO_ERROR) {
            result = m_device.renameFile(stage, m_folder);
            if (result != DE_NO_ERROR)
                m_device.renameFile(retired, m_folder);
        }
    }
    if (result == DE_NO_ERROR)
        result = m_device.flushFolder(parent);
    if (result == DE_NO_ERROR)
        result = m_device.deleteFile(m_device.joinPath(m_folder, completeMarker));
    if (result == DE_NO_ERROR)
        result = m_device.flushFolder(m_folder);
    if (result != DE_NO_ERROR)
        return result;
    // The new program is in place; an old copy that cannot be removed now goes at the next search.
    if (m_device.removeTree(oldProgram) == DE_NO_ERROR)
        m_device.flushFolder(parent);
    return DE_NO_ERROR;
}

int ProgramSwap::replaceEachFile(const QList<ProgramFile> &files, const QStringList &dropped,
                                 vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    quint64 total = 0;
    for (const ProgramFile &file : files)
        total += quint64(QFileInfo(file.source).size());
    quint64 done = 0;
    vktcommon::PartialProgressListener share(progress);
    for (const ProgramFile &file : files) {
        const quint64 size = quint64(QFileInfo(file.source).size());
        share.setRange(progressAt(done, total), progressAt(done + size, total));
        int result = createFolders(m_folder, file.relativePath);
        if (result == DE_NO_ERROR)
            result = putFileChecked(m_device, devicePath(m_folder, file.relativePath), file.source, QString(), &share, cont);
        if (result != DE_NO_ERROR)
            return result;
        done += size;
    }
    for (const QString &path : dropped) {
        const int result = m_device.deleteFile(devicePath(m_folder, path));
        if (result != DE_NO_ERROR)
            return result;
    }
    const int result = m_device.flushFolder(m_folder);
    if (result == DE_NO_ERROR)
        vktcommon::reportProgress(progress, 100);
    return result;
}

int ProgramSwap::repair(FileSystem &device, const QString &parent)
{
    QStringList folders;
    int result = device.listFolders(parent, QStringLiteral("*"), folders);
    if (result != DE_NO_ERROR)
        return result;
    QStringList present;
    for (const QString &name : std::as_const(folders))
        present.append(name.toCaseFolded());
    const auto exists = [&present](const QString &name) { return present.contains(name.toCaseFolded()); };
    QStringList programs;

    for (const QString &name : std::as_const(folders)) {
        if (!name.endsWith(stageSuffix, Qt::CaseInsensitive))
            continue;
        const QString base = name.chopped(stageSuffix.size());
        const QString stage = device.joinPath(parent, name);
        const QString program = device.joinPath(parent, base);
        // Stopped between the two renames of a swap: the complete new folder takes the program's name.
        if (!exists(base) && device.isFile(device.joinPath(stage, completeMarker))) {
            result = device.renameFile(stage, program);
            if (result == DE_NO_ERROR)
                result = device.flushFolder(parent);
            if (result != DE_NO_ERROR)
                return result;
            present.append(base.toCaseFolded());
            programs.append(program);
            continue;
        }
        // Beside a program in place, a new folder is the old program after an exchange, or a new one that
        // never got its turn, which the interrupted job builds again.
        if (exists(base)) {
            programs.append(program);
            result = device.removeTree(stage);
            if (result != DE_NO_ERROR)
                return result;
        }
    }
    for (const QString &name : std::as_const(folders)) {
        if (!name.endsWith(retiredSuffix, Qt::CaseInsensitive))
            continue;
        const QString base = name.chopped(retiredSuffix.size());
        const QString retired = device.joinPath(parent, name);
        // Without a program in place the old copy is all there is: it gets its name back.
        result = exists(base) ? device.removeTree(retired) : device.renameFile(retired, device.joinPath(parent, base));
        if (result == DE_NO_ERROR)
            result = device.flushFolder(parent);
        if (result != DE_NO_ERROR)
            return result;
    }
    for (const QString &program : std::as_const(programs)) {
        const QString marker = device.joinPath(program, completeMarker);
        if (!device.isFile(marker))
            continue;
        result = device.deleteFile(marker);
        if (result == DE_NO_ERROR)
            result = device.flushFolder(program);
        if (result != DE_NO_ERROR)
            return result;
    }
    return DE_NO_ERROR;
}

} // namespace vktpdl
