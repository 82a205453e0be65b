// One filter's two files, read once and converted by the evaluation's rules, ready to be run
// against every game of a refresh.
#pragma once

#include "filters/actiontemplate.h"
#include "filters/filterfiles.h"
#include "filters/filterlogic.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quintor {

struct CompiledCondition {
    ConditionField field = ConditionField::title;
    Comparison comparison = Comparison::never;
    std::string text;
    BytePairs pairs = BytePairs::of(text); // of `text`, for "contains"
};

struct CompiledAction {
    ActionKind kind = ActionKind::showMessage;
    ActionVariable variable = ActionVariable::title;
    std::string text;                     // as written; used as it stands for the unformatted variable
    std::optional<ActionTemplate> format; // for every other variable
};

// The evaluation reads, in this order: the conditions file (one without any text is a new filter not yet
// edited: inactive, no failure), its "active" (an inactive filter ends here and its actions file is not
// read), "once", the actions file, "typ", each condition's "field"; then, for a game that passes, each
// action's "act", its template and its "field". What cannot be read or converted
// before the actions is `failure`; an action row that cannot be converted ends `actions` there and is
// `actionsFailure`, met after the rows before it were performed.
struct CompiledFilter {
    FilterEntry entry;
    bool active = false;
    bool once = false;        // event actions only for a game that starts to match
    bool coloursRows = false; // one of its actions is "Färbe Eintrag ein"
    CombineRule rule = CombineRule::allHold;
    std::vector<CompiledCondition> conditions;
    std::vector<CompiledAction> actions;
    std::optional<std::string> failure;
    std::optional<std::string> actionsFailure;
};

// One condition for one game, as conditionHolds decides it.
inline bool conditionHoldsFor(const CompiledCondition& condition, GameData& data)
{
    switch (condition.comparison) {
    case Comparison::contains:
        return data.contains(condition.field, condition.text, condition.pairs);
    case Comparison::equals:
        return data.field(condition.field) == condition.text;
    case Comparison::never:
        break;
    }
    return false;
}

// The decision of a filter for one game: false for an inactive one, else its conditions combined by "typ".
inline bool filterMatches(const CompiledFilter& filter, GameData& data)
{
    if (!filter.active) return false;
    return combineConditions(filter.rule, filter.conditions.size(),
                             [&](std::size_t j) { return conditionHoldsFor(filter.conditions[j], data); });
}
// The same, every row evaluated and its result stored in `rowsHeld`, even for an inactive filter; rows have no
// effects, so the decision is the same either way.
bool filterMatches(const CompiledFilter& filter, GameData& data, std::vector<bool>* rowsHeld);

// Gives the lines of a file of the store by its name (key + ".txt" ...); raises FileError when it cannot.
using FilterFileLoader = std::function<TextList(const std::string& fileName)>;

CompiledFilter compileFilter(const FilterEntry& entry, const FilterFileLoader& load);
// From the files of the application folder.
CompiledFilter compileFilter(const std::string& appFolder, const FilterEntry& entry);

} // namespace quintor
