// What the condition page as it stands would catch in the list the main window last showed: the games it
// matches and, per row, whether it holds, decided by the refresh's own evaluation without any action.
#pragma once

#include "filters/filtercodes.h"
#include "filters/filterfiles.h"
#include "reference/gameentry.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quintor {

struct PreviewRow {
    // For the first matching game; when none matches, whether it holds for any game.
    bool holds = false;
    // For how many games of the list it holds (counted only when no game matches).
    std::size_t gamesHeld = 0;
    // The datum's own spelling of the text, when the row holds only if letter case is ignored.
    std::optional<std::string> caseSpelling;
    // The list's own value ("Laufend"), when the row's text is that value as the language shown writes it
    // ("Running"): filters compare the list's value.
    std::optional<std::string> listSpelling;
};

struct FilterPreview {
    bool gamesLoaded = false; // false before the first refresh
    bool active = true;
    std::size_t total = 0;
    std::vector<std::size_t> matching; // positions in the list, in list order
    std::vector<PreviewRow> rows;      // one per condition row
    std::string firstTitle;            // of the first matching game
};

// Evaluates `conditions` (the rows, "typ" and "active" as the page holds them) as the refresh would
// evaluate the same conditions file, against every game of `games` (null: no refresh yet).
FilterPreview previewFilter(const FilterConditions& conditions, const std::vector<GameRecord>* games);

// The texts of the preview. previewText: "Noch keine Spiele geladen", or "Passt jetzt auf N von M
// Spielen:" with up to five titles of matching games below it, a line for an inactive filter and one
// per case hint. rowToolTip: a row's mark's tooltip, with its case hint.
inline constexpr std::size_t kPreviewTitles = 5;
std::string previewText(const FilterPreview& preview, const std::vector<GameRecord>* games);
// previewText line by line, each title with the host's colour and italic runs (shifted by its indent).
struct PreviewLine {
    std::string text;
    TextSpans spans;
};
std::vector<PreviewLine> previewLines(const FilterPreview& preview, const std::vector<GameRecord>* games);
std::string rowToolTip(const FilterPreview& preview, std::size_t row);
// "Groß-/Kleinschreibung beachten: \"Lobby\"".
std::string caseHint(const std::string& spelling);
// "Die Spieleliste schreibt: \"Laufend\"".
std::string listSpellingHint(const std::string& spelling);

// A datum's spelling of `text` when the comparison fails only by letter case (Windows-1252 letters): the part
// of the datum that contains it, or the whole datum that equals it.
std::optional<std::string> caseOnlySpelling(std::string_view datum, Comparison comparison, std::string_view text);

} // namespace quintor
