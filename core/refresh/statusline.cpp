#include "refresh/statusline.h"
#include "settings/translate.h"

#include "settings/appinfo.h"

#include <algorithm>

namespace quintor {

void StatusLine::setNote(StatusNote kind, std::string text, std::optional<std::chrono::milliseconds> until)
{
    const auto standing =
        std::find_if(notes_.begin(), notes_.end(), [kind](const Entry& entry) { return entry.kind == kind; });
    if (standing != notes_.end()) {
        standing->text = std::move(text);
        standing->until = until;
        return;
    }
    notes_.push_back({kind, std::move(text), until});
}

void StatusLine::clearNote(StatusNote kind)
{
    std::erase_if(notes_, [kind](const Entry& entry) { return entry.kind == kind; });
}

bool StatusLine::hasNote(StatusNote kind) const
{
    return std::any_of(notes_.begin(), notes_.end(), [kind](const Entry& entry) { return entry.kind == kind; });
}

std::string StatusLine::text(bool online, std::chrono::milliseconds now) const
{
    std::string status = caption_.empty() ? std::string(appinfo::versionPrefix) : caption_;
    status += online ? tr("Bereit") : tr("Offline-Modus");
    const auto standing = [now](const Entry& note) { return !note.until || now < *note.until; };
    // The answer to the user's own click is what they look for now: it goes before older notes.
    auto shown = std::find_if(notes_.begin(), notes_.end(), [&standing](const Entry& note) {
        return note.kind == StatusNote::gameGone && standing(note);
    });
    if (shown == notes_.end()) shown = std::find_if(notes_.begin(), notes_.end(), standing);
    if (shown != notes_.end()) status += " - " + shown->text;
    return status;
}

} // namespace quintor
