#include "progresswidget.h"

#include "ui_progresswidget.h"

ProgressWidget::ProgressWidget(QWidget *parent) : QWidget(parent), m_ui(new Ui::ProgressWidget)
{
    m_ui->setupUi(this);
}

ProgressWidget::~ProgressWidget() = default;

void ProgressWidget::setText(const QString &text)
{
    m_ui->textLabel->setText(text);
}

void ProgressWidget::prepare(PROGRESS_TYPE type)
{
    m_ui->progressBar->prepare(type);
}

void ProgressWidget::setProgress(int _nPercent)
{
    m_ui->progressBar->setProgress(_nPercent);
}
