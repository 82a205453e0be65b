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

// The pairs of adjacent bytes of a text, each hashed to one of 256 bits. A text contains another only if it has
// every pair of the other: most texts that do not contain a condition's text are told so by four comparisons.
struct BytePairs {
    std::array<std::uint64_t, 4> bits;

    static BytePairs of(std::string_view text);
    // Whether every pair of `other` may be among these.
    bool covers(const BytePairs& other) const
    {
        return ((other.bits[0] & ~bits[0]) | (other.bits[1] & ~bits[1]) | (other.bits[2] & ~bits[2]) |
                (other.bits[3] & ~bits[3])) == 0;
    }
};

// The data of one game for all filters of one evaluation: views of the record's own texts, and the joined
// lists, "Ja"/"Nein" texts and byte pairs computed on first use.
class GameData {
public:
    explicit GameData(const GameRecord& game);
    GameData(const GameData&) = delete; // its views may point into itself
    GameData& operator=(const GameData&) = delete;

    std::string_view field(ConditionField field)
    {
        const auto index = static_cast<std::size_t>(field);
        if (index < views_.size() && (known_ & (std::uint32_t(1) << index))) return views_[index];
        return computedField(field);
    }
    std::string_view variable(ActionVariable variable);

    // conditionHolds(field(field), Comparison::contains, text), `textPairs` being the text's byte pairs. A field
    // searched more than once gets its byte pairs, which rule out most texts it does not contain.
    bool contains(ConditionField field, std::string_view text, const BytePairs& textPairs)
    {
        const std::string_view datum = this->field(field);
        if (text.empty() || text.size() > datum.size()) return false;
        const auto index = static_cast<std::size_t>(field);
        if (index >= pairs_.size()) return false; // a field the files do not know: its datum is empty
        if (!(pairsKnown_ & (std::uint32_t(1) << index))) {
            if (++searches_[index] == 1) return datum.find(text) != std::string_view::npos;
            pairs_[index] = BytePairs::of(datum);
            pairsKnown_ |= std::uint32_t(1) << index;
        }
        return pairs_[index].covers(textPairs) && datum.find(text) != std::string_view::npos;
    }

private:
    // Computes the datum of a joined or "Ja"/"Nein" field; "" for a field the files do not know.
    std::string_view computedField(ConditionField field);

    const GameRecord* game_;
    std::array<std::string_view, kConditionFieldCount> views_{};
    std::uint32_t known_ = 0; // a bit per field whose view is set
    std::string participants_, resources_;
    std::array<BytePairs, kConditionFieldCount> pairs_; // set when pairsKnown_ says so
    std::uint32_t pairsKnown_ = 0;
    std::array<std::uint8_t, kConditionFieldCount> searches_{};
};

} // namespace quintor
