#include "symbiandevicessearcher.h"

#include "devicesearchlistener.h"
#include "listeners.h"
#include "phoneconnectivitylibrary.h"
#include "symbiandevicehandler.h"

#include <QtMath>

#include <vector>

namespace vktpdl {

SymbianDevicesSearcher::SymbianDevicesSearcher(const PhoneLibraryConfiguration &configuration)
    : m_library(std::make_shared<PhoneConnectivityLibrary>(configuration))
{
}

SymbianDevicesSearcher::~SymbianDevicesSearcher() = default;

void SymbianDevicesSearcher::initialize()
{
    m_deviceManagement = m_library->initialize(PhoneConnectivityLibrary::DeviceManagement) == PCL_OK;
    if (!m_deviceManagement)
        return;
    m_fileSystem = m_library->initialize(PhoneConnectivityLibrary::FileSystem) == PCL_OK;
    if (!m_fileSystem) {
        m_library->terminate(PhoneConnectivityLibrary::DeviceManagement);
        m_deviceManagement = false;
    }
}

void SymbianDevicesSearcher::search(DeviceSearchListener &listener, vktcommon::ProgressListener *progress,
                                    vktcommon::ContinueListener *cont)
{
    PclHandle deviceManagement = 0;
    if (!m_fileSystem || m_library->openDeviceManagement(deviceManagement) != PCL_OK) {
        vktcommon::reportProgress(progress, 100);
        return;
    }
    quint32 count = 0;
    if (m_library->getDeviceCount(deviceManagement, count) != PCL_OK)
        count = 0;
    std::vector<PclDevice> devices(count, PclDevice{nullptr, nullptr, nullptr});
    quint32 listed = count;
    if (count > 0 && m_library->getDevices(deviceManagement, listed, devices.data()) != PCL_OK)
        listed = 0;

    const double step = 100.0 / (count + 2);
    double done = step;
    bool cancelled = vktcommon::stopRequested(cont);
    if (!cancelled) {
        vktcommon::reportProgress(progress, qRound(done));
        for (quint32 i = 0; i < listed; ++i) {
            const QString serialNumber = PhoneConnectivityLibrary::text(devices[i].serialNumber);
            DeviceDescription description;
            description.name = PhoneConnectivityLibrary::text(devices[i].friendlyName);
            description.secondName = PhoneConnectivityLibrary::text(devices[i].model);
            if (!serialNumber.isEmpty() && !description.name.isEmpty() && !description.secondName.isEmpty()) {
                listener.deviceFound(std::make_unique<SymbianDeviceHandler>(m_library, serialNumber, description));
                if (vktcommon::stopRequested(cont)) {
                    cancelled = true;
                    break;
                }
            }
            done += step;
            vktcommon::reportProgress(progress, qRound(done));
        }
    }
    if (listed > 0)
        m_library->freeDevices(listed, devices.data());
    m_library->closeDeviceManagement(deviceManagement);
    if (!cancelled)
        vktcommon::reportProgress(progress, qRound(done + step));
}

void SymbianDevicesSearcher::shutdown()
{
    if (m_fileSystem)
        m_library->terminate(PhoneConnectivityLibrary::FileSystem);
    if (m_deviceManagement)
        m_library->terminate(PhoneConnectivityLibrary::DeviceManagement);
    m_fileSystem = m_deviceManagement = false;
}

} // namespace vktpdl
