#pragma once

#include "devicesearcher.h"

#include <QString>

#include <functional>
#include <memory>

class RemoteApi;

namespace vktpdl {

// Finds the Windows CE device that the desktop's sync software connects, through its remote API. Where the
// machine has none, nothing is found.
class ActiveSyncDevicesSearcher final : public DeviceSearcher
{
public:
    // downloadsFolder and programFolder are handed to the device (ActiveSyncDevice).
    ActiveSyncDevicesSearcher(std::function<QString()> downloadsFolder, const QString &programFolder);
    ~ActiveSyncDevicesSearcher() override;

    // Takes the machine's remote API; it stays until shutdown.
    void initialize() override;
    // Connects the device and reports it when it answered; fills its progress range when done.
    void search(DeviceSearchListener &listener, vktcommon::ProgressListener *progress,
                vktcommon::ContinueListener *cont) override;
    void shutdown() override;

private:
    std::function<QString()> m_downloadsFolder;
    QString m_programFolder;
    std::unique_ptr<RemoteApi> m_remoteApi;
};

} // namespace vktpdl
