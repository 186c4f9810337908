#include "warningframe.h"

#include "pagepicture.h"
#include "richtext.h"
#include "ui_warningframe.h"

namespace {

const QString picture = QStringLiteral(":/resources/warning.png");

} // namespace

WarningFrame::WarningFrame(QWidget *parent) : QFrame(parent), m_ui(std::make_unique<Ui::WarningFrame>())
{
    m_ui->setupUi(this);
    showPagePicture(m_ui->iconLabel, picture);
    connect(m_ui->textLabel, &QLabel::linkActivated, this, &WarningFrame::linkActivated);
}

WarningFrame::~WarningFrame() = default;

void WarningFrame::setText(const QString &text)
{
    m_ui->textLabel->setText(RichText::fromMixed(text));
}

QString WarningFrame::text() const
{
    return m_ui->textLabel->text();
}

void WarningFrame::showEvent(QShowEvent *event)
{
    QFrame::showEvent(event);
    // The screen, and so its density, is known once the window is shown.
    showPagePicture(m_ui->iconLabel, picture);
}
