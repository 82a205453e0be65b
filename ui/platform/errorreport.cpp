#include "ui/platform/errorreport.h"
#include "settings/translate.h"

#include "net/httpclient.h"

namespace quintor::ui {

void reportError(std::exception_ptr error, Dialogs& dialogs)
{
    if (!error) return;
    try {
        std::rethrow_exception(error);
    } catch (const HttpError& e) {
        // Cancelled is not a failure: the program is ending and what waited for the request stopped.
        if (e.kind() != HttpError::Kind::Cancelled) dialogs.message(e.what());
    } catch (const std::exception& e) {
        dialogs.message(e.what());
    } catch (...) {
        dialogs.message(quintor::tr("Unbekannter Fehler"));
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
