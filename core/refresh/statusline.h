// The status bar's one text: the caption (the version prefix when there is none) followed by "Bereit" or
// "Offline-Modus", then at most one note: the oldest of those that stand, except that the answer to the user's
// own click goes first. Every status text goes through here, so no note paints over another.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace quintor {

enum class StatusNote {
    history,      // lines of "history.txt" that could not be read (for a while after start-up)
    outage,       // the oldest outage of a listed server
    fallback,     // the fallback server answers for the built-in one
    skippedGames, // games with values that do not convert, in the last tick
    sound,        // a sound file that could not be played, in the last tick
    gameGone,     // a balloon's "Beitreten" found its game no longer listed (for a while)
};

class StatusLine {
public:
    // "" stands for the version prefix "Quintor Velmar 2.02 Beta [84] - ".
    void setCaption(std::string caption) { caption_ = std::move(caption); }

    // Sets the note of this kind. A note that already stands keeps its age, so an outage stays the oldest while
    // it goes on. `until`: the steady time from which it no longer shows (nothing: until cleared).
    void setNote(StatusNote kind, std::string text, std::optional<std::chrono::milliseconds> until = std::nullopt);
    void clearNote(StatusNote kind);
    bool hasNote(StatusNote kind) const;

    // The text at steady time `now`.
    std::string text(bool online, std::chrono::milliseconds now) const;

private:
    struct Entry {
        StatusNote kind;
        std::string text;
        std::optional<std::chrono::milliseconds> until;
    };
    std::string caption_;
    std::vector<Entry> notes_; // oldest first
};

} // namespace quintor
