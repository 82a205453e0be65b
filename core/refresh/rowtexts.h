// The texts of a game's row in the list: its caption and one text per chosen column.
#pragma once

#include "reference/gameentry.h"
#include "settings/textlist.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quintor {

// The columns a list can show, told apart once per refresh rather than by their names for every row.
enum class ColumnKind : std::uint8_t {
    none, // a name that is no column
    scenario,
    status,
    hoster,
    players,
    emptys,
    game,
    controlRate,
    version,
    comment,
    password,
    league,
    officialServer,
};
ColumnKind columnKind(std::string_view columnName);

// The text a column of this kind (or name) shows for the game, or nothing for a name that is no column.
std::optional<std::string> columnText(ColumnKind column, const GameRecord& entry, const TextList& aliases);
std::optional<std::string> columnText(std::string_view columnName, const GameRecord& entry, const TextList& aliases);

// The row's caption: the title itself, or its alias, which is written into `alias` (the title is not copied).
const std::string& rowCaption(const GameRecord& entry, const TextList& aliases, std::string& alias);

// The host's colour and italic runs of the text `shownText` that the column `columnName` shows for the game: those
// of Title ("Szenario"), Hoster or Comment ("Kommentar") while the cell shows that very text. None for other
// columns and for a text an alias or an in-place edit replaced. A row coloured by a filter (the user's colour) or
// kept grey from a failing server keeps its italics but not the host's colours.
TextSpans columnSpans(std::string_view columnName, std::string_view shownText, const GameRecord& entry);

// "Column" + n of the settings, n in decimal; empty when missing.
std::string columnCaption(const TextList& config, int n);

// The kinds of columns 1 .. columnCount-1, named by "Column" + n of the settings: read once for all rows of a refresh.
std::vector<ColumnKind> subItemColumns(const TextList& config, int columnCount);

// Sub-item texts for these columns, written into `texts` (which keeps its room from row to row). A name that is no
// column gives an empty text, so the texts of later columns stay under their own captions.
void rowSubItems(const GameRecord& entry, const std::vector<ColumnKind>& columns, const TextList& aliases,
                 std::vector<std::string>& texts);
// The same for columns 1 .. columnCount-1 of the settings.
std::vector<std::string> rowSubItems(const GameRecord& entry, const TextList& config, const TextList& aliases,
                                     int columnCount);

} // namespace quintor
