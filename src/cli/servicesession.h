#pragma once

#include "commandlineoptions.h"
#include "exitstatus.h"
#include "interruptnotifier.h"
#include "output.h"

#include "abstractdeviceservices.h"
#include "abstractnetworkservices.h"
#include "abstractpackageservices.h"

#include <QEventLoop>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <tuple>

// The wizard's three services, set up from the user's settings and the command line, and the steps
// that every command of korwind-update shares. Each step starts one service operation and waits in a
// local event loop for the signal that ends it, so that a command reads from top to bottom. Ctrl-C
// cancels the running operation through its service, as the wizard's Cancel button does, and keeps
// any later step from starting.
class ServiceSession final : public QObject
{
    Q_OBJECT

public:
    ServiceSession(const CommandLineOptions &options, const QString &languageName, Output &output);
    ~ServiceSession() override;

    AbstractDeviceServices &devices() { return *m_devices; }
    AbstractNetworkServices &network() { return *m_network; }
    AbstractPackageServices &packages() { return *m_packages; }
    Output &output() { return m_output; }

    QString downloadsFolder() const;
    QString backupsFolder() const;
    bool cancelled() const { return m_cancelled; }
    // The outcome of a step that failed with this text: Cancelled after Ctrl-C, else the given status.
    Outcome failure(ExitStatus status, const QString &text) const;

    // The devices found; an empty list with the search's text when none can be used.
    Outcome searchDevices(QList<DeviceInfo> &devices);
    // What a command needs of its device: any kind, USB storage, or USB storage that can be changed
    // (connected properly and writable).
    enum class DeviceUse { AnyKind, Storage, Changes };
    // Searches the devices and selects the one numbered `number` (counted from 1; 0: the only one).
    Outcome selectDevice(int number, DeviceUse use, DeviceInfo &device);
    // The selected device's navigator executables and its roots (the mount points of its volumes).
    Outcome findNavigators(QList<KorwindExeInfo> &executables, QStringList &roots);
    // Selects the navigator: the executable at path (also one the search did not find), else the only
    // one found. chosen describes it as the navigator update check wants it.
    Outcome selectNavigator(const QList<KorwindExeInfo> &executables, const QString &path, KorwindExeInfo &chosen);
    // A failed change of the device: Device when one of its roots is gone (it was unplugged),
    // else Installation.
    Outcome changeFailure(const QString &error, const QStringList &roots) const;
    // The selected device's content folders; with create, the folder is made on every writable root.
    Outcome searchContents(bool create, QList<KorwindContentInfo> &contents);

    // Asks the server for navigator updates of the executable; offered: those newer than it.
    UpdateCheckError checkNavigator(const DeviceInfo &device, const KorwindExeInfo &executable,
                                    QList<const ProductInfo *> &offered);
    // Asks the server for the maps of a navigator version; the package services keep them.
    UpdateCheckError checkMaps(const DottedVersion &navigatorVersion);
    // The offered maps as the package services present them against the folder's installed maps: every
    // entry of the tree, top level first, then the maps grouped under them. installed, when given, gets
    // the installed maps' entries, damaged as the offers show them. Valid until the next check.
    QList<const MapDisplayInfo *> presentMaps(const KorwindContentInfo &content,
                                              QList<const MapDisplayInfo *> *installed = nullptr);
    // A failed server question as a failure of the command.
    Outcome serverFailure(const UpdateCheckError &error) const;

    // One device operation ending with taskFinished(QString); its text (empty: success).
    QString runDeviceTask(const std::function<void()> &start);
    bool runDeviceChoice(const std::function<void()> &start);
    // The package check of the navigator update: the warning or error text and whether it is critical.
    std::pair<QString, bool> runPreparation(const ProductInfo &package);
    UpdateCheckError runCheck(const std::function<void()> &start);
    // Downloads the files into the downloads folder, showing the download's stages; the error text.
    QString runDownload(const QList<PackageFile> &files);

private:
    template <typename Sender, typename... Args>
    std::tuple<std::decay_t<Args>...> waitFor(Sender *sender, void (Sender::*signal)(Args...),
                                              const std::function<void()> &start);
    void cancel();

    const CommandLineOptions &m_options;
    Output &m_output;
    InterruptNotifier m_interrupts;
    std::unique_ptr<AbstractDeviceServices> m_devices;
    std::unique_ptr<AbstractNetworkServices> m_network;
    std::unique_ptr<AbstractPackageServices> m_packages;
    bool m_cancelled = false;
};

template <typename Sender, typename... Args>
std::tuple<std::decay_t<Args>...> ServiceSession::waitFor(Sender *sender, void (Sender::*signal)(Args...),
                                                          const std::function<void()> &start)
{
    std::optional<std::tuple<std::decay_t<Args>...>> result;
    QEventLoop loop;
    const QMetaObject::Connection connection = connect(sender, signal, &loop, [&](Args... values) {
        result.emplace(values...);
        loop.quit();
    });
    start();
    if (!result)
        loop.exec();
    disconnect(connection);
    return *result;
}
