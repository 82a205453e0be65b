#include "refresh/statistic.h"

namespace quintor {

long long percentHalfToEven(long long emptys, long long clients)
{
    const long long numerator = emptys * 100;
    long long quotient = numerator / clients;
    const long long twiceRemainder = 2 * (numerator % clients);
    if (twiceRemainder > clients || (twiceRemainder == clients && quotient % 2 != 0)) ++quotient;
    return quotient;
}

StatisticTexts statisticTexts(const ParseCounters& counters)
{
    StatisticTexts texts;
    texts.openGames = "Spiele offen: " + std::to_string(counters.references);
    texts.playersOnline = "Spieler online: " + std::to_string(counters.players);
    if (counters.clients > 0 && counters.emptys > 0) {
        texts.emptySlots = "Emptys: " + std::to_string(counters.emptys) + " / " + std::to_string(counters.clients) +
                           " (" + std::to_string(percentHalfToEven(counters.emptys, counters.clients)) + " %)";
    }
    return texts;
}

std::string updateTimeText(const std::string& longTime)
{
    return "Aktualisierung: " + longTime + " Uhr";
}

} // namespace quintor
