#include "devicenotfoundwidget.h"

#include "ui_devicenotfoundwidget.h"

DeviceNotFoundWidget::DeviceNotFoundWidget(QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::DeviceNotFoundWidget>())
{
    m_ui->setupUi(this);
    setError(QString());
    connect(m_ui->platformButtons, &PlatformButtonsWidget::platformButtonClicked, this,
            &DeviceNotFoundWidget::platformButtonClicked);
}

DeviceNotFoundWidget::~DeviceNotFoundWidget() = default;

void DeviceNotFoundWidget::setError(const QString &error)
{
    const QString notice = tr("No devices were found.\nPerhaps, device is connected in a wrong way, or you may "
                              "need some extra software installation.");
    m_ui->warningFrame->setText(error.isEmpty() ? notice : error + QStringLiteral("\n\n") + notice);
}

void DeviceNotFoundWidget::on_helpButton_clicked()
{
    emit platformButtonClicked(PN_PND);
}

void DeviceNotFoundWidget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    emit errorHappened(window()->winId());
}
