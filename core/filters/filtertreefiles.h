// What the tree editor's changes do to the filter store's files. Every change (a filter or group made,
// renamed, deleted or moved up) is planned whole first: the new filter list, the final bytes of every file it
// writes ("filter.txt", "index.txt" and the per-filter files that change keys) and the files it deletes. The
// plan is then carried out through a journal, so a crash at any point leaves the old set of files or the new
// one at the next start, never a filter with another filter's rules or a list that names files that are gone.
#pragma once

#include "filters/filterfiles.h"
#include "settings/filejournal.h"
#include "settings/fileport.h"
#include "settings/textlist.h"
#include "settings/translate.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

// Said once when the filter files exist but cannot be read: this run shows them and saves no change.
inline constexpr std::string_view kFilterFilesUnreadable =
    untranslated("Die Filterdateien konnten nicht gelesen werden; "
                 "\xC4nderungen werden nicht gespeichert.");

struct FilterStoreLoad {
    TextList filters; // "filter.txt" as read; empty when it is missing or could not be read
    // Why the store cannot be trusted (a file of it that exists but could not be read or that a NUL byte cuts, or
    // an unfinished change that could not be finished). Then no filter file may be written in this run.
    std::optional<std::string> unreadable;
};

// At start, before anything reads or writes a filter file: finishes a change that a crash interrupted
// (finishFilterChange), then reads "filter.txt" and checks that "index.txt" and the files of every listed
// filter, where they exist, can be read.
FilterStoreLoad loadFilterStore(FilePort& files, const std::string& appFolder);

// Finishes a change whose journal a crash (or a failed step) left, and removes the journal. FileError when it
// cannot be finished; the journal then stays for the next start.
JournalReplay finishFilterChange(FilePort& files, const std::string& appFolder);

struct FilterTreeChange {
    enum class Kind { newGroup, newFilter, renameGroup, renameFilter, deleteGroup, deleteFilter, moveFilterUp };
    Kind kind = Kind::newGroup;
    int group = 0;
    int filter = 0;   // for the filter kinds; a new filter goes to the end of `group`
    std::string name; // for the new and rename kinds

    static FilterTreeChange addGroup(std::string name) { return {Kind::newGroup, 0, 0, std::move(name)}; }
    static FilterTreeChange addFilter(int group, std::string name)
    {
        return {Kind::newFilter, group, 0, std::move(name)};
    }
    static FilterTreeChange renameGroup(int group, std::string name)
    {
        return {Kind::renameGroup, group, 0, std::move(name)};
    }
    static FilterTreeChange renameFilter(int group, int filter, std::string name)
    {
        return {Kind::renameFilter, group, filter, std::move(name)};
    }
    static FilterTreeChange deleteGroup(int group) { return {Kind::deleteGroup, group, 0, {}}; }
    static FilterTreeChange deleteFilter(int group, int filter) { return {Kind::deleteFilter, group, filter, {}}; }
    static FilterTreeChange moveFilterUp(int group, int filter) { return {Kind::moveFilterUp, group, filter, {}}; }
};

// Where each filter's key went, so that what is kept per filter (its report-once memory) goes with it.
struct FilterKeyMapping {
    std::map<std::string, std::string> moved; // old key -> new key, only for filters whose key changed
    std::vector<std::string> removed;         // keys of the deleted filters
    std::optional<std::string> added;         // the key of a new filter
    bool operator==(const FilterKeyMapping&) const = default;
};

struct FilterTreePlan {
    TextList filters;      // the filter list after the change
    FileSetChange files;   // what the change writes and deletes (bare names in the application folder)
    FilterKeyMapping keys; // the filters' keys before and after
};

// Plans `change` on the filter list `filters` (the tree as it stands) without writing anything. The files of
// filters that change keys are read now: moving up needs all four files of both filters (FileError naming the
// one that cannot be read); elsewhere a file that is missing stays missing under the new key. An unfinished
// change is finished first. A new group writes no file (its line follows with the next change or the closing);
// every other change writes "index.txt" and "filter.txt" with its files. QuintorError for a change that does not
// fit the list.
FilterTreePlan planFilterTreeChange(const TextList& filters, const FilterTreeChange& change, FilePort& files,
                                    const std::string& appFolder);

// Carries out a plan through the journal (applyJournaled). FileError when it could not and nothing has changed;
// UnfinishedChange when the journal was written but a step failed: the next start (or the next change) finishes
// it, and the plan's list is the one to keep.
void applyFilterTreePlan(const FilterTreePlan& plan, FilePort& files, const std::string& appFolder);

// Both: the change planned and carried out; the plan says what it did.
FilterTreePlan changeFilterTree(const TextList& filters, const FilterTreeChange& change, FilePort& files,
                                const std::string& appFolder);

// Writes "filter.txt" and "index.txt" for `filters` together through the journal (closing the editor).
void writeFilterList(const TextList& filters, FilePort& files, const std::string& appFolder);

} // namespace quintor
