#include "treeitemdelegate.h"

#include <QApplication>
#include <QPainter>

namespace {

constexpr int iconSize = 24;
constexpr int margin = 4;

QFont stateFont(const QFont &base)
{
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * 0.9);
    return font;
}

} // namespace

QRect TreeItemDelegate::iconRect(const QRect &cell) const
{
    return QRect(cell.left() + margin, cell.top() + (cell.height() - iconSize) / 2, iconSize, iconSize);
}

void TreeItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString title = opt.text;
    const QIcon icon = opt.icon;
    const bool enabled = opt.state & QStyle::State_Enabled;

    // The style draws the background, selection and focus; icon and texts are laid out here.
    opt.text.clear();
    opt.icon = QIcon();
    opt.features &= ~QStyleOptionViewItem::HasDecoration;
    const QWidget *widget = opt.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const QRect iconArea = iconRect(opt.rect);
    icon.paint(painter, iconArea, Qt::AlignCenter, enabled ? QIcon::Normal : QIcon::Disabled);

    const QRect textArea = opt.rect.adjusted(iconArea.right() + 1 - opt.rect.left() + 2 * margin, margin, -margin, -margin);
    const bool selected = opt.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = enabled ? QPalette::Normal : QPalette::Disabled;
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    const QFontMetrics titleMetrics(opt.font);
    const QRect titleArea(textArea.topLeft(), QSize(textArea.width(), titleMetrics.height()));
    painter->drawText(titleArea, Qt::AlignLeft | Qt::AlignVCenter,
                      titleMetrics.elidedText(title, Qt::ElideRight, titleArea.width()));

    const QFont smaller = stateFont(opt.font);
    painter->setFont(smaller);
    if (!selected)
        painter->setPen(opt.palette.color(group, QPalette::PlaceholderText));
    const QFontMetrics stateMetrics(smaller);
    const QRect stateArea(titleArea.bottomLeft() + QPoint(0, 1), QSize(textArea.width(), stateMetrics.height()));
    painter->drawText(stateArea, Qt::AlignLeft | Qt::AlignVCenter,
                      stateMetrics.elidedText(index.data(StateTextRole).toString(), Qt::ElideRight, stateArea.width()));
    painter->restore();
}

QSize TreeItemDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QFontMetrics titleMetrics(option.font);
    const QFontMetrics stateMetrics(stateFont(option.font));
    const int textWidth = qMax(titleMetrics.horizontalAdvance(index.data(Qt::DisplayRole).toString()),
                               stateMetrics.horizontalAdvance(index.data(StateTextRole).toString()));
    const int textHeight = titleMetrics.height() + 1 + stateMetrics.height();
    return QSize(iconSize + textWidth + 4 * margin, qMax(iconSize, textHeight) + 2 * margin);
}
