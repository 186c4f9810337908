#pragma once

#include "enums.h"

#include <QWidget>

#include <memory>

namespace Ui {
class DeviceNotFoundWidget;
}

// The notice that no device was found, with the search's error above it, and the platform
// buttons that lead to the connection help. "Help" opens the help for navigation devices (PND),
// the kind most users connect.
class DeviceNotFoundWidget : public QWidget
{
    Q_OBJECT

public:
    explicit DeviceNotFoundWidget(QWidget *parent = nullptr);
    ~DeviceNotFoundWidget() override;

    void setError(const QString &error);

Q_SIGNALS:
    void platformButtonClicked(PLATFORM_NAMES _platform);
    // Emitted whenever the page is shown, so that the window can flag its taskbar entry.
    void errorHappened(WId _hWinId);

public Q_SLOTS:
    void on_helpButton_clicked();

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Ui::DeviceNotFoundWidget> m_ui;
};
