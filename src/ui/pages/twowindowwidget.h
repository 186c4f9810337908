#pragma once

#include "itemdisplayinterface.h"

#include <QHash>

#include <memory>

namespace Ui {
class TwoWindowWidget;
}

// The two-pane form of the choice pages: a bold header over the list on the left, a header over a
// read-only pane with the selected element's description on the right, and under it an area for
// action buttons (a "Delete" button, hidden unless a page asks for it). Subclasses supply the list
// view and tell the form which element became selected.
class TwoWindowWidget : public ItemDisplayInterface
{
    Q_OBJECT

public:
    ~TwoWindowWidget() override;

    void clearElements() final;
    void addElement(int index, const QString &displayText, const QString &description) final;
    int count() const final;
    void setLeftHeaderText(const QString &text) final;
    void setRightHeaderText(const QString &text) final;

    void setDeleteButtonShown(bool shown);

Q_SIGNALS:
    void deleteButtonClicked();

protected:
    // The subclass's list view goes under the left header and is named after it. It comes first in the
    // Tab order, before the description and the buttons.
    TwoWindowWidget(QWidget *entriesView, QWidget *parent);
    // The list view's own part of clearing and adding.
    virtual void removeEntries() = 0;
    virtual void appendEntry(int index, const QString &displayText) = 0;
    // Called by the subclass whenever its view's selection changes; -1 when nothing is selected.
    void reportSelection(int index);

private Q_SLOTS:
    void _onClickedElement(int _nIdx);
    void _onAddedElement(int _nIdx, const QString &_strDisplayText);
    void _onClearedContainer();

private:
    std::unique_ptr<Ui::TwoWindowWidget> m_ui;
    QWidget *m_entriesView;
    QHash<int, QString> m_descriptions;
};
