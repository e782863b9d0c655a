// Event handlers run through one wrapper: whatever a handler throws is shown
// in the error box and the application goes on with what the handler had done.
// Exceptions must never reach Qt's signal, slot or event machinery.
#pragma once

#include <functional>
#include <utility>

#include <QObject>

#include "orvo_ui_services.h"

// Runs the handler; returns false when it threw (the message has been shown).
bool RunHandler(TUiServices& ui, const std::function<void()>& handler);

// Connects signal to a handler that runs through RunHandler. Handlers take no
// arguments; they read what they need from the sender.
template <typename Sender, typename Signal, typename Handler>
QMetaObject::Connection ConnectHandler(Sender* sender, Signal signal, QObject* context,
                                       TUiServices& ui, Handler handler)
{
    return QObject::connect(sender, signal, context,
                            [&ui, handler = std::move(handler)]() { RunHandler(ui, handler); });
}
