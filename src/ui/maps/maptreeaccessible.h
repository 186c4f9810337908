#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QPointer>

class MapTree;
class QTreeWidgetItem;

// What a screen reader sees of the map tree: its header, then its shown rows. The tree view numbers the
// rows of its focus and selection events the same way (the header first), so those events name these rows.
class MapTreeAccessible final : public QAccessibleWidget
{
public:
    explicit MapTreeAccessible(MapTree *tree);

    // The factory that the accessibility layer asks for the interface of every object.
    static QAccessibleInterface *create(const QString &className, QObject *object);

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

private:
    MapTree *tree() const;
};

// One row of the map tree: its text with the state (the row's accessible text), the map's description,
// and the actions "toggle" (what a click on the icon does, for a map that can be changed), "expand" and
// "collapse" (for a country with regional maps).
class MapRowAccessible final : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    static const QString expandAction;
    static const QString collapseAction;

    MapRowAccessible(MapTree *tree, QTreeWidgetItem *item);

    bool isValid() const override;
    QObject *object() const override;
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString &text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    QString localizedActionName(const QString &name) const override;
    QString localizedActionDescription(const QString &name) const override;
    void doAction(const QString &name) override;
    QStringList keyBindingsForAction(const QString &name) const override;

    QTreeWidgetItem *item() const;

private:
    QPointer<MapTree> m_tree;
    // The tree drops its rows' interfaces before it deletes any of its items.
    QTreeWidgetItem *m_item;
};
