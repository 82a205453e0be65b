// The pure part of a filter's decision: the data of a game, the comparisons and their combination,
// and the colour names of the colour action.
#pragma once

#include "filters/filtercodes.h"
#include "reference/gameentry.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

// allTrue: no flag is false (true for none); anyTrue: some flag is true (false for none);
// noneTrue: no flag is true (true for none).
bool allTrue(const std::vector<bool>& flags);
bool anyTrue(const std::vector<bool>& flags);
bool noneTrue(const std::vector<bool>& flags);

// The combination rule: all, one or none of the flags; any other rule never matches.
bool combineConditions(CombineRule rule, const std::vector<bool>& flags);

// The same decision for `rows` rows whose flags `holds(i)` gives, asking only as long as a flag can still
// change the result. Rows have no effects, so this decides exactly as evaluating every row would.
template <typename Holds> bool combineConditions(CombineRule rule, std::size_t rows, Holds holds)
{
    switch (rule) {
    case CombineRule::allHold:
        for (std::size_t i = 0; i < rows; ++i)
            if (!holds(i)) return false;
        return true;
    case CombineRule::oneHolds:
        for (std::size_t i = 0; i < rows; ++i)
            if (holds(i)) return true;
        return false;
    case CombineRule::noneHolds:
        for (std::size_t i = 0; i < rows; ++i)
            if (holds(i)) return false;
        return true;
    default:
        return false;
    }
}

// The players' names, and the resource files' names, in order and joined with "," ("" for none).
std::string participantList(const GameRecord& game);
std::string resourceList(const GameRecord& game);

// The datum a condition compares; "" for a field the files do not know.
std::string fieldDatum(const GameRecord& game, ConditionField field);

// The value of an action's variable: the title, players, hoster or resources; "" otherwise.
std::string variableValue(const GameRecord& game, ActionVariable variable);

// One condition row: "contains" holds when the text is not empty and occurs in the datum, "equals" when
// the datum equals the text; "never" never holds.
bool conditionHolds(std::string_view datum, Comparison comparison, std::string_view text);

// The colour of a colour action's text, compared byte for byte: "Blau", "Grau", "Rot", "Gelb",
// "Orange", "Gr\xFCn"; black (0) for any other text. Values are 0x00BBGGRR.
std::uint32_t colourOf(std::string_view name);

// The data of one game for all filters of one evaluation: views of the record's own texts, and the joined
// lists and "Ja"/"Nein" texts computed on first use.
class GameData {
public:
    explicit GameData(const GameRecord& game) : game_(&game) {}
    // Moves over to a copy of the same record (the computed texts stay valid).
    void rebind(const GameRecord& copy) { game_ = &copy; }

    std::string_view field(ConditionField field);
    std::string_view variable(ActionVariable variable);

private:
    const GameRecord* game_;
    std::array<std::optional<std::string>, kConditionFieldCount> computed_;
};

} // namespace quintor
