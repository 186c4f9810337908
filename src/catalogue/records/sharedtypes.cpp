#include "sharedtypes.h"

#include "backupinfo.h"
#include "deviceinfo.h"
#include "enums.h"
#include "fileexistingchecker.h"
#include "korwindcontentinfo.h"
#include "korwindexeinfo.h"
#include "mapdisplayinfo.h"
#include "transferstatusinfo.h"
#include "updatecheckerror.h"

#include <QByteArray>
#include <QNetworkProxy>
#include <QVector>

QString packageStateIcon(int state, bool enabled)
{
    static const char *const names[] = {
        "New_available", "New_installation", "Some_selected_02", "Update_delete", "Update_available",
        "Update_delete", "Update_update_02", "UptoDate_actual", "Update_delete", "Damaged", "Damaged_reinstall"};
    if (state < 0 || state >= int(sizeof(names) / sizeof(names[0])))
        return QString();
    return QStringLiteral(":/resources/") + QLatin1String(names[state])
           + (enabled ? QString() : QStringLiteral("_disabled")) + QStringLiteral(".png");
}

void registerSharedTypes()
{
    qRegisterMetaType<QList<DeviceInfo>>("QList<DeviceInfo>");
    qRegisterMetaType<QList<KorwindExeInfo>>("QList<KorwindExeInfo>");
    qRegisterMetaType<QList<QString>>("QList<QString>");
    qRegisterMetaType<QList<KorwindContentInfo>>("QList<KorwindContentInfo>");
    qRegisterMetaType<QList<BackupInfo>>("QList<BackupInfo>");
    qRegisterMetaType<QList<ProductInfo>>("QList<ProductInfo>");
    qRegisterMetaType<QList<MapInfo>>("QList<MapInfo>");
    qRegisterMetaType<QList<const ProductInfo *>>("QList<const ProductInfo*>");
    qRegisterMetaType<QList<const MapDisplayInfo *>>("QList<const MapDisplayInfo*>");
    qRegisterMetaType<ProductInfo>("ProductInfo");
    qRegisterMetaType<NETWORK_ERROR_CODE>("NETWORK_ERROR_CODE");
    qRegisterMetaType<QVector<QByteArray>>("QVector<QByteArray>");
    qRegisterMetaType<TransferStatusInfo>("TransferStatusInfo");
    qRegisterMetaType<UpdateCheckError>("UpdateCheckError");
    qRegisterMetaType<QNetworkProxy>("QNetworkProxy");
    qRegisterMetaType<SERVER_REPLY_STATUS_CODE>("SERVER_REPLY_STATUS_CODE");

    // Further records that cross threads in signals of the services.
    qRegisterMetaType<DeviceInfo>("DeviceInfo");
    qRegisterMetaType<KorwindContentInfo>("KorwindContentInfo");
    qRegisterMetaType<MapInfo>("MapInfo");
    qRegisterMetaType<DottedVersion>("DottedVersion");
    qRegisterMetaType<PACKAGE_STATE>("PACKAGE_STATE");
    qRegisterMetaType<FileExistingChecker *>("FileExistingChecker*");
    qRegisterMetaType<const MapDisplayInfo *>("const MapDisplayInfo*");
}
