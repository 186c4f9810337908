#pragma once

#include <QMetaType>
#include <QString>

// State of a map in the selection tree.
enum PACKAGE_STATE : int {
    PS_NEW_AVAILABLE = 0,
    PS_NEW_INSTALLATION = 1,
    PS_GROUP_PARTLY_SELECTED = 2,
    PS_INSTALLED_DELETE = 3,
    PS_UPDATE_AVAILABLE = 4,
    PS_UPDATE_DELETE = 5,
    PS_UPDATE_UPDATE = 6,
    PS_UP_TO_DATE = 7,
    PS_UP_TO_DATE_DELETE = 8,
    // Shown by the tree only, never reported by the services: an installed map whose file is damaged,
    // left as it is or chosen to be installed again.
    PS_DAMAGED = 9,
    PS_DAMAGED_REINSTALL = 10
};

// Resource path of the icon for a state, "" for a value that has none.
QString packageStateIcon(int state, bool enabled);

// Platform help buttons of the device-not-found page.
enum PLATFORM_NAMES : int {
    PN_IPHONE = 1,
    PN_PND = 2,
    PN_SYMBIAN = 3,
    PN_WINDOWS_MOBILE = 4,
    PN_ANDROID = 5
};

enum PROGRESS_TYPE : int {
    PT_PERCENT = 0,
    PT_BUSY = 1
};

enum BACKUP_TYPE : int {
    BT_PROGRAM_AND_MAPS = 0,
    BT_MAPS_ONLY = 1
};

enum STATE_TAG : int {
    ST_UNTAGGED = 0,
    ST_NAVIGATOR_UPDATE_SELECTION = 1
};

// Results of the server client and of downloads.
enum NETWORK_ERROR_CODE : int {
    NEC_NO_ERROR = 0,
    NEC_NO_FILE_NAME = 1,
    NEC_CANNOT_CREATE_FILE = 2,
    NEC_CANNOT_OPEN_FILE = 3,
    NEC_CANNOT_WRITE = 4,
    NEC_CANCELLED = 5,
    NEC_DOWNLOAD_ERROR = 6,
    NEC_CANNOT_RENAME = 7,
    NEC_CONNECTION_ERROR = 8,
    NEC_CONTENT_ERROR = 9
};

// Status reported by the update server, already mapped per question; the values 1..6
// are passed on to the wizard, which tells 3 and 4 apart.
enum SERVER_REPLY_STATUS_CODE : int {
    SRS_UNKNOWN = -1,
    SRS_OK = 0,
    SRS_STATUS_1 = 1,
    SRS_STATUS_2 = 2,
    SRS_STATUS_3 = 3,
    SRS_STATUS_4 = 4,
    SRS_STATUS_5 = 5,
    SRS_STATUS_6 = 6
};

Q_DECLARE_METATYPE(PACKAGE_STATE)
Q_DECLARE_METATYPE(NETWORK_ERROR_CODE)
Q_DECLARE_METATYPE(SERVER_REPLY_STATUS_CODE)
