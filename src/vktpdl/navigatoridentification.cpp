#include "navigatoridentification.h"

#include "filesystem.h"
#include "listeners.h"
#include "peversioninfo.h"
#include "programswap.h"

#include <QCryptographicHash>
#include <QIODevice>

#include <memory>

namespace vktpdl {

namespace {

const char *const launcherExtensions[] = {"exe", "ex_", "dat"};

const char *const launcherBaseNames[] = {
    "AutoGPS", "AutoRunCE", "Autorun", "Autosputnik", "be-on-road", "BionNavi", "CityGuideCE", "ConcordeNavi",
    "Cydle", "Destinator", "Drive", "execution_file_name", "ezrider_pna", "fossa", "gini_cdi", "HoluxNavi",
    "IGO8", "Igopna", "iNavi", "Infotrafik", "Jvcnavi", "Mappy", "MiniGPS_Production", "MioMap", "mnavdce",
    "MobileNavigator", "MSDSoftware", "Navi", "Navigate7", "Navigation", "Navigator", "NaviMain", "NaviOne",
    "Korwind", "Navngo", "NNGStart", "NWDSoftware", "pNaviCNS", "pNavi", "NAVNGO", "rtnavi", "SamsungNavi",
    "Rousen", "SmartGuider", "SpeedNavi", "Spirit", "TheMapNavi", "WP_NAVI", "Endura", "WinCE_GPS", "menu",
    "Navi1", "drq"};

const char *const navigatorInternalNames[] = {"korwind", "Russa", "inavi"};

// Files named like launchers include data files; only a PE file below this size is read whole.
constexpr qint64 maximumExecutableSize = 256 * 1024 * 1024;
constexpr qint64 hashChunkSize = 64 * 1024;

template <std::size_t N>
bool inTable(const QString &text, const char *const (&table)[N])
{
    for (const char *entry : table) {
        if (text.compare(QLatin1String(entry), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void splitExtension(const QString &fileName, QString &base, QString &extension)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    base = dot < 0 ? fileName : fileName.left(dot);
    extension = dot < 0 ? QString() : fileName.mid(dot + 1);
}

bool hasExeExtension(const QString &fileName)
{
    QString base;
    QString extension;
    splitExtension(fileName, base, extension);
    return extension.compare(QLatin1String("exe"), Qt::CaseInsensitive) == 0;
}

bool readVersionInfo(FileSystem &files, const QString &path, PeVersionInfo &info)
{
    QIODevice *opened = nullptr;
    if (files.openFile(path, opened) != DE_NO_ERROR || !opened)
        return false;
    const std::unique_ptr<QIODevice> device(opened);
    if (!device->open(QIODevice::ReadOnly) || device->size() > maximumExecutableSize || device->peek(2) != "MZ")
        return false;
    const QByteArray bytes = device->readAll();
    return readPeVersionInfo(reinterpret_cast<const unsigned char *>(bytes.constData()), std::size_t(bytes.size()), info)
           == PE_VERSION_OK;
}

} // namespace

bool isLauncherCandidate(const QString &fileName)
{
    QString base;
    QString extension;
    splitExtension(fileName, base, extension);
    return inTable(extension, launcherExtensions) && inTable(base, launcherBaseNames);
}

int collectFiles(FileSystem &files, const QString &folder, const std::function<bool(const QString &)> &matches,
                 QStringList &paths, vktcommon::ContinueListener *cont, QStringList *swapParents)
{
    if (vktcommon::stopRequested(cont))
        return DE_CANCELLED;
    // A folder that cannot be listed holds nothing we could use.
    QStringList names;
    files.listFiles(folder, QStringLiteral("*"), names);
    for (const QString &name : names) {
        if (matches(name))
            paths.append(files.joinPath(folder, name));
    }
    QStringList folders;
    files.listFolders(folder, QStringLiteral("*"), folders);
    bool swapSeen = false;
    for (const QString &name : folders) {
        if (ProgramSwap::isSwapFolderName(name)) {
            swapSeen = true;
            continue;
        }
        const int result = collectFiles(files, files.joinPath(folder, name), matches, paths, cont, swapParents);
        if (result != DE_NO_ERROR)
            return result;
    }
    if (swapSeen && swapParents)
        swapParents->append(folder);
    return DE_NO_ERROR;
}

bool isNavigatorExecutable(FileSystem &files, const QString &path)
{
    PeVersionInfo info;
    return readVersionInfo(files, path, info) && info.hasInternalName
           && inTable(QString::fromStdU16String(info.internalName), navigatorInternalNames);
}

int identifyNavigator(FileSystem &files, const QString &candidate, NavigatorRecord &record)
{
    QString folder;
    QString name;
    files.splitPath(candidate, folder, name);
    if (isNavigatorExecutable(files, candidate)) {
        QStringList executables;
        files.listFiles(folder, QStringLiteral("*.exe"), executables);
        QStringList launchers;
        for (const QString &other : executables) {
            const QString path = files.joinPath(folder, other);
            if (other != name && !isNavigatorExecutable(files, path))
                launchers.append(path);
        }
        record.executablePath = candidate;
        if (launchers.size() == 1)
            record.launcherPath = launchers.constFirst();
        else
            record.launcherPath = hasExeExtension(name) ? candidate : QString();
        return DE_NO_ERROR;
    }
    if (!hasExeExtension(name))
        return DE_NOT_NAVIGATOR_EXECUTABLE;
    QStringList neighbours;
    files.listFiles(folder, QStringLiteral("*"), neighbours);
    for (const QString &other : neighbours) {
        const QString path = files.joinPath(folder, other);
        if (other != name && isNavigatorExecutable(files, path)) {
            record.executablePath = path;
            record.launcherPath = candidate;
            return DE_NO_ERROR;
        }
    }
    return DE_NOT_NAVIGATOR_EXECUTABLE;
}

int readNavigatorVersion(FileSystem &files, const QString &path, DottedVersion &version,
                         vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    if (vktcommon::stopRequested(cont))
        return DE_CANCELLED;
    vktcommon::reportProgress(progress, 0);
    PeVersionInfo info;
    if (!readVersionInfo(files, path, info))
        return DE_NOT_NAVIGATOR_EXECUTABLE;
    if (vktcommon::stopRequested(cont))
        return DE_CANCELLED;
    vktcommon::reportProgress(progress, 50);
    if (!info.hasFixedVersion)
        return DE_NOT_NAVIGATOR_EXECUTABLE;
    if (vktcommon::stopRequested(cont))
        return DE_CANCELLED;
    version = DottedVersion(info.versionPart(0), info.versionPart(1), info.versionPart(2), info.versionPart(3));
    vktcommon::reportProgress(progress, 100);
    return DE_NO_ERROR;
}

int computeIdentifier(FileSystem &files, const QString &path, QByteArray &identifier,
                      vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    QIODevice *opened = nullptr;
    if (files.openFile(path, opened) != DE_NO_ERROR || !opened)
        return DE_WRONG_REPLY;
    const std::unique_ptr<QIODevice> device(opened);
    if (!device->open(QIODevice::ReadOnly))
        return DE_WRONG_REPLY;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const qint64 size = device->size();
    qint64 done = 0;
    while (!device->atEnd()) {
        if (vktcommon::stopRequested(cont))
            return DE_CANCELLED;
        const QByteArray chunk = device->read(hashChunkSize);
        if (chunk.isEmpty())
            return DE_WRONG_REPLY;
        hash.addData(chunk);
        done += chunk.size();
        if (size > 0)
            vktcommon::reportProgress(progress, int(done * 100 / size));
    }
    identifier = hash.result().toHex();
    return DE_NO_ERROR;
}

void dropRepeatedNavigators(QList<NavigatorRecord> &records)
{
    for (qsizetype i = records.size() - 1; i > 0; --i) {
        if (records[i].executablePath == records[i - 1].executablePath
            && records[i].launcherPath == records[i - 1].launcherPath)
            records.removeAt(i);
    }
}

} // namespace vktpdl
