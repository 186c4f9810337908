#include "selfupdateinstaller.h"

#include "appsettings.h"
#include "archiveerror.h"
#include "detachedsetuplauncher.h"
#include "downloadedfilepath.h"
#include "productinfo.h"
#include "ziparchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtConcurrent>

namespace {

// The package's setup program, at the top level of its archive.
const QString setupName = QStringLiteral("setup");
const QString folderTemplate = QStringLiteral("korwind-update-XXXXXX");

} // namespace

SelfUpdateInstaller::SelfUpdateInstaller(QObject *parent)
    : SelfUpdateInstaller(std::make_shared<DetachedSetupLauncher>(), parent)
{
}

SelfUpdateInstaller::SelfUpdateInstaller(std::shared_ptr<const SetupLauncher> launcher, QObject *parent)
    : QObject(parent), m_launcher(std::move(launcher))
{
    connect(&m_watcher, &QFutureWatcher<QString>::finished, this, &SelfUpdateInstaller::_onTaskFinished);
}

SelfUpdateInstaller::~SelfUpdateInstaller() = default;

void SelfUpdateInstaller::start(const ProductInfo *package)
{
    // The task gets copies: the package belongs to the package services, the settings to this thread.
    const QString archivePath = package ? vktcommon::downloadedFilePath(AppSettings::downloadsDirectory(),
                                                                       package->file.fileName)
                                        : QString();
    m_watcher.setFuture(QtConcurrent::run([archivePath, temporaryFolder = QDir::tempPath(), launcher = m_launcher] {
        return install(archivePath, temporaryFolder, *launcher);
    }));
}

QString SelfUpdateInstaller::archiveStatusText(int status)
{
    switch (status) {
    case AE_NO_ERROR:
        return QString();
    case AE_EMPTY_ARCHIVE:
        return tr("Error: archive is empty.");
    case AE_ZLIB_ERROR:
        return tr("Zlib error.");
    case AE_CANNOT_OPEN:
        return tr("Error: can't open archive.");
    case AE_CORRUPTED:
        return tr("Error: archive corrupted.");
    case AE_CANNOT_READ:
        return tr("Error: can't read archive.");
    case AE_INFLATE_ERROR:
        return tr("Error: can't write archive.");
    case AE_CANNOT_SEEK:
        return tr("Error: can't seek in archive.");
    case AE_CANNOT_CREATE_DIRECTORY:
        return tr("Error: can't create directory.");
    case AE_INVALID_ARCHIVE:
        return tr("Invalid Archive.");
    case AE_PARSE_ERROR:
        return tr("Error in parsing archive.");
    case AE_UNSUPPORTED_FORMAT:
        return tr("Error: unsupported archive format.");
    case AE_NEED_PROGRAM_UPDATE:
        return tr("You need update Korwind Navigator update center.");
    case AE_CANNOT_CREATE_FILE:
        return tr("Can't create file");
    default:
        return tr("Update installation error.");
    }
}

void SelfUpdateInstaller::_onTaskFinished()
{
    Q_EMIT taskFinished(m_watcher.result());
}

QString SelfUpdateInstaller::install(const QString &archivePath, const QString &temporaryFolder,
                                     const SetupLauncher &launcher)
{
    const QString failed = tr("Update installation error.");
    if (archivePath.isEmpty())
        return failed;
    ZipArchive archive;
    int status = archive.open(archivePath, QFileInfo(archivePath).size());
    if (status != AE_NO_ERROR)
        return archiveStatusText(status);

    // A new folder for every attempt, private to the user (mode 0700), since everyone may write where it is made.
    // It goes again unless the setup runs from it. The toolkit names no temporary folder when TMPDIR names a
    // missing one; the current folder is no substitute.
    if (!QDir::isAbsolutePath(temporaryFolder))
        return archiveStatusText(AE_CANNOT_CREATE_DIRECTORY);
    QTemporaryDir folder(QDir(temporaryFolder).filePath(folderTemplate));
    if (!folder.isValid())
        return archiveStatusText(AE_CANNOT_CREATE_DIRECTORY);
    status = archive.root()->extract(folder.path(), nullptr, nullptr);
    archive.close();
    if (status != AE_NO_ERROR)
        return archiveStatusText(status);

    // The zip reader writes no permission bits; the setup is the one file of the package meant to run.
    const QString setup = folder.filePath(setupName);
    const QFileInfo setupInfo(setup);
    if (!setupInfo.isFile() || setupInfo.isSymLink()
        || !QFile::setPermissions(setup, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)
        || !launcher.start(setup))
        return failed;
    folder.setAutoRemove(false);
    QFile::remove(archivePath);
    return QString();
}
