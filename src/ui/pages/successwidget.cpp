#include "successwidget.h"

#include "richtext.h"
#include "ui_successwidget.h"

#include <QPixmap>

SuccessWidget::SuccessWidget(QWidget *parent) : QWidget(parent), m_ui(std::make_unique<Ui::SuccessWidget>())
{
    m_ui->setupUi(this);
    const QPixmap icon(QStringLiteral(":/resources/success.png"));
    m_ui->iconLabel->setPixmap(icon);
    m_ui->iconLabel->setVisible(!icon.isNull());
    setText(tr("Installation is finished!"));
}

SuccessWidget::~SuccessWidget() = default;

void SuccessWidget::setText(const QString &text)
{
    m_ui->textLabel->setText(RichText::fromMixed(text));
}

QString SuccessWidget::text() const
{
    return m_ui->textLabel->text();
}
