#include "refresh/statistic.h"
#include "settings/translate.h"

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
    texts.openGames = tr("Spiele offen: ") + std::to_string(counters.references);
    texts.playersOnline = tr("Spieler online: ") + std::to_string(counters.players);
    if (counters.clients > 0 && counters.emptys > 0) {
        texts.emptySlots = tr("Emptys: ") + std::to_string(counters.emptys) + " / " + std::to_string(counters.clients) +
                           " (" + std::to_string(percentHalfToEven(counters.emptys, counters.clients)) + " %)";
    }
    return texts;
}

std::string updateTimeText(const std::string& longTime)
{
    std::string text = tr("Aktualisierung: %1 Uhr");
    const std::size_t at = text.find("%1");
    if (at != std::string::npos) text.replace(at, 2, longTime);
    return text;
}

} // namespace quintor
