#include "deviceworkflowlogic.h"

#include "abstractdeviceservices.h"
#include "abstractnetworkservices.h"
#include "androidworkflowlogic.h"
#include "mainwindow.h"
#include "pndworkflowlogic.h"

std::unique_ptr<DeviceWorkflowLogic> DeviceWorkflowLogic::create(int deviceKind, MainWindow *window)
{
    switch (deviceKind) {
    case DeviceInfo::ActiveSync:
        return std::make_unique<ActiveSyncWorkflowLogic>(window);
    case DeviceInfo::Storage:
        return std::make_unique<PNDWorkflowLogic>(window);
    case DeviceInfo::Symbian:
    case DeviceInfo::Android:
        return std::make_unique<AndroidWorkflowLogic>(window);
    default:
        return nullptr;
    }
}

DeviceWorkflowLogic::DeviceWorkflowLogic(MainWindow *window)
    : window(window),
      ui(window->ui),
      deviceServices(window->deviceServices),
      networkServices(window->networkServices),
      packageServices(window->packageServices)
{
}

QString DeviceWorkflowLogic::infoText() const
{
    return QString();
}

void DeviceWorkflowLogic::recordWindowState(BaseWindow::Action enter, int flags)
{
    window->recordState(std::move(enter), flags);
}

void DeviceWorkflowLogic::showProgressPage(const QString &text, PROGRESS_TYPE type, BaseWindow::Action cancel)
{
    window->showProgressPage(text, type, std::move(cancel));
}

void DeviceWorkflowLogic::showChoicePage(QWidget *page, BaseWindow::Action next, bool nextEnabled)
{
    window->showChoicePage(page, MainWindow::tr("Back"), [this] { window->showPreviousStableState(); },
                           MainWindow::tr("Next"), std::move(next), nextEnabled);
}

void DeviceWorkflowLogic::showRetryBackError(const QString &text)
{
    window->showRetryBackError(text);
}

void DeviceWorkflowLogic::cancelDevice()
{
    deviceServices->cancelDeviceOperation();
}

void DeviceWorkflowLogic::cancelNetwork()
{
    networkServices->cancelNetworkOperation();
}

DeviceInfo DeviceWorkflowLogic::chosenDevice() const
{
    return window->chosenDevice();
}
