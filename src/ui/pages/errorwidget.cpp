#include "errorwidget.h"

#include "ui_errorwidget.h"

ErrorWidget::ErrorWidget(QWidget *parent) : QWidget(parent), m_ui(std::make_unique<Ui::ErrorWidget>())
{
    m_ui->setupUi(this);
    connect(m_ui->warningFrame, &WarningFrame::linkActivated, this, &ErrorWidget::linkActivated);
}

ErrorWidget::~ErrorWidget() = default;

void ErrorWidget::setText(const QString &text, Severity severity)
{
    m_ui->warningFrame->setText(text);
    m_severity = severity;
    if (isVisible() && m_severity == Severity::Error)
        emit errorHappened(window()->winId());
}

QString ErrorWidget::text() const
{
    return m_ui->warningFrame->text();
}

void ErrorWidget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_severity == Severity::Error)
        emit errorHappened(window()->winId());
}
