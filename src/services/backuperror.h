#pragma once

// Result of every backup operation; the device services turn each code into the text the user sees.
enum BACKUP_ERROR : int {
    BE_NO_ERROR = 0,
    BE_PC_FAILED = 1,            // a write, rename or delete on the PC failed
    BE_DEVICE_FAILED = 2,        // a device operation failed
    BE_CANCELLED = 3,            // the continue listener answered false
    BE_CACHE_FILES_MISSING = 4,  // files the restoration needs are missing from the file cache
    BE_NOT_RESTORABLE = 5,       // the backup's volumes are not on this device
    BE_BACKUPS_FOLDER_COVERED = 6 // the backups folder lies inside (or holds) a folder the backup covers
};
