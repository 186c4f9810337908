#include "sendinfowidget.h"

#include "ui_sendinfowidget.h"

SendInfoWidget::SendInfoWidget(QWidget *parent) : QWidget(parent), m_ui(std::make_unique<Ui::SendInfoWidget>())
{
    m_ui->setupUi(this);
    connect(m_ui->deviceNameEdit, &QLineEdit::textChanged, this, &SendInfoWidget::_textChanged);
}

SendInfoWidget::~SendInfoWidget() = default;

QString SendInfoWidget::deviceName() const
{
    return m_ui->deviceNameEdit->text();
}

void SendInfoWidget::_textChanged(const QString &_strText)
{
    emit reportCanContinue(!_strText.isEmpty());
}
