#include "orvo_handler.h"

#include <exception>

bool RunHandler(TUiServices& ui, const std::function<void()>& handler)
{
    QString message;
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        message = QString::fromUtf8(e.what());
    } catch (...) {
        message = QStringLiteral("An unexpected error occurred.");
    }
    // Shown outside the catch blocks: the box runs a nested event loop.
    ui.ShowException(message);
    return false;
}
