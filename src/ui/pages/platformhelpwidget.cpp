#include "platformhelpwidget.h"

#include "ui_platformhelpwidget.h"

PlatformHelpWidget::PlatformHelpWidget(QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::PlatformHelpWidget>())
{
    m_ui->setupUi(this);
}

PlatformHelpWidget::~PlatformHelpWidget() = default;

void PlatformHelpWidget::setPlatformHelpInfo(PLATFORM_NAMES _platform)
{
    QString header;
    QString text;
    switch (_platform) {
    case PN_IPHONE:
        header = tr("Connection help for iOS devices");
        text = tr("You need to install the following software:\n\tiTunes\nInstall these programs and press \"Retry\".");
        break;
    case PN_PND:
        header = tr("Connection help for PND devices");
        text = tr("ActiveSync mode is not supported by PNDs.\nPlease switch your device to USB mode and press \"Retry\".");
        break;
    case PN_SYMBIAN:
        header = tr("Connection help for Symbian devices");
        text = tr("Please install Nokia PC Suite and press \"Retry\".");
        break;
    case PN_WINDOWS_MOBILE:
        header = tr("Connection help for Windows Mobile devices");
        text = tr("Please install Microsoft ActiveSync, switch your device to ActiveSync mode and press \"Retry\".");
        break;
    case PN_ANDROID:
        header = tr("Connection help for Android devices");
        text = tr("Please install USB driver specific for your device, switch to \"USB debugging mode\" and press "
                  "\"Retry\".");
        break;
    }
    m_ui->headerLabel->setText(header);
    m_ui->textLabel->setText(text);
}
