#pragma once

#include <QObject>

class QAbstractItemView;

// Makes a single-selection list view a choice whose current row is always the chosen (selected) one.
// A screen reader chooses by selecting a row, which does not move the current row; focus entering the
// view makes its first row current without selecting it; Ctrl+Space or Ctrl+click would unselect the
// chosen row and leave it current. Pages read the current row, so each of these would choose one thing
// and show another: here a selected row becomes current, focus entering the view chooses nothing, and
// the chosen row cannot be unselected.
class SingleChoiceList final : public QObject
{
    Q_OBJECT

public:
    // Attaches itself to the view, whose model and selection model must not be replaced afterwards.
    explicit SingleChoiceList(QAbstractItemView *view);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractItemView *m_view;
};
