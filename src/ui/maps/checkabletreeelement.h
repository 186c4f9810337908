#pragma once

#include <QTreeWidgetItem>

// A tree item whose icon the user clicks to change it; TreeWidgetCheckWrapper reports the clicks.
class CheckableTreeElement : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    // Whether a click on the icon asks for anything at the moment.
    virtual bool isCheckable() const = 0;
};
