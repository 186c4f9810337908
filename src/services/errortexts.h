#pragma once

#include <QString>

// The texts the user sees for the result codes of the device layer, the backups and the device search.
namespace ErrorTexts {

// DEVICE_ERROR codes; a code without a text gives "Unknown error.".
QString deviceError(int code);
// BACKUP_ERROR codes.
QString backupError(int code);
// Results of the device manager's search.
QString deviceSearchError(int code);

} // namespace ErrorTexts
