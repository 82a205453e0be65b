#include "filters/filterengine.h"
#include "settings/translate.h"

#include "filters/filterlogic.h"

namespace quintor {

FilterEngine::FilterEngine(const TextList& filters, GameStore& games, std::string appFolder, FilterActions& actions,
                           ErrorReport report)
    : filters_(filters), games_(games), appFolder_(std::move(appFolder)), actions_(actions), report_(std::move(report))
{
}

void FilterEngine::beginTick()
{
    memory_.beginTick();
    actions_.beginTick();
    prepared_ = false;
    slots_.clear();
}

void FilterEngine::prepare()
{
    slots_.clear();
    for (auto& entry : enumerateFilters(filters_))
        slots_.push_back({std::move(entry), nullptr, false});
    prepared_ = true;
}

void FilterEngine::endTick(const std::vector<std::string>& unreadServers, bool listFromFile)
{
    if (listFromFile)
        memory_.abandonTick();
    else
        memory_.endTick(unreadServers);
}

void FilterEngine::filtersMoved(const FilterKeyMapping& keys)
{
    std::vector<std::string> gone = keys.removed;
    if (keys.added) gone.push_back(*keys.added); // a new filter remembers nothing
    memory_.rekey(keys.moved, gone);
}

void FilterEngine::fail(Slot& slot, const std::string& reason)
{
    slot.failed = true;
    memory_.forget(slot.entry.key);
    if (report_) report_("Filter \"" + slot.entry.name + "\": " + reason);
}

void FilterEngine::evaluateFilters(RowHandle row, FilterActionMode mode, EvaluationRecord* record)
{
    if (!prepared_) prepare();
    const GameRecord* stored = games_.find(row);
    if (!stored) return;
    const bool perform = mode == FilterActionMode::perform;
    // No action waits for anything (boxes are queued), so the stored record serves the whole evaluation.
    const GameRecord& game = *stored;
    GameData data(game);
    std::optional<std::string> identity; // on the first match

    for (Slot& slot : slots_) {
        if (slot.failed) continue;
        if (!slot.compiled)
            slot.compiled = std::make_shared<const CompiledFilter>(compileFilter(appFolder_, slot.entry));
        const CompiledFilter& filter = *slot.compiled;
        if (filter.failure) {
            if (!perform) {
                // It must remember nothing of this refresh either; the report waits for a listed game.
                memory_.forget(slot.entry.key);
                continue;
            }
            fail(slot, *filter.failure);
            continue;
        }
        if (!filterMatches(filter, data)) continue;
        if (!identity) identity = gameIdentity(game);
        const bool newGame = memory_.noteMatch(slot.entry.key, *identity, game.Server);
        if (record) record->matches.push_back({filter.entry.groupName, filter.entry.name, coloursRows(filter)});
        if (!perform) {
            if (filter.actionsFailure) memory_.forget(slot.entry.key);
            continue;
        }
        for (const auto& action : filter.actions) {
            // An action that does not fire was read and converted with its filter; formatting it cannot fail.
            if (!actionFires(action.kind, filter.once, newGame)) continue;
            const std::string text =
                action.format ? action.format->format(data.variable(action.variable)) : action.text;
            actions_.perform({row, filter.entry.key, filter.entry.name, action.kind, text});
        }
        if (filter.actionsFailure) fail(slot, *filter.actionsFailure);
    }
}

std::string matchExplanation(const EvaluationRecord& record)
{
    std::string text;
    for (const FilterMatch& match : record.matches) {
        if (!text.empty()) text += '\n';
        text += match.coloursRow ? tr("Farbe von ") : tr("Passt zu ");
        text += match.groupName + " / " + match.filterName;
    }
    return text;
}

} // namespace quintor
