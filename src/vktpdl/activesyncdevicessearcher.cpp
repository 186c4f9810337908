#include "activesyncdevicessearcher.h"

#include "activesyncdevice.h"
#include "devicesearchlistener.h"
#include "remoteapi.h"

namespace vktpdl {

ActiveSyncDevicesSearcher::ActiveSyncDevicesSearcher(std::function<QString()> downloadsFolder,
                                                     const QString &programFolder)
    : m_downloadsFolder(std::move(downloadsFolder)), m_programFolder(programFolder)
{
}

ActiveSyncDevicesSearcher::~ActiveSyncDevicesSearcher() = default;

void ActiveSyncDevicesSearcher::initialize()
{
    if (!m_remoteApi)
        m_remoteApi = RemoteApi::fromEnvironment();
}

void ActiveSyncDevicesSearcher::search(DeviceSearchListener &listener, vktcommon::ProgressListener *progress,
                                       vktcommon::ContinueListener *cont)
{
    if (m_remoteApi) {
        auto device = std::make_unique<ActiveSyncDevice>(*m_remoteApi, m_downloadsFolder, m_programFolder);
        if (device->connect(progress, cont) == DE_NO_ERROR)
            listener.deviceFound(std::move(device));
    }
    vktcommon::reportProgress(progress, 100);
}

void ActiveSyncDevicesSearcher::shutdown()
{
    m_remoteApi.reset();
}

} // namespace vktpdl
