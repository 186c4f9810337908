#pragma once

#include <QObject>

class QKeyEvent;

// Receives the key presses that the user typed anywhere in the application, and mouse presses.
class KeyEventConsumer
{
public:
    virtual ~KeyEventConsumer() = default;
    virtual void keyPressed(QKeyEvent *event) = 0;
    virtual void mousePressed() = 0;
};

// Application-wide event filter that hands spontaneous key presses (typed by the user, never posted by
// the program) and every mouse press to a consumer. It never swallows an event.
class KeyPressFilter final : public QObject
{
    Q_OBJECT

public:
    KeyPressFilter(KeyEventConsumer *consumer, QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KeyEventConsumer *m_consumer;
};
