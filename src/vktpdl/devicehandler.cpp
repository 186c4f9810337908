#include "devicehandler.h"

namespace vktpdl {

int DeviceHandler::getNavigatorInfo(NavigatorInfo &, vktcommon::ProgressListener *, vktcommon::ContinueListener *)
{
    return DE_NOT_SUPPORTED;
}

int DeviceHandler::checkModule(bool &mustInstall)
{
    mustInstall = false;
    return DE_NO_ERROR;
}

int DeviceHandler::installModule(vktcommon::ProgressListener *, vktcommon::ContinueListener *)
{
    return DE_NO_ERROR;
}

int DeviceHandler::checkPackage(const QString &, qint64, vktcommon::ProgressListener *, vktcommon::ContinueListener *)
{
    return DE_NO_ERROR;
}

int DeviceHandler::describeStorage(const QString &root, StorageInfo &storage)
{
    storage = StorageInfo();
    storage.root = root;
    quint64 bytes = 0;
    if (freeSpace(root, bytes) == DE_NO_ERROR)
        storage.freeBytes = qint64(bytes);
    return DE_NO_ERROR;
}

QString DeviceHandler::navigatorDataPath()
{
    return QString();
}

int DeviceHandler::findNavigators(vktcommon::ProgressListener *, vktcommon::ContinueListener *)
{
    return DE_NO_ERROR;
}

} // namespace vktpdl
