#include "filters/filterengine.h"
#include "settings/translate.h"

#include "filters/filterlogic.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

namespace quintor {
namespace {

bool sameEntry(const FilterEntry& a, const FilterEntry& b)
{
    return a.group == b.group && a.index == b.index && a.key == b.key && a.name == b.name && a.groupName == b.groupName;
}

} // namespace

FilterEngine::FilterEngine(const TextList& filters, GameStore& games, std::string appFolder, FilterActions& actions,
                           ErrorReport report)
    : filters_(filters), games_(games), appFolder_(std::move(appFolder)), folderWatch_(appFolder_), actions_(actions),
      report_(std::move(report))
{
}

void FilterEngine::beginTick()
{
    memory_.beginTick();
    actions_.beginTick();
    prepared_ = false;
    slots_.clear();
    checks_.clear();
}

void FilterEngine::prepare()
{
    slots_.clear();
    for (auto& entry : enumerateFilters(filters_))
        slots_.push_back({std::move(entry), nullptr, nullptr});
    checks_.assign(slots_.size(), Check{});
    conditionsOfChecks_.clear();
    conditionNumbers_.clear();
    numberedConditions_.clear();
    decided_.clear();
    grouped_ = false;
    firstConditions_.clear();
    // A table of its own for every refresh: the rows of the last one keep theirs.
    lines_ = std::make_shared<std::vector<std::string>>(slots_.size());
    bindMemory();
    prepared_ = true;
}

void FilterEngine::bindMemory()
{
    for (Slot& slot : slots_)
        slot.memory = &memory_.filter(slot.entry.key);
    memoryGeneration_ = memory_.generation();
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
    read_.clear(); // the files moved with their filters
}

void FilterEngine::fail(std::size_t place, const std::string& reason)
{
    const Slot& slot = slots_[place];
    checks_[place].state = Check::State::failed;
    if (grouped_) open_[place / 64] &= ~(std::uint64_t(1) << (place % 64));
    memory_.forget(*slot.memory);
    if (report_) report_("Filter \"" + slot.entry.name + "\": " + reason);
}

void FilterEngine::takeFolderNotices()
{
    FolderWatch::Changes changes = folderWatch_.changes();
    // Every few takes (refreshes) all stamps are looked at all the same: a change the notices cannot tell of (made
    // through a second name the file got after it was read, or through a mapping of it) counts a few refreshes late,
    // not never.
    constexpr unsigned kTakesPerFullLook = 10;
    if (++takes_ % kTakesPerFullLook == 0) changes.everything = true;
    if (!changes.everything && changes.names.empty()) return;
    for (auto& [key, filter] : read_) {
        filter.named = filter.named || std::any_of(filter.files.begin(), filter.files.end(), [&](const auto& file) {
                           return changes.mayHaveChanged(file.first);
                       });
    }
}

std::shared_ptr<const CompiledFilter> FilterEngine::readFilter(const FilterEntry& entry)
{
    // Taken at the first read of each evaluation, not once per tick: a file may change while a tick waits for a reply,
    // before its filter is read. Nothing waits during an evaluation.
    if (!noticesTaken_) takeFolderNotices();
    noticesTaken_ = true;
    const auto known = read_.find(entry.key);
    if (known != read_.end()) {
        ReadFilter& last = known->second;
        // Files the folder's notices speak for are looked at only when a notice named one of them (once the notices
        // can no longer be trusted, every take names every file).
        const bool unchanged = (last.watched && !last.named) ||
                               std::all_of(last.files.begin(), last.files.end(), [this](const auto& file) {
                                   const std::optional<FileStamp> now = fileStamp(appFolder_ + file.first);
                                   return now && *now == file.second;
                               });
        if (unchanged) {
            last.named = false; // as they are now; a change from here on comes with a notice of its own
            if (!sameEntry(last.compiled->entry, entry)) {
                auto renamed = std::make_shared<CompiledFilter>(*last.compiled);
                renamed->entry = entry;
                last.compiled = std::move(renamed);
            }
            return last.compiled;
        }
    }
    ReadFilter fresh;
    bool settled = true;
    CompiledFilter filter = compileFilter(entry, [&](const std::string& fileName) {
        StampedFile file = readStampedFile(appFolder_ + fileName);
        settled = settled && file.settled;
        fresh.files.emplace_back(fileName, file.stamp);
        TextList lines;
        lines.setText(file.bytes);
        return lines;
    });
    fresh.compiled = std::make_shared<const CompiledFilter>(std::move(filter));
    // Kept only when read whole from files whose stamps will show a change: a failure may come from a file that
    // is missing, and that has no stamp to watch.
    if (settled && !fresh.compiled->failure && !fresh.compiled->actionsFailure) {
        fresh.watched = std::all_of(fresh.files.begin(), fresh.files.end(),
                                    [this](const auto& file) { return folderWatch_.covers(file.first); });
        read_[entry.key] = fresh;
    } else if (known != read_.end()) {
        read_.erase(known);
    }
    return fresh.compiled;
}

std::uint32_t FilterEngine::conditionNumber(const CompiledCondition& condition)
{
    std::string key(sizeof(std::int32_t) + 1, '\0');
    const auto field = static_cast<std::int32_t>(condition.field);
    std::memcpy(key.data(), &field, sizeof field);
    key.back() = static_cast<char>(condition.comparison);
    key += condition.text;
    const auto [number, added] =
        conditionNumbers_.try_emplace(std::move(key), static_cast<std::uint32_t>(conditionNumbers_.size()));
    if (added) {
        decided_.push_back(0);
        numberedConditions_.push_back(&condition);
    }
    return number->second;
}

std::uint8_t FilterEngine::decide(std::uint32_t number, GameData& data)
{
    return conditionHoldsFor(*numberedConditions_[number], data) ? 2 : 1;
}

// Inlined into the loops over the filters: a call there costs more than the look-up.
[[gnu::always_inline]] inline bool FilterEngine::holds(std::uint32_t number, GameData& data)
{
    std::uint8_t& decided = decided_[number];
    if (decided == 0) decided = decide(number, data);
    return decided == 2;
}

inline bool FilterEngine::passes(const Check& check, GameData& data)
{
    const std::uint32_t* const numbers = conditionsOfChecks_.data() + check.firstCondition;
    return combineConditions(check.rule, check.conditionCount, [&](std::size_t j) { return holds(numbers[j], data); });
}

void FilterEngine::compile(Slot& slot, std::size_t place)
{
    slot.compiled = readFilter(slot.entry);
    const CompiledFilter& filter = *slot.compiled;
    Check& check = checks_[place];
    check.firstCondition = static_cast<std::uint32_t>(conditionsOfChecks_.size());
    check.conditionCount = static_cast<std::uint32_t>(filter.conditions.size());
    check.rule = filter.rule;
    check.state = filter.failure ? Check::State::broken : filter.active ? Check::State::decide : Check::State::inactive;
    for (const CompiledCondition& condition : filter.conditions)
        conditionsOfChecks_.push_back(conditionNumber(condition));
    (*lines_)[place] = (slot.compiled->coloursRows ? tr("Farbe von ") : tr("Passt zu ")) + slot.entry.groupName +
                       " / " + slot.entry.name;
}

void FilterEngine::evaluateFilters(RowHandle row, FilterActionMode mode, EvaluationRecord* record)
{
    noticesTaken_ = false;
    if (!prepared_)
        prepare();
    else if (memoryGeneration_ != memory_.generation())
        bindMemory(); // the tree editor moved filters during the refresh
    const GameRecord* stored = std::as_const(games_).find(row);
    if (!stored) return;
    const bool perform = mode == FilterActionMode::perform;
    // No action waits for anything (boxes are queued), so the stored record serves the whole evaluation.
    const GameRecord& game = *stored;
    GameData data(game);
    std::fill(decided_.begin(), decided_.end(), std::uint8_t(0));
    std::uint64_t identity = 0; // on the first match
    std::uint32_t server = 0;

    const auto visit = [&](std::size_t place) {
        if (checks_[place].state == Check::State::uncompiled) compile(slots_[place], place);
        const Check& check = checks_[place];
        if (check.state == Check::State::decide) {
            if (!passes(check, data)) return;
        } else if (check.state == Check::State::broken) {
            const Slot& slot = slots_[place];
            if (!perform) {
                // It must remember nothing of this refresh either; the report waits for a listed game.
                memory_.forget(*slot.memory);
                return;
            }
            fail(place, *slot.compiled->failure);
            return;
        } else {
            return; // inactive, or failed earlier in this refresh
        }
        Slot& slot = slots_[place];
        const CompiledFilter& filter = *slot.compiled;
        if (identity == 0) {
            identity = identityHashOf(game);
            server = memory_.server(game.Server);
        }
        const bool newGame = memory_.noteMatch(*slot.memory, identity, server);
        if (record) {
            if (!record->lines) record->lines = lines_;
            record->passed.push_back(static_cast<std::uint32_t>(place));
        }
        if (!perform) {
            if (filter.actionsFailure) memory_.forget(*slot.memory);
            return;
        }
        for (const auto& action : filter.actions) {
            // An action that does not fire was read and converted with its filter; formatting it cannot fail.
            if (!actionFires(action.kind, filter.once, newGame)) continue;
            if (action.format) {
                const std::string text = action.format->format(data.variable(action.variable));
                actions_.perform({row, filter.entry.key, filter.entry.name, action.kind, text});
            } else {
                actions_.perform({row, filter.entry.key, filter.entry.name, action.kind, action.text});
            }
        }
        if (filter.actionsFailure) fail(place, *filter.actionsFailure);
    };

    if (!grouped_) {
        // The refresh's first game reads every filter on its way.
        for (std::size_t place = 0; place < slots_.size(); ++place)
            visit(place);
        groupByFirstCondition();
        return;
    }
    candidates_ = open_;
    for (const FirstCondition& first : firstConditions_) {
        const std::vector<std::uint64_t>& out = holds(first.number, data) ? first.outWhenTrue : first.outWhenFalse;
        for (std::size_t word = 0; word < candidates_.size(); ++word)
            candidates_[word] &= ~out[word];
    }
    for (std::size_t word = 0; word < candidates_.size(); ++word) {
        for (std::uint64_t bits = candidates_[word]; bits != 0; bits &= bits - 1)
            visit(word * 64 + static_cast<std::size_t>(std::countr_zero(bits)));
    }
}

void FilterEngine::groupByFirstCondition()
{
    const std::size_t words = (slots_.size() + 63) / 64;
    open_.assign(words, 0);
    firstConditions_.clear();
    for (std::size_t place = 0; place < checks_.size(); ++place) {
        const Check& check = checks_[place];
        if (check.state == Check::State::uncompiled) return; // an action threw before every filter was read
        if (check.state != Check::State::decide && check.state != Check::State::broken) continue;
        const std::uint64_t bit = std::uint64_t(1) << (place % 64);
        open_[place / 64] |= bit;
        if (check.state != Check::State::decide || check.conditionCount == 0) continue;
        // A filter that needs one of its conditions may pass whatever its first one gives.
        if (check.rule != CombineRule::allHold && check.rule != CombineRule::noneHolds) continue;
        const std::uint32_t number = conditionsOfChecks_[check.firstCondition];
        auto group = std::find_if(firstConditions_.begin(), firstConditions_.end(),
                                  [number](const FirstCondition& first) { return first.number == number; });
        if (group == firstConditions_.end()) {
            group = firstConditions_.insert(
                firstConditions_.end(), {number, std::vector<std::uint64_t>(words), std::vector<std::uint64_t>(words)});
        }
        (check.rule == CombineRule::allHold ? group->outWhenFalse : group->outWhenTrue)[place / 64] |= bit;
    }
    grouped_ = true;
}

} // namespace quintor
