#include "singlechoicelist.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QItemSelectionModel>

SingleChoiceList::SingleChoiceList(QAbstractItemView *view) : QObject(view), m_view(view)
{
    QItemSelectionModel *selection = view->selectionModel();
    connect(selection, &QItemSelectionModel::selectionChanged, this,
            [selection](const QItemSelection &selected) {
                const QModelIndexList chosen = selected.indexes();
                if (!chosen.isEmpty() && chosen.last() != selection->currentIndex())
                    selection->setCurrentIndex(chosen.last(),
                                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
                else if (!selection->hasSelection() && selection->currentIndex().isValid())
                    selection->select(selection->currentIndex(),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
            });
    view->installEventFilter(this);
}

bool SingleChoiceList::eventFilter(QObject *watched, QEvent *event)
{
    // A view that gains focus makes its first row current unless the program has set a current row
    // itself; setting none keeps it from doing so (and from announcing that row to a screen reader).
    if (event->type() == QEvent::FocusIn && !m_view->currentIndex().isValid())
        m_view->setCurrentIndex(QModelIndex());
    return QObject::eventFilter(watched, event);
}
