#include "keypressfilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

// A key press travels from the focus widget (or the window when nothing has focus) up through its
// parents while none accepts it, and the filter sees every step: only its first receiver counts.
bool isFirstReceiver(QObject *watched)
{
    if (!watched->isWidgetType())
        return false;
    const QWidget *focus = QApplication::focusWidget();
    return focus ? watched == focus : static_cast<QWidget *>(watched)->isWindow();
}

} // namespace

KeyPressFilter::KeyPressFilter(KeyEventConsumer *consumer, QObject *parent)
    : QObject(parent), m_consumer(consumer)
{
}

bool KeyPressFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && event->spontaneous() && isFirstReceiver(watched))
        m_consumer->keyPressed(static_cast<QKeyEvent *>(event));
    else if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType())
        m_consumer->mousePressed();
    return QObject::eventFilter(watched, event);
}
