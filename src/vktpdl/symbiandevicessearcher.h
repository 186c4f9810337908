#pragma once

#include "devicesearcher.h"
#include "phonelibraryconfiguration.h"

#include <memory>

class PhoneConnectivityLibrary;

namespace vktpdl {

// Finds the Symbian phones that the phone connectivity library sees. Without the library (or with one
// that does not initialise) no phone is found.
class SymbianDevicesSearcher final : public DeviceSearcher
{
public:
    explicit SymbianDevicesSearcher(const PhoneLibraryConfiguration &configuration);
    ~SymbianDevicesSearcher() override;

    // Initialises the library's device management and file system parts; usable only when both start.
    void initialize() override;
    // A phone is reported when the library gives its serial number, friendly name and model. Progress goes
    // in steps of 100 / (phones + 2) and reaches 100 unless the search is cancelled.
    void search(DeviceSearchListener &listener, vktcommon::ProgressListener *progress,
                vktcommon::ContinueListener *cont) override;
    void shutdown() override;

private:
    std::shared_ptr<PhoneConnectivityLibrary> m_library;
    bool m_deviceManagement = false;
    bool m_fileSystem = false;
};

} // namespace vktpdl
