#pragma once

namespace vktpdl {

// Result of every device-layer, content and installation operation; the device services turn
// each code into the text the user sees.
enum DEVICE_ERROR : int {
    DE_NO_ERROR = 0,
    DE_NOT_CONNECTED = 1,              // no ActiveSync connection, or its remote API did not start
    DE_WAIT_ERROR = 2,                 // waiting for the device failed, or a call into its module failed
    DE_WAIT_TIMEOUT = 3,               // the device did not answer in time
    DE_MODULE_NOT_INSTALLED = 4,       // the device-side module is missing
    DE_NOT_NAVIGATOR_EXECUTABLE = 5,   // the file is not a valid navigator executable
    DE_WRONG_REPLY = 6,                // unreadable reply, file not opened or read, free space unknown
    DE_NO_DEVICES = 7,
    DE_NAVIGATOR_NOT_FOUND = 8,
    DE_TRANSFER_ERROR = 11,
    DE_TRANSFER_ERROR_2 = 12,          // a second transfer code with the same user text
    DE_DELETE_ERROR = 13,              // a file or folder could not be deleted
    DE_INSTALLATION_FAILED = 14,
    DE_TRANSPORT_ERROR = 15,           // internal error of a device transport
    DE_CANCELLED = 16,                 // the continue listener answered false
    DE_INSTALL_FILES_NOT_WRITTEN = 17, // the installation description file or the module cab
    DE_APP_MANAGER_NOT_INSTALLED = 18, // the Windows CE application manager
    DE_APP_MANAGER_NOT_RUN = 19,
    DE_NOT_SUPPORTED = 20,             // not supported by this device, or no such item
    DE_CANNOT_CREATE_FOLDER = 21,
    DE_NOT_ENOUGH_SPACE = 22,
    DE_MODULE_TOO_OLD = 23,
    DE_PACKAGE_MAY_BE_INCOMPATIBLE = 24,
    DE_DOWNLOAD_DAMAGED = 25,          // a downloaded file's digest is not its record's (installation)
    DE_READ_BACK_MISMATCH = 26         // the device gave back other bytes than were written to it
};

} // namespace vktpdl
