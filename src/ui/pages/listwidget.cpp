#include "listwidget.h"

#include "singlechoicelist.h"

#include <QListWidget>

ListWidget::ListWidget(QWidget *parent) : ListWidget(new QListWidget, parent)
{
}

ListWidget::ListWidget(QListWidget *list, QWidget *parent) : TwoWindowWidget(list, parent), m_list(list)
{
    m_list->setObjectName(QStringLiteral("entriesList"));
    m_list->setAccessibleName(tr("Entries"));
    m_list->setWordWrap(true);
    new SingleChoiceList(m_list);
    connect(m_list, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem *current) { reportSelection(current ? current->data(Qt::UserRole).toInt() : -1); });
}

void ListWidget::selectElement(int index)
{
    for (int row = 0; row < m_list->count(); ++row) {
        if (m_list->item(row)->data(Qt::UserRole).toInt() == index) {
            m_list->setCurrentRow(row);
            return;
        }
    }
    m_list->setCurrentRow(-1);
}

int ListWidget::selectedElement() const
{
    const QListWidgetItem *item = m_list->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : -1;
}

void ListWidget::removeEntries()
{
    m_list->clear();
}

void ListWidget::appendEntry(int index, const QString &displayText)
{
    auto *item = new QListWidgetItem(displayText, m_list);
    item->setData(Qt::UserRole, index);
}
