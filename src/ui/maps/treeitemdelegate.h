#pragma once

#include <QStyledItemDelegate>

// Draws a tree item as its icon, its title and, below the title, a short state text (the item's
// StateTextRole), so that what happens to an item can be read without a legend.
class TreeItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    enum Role : int { StateTextRole = Qt::UserRole + 1 };

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // Where the icon of an item drawn in `cell` lies; clicks there change the item.
    QRect iconRect(const QRect &cell) const;
};
