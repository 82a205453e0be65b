#include "filters/filterengine.h"

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
    ++tick_;
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

void FilterEngine::endTick(const std::vector<std::string>& unreadServers)
{
    memory_.endTick(unreadServers);
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
    GameData data(*stored);
    // Until the first action or report nothing else runs, so the stored record serves. Either may wait in a
    // message box while the event loop runs on; from then on a copy is used, and nothing the store holds.
    std::optional<GameRecord> copy;
    const auto detach = [&] {
        if (copy) return;
        copy = *stored;
        data.rebind(*copy);
    };
    std::optional<std::string> identity; // on the first match
    const std::uint64_t tick = tick_;

    for (std::size_t i = 0; i < slots_.size(); ++i) {
        Slot& slot = slots_[i];
        if (slot.failed) continue;
        if (!slot.compiled)
            slot.compiled = std::make_shared<const CompiledFilter>(compileFilter(appFolder_, slot.entry));
        const CompiledFilter& compiled = *slot.compiled;
        if (compiled.failure) {
            if (!perform) {
                // It must remember nothing of this refresh either; the report waits for a listed game.
                memory_.forget(slot.entry.key);
                continue;
            }
            detach();
            fail(slot, *compiled.failure);
            if (tick != tick_) return;
            continue;
        }
        if (!filterMatches(compiled, data)) continue;
        const GameRecord& game = copy ? *copy : *stored;
        if (!identity) identity = gameIdentity(game);
        const bool newGame = memory_.noteMatch(slot.entry.key, *identity, game.Server);
        if (record) record->matches.push_back({compiled.entry.groupName, compiled.entry.name, coloursRows(compiled)});
        if (!perform) {
            if (compiled.actionsFailure) memory_.forget(slot.entry.key);
            continue;
        }

        // Held here: a refresh that begins during an action drops the slots.
        const std::shared_ptr<const CompiledFilter> filter = slot.compiled;

        for (const auto& action : filter->actions) {
            // An action that does not fire was read and converted with its filter; formatting it cannot fail.
            if (!actionFires(action.code, filter->once, newGame)) continue;
            detach();
            const std::string text =
                action.format ? action.format->format(data.variable(action.variable)) : action.text;
            actions_.perform({row, filter->entry.name, action.code, text});
            // A refresh that began meanwhile (a box keeps the event loop running) owns the filters now.
            if (tick != tick_) return;
        }
        if (filter->actionsFailure) {
            detach();
            fail(slots_[i], *filter->actionsFailure);
            if (tick != tick_) return;
        }
    }
}

std::string matchExplanation(const EvaluationRecord& record)
{
    std::string text;
    for (const FilterMatch& match : record.matches) {
        if (!text.empty()) text += '\n';
        text += match.coloursRow ? "Farbe von " : "Passt zu ";
        text += match.groupName + " / " + match.filterName;
    }
    return text;
}

} // namespace quintor
