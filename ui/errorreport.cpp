#include "ui/errorreport.h"

#include "refresh/refreshcycle.h"

namespace quintor::ui {

void reportError(std::exception_ptr error, Dialogs& dialogs)
{
    if (!error) return;
    try {
        std::rethrow_exception(error);
    } catch (const TickAbandoned&) {
        // Not a failure: the program is ending and the tick stopped for it.
    } catch (const std::exception& e) {
        dialogs.message(e.what());
    } catch (...) {
        dialogs.message("Unbekannter Fehler");
    }
}

void guarded(Dialogs& dialogs, const std::function<void()>& handler)
{
    try {
        handler();
    } catch (...) {
        reportError(std::current_exception(), dialogs);
    }
}

} // namespace quintor::ui
