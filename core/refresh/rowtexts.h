// The texts of a game's row in the list: its caption and one text per chosen column.
#pragma once

#include "reference/gameentry.h"
#include "settings/textlist.h"

#include <optional>
#include <string>
#include <vector>

namespace quintor {

// The text a column of this name shows for the game, or nothing for a name that is no column.
std::optional<std::string> columnText(std::string_view columnName, const GameRecord& entry, const TextList& aliases);

// The row's caption: the aliased title.
std::string rowCaption(const GameRecord& entry, const TextList& aliases);

// "Column" + n of the settings, n in decimal; empty when missing.
std::string columnCaption(const TextList& config, int n);

// Sub-item texts for columns 1 .. columnCount-1, read from "Column" + n. A name that is no column
// gives an empty text, so the texts of later columns stay under their own captions.
std::vector<std::string> rowSubItems(const GameRecord& entry, const TextList& config, const TextList& aliases,
                                     int columnCount);

} // namespace quintor
