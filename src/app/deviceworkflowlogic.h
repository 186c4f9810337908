#pragma once

#include "basewindow.h"
#include "deviceinfo.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class MainWindow;

namespace Ui {
class BaseWindow;
}

// The part of the wizard that differs by kind of device: it finds and confirms the navigator
// installation (then emits done()) and answers the questions by which the main flow forks. Its
// pages are recorded in the window's history like the window's own.
class DeviceWorkflowLogic : public QObject
{
    Q_OBJECT

public:
    // The logic for a device kind (1 ActiveSync, 2 USB storage, 3 phone, 4 Android); null for others.
    static std::unique_ptr<DeviceWorkflowLogic> create(int deviceKind, MainWindow *window);

    explicit DeviceWorkflowLogic(MainWindow *window);

    virtual void start() = 0;
    // Maps can be read only after the device is reconnected as USB storage.
    virtual bool needsReconnectionBeforeReadingMaps() const = 0;
    // Maps can be installed only after that reconnection; the navigator update then runs by itself first.
    virtual bool needsReconnectionBeforeInstallingMaps() const = 0;
    // Navigator updates are chosen and installed here (else the user is told where to get them).
    virtual bool canChooseNavigatorUpdate() const = 0;
    virtual bool backsUpProgramWithMaps() const = 0;
    virtual bool preparesInstallation() const = 0;
    // Added to the navigator-update information page.
    virtual QString infoText() const;

Q_SIGNALS:
    void done();
    void unknownDevice();

protected:
    // The window's page services, for the logics' own pages. A recorded page of a logic that no longer
    // exists does nothing when entered.
    template <typename Logic>
    void recordState(Logic *logic, void (Logic::*page)(), int flags)
    {
        QPointer<Logic> guard(logic);
        recordWindowState([guard, page] {
            if (guard)
                (guard.data()->*page)();
        }, flags);
    }
    void showProgressPage(const QString &text, PROGRESS_TYPE type, BaseWindow::Action cancel);
    void showChoicePage(QWidget *page, BaseWindow::Action next, bool nextEnabled);
    void showRetryBackError(const QString &text);
    void cancelDevice();
    void cancelNetwork();
    DeviceInfo chosenDevice() const;

    MainWindow *const window;
    Ui::BaseWindow *const ui;
    AbstractDeviceServices *const deviceServices;
    AbstractNetworkServices *const networkServices;
    AbstractPackageServices *const packageServices;

private:
    void recordWindowState(BaseWindow::Action enter, int flags);
};
