#include "twowindowwidget.h"

#include "richtext.h"
#include "ui_twowindowwidget.h"

#include <QLayout>

TwoWindowWidget::TwoWindowWidget(QWidget *entriesView, QWidget *parent)
    : ItemDisplayInterface(parent), m_ui(std::make_unique<Ui::TwoWindowWidget>()), m_entriesView(entriesView)
{
    // The Tab order follows the order in which widgets join the window, and an order set afterwards does
    // not hold in a form made on its own (as the window's pages are): the view joins before the form.
    entriesView->setParent(this);
    m_ui->setupUi(this);
    m_ui->entriesWidget->layout()->addWidget(entriesView);
    m_ui->leftText->setBuddy(entriesView);
    m_ui->actionButtonsArea->hide();
    m_ui->infoTextArea->setEnabled(false);
    connect(m_ui->deleteButton, &QPushButton::clicked, this, &TwoWindowWidget::deleteButtonClicked);
    connect(this, &ItemDisplayInterface::clickedElement, this, &TwoWindowWidget::_onClickedElement);
    connect(this, &ItemDisplayInterface::addedElement, this, &TwoWindowWidget::_onAddedElement);
    connect(this, &ItemDisplayInterface::clearedContainer, this, &TwoWindowWidget::_onClearedContainer);
}

TwoWindowWidget::~TwoWindowWidget() = default;

void TwoWindowWidget::clearElements()
{
    removeEntries();
    m_descriptions.clear();
    emit clearedContainer();
}

void TwoWindowWidget::addElement(int index, const QString &displayText, const QString &description)
{
    m_descriptions.insert(index, description);
    appendEntry(index, displayText);
    emit addedElement(index, displayText);
}

int TwoWindowWidget::count() const
{
    return int(m_descriptions.size());
}

void TwoWindowWidget::setLeftHeaderText(const QString &text)
{
    m_ui->leftText->setText(text);
    if (!text.isEmpty())
        m_entriesView->setAccessibleName(text);
}

void TwoWindowWidget::setRightHeaderText(const QString &text)
{
    m_ui->rightText->setText(text);
}

void TwoWindowWidget::setDeleteButtonShown(bool shown)
{
    m_ui->actionButtonsArea->setVisible(shown);
}

void TwoWindowWidget::reportSelection(int index)
{
    if (index >= 0)
        emit clickedElement(index);
    else
        m_ui->infoTextArea->clear();
}

void TwoWindowWidget::_onClickedElement(int _nIdx)
{
    m_ui->infoTextArea->setHtml(RichText::withLineBreaks(m_descriptions.value(_nIdx)));
}

void TwoWindowWidget::_onAddedElement(int, const QString &)
{
    m_ui->infoTextArea->setEnabled(true);
}

void TwoWindowWidget::_onClearedContainer()
{
    m_ui->infoTextArea->clear();
    m_ui->infoTextArea->setEnabled(false);
}
