#pragma once

#include <QAccessible>
#include <QHash>
#include <QList>
#include <QTreeWidget>

// The tree of the map page. A screen reader sees each shown row as a tree item whose actions do what the
// mouse and the keyboard do (change what happens to the map, expand or collapse a country), and hears
// when the text of a row changes.
class MapTree final : public QTreeWidget
{
    Q_OBJECT

public:
    explicit MapTree(QWidget *parent = nullptr);
    ~MapTree() override;

    // The rows as shown, top to bottom: rows inside a collapsed row are not shown.
    QList<QTreeWidgetItem *> shownRows() const;
    // The accessible interface of a row, the same one as long as the row exists.
    QAccessibleInterface *rowInterface(QTreeWidgetItem *item);
    // Tells a screen reader that the text of the row changed; a row that is not shown is read when it is.
    void announceChange(QTreeWidgetItem *item);
    // Asks for what a click on the row's icon asks for, and makes the row current as the click does.
    void requestChange(QTreeWidgetItem *item);

Q_SIGNALS:
    void changeRequested(QTreeWidgetItem *_pItem);

private:
    void dropRowInterfaces();

    QHash<QTreeWidgetItem *, QAccessible::Id> m_rowInterfaces;
};
