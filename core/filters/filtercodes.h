// The codes of the filter files as the program reads them. The files keep their numbers (and the
// comparison its text); these names say what each number means.
#pragma once

#include <cstdint>
#include <string_view>

namespace quintor {

// "typ": how a filter's conditions combine. Any other number never matches.
enum class CombineRule : std::int32_t { allHold = 0, oneHolds = 1, noneHolds = 2 };

// "field" + j of a conditions file: the datum a condition compares. Any other number compares "".
enum class ConditionField : std::int32_t {
    title = 0,
    participants = 1, // the players' names joined with ","
    hoster = 2,
    resources = 3, // the resource files' names joined with ","
    game = 4,
    status = 5,
    officialServer = 6, // "Ja" or "Nein"
    password = 7,       // "Ja" or "Nein"
    league = 8,
};
inline constexpr std::int32_t kConditionFieldCount = 9;

// "act" + j of a conditions file, compared as text: "0" contains (a text that is not empty), "1" equals;
// anything else ("", "-1", "01") never holds.
enum class Comparison { contains, equals, never };

constexpr Comparison comparisonOf(std::string_view code)
{
    if (code == "0") return Comparison::contains;
    if (code == "1") return Comparison::equals;
    return Comparison::never;
}

// "field" + j of an actions file: what the action does. Any other number does nothing.
enum class ActionKind : std::int32_t {
    showMessage = 0, // "Zeige Dialogbox an"
    showBalloon = 1, // "Öffne Hinweis im Systray"
    playSound = 2,   // "Gebe Sound aus"
    joinGame = 3,    // "Trete Spiel bei": asks whether to join the game
    colourRow = 4,   // "Färbe Eintrag ein"
    writeLog = 5,    // "Schreibe ins Log"
};

// "act" + j of an actions file: the game's text that fills the action's "%s".
enum class ActionVariable : std::int32_t {
    title = 0,
    participants = 1,
    hoster = 2,
    resources = 3,
    nothing = 4,     // "Nichts": "%s" gives ""
    unformatted = 5, // the text stands as written, "%" and all
};

} // namespace quintor
