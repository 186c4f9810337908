#include "successwidget.h"

#include "pagepicture.h"
#include "richtext.h"
#include "ui_successwidget.h"

namespace {

const QString picture = QStringLiteral(":/resources/success.png");

} // namespace

SuccessWidget::SuccessWidget(QWidget *parent) : QWidget(parent), m_ui(std::make_unique<Ui::SuccessWidget>())
{
    m_ui->setupUi(this);
    showPagePicture(m_ui->iconLabel, picture);
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

void SuccessWidget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The screen, and so its density, is known once the window is shown.
    showPagePicture(m_ui->iconLabel, picture);
}
