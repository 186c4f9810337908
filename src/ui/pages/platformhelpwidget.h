#pragma once

#include "enums.h"

#include <QWidget>

#include <memory>

namespace Ui {
class PlatformHelpWidget;
}

// How to connect a device of one platform: a header and instructions.
class PlatformHelpWidget : public QWidget
{
    Q_OBJECT

public:
    explicit PlatformHelpWidget(QWidget *parent = nullptr);
    ~PlatformHelpWidget() override;

public Q_SLOTS:
    // A value outside PLATFORM_NAMES empties the page.
    void setPlatformHelpInfo(PLATFORM_NAMES _platform);

private:
    std::unique_ptr<Ui::PlatformHelpWidget> m_ui;
};
