#include "androidworkflowlogic.h"

#include "abstractdeviceservices.h"
#include "onlyreceiver.h"

void AndroidWorkflowLogic::start()
{
    _showKorwindSearchPage();
}

QString AndroidWorkflowLogic::infoText() const
{
    return tr("Visit market to download it.");
}

void AndroidWorkflowLogic::_showKorwindSearchPage()
{
    recordState(this, &AndroidWorkflowLogic::_showKorwindSearchPage, PageState::Unstable);
    showProgressPage(tr("Searching for Korwind Navigator installed..."), PT_BUSY, [this] { cancelDevice(); });
    connectAsOnlyReceiver(deviceServices, qOverload<QString>(&AbstractDeviceServices::taskFinished), this, &AndroidWorkflowLogic::_onKorwindSearchFinished);
    deviceServices->findNavigator();
}

void AndroidWorkflowLogic::_onKorwindSearchFinished(QString _strError)
{
    if (_strError.isEmpty())
        Q_EMIT done();
    else
        showRetryBackError(_strError);
}
