#include "platformbuttonswidget.h"

#include "ui_platformbuttonswidget.h"

PlatformButtonsWidget::PlatformButtonsWidget(QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::PlatformButtonsWidget>())
{
    m_ui->setupUi(this);
}

PlatformButtonsWidget::~PlatformButtonsWidget() = default;

void PlatformButtonsWidget::on_IPhoneButton_clicked()
{
    emit platformButtonClicked(PN_IPHONE);
}

void PlatformButtonsWidget::on_PNDButton_clicked()
{
    emit platformButtonClicked(PN_PND);
}

void PlatformButtonsWidget::on_SymbianButton_clicked()
{
    emit platformButtonClicked(PN_SYMBIAN);
}

void PlatformButtonsWidget::on_WinMobileButton_clicked()
{
    emit platformButtonClicked(PN_WINDOWS_MOBILE);
}

void PlatformButtonsWidget::on_AndroidButton_clicked()
{
    emit platformButtonClicked(PN_ANDROID);
}
