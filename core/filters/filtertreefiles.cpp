#include "filters/filtertreefiles.h"
#include "settings/translate.h"

#include "settings/errors.h"
#include "settings/fileio.h"
#include "settings/keys.h"
#include "settings/ownfiles.h"

#include <set>

namespace quintor {
namespace {

const std::string kDoesNotFit = untranslated("Die \xC4nderung passt nicht zur Filterliste.");

// The files a filter change may write or delete: the filter store's and "index.txt", nothing else.
bool isFilterStoreFile(std::string_view name)
{
    constexpr std::string_view extension = ".txt";
    if (name == files::index) return true;
    if (name.size() <= extension.size() || name.substr(name.size() - extension.size()) != extension) return false;
    return isFilterFileBase(name.substr(0, name.size() - extension.size()));
}

struct Position {
    int group = 0;
    int filter = 0;
};

// The tree after a change, with the place each filter had before (none for a new one).
struct ChangedTree {
    std::vector<FilterGroup> groups;
    std::vector<std::vector<std::optional<Position>>> sources;
};

ChangedTree changedTree(const std::vector<FilterGroup>& before, const FilterTreeChange& change, FilterKeyMapping& keys)
{
    ChangedTree tree{before, {}};
    for (std::size_t g = 0; g < before.size(); ++g) {
        auto& sources = tree.sources.emplace_back();
        for (std::size_t f = 0; f < before[g].filters.size(); ++f)
            sources.push_back(Position{static_cast<int>(g), static_cast<int>(f)});
    }
    using Kind = FilterTreeChange::Kind;
    const bool needsName = change.kind == Kind::newGroup || change.kind == Kind::newFilter ||
                           change.kind == Kind::renameGroup || change.kind == Kind::renameFilter;
    // An empty name would end its group (or the list) at the next reading.
    if (needsName && change.name.empty()) throw QuintorError(translateText(kDoesNotFit));
    const std::string name = oneLine(change.name);
    if (change.kind == Kind::newGroup) {
        tree.groups.push_back({name, {}});
        tree.sources.emplace_back();
        return tree;
    }
    const auto g = static_cast<std::size_t>(change.group);
    if (change.group < 0 || g >= tree.groups.size()) throw QuintorError(translateText(kDoesNotFit));
    auto& filters = tree.groups[g].filters;
    auto& sources = tree.sources[g];
    const auto f = static_cast<std::size_t>(change.filter);
    const bool isFilter = change.filter >= 0 && f < filters.size();
    switch (change.kind) {
    case Kind::newGroup:
        break;
    case Kind::newFilter:
        filters.push_back(name);
        sources.push_back(std::nullopt);
        keys.added = filterKey(change.group, static_cast<int>(filters.size()) - 1);
        break;
    case Kind::renameGroup:
        tree.groups[g].name = name;
        break;
    case Kind::renameFilter:
        if (!isFilter) throw QuintorError(translateText(kDoesNotFit));
        filters[f] = name;
        break;
    case Kind::deleteGroup:
        for (std::size_t i = 0; i < filters.size(); ++i)
            keys.removed.push_back(filterKey(change.group, static_cast<int>(i)));
        tree.groups.erase(tree.groups.begin() + change.group);
        tree.sources.erase(tree.sources.begin() + change.group);
        break;
    case Kind::deleteFilter:
        if (!isFilter) throw QuintorError(translateText(kDoesNotFit));
        keys.removed.push_back(filterKey(change.group, change.filter));
        filters.erase(filters.begin() + change.filter);
        sources.erase(sources.begin() + change.filter);
        break;
    case Kind::moveFilterUp:
        if (!isFilter || f == 0) throw QuintorError(translateText(kDoesNotFit));
        std::swap(filters[f], filters[f - 1]);
        std::swap(sources[f], sources[f - 1]);
        break;
    }
    return tree;
}

// The list after moving up: the two lines leave their places and stand at the end, each key with the other
// filter's name; every other line stays where it was.
TextList listAfterMoveUp(const TextList& filters, int group, int filter)
{
    const std::string moved = filterKey(group, filter);
    const std::string previous = filterKey(group, filter - 1);
    TextList list = filters;
    const std::string movedName = list.value(moved);
    const std::string previousName = list.value(previous);
    for (const std::string& key : {moved, previous}) {
        const int line = list.indexOfName(key);
        if (line >= 0) list.remove(line);
    }
    list.add(previous + "=" + movedName);
    list.add(moved + "=" + previousName);
    return list;
}

} // namespace

JournalReplay finishFilterChange(FilePort& files, const std::string& appFolder)
{
    return replayJournal(files, appFolder, files::filterJournal, isFilterStoreFile);
}

FilterStoreLoad loadFilterStore(FilePort& files, const std::string& appFolder)
{
    FilterStoreLoad load;
    const auto note = [&load](const FileError& error) {
        if (!load.unreadable) load.unreadable = error.what();
    };
    try {
        finishFilterChange(files, appFolder);
    } catch (const FileError& error) {
        note(error);
    }
    const auto readable = [&](const std::string& name) -> std::optional<std::string> {
        const std::string path = appFolder + name;
        if (!files.exists(path)) return std::nullopt;
        std::string text;
        try {
            text = files.read(path);
        } catch (const FileError& error) {
            note(error);
            return std::nullopt;
        }
        // Used as far as it was read; what stands behind a NUL byte was not, so the store is read-only as well.
        try {
            refuseTextCutByNul(path, text);
        } catch (const FileError& error) {
            note(error);
        }
        return text;
    };
    if (const auto list = readable(std::string(files::filter))) load.filters.setText(*list);
    readable(std::string(files::index));
    for (const FilterEntry& entry : enumerateFilters(load.filters)) {
        readable(conditionsFileName(entry.key));
        readable(actionsFileName(entry.key));
    }
    return load;
}

FilterTreePlan planFilterTreeChange(const TextList& filters, const FilterTreeChange& change, FilePort& files,
                                    const std::string& appFolder)
{
    // The files are read as they stand after the last change, finished.
    finishFilterChange(files, appFolder);

    FilterTreePlan plan;
    const ChangedTree tree = changedTree(readFilterTree(filters), change, plan.keys);
    const bool movingUp = change.kind == FilterTreeChange::Kind::moveFilterUp;
    plan.filters = movingUp ? listAfterMoveUp(filters, change.group, change.filter) : filterListOf(tree.groups);

    std::set<std::string> newKeys;
    for (std::size_t g = 0; g < tree.groups.size(); ++g) {
        for (std::size_t f = 0; f < tree.groups[g].filters.size(); ++f) {
            const std::string key = filterKey(static_cast<int>(g), static_cast<int>(f));
            newKeys.insert(key);
            const auto& source = tree.sources[g][f];
            if (!source) {
                // A new filter starts with both files present and empty.
                plan.files.writes.push_back({conditionsFileName(key), ""});
                plan.files.writes.push_back({actionsFileName(key), ""});
                continue;
            }
            const std::string from = filterKey(source->group, source->filter);
            if (from == key) continue;
            plan.keys.moved[from] = key;
            for (const auto fileName : {conditionsFileName, actionsFileName}) {
                const std::string path = appFolder + fileName(from);
                // Moving up swaps two whole filters: a file of theirs that is missing stops it.
                if (movingUp || files.exists(path))
                    plan.files.writes.push_back({fileName(key), files.read(path)});
                else
                    plan.files.deletes.push_back(fileName(key));
            }
        }
    }
    for (const FilterEntry& entry : enumerateFilters(filters)) {
        if (newKeys.count(entry.key)) continue;
        plan.files.deletes.push_back(conditionsFileName(entry.key));
        plan.files.deletes.push_back(actionsFileName(entry.key));
    }
    // A new group has no files; its line is written with the next change or when the editor closes.
    if (change.kind == FilterTreeChange::Kind::newGroup) return plan;
    // The list last: until it is written, no reader sees the new keys.
    plan.files.writes.push_back({std::string(files::index), filterIndexOf(plan.filters).text()});
    plan.files.writes.push_back({std::string(files::filter), plan.filters.text()});
    return plan;
}

void applyFilterTreePlan(const FilterTreePlan& plan, FilePort& files, const std::string& appFolder)
{
    applyJournaled(files, appFolder, files::filterJournal, plan.files);
}

FilterTreePlan changeFilterTree(const TextList& filters, const FilterTreeChange& change, FilePort& files,
                                const std::string& appFolder)
{
    FilterTreePlan plan = planFilterTreeChange(filters, change, files, appFolder);
    applyFilterTreePlan(plan, files, appFolder);
    return plan;
}

void writeFilterList(const TextList& filters, FilePort& files, const std::string& appFolder)
{
    finishFilterChange(files, appFolder);
    applyJournaled(
        files, appFolder, files::filterJournal,
        {{{std::string(files::index), filterIndexOf(filters).text()}, {std::string(files::filter), filters.text()}},
         {}});
}

} // namespace quintor
