#include "servicesession.h"

#include "appsettings.h"
#include "deviceservices.h"
#include "networkservices.h"
#include "packageservices.h"
#include "terminalproxylogin.h"

#include <QFileInfo>

#include <algorithm>

ServiceSession::ServiceSession(const CommandLineOptions &options, const QString &languageName, Output &output)
    : m_options(options), m_output(output)
{
    m_devices = std::make_unique<DeviceServices>(DeviceServices::Settings{
        [this] { return downloadsFolder(); }, [this] { return backupsFolder(); }, languageName});

    // The settings as the wizard reads them, with what the command line changes.
    const auto networkSettings = [this, languageName] {
        NetworkSettings settings = AppSettings::networkSettings(languageName);
        settings.downloadsFolder = downloadsFolder();
        if (m_options.noProxy)
            settings.useProxy = false;
        if (m_options.proxyGiven) {
            settings.useProxy = true;
            settings.proxyAddress = m_options.proxyHost;
            settings.proxyPort = m_options.proxyPort;
        }
        return settings;
    };
    auto network = std::make_unique<NetworkServices>(networkSettings, std::make_unique<TerminalProxyLogin>());
    if (!options.serverUrl.isEmpty())
        network->setServerBaseUrl(options.serverUrl);
    if (!options.proxyUser.isEmpty())
        network->setProxyCredentials(options.proxyUser, options.proxyPassword);
    m_network = std::move(network);
    m_packages = std::make_unique<PackageServices>();

    using Device = AbstractDeviceServices;
    using Network = AbstractNetworkServices;
    using Packages = AbstractPackageServices;
    ProgressPrinter &progress = m_output.progress();
    connect(m_devices.get(), &Device::showProgress, this, [&progress](int percent) { progress.setPercent(percent); });
    connect(m_devices.get(), &Device::updateOperationExtraInfo, this,
            [&progress](const TransferStatusInfo &info) { progress.setTransfer(info); });
    connect(m_devices.get(), &Device::setCurrentOperationInfo, this,
            [&progress](const QString &text) { progress.setNote(text); });
    connect(m_devices.get(), &Device::installWaitForUserAction, this, [this] {
        m_output.message(tr("You may need to do some things with your device to complete the installation."));
    });
    connect(m_network.get(), &Network::showProgress, this, [&progress](int percent) { progress.setPercent(percent); });
    connect(m_network.get(), &Network::downloadStatusUpdate, this,
            [&progress](const TransferStatusInfo &info) { progress.setTransfer(info); });
    connect(m_network.get(), qOverload<QList<ProductInfo>>(&Network::updateFound), m_packages.get(),
            &Packages::foundKorwindUpdates);
    connect(m_network.get(), qOverload<QList<MapInfo>>(&Network::updateFound), m_packages.get(),
            &Packages::foundMapUpdates);
    connect(&m_interrupts, &InterruptNotifier::interrupted, this, &ServiceSession::cancel);
}

ServiceSession::~ServiceSession() = default;

QString ServiceSession::downloadsFolder() const
{
    return m_options.downloadsFolder.isEmpty() ? AppSettings::downloadsDirectory() : m_options.downloadsFolder;
}

QString ServiceSession::backupsFolder() const
{
    return m_options.backupsFolder.isEmpty() ? AppSettings::backupsDirectory() : m_options.backupsFolder;
}

Outcome ServiceSession::failure(ExitStatus status, const QString &text) const
{
    if (m_cancelled)
        return Outcome::failure(ExitStatus::Cancelled, text.isEmpty() ? tr("Cancelled.") : text);
    return Outcome::failure(status, text);
}

void ServiceSession::cancel()
{
    if (m_cancelled) {
        m_output.message(tr("Already cancelling: waiting for the running step to stop."));
        return;
    }
    m_cancelled = true;
    m_output.message(tr("Cancelling: the running step stops at its next check."));
    m_devices->cancelDeviceOperation();
    m_network->cancelNetworkOperation();
}

Outcome ServiceSession::searchDevices(QList<DeviceInfo> &devices)
{
    m_output.progress().startSearch(tr("Searching for devices..."));
    QList<DeviceInfo> found;
    const QMetaObject::Connection connection = connect(m_devices.get(), &AbstractDeviceServices::foundDevices, this,
                                                       [&found](const QList<DeviceInfo> &list) { found = list; });
    const QString error = runDeviceTask([this] { m_devices->searchDevices(); });
    disconnect(connection);
    devices = error.isEmpty() ? found : QList<DeviceInfo>();
    return error.isEmpty() ? Outcome::success() : failure(ExitStatus::Device, error);
}

Outcome ServiceSession::selectDevice(int number, DeviceUse use, DeviceInfo &device)
{
    QList<DeviceInfo> found;
    const Outcome search = searchDevices(found);
    if (!search.ok())
        return search;
    const int count = int(found.size());
    if (number == 0 && count > 1) {
        return Outcome::failure(ExitStatus::Usage, tr("%n devices are connected: choose one with --device N "
                                                      "(korwind-update devices lists them).", nullptr, count));
    }
    const int index = number == 0 ? 0 : number - 1;
    if (index >= count) {
        const QString text = tr("There is no device %1: korwind-update devices lists %n.", nullptr, count);
        return Outcome::failure(ExitStatus::Device, text.arg(number));
    }
    device = found.at(index);
    if (use != DeviceUse::AnyKind && device.kind != DeviceInfo::Storage) {
        return Outcome::failure(ExitStatus::Device, tr("%1 is not connected as USB storage; the update wizard "
                                                       "handles such devices.").arg(device.name));
    }
    if (use == DeviceUse::Changes && (!device.isConnectedProperly || device.isReadOnly))
        return Outcome::failure(ExitStatus::Device, tr("%1 cannot be changed.").arg(device.listText()));
    m_devices->deviceSelected(device.index);
    return Outcome::success();
}

Outcome ServiceSession::findNavigators(QList<KorwindExeInfo> &executables, QStringList &roots)
{
    m_output.progress().startSearch(tr("Searching for Korwind Navigator installed..."));
    const QMetaObject::Connection connection =
        connect(m_devices.get(), &AbstractDeviceServices::foundPossibleKorwindInstallations, this,
                [&](const QList<KorwindExeInfo> &found, const QList<QString> &deviceRoots) {
                    executables = found;
                    roots = deviceRoots;
                });
    const QString error = runDeviceTask([this] { m_devices->searchNavigatorInstallations(); });
    disconnect(connection);
    return error.isEmpty() ? Outcome::success() : failure(ExitStatus::Device, error);
}

Outcome ServiceSession::selectNavigator(const QList<KorwindExeInfo> &executables, const QString &path,
                                        KorwindExeInfo &chosen)
{
    QString chosenPath = path;
    if (chosenPath.isEmpty()) {
        if (executables.isEmpty()) {
            return Outcome::failure(ExitStatus::Device, tr("No Korwind Navigator was found on the device; name its "
                                                           "executable with --exe PATH."));
        }
        if (executables.size() > 1) {
            QStringList paths;
            for (const KorwindExeInfo &executable : executables)
                paths << executable.path;
            return Outcome::failure(ExitStatus::Usage, tr("Several Korwind Navigators are on the device: choose one "
                                                          "with --exe PATH.\n%1").arg(paths.join(QLatin1Char('\n'))));
        }
        chosenPath = executables.first().path;
    }
    m_output.progress().startSearch(tr("Checking out Korwind Navigator executable file..."));
    const QString error = runDeviceTask([this, chosenPath] { m_devices->selectNavigatorExecutable(chosenPath); });
    if (!error.isEmpty())
        return failure(ExitStatus::Device, error);
    const auto found = std::find_if(executables.cbegin(), executables.cend(),
                                    [&](const KorwindExeInfo &executable) { return executable.path == chosenPath; });
    if (found != executables.cend()) {
        chosen = *found;
    } else {
        const DeviceInfo *device = m_devices->selectedDevice();
        chosen = checkedInstallation(m_devices->navigatorInstallation(), device ? device->name : QString());
    }
    return Outcome::success();
}

Outcome ServiceSession::changeFailure(const QString &error, const QStringList &roots) const
{
    const bool unplugged =
        std::any_of(roots.cbegin(), roots.cend(), [](const QString &root) { return !QFileInfo(root).isDir(); });
    if (unplugged && !m_cancelled)
        return Outcome::failure(ExitStatus::Device, error + QLatin1Char('\n') + tr("The device was unplugged."));
    return failure(ExitStatus::Installation, error);
}

Outcome ServiceSession::searchContents(bool create, QList<KorwindContentInfo> &contents)
{
    m_output.progress().startSearch(tr("Searching for the KorwindContent folders..."));
    const QMetaObject::Connection connection =
        connect(m_devices.get(), &AbstractDeviceServices::foundKorwindContents, this,
                [&contents](const QList<KorwindContentInfo> &found) { contents = found; });
    const QString error = runDeviceTask([this, create] { m_devices->searchContents(create); });
    disconnect(connection);
    return error.isEmpty() ? Outcome::success() : failure(ExitStatus::Device, error);
}

UpdateCheckError ServiceSession::checkNavigator(const DeviceInfo &device, const KorwindExeInfo &executable,
                                                QList<const ProductInfo *> &offered)
{
    m_output.progress().startSearch(tr("Searching for Korwind Navigator updates..."));
    const UpdateCheckError result =
        runCheck([&] { m_network->checkNavigatorUpdate(device, executable, QString()); });
    offered.clear();
    if (result.text().isEmpty()) {
        m_packages->foundInstalledKorwind(executable.version);
        m_packages->offeredNavigatorUpdates(offered);
    }
    return result;
}

UpdateCheckError ServiceSession::checkMaps(const DottedVersion &navigatorVersion)
{
    m_output.progress().startSearch(tr("Searching for map updates..."));
    return runCheck([&] { m_network->checkMapUpdates(navigatorVersion); });
}

QList<const MapDisplayInfo *> ServiceSession::presentMaps(const KorwindContentInfo &content,
                                                          QList<const MapDisplayInfo *> *installed)
{
    QList<const MapDisplayInfo *> entries;
    const QMetaObject::Connection connection =
        connect(m_packages.get(), &AbstractPackageServices::reportAvailableMaps, this,
                [&entries, installed](const QList<const MapDisplayInfo *> &topLevel,
                                      const QList<const MapDisplayInfo *> &existing) {
                    entries = topLevel;
                    if (installed)
                        *installed = existing;
                });
    m_packages->foundInstalledMaps(content.maps);
    m_packages->reportMaps();
    disconnect(connection);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        for (const MapDisplayInfo *child : entries.at(i)->children) {
            if (!entries.contains(child))
                entries.append(child);
        }
    }
    return entries;
}

Outcome ServiceSession::serverFailure(const UpdateCheckError &error) const
{
    return failure(ExitStatus::Server, error.text());
}

QString ServiceSession::runDeviceTask(const std::function<void()> &start)
{
    return std::get<0>(waitFor(m_devices.get(), qOverload<QString>(&AbstractDeviceServices::taskFinished), start));
}

bool ServiceSession::runDeviceChoice(const std::function<void()> &start)
{
    return std::get<0>(waitFor(m_devices.get(), qOverload<bool>(&AbstractDeviceServices::taskFinished), start));
}

std::pair<QString, bool> ServiceSession::runPreparation(const ProductInfo &package)
{
    const auto [text, critical] =
        waitFor(m_devices.get(), qOverload<QString, bool>(&AbstractDeviceServices::taskFinished),
                [&] { m_devices->checkPackage(package); });
    return {text, critical};
}

UpdateCheckError ServiceSession::runCheck(const std::function<void()> &start)
{
    return std::get<0>(
        waitFor(m_network.get(), qOverload<UpdateCheckError>(&AbstractNetworkServices::taskFinished), start));
}

QString ServiceSession::runDownload(const QList<PackageFile> &files)
{
    using Network = AbstractNetworkServices;
    ProgressPrinter &progress = m_output.progress();
    const auto stage = [&progress](const QString &text) { return [&progress, text] { progress.startStage(text); }; };
    const QList<QMetaObject::Connection> stages = {
        connect(m_network.get(), &Network::chunkDownloadStarted, this, stage(tr("Asking the server about the files"))),
        connect(m_network.get(), &Network::chunksProcessingStarted, this, stage(tr("Checking earlier downloads"))),
        connect(m_network.get(), &Network::updateDownloadStarted, this, stage(tr("Downloading"))),
        connect(m_network.get(), &Network::updateVerificationStarted, this, stage(tr("Verifying the downloads")))};
    const QString error = std::get<0>(
        waitFor(m_network.get(), qOverload<QString>(&Network::taskFinished), [&] { m_network->startDownload(files); }));
    for (const QMetaObject::Connection &connection : stages)
        disconnect(connection);
    return error;
}
