#include "devicemanager.h"

#include "activesyncdevicessearcher.h"
#include "devicesearcher.h"
#include "listeners.h"
#include "machineroots.h"
#include "midevicehandler.h"
#include "partialprogresslistener.h"
#include "programfolder.h"
#include "storagecarddevicessearcher.h"
#include "symbiandevicessearcher.h"

namespace vktpdl {

namespace {

// Search order: phones, storage devices, Windows CE devices.
std::vector<std::unique_ptr<DeviceSearcher>> standardSearchers(const std::function<QString()> &downloadsFolder)
{
    std::vector<std::unique_ptr<DeviceSearcher>> searchers;
    searchers.push_back(std::make_unique<SymbianDevicesSearcher>(PhoneLibraryConfiguration::fromEnvironment()));
    searchers.push_back(std::make_unique<StorageCardDevicesSearcher>(MachineRoots::fromEnvironment()));
    searchers.push_back(std::make_unique<ActiveSyncDevicesSearcher>(downloadsFolder, programFolder()));
    return searchers;
}

} // namespace

DeviceManager::DeviceManager(const std::function<QString()> &downloadsFolder)
    : DeviceManager(standardSearchers(downloadsFolder))
{
}

DeviceManager::DeviceManager(std::vector<std::unique_ptr<DeviceSearcher>> searchers)
    : m_searchers(std::move(searchers))
{
    for (const auto &searcher : m_searchers)
        searcher->initialize();
}

DeviceManager::~DeviceManager()
{
    clearDevices();
    for (auto &searcher : m_searchers) {
        searcher->shutdown();
        searcher.reset();
    }
}

int DeviceManager::searchDevices(vktcommon::ProgressListener *progress, vktcommon::ContinueListener *cont)
{
    if (progress)
        progress->setProgress(0);
    clearDevices();
    const int count = int(m_searchers.size());
    const int step = count > 0 ? 100 / count : 0;
    for (int i = 0; i < count; ++i) {
        vktcommon::PartialProgressListener partial(progress, i * step, (i + 1) * step);
        m_searchers[i]->search(*this, &partial, cont);
        if (vktcommon::stopRequested(cont)) {
            clearDevices();
            return 1;
        }
    }
    if (progress)
        progress->setProgress(100);
    return 0;
}

int DeviceManager::deviceCount() const
{
    return int(m_devices.size() + m_storageDevices.size());
}

DeviceHandler *DeviceManager::device(int index) const
{
    if (index < 0)
        return nullptr;
    if (index < int(m_devices.size()))
        return m_devices[index].get();
    return storageDevice(index);
}

MIDeviceHandler *DeviceManager::storageDevice(int index) const
{
    const int storageIndex = index - int(m_devices.size());
    if (storageIndex < 0 || storageIndex >= int(m_storageDevices.size()))
        return nullptr;
    return m_storageDevices[storageIndex].get();
}

void DeviceManager::clearDevices()
{
    m_devices.clear();
    m_storageDevices.clear();
}

void DeviceManager::deviceFound(std::unique_ptr<DeviceHandler> device)
{
    if (device)
        m_devices.push_back(std::move(device));
}

void DeviceManager::storageDeviceFound(std::unique_ptr<MIDeviceHandler> device)
{
    if (device)
        m_storageDevices.push_back(std::move(device));
}

} // namespace vktpdl
