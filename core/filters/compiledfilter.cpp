#include "filters/compiledfilter.h"

#include "filters/filteractions.h"
#include "settings/convert.h"
#include "settings/errors.h"

namespace quintor {
namespace {

using keys::numbered;

// Everything the evaluation meets before it performs an action.
void compileHead(CompiledFilter& filter, const TextList& conditions, const FilterFileLoader& load, TextList& actions)
{
    // "Neuer Filter" writes both files empty; they stay so until the condition editor saves them.
    if (notYetEdited(conditions)) return; // inactive, and nothing to report
    filter.active = strToBool(conditions.value(filterkeys::active));
    if (!filter.active) return;
    filter.once = onceValue(conditions);
    actions = load(actionsFileName(filter.entry.key));
    filter.rule = static_cast<CombineRule>(strToInt(conditions.value(filterkeys::typ)));
    for (int j = 0;; ++j) {
        const std::string field = conditions.value(numbered(filterkeys::field, j));
        if (field.empty()) break;
        CompiledCondition condition;
        condition.field = static_cast<ConditionField>(strToInt(field));
        condition.comparison = comparisonOf(conditions.value(numbered(filterkeys::act, j)));
        condition.text = conditions.value(numbered(filterkeys::edit, j));
        condition.pairs = BytePairs::of(condition.text);
        filter.conditions.push_back(std::move(condition));
    }
}

void compileActions(CompiledFilter& filter, const TextList& actions)
{
    for (int j = 0;; ++j) {
        const std::string field = actions.value(numbered(filterkeys::field, j));
        if (field.empty()) break;
        CompiledAction action;
        action.text = actions.value(numbered(filterkeys::edit, j));
        action.variable = static_cast<ActionVariable>(strToInt(actions.value(numbered(filterkeys::act, j))));
        if (action.variable != ActionVariable::unformatted) action.format = ActionTemplate::compile(action.text);
        action.kind = static_cast<ActionKind>(strToInt(field));
        filter.coloursRows = filter.coloursRows || action.kind == ActionKind::colourRow;
        filter.actions.push_back(std::move(action));
    }
}

} // namespace

CompiledFilter compileFilter(const FilterEntry& entry, const FilterFileLoader& load)
{
    CompiledFilter filter;
    filter.entry = entry;
    TextList actions;
    try {
        compileHead(filter, load(conditionsFileName(entry.key)), load, actions);
    } catch (const QuintorError& error) {
        filter.failure = error.what();
        return filter;
    }
    if (!filter.active) return filter;
    try {
        compileActions(filter, actions);
    } catch (const QuintorError& error) {
        filter.actionsFailure = error.what();
    }
    return filter;
}

bool filterMatches(const CompiledFilter& filter, GameData& data, std::vector<bool>* rowsHeld)
{
    if (!rowsHeld) return filterMatches(filter, data);
    const auto& conditions = filter.conditions;
    rowsHeld->resize(conditions.size());
    for (std::size_t j = 0; j < conditions.size(); ++j)
        (*rowsHeld)[j] = conditionHoldsFor(conditions[j], data);
    return filter.active && combineConditions(filter.rule, *rowsHeld);
}

CompiledFilter compileFilter(const std::string& appFolder, const FilterEntry& entry)
{
    return compileFilter(entry, [&appFolder](const std::string& fileName) {
        TextList lines;
        lines.loadFromFile(appFolder + fileName);
        return lines;
    });
}

} // namespace quintor
