// The rows of the details window: a game's players or its resource files.
#pragma once

#include "reference/gameentry.h"

#include <string>
#include <vector>

namespace quintor {

struct DetailTable {
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows; // first text is the row's caption
    // The host's colour and italic runs of each row's caption (players' names); empty for a plain caption.
    std::vector<TextSpans> captionSpans = {};
};

// The "Größe" text: "N/L" when not loadable or of size 0, else whole kilobytes and " KB"
// (the size read as an unsigned 32-bit number of bytes).
std::string sizeText(const Resource& resource);

DetailTable playerTable(const GameRecord& entry);
DetailTable resourceTable(const GameRecord& entry);

} // namespace quintor
