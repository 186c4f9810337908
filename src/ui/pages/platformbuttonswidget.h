#pragma once

#include "enums.h"

#include <QWidget>

#include <memory>

namespace Ui {
class PlatformButtonsWidget;
}

// A row of buttons, one per device platform, each asking for that platform's connection help.
class PlatformButtonsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit PlatformButtonsWidget(QWidget *parent = nullptr);
    ~PlatformButtonsWidget() override;

Q_SIGNALS:
    void platformButtonClicked(PLATFORM_NAMES _platform);

public Q_SLOTS:
    void on_IPhoneButton_clicked();
    void on_PNDButton_clicked();
    void on_SymbianButton_clicked();
    void on_WinMobileButton_clicked();
    void on_AndroidButton_clicked();

private:
    std::unique_ptr<Ui::PlatformButtonsWidget> m_ui;
};
