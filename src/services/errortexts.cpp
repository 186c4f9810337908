#include "errortexts.h"

#include "backuperror.h"
#include "deviceerror.h"

#include <QCoreApplication>

namespace ErrorTexts {

namespace {

QString unknownError()
{
    return QCoreApplication::translate("DeviceServices", "Unknown error.");
}

} // namespace

QString deviceError(int code)
{
    using namespace vktpdl;
    switch (code) {
    case DE_NOT_CONNECTED:
        return QCoreApplication::translate("DeviceServices", "Failed to connect to ActiveSync.");
    case DE_WAIT_ERROR:
        return QCoreApplication::translate("DeviceServices", "Error waiting response from mobile device.");
    case DE_WAIT_TIMEOUT:
        return QCoreApplication::translate("DeviceServices", "Time for waiting response from mobile device is out.");
    case DE_MODULE_NOT_INSTALLED:
        return QCoreApplication::translate("DeviceServices", "Need to install module for Korwin Navigator update center on your device.");
    case DE_NOT_NAVIGATOR_EXECUTABLE:
        return QCoreApplication::translate("DeviceServices", "File you've chosen is not a valid Korwind Navigator executable.");
    case DE_WRONG_REPLY:
        return QCoreApplication::translate("DeviceServices", "Wrong device response. Please, install new version of Korwind Navigator update center.");
    case DE_NO_DEVICES:
        return QCoreApplication::translate("DeviceServices", "No devices with Korwind Navigator presented on current system.\n"
                  "Please connect device with Korwind Navigator to your PC and click \"Retry\".");
    case DE_NAVIGATOR_NOT_FOUND:
        return QCoreApplication::translate("DeviceServices", "Korwind Navigator was not found on your device.");
    case DE_TRANSFER_ERROR:
    case DE_TRANSFER_ERROR_2:
        return QCoreApplication::translate("DeviceServices", "File transfer error. Check if the device is connected and it has enough free space on the flash card.");
    case DE_DELETE_ERROR:
        return QCoreApplication::translate("DeviceServices", "Some files cannot be deleted");
    case DE_INSTALLATION_FAILED:
        return QCoreApplication::translate("DeviceServices", "Installation failed.");
    case DE_TRANSPORT_ERROR:
    case DE_NOT_SUPPORTED:
        return QCoreApplication::translate("DeviceServices", "Internal application error.");
    case DE_CANCELLED:
        return QCoreApplication::translate("DeviceServices", "Last operation was cancelled.");
    case DE_INSTALL_FILES_NOT_WRITTEN:
        return QCoreApplication::translate("DeviceServices", "Error: Can't create ini file. Check if you can write to the application directory.");
    case DE_APP_MANAGER_NOT_INSTALLED:
        return QCoreApplication::translate("DeviceServices", "Error: CeAppMgr is not installed.");
    case DE_APP_MANAGER_NOT_RUN:
        return QCoreApplication::translate("DeviceServices", "Error: Can not run CeAppMgr. Check if it's installed correctly.");
    case DE_CANNOT_CREATE_FOLDER:
        return QCoreApplication::translate("DeviceServices", "Cannot create folder on the device. Make sure that flash card is mounted with write access.");
    case DE_NOT_ENOUGH_SPACE:
        return QCoreApplication::translate("DeviceServices", "Not enough free space on device.");
    case DE_MODULE_TOO_OLD:
        return QCoreApplication::translate("DeviceServices", "You need to install newer version of module for Korwin Navigator update center on your device.");
    case DE_DOWNLOAD_DAMAGED:
        return QCoreApplication::translate("DeviceServices", "A downloaded map file is damaged and was not installed; "
                                                             "it has been removed.\nPlease download the maps again.");
    case DE_READ_BACK_MISMATCH:
        return QCoreApplication::translate("DeviceServices", "The device gave back other data than was written to it: "
                                                             "its memory card is failing, or holds less than it claims.\n"
                                                             "The update was stopped; it can be finished on a sound card.");
    case DE_PACKAGE_MAY_BE_INCOMPATIBLE:
        return QCoreApplication::translate("DeviceServices", "Installation package chosen may not be compatible with your device.\n"
                  "Updating without backup may result in data loss.");
    default:
        return unknownError();
    }
}

QString backupError(int code)
{
    switch (code) {
    case BE_PC_FAILED:
        return QCoreApplication::translate("DeviceServices", "Cannot write on a hard drive.");
    case BE_DEVICE_FAILED:
        return QCoreApplication::translate("DeviceServices", "Device operation error.");
    case BE_CANCELLED:
        return QCoreApplication::translate("DeviceServices", "Operation was cancelled by user.");
    case BE_CACHE_FILES_MISSING:
        return QCoreApplication::translate("DeviceServices", "Some files needed for backup restoration are missing.");
    case BE_NOT_RESTORABLE:
        return QCoreApplication::translate("DeviceServices", "Backup cannot be restored on that device.");
    case BE_BACKUPS_FOLDER_COVERED:
        return QCoreApplication::translate("DeviceServices",
                                           "The backups folder lies inside a folder that is backed up, so restoring "
                                           "would delete the backups themselves.\nPlease choose a backups folder "
                                           "outside the device in the settings.");
    default:
        return unknownError();
    }
}

QString deviceSearchError(int code)
{
    return code == 1 ? QCoreApplication::translate("DeviceServices", "Device search operation was cancelled by user") : unknownError();
}

} // namespace ErrorTexts
