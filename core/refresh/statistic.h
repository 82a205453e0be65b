// The statistic's label texts after a refresh.
#pragma once

#include "reference/reader.h"

#include <optional>
#include <string>

namespace quintor {

struct StatisticTexts {
    std::string openGames;                 // "Spiele offen: N"
    std::string playersOnline;             // "Spieler online: N"
    std::optional<std::string> emptySlots; // nothing: the label keeps its previous text
};

// emptys * 100 / clients rounded to the nearest whole number, halves to the even neighbour.
long long percentHalfToEven(long long emptys, long long clients);

StatisticTexts statisticTexts(const ParseCounters& counters);

// "Aktualisierung: " + the time + " Uhr".
std::string updateTimeText(const std::string& longTime);

} // namespace quintor
