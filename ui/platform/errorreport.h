// The application's general error report: what a handler or a tick does not catch itself ends up
// here, in a plain message box with the error's text, and the event loop goes on.
#pragma once

#include "platform/dialogs.h"

#include <exception>
#include <functional>

namespace quintor::ui {

void reportError(std::exception_ptr error, Dialogs& dialogs);

// The boundary around an event handler: nothing it raises leaves into the event loop.
void guarded(Dialogs& dialogs, const std::function<void()>& handler);

} // namespace quintor::ui
