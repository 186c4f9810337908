#pragma once

#include "deviceinfo.h"
#include "dottedversion.h"
#include "korwindexeinfo.h"
#include "mapinfo.h"
#include "packagefile.h"
#include "productinfo.h"
#include "transferstatusinfo.h"
#include "updatecheckerror.h"

#include <QList>
#include <QObject>
#include <QString>

// The update server as the wizard sees it: three questions and the download of chosen files.
class AbstractNetworkServices : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Takes over changed connection settings; the wizard calls it with two empty texts after saving them.
    virtual void setProxyCredentials(const QString &_strUser, const QString &_strPassword) = 0;

public Q_SLOTS:
    virtual void cancelNetworkOperation() = 0;

public:
    virtual void checkSelfUpdate() = 0;
    virtual void checkNavigatorUpdate(const DeviceInfo &_device, const KorwindExeInfo &_installation,
                                      const QString &_strReport) = 0;
    virtual void checkMapUpdates(const DottedVersion &_navigatorVersion) = 0;
    virtual void startDownload(const QList<PackageFile> &_files) = 0;

Q_SIGNALS:
    void showProgress(int _nPercent);
    void taskFinished(QString _strError);
    void taskFinished(UpdateCheckError _error);
    void updateFound(ProductInfo _selfUpdateInfo);
    void updateFound(QList<ProductInfo> _korwindUpdatesInfo);
    void updateFound(QList<MapInfo> _mapUpdatesInfo);
    void chunkDownloadStarted();
    void chunksProcessingStarted();
    void updateDownloadStarted();
    void updateVerificationStarted();
    void downloadStatusUpdate(TransferStatusInfo _info);
};
