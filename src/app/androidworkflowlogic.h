#pragma once

#include "deviceworkflowlogic.h"

// Android devices (and phones): the device services find the navigator by themselves; maps are read
// and installed only after the device is reconnected as USB storage, and the navigator is updated
// from the device's own application market.
class AndroidWorkflowLogic : public DeviceWorkflowLogic
{
    Q_OBJECT

public:
    using DeviceWorkflowLogic::DeviceWorkflowLogic;

    void start() override;
    bool needsReconnectionBeforeReadingMaps() const override { return true; }
    bool needsReconnectionBeforeInstallingMaps() const override { return true; }
    bool canChooseNavigatorUpdate() const override { return false; }
    bool backsUpProgramWithMaps() const override { return false; }
    bool preparesInstallation() const override { return false; }
    QString infoText() const override;

private Q_SLOTS:
    void _showKorwindSearchPage();
    void _onKorwindSearchFinished(QString _strError);
};

// Windows CE and Windows Mobile devices: found like Android devices; maps can be read over the
// remote connection but installed only as USB storage; the navigator is updated by this program.
class ActiveSyncWorkflowLogic final : public AndroidWorkflowLogic
{
    Q_OBJECT

public:
    using AndroidWorkflowLogic::AndroidWorkflowLogic;

    bool needsReconnectionBeforeReadingMaps() const override { return false; }
    bool canChooseNavigatorUpdate() const override { return true; }
};
