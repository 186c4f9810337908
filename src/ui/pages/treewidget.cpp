#include "treewidget.h"

#include <QSignalBlocker>
#include <QTreeWidget>

TreeWidget::TreeWidget(QWidget *parent) : TreeWidget(new QTreeWidget, parent)
{
}

TreeWidget::TreeWidget(QTreeWidget *tree, QWidget *parent) : TwoWindowWidget(tree, parent), m_tree(tree)
{
    m_tree->setObjectName(QStringLiteral("entriesTree"));
    m_tree->setAccessibleName(tr("Entries"));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(false);
    m_tree->setWordWrap(true);
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current) { reportSelection(current ? current->data(0, Qt::UserRole).toInt() : -1); });
    // Only the check state of an item changes after it was added, and only by the user while the
    // tree's signals are not blocked.
    connect(m_tree, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item) {
        emit elementChecked(item->data(0, Qt::UserRole).toInt(), BOX_STATE(item->checkState(0)));
    });
}

void TreeWidget::selectElement(int index)
{
    m_tree->setCurrentItem(itemOf(index));
}

int TreeWidget::selectedElement() const
{
    const QTreeWidgetItem *item = m_tree->currentItem();
    return item ? item->data(0, Qt::UserRole).toInt() : -1;
}

void TreeWidget::setEnabledElement(int index, bool enabled)
{
    if (QTreeWidgetItem *item = itemOf(index)) {
        const QSignalBlocker quiet(m_tree);
        item->setDisabled(!enabled);
    }
}

void TreeWidget::setCheckedElement(int index, BOX_STATE state)
{
    if (QTreeWidgetItem *item = itemOf(index)) {
        const QSignalBlocker quiet(m_tree);
        item->setCheckState(0, Qt::CheckState(state));
    }
}

void TreeWidget::removeEntries()
{
    m_tree->clear();
}

void TreeWidget::appendEntry(int index, const QString &displayText)
{
    const QSignalBlocker quiet(m_tree);
    auto *item = new QTreeWidgetItem(m_tree, QStringList{displayText});
    item->setData(0, Qt::UserRole, index);
    item->setCheckState(0, Qt::Unchecked);
}

QTreeWidgetItem *TreeWidget::itemOf(int index) const
{
    if (index < 0)
        return nullptr;
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = m_tree->topLevelItem(i);
        if (item->data(0, Qt::UserRole).toInt() == index)
            return item;
    }
    return nullptr;
}
