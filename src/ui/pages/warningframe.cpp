#include "warningframe.h"

#include "richtext.h"
#include "ui_warningframe.h"

#include <QPixmap>

WarningFrame::WarningFrame(QWidget *parent) : QFrame(parent), m_ui(std::make_unique<Ui::WarningFrame>())
{
    m_ui->setupUi(this);
    const QPixmap icon(QStringLiteral(":/resources/warning.png"));
    m_ui->iconLabel->setPixmap(icon);
    m_ui->iconLabel->setVisible(!icon.isNull());
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
