#pragma once

#include <QObject>

// Connects the slot as the only receiver of the sender's signal. Every wizard step takes over the
// finished signal of the service it starts, so that no slot of an earlier step runs again.
template <typename Sender, typename Signal, typename Receiver, typename Slot>
void connectAsOnlyReceiver(Sender *sender, Signal signal, Receiver *receiver, Slot slot)
{
    QObject::disconnect(sender, signal, nullptr, nullptr);
    QObject::connect(sender, signal, receiver, slot);
}
