// The filter store: "filter.txt", each filter's conditions and actions file, and "index.txt".
#pragma once

#include "settings/keys.h"
#include "settings/textlist.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

// Keys follow from positions alone: group g is "grp" + g, filter f of group g is "grp" + g + "fil" + f.
std::string groupKey(int group);
std::string filterKey(int group, int filter);
// key + ".txt" and key + "_act.txt".
std::string conditionsFileName(const std::string& key);
std::string actionsFileName(const std::string& key);

// Names of the lines of a conditions or actions file.
namespace filterkeys {
inline constexpr std::string_view field = "field";
inline constexpr std::string_view act = "act";
inline constexpr std::string_view edit = "edit";
inline constexpr std::string_view typ = "typ";
inline constexpr std::string_view active = "active";
inline constexpr std::string_view once = "once";
} // namespace filterkeys

// One filter as the filter list names it.
struct FilterEntry {
    int group = 0;
    int index = 0;
    std::string key;
    std::string name;
    std::string groupName;
};

// The filters of the list in evaluation order: groups g = 0, 1, ... while "grp" + g has a value, and
// within each the filters f = 0, 1, ... while "grp" + g + "fil" + f has a value. An entry after a gap
// (or after an empty name) is not seen.
std::vector<FilterEntry> enumerateFilters(const TextList& filters);

// The tree the filter list describes, for the tree editor.
struct FilterGroup {
    std::string name;
    std::vector<std::string> filters;
};
std::vector<FilterGroup> readFilterTree(const TextList& filters);
// The lines of "filter.txt" for a tree: each group's line, then its filters' lines.
TextList filterListOf(const std::vector<FilterGroup>& tree);

// The filter set of the folder's "filter.txt" (ending with the separator); empty when there is none.
// FileError when it exists but cannot be read.
TextList loadFilterList(const std::string& appFolder);

// The lines of "index.txt": each filter's key and key + "_act", in list order, then "filter".
TextList filterIndexOf(const TextList& filters);

// One row of a conditions or actions file as the editor holds it: the chosen positions of the two
// lists (-1 for none) and the text.
struct FilterRow {
    std::int32_t field = -1;
    std::int32_t act = -1;
    std::string edit;
};

struct FilterConditions {
    std::vector<FilterRow> rows;
    std::int32_t typ = 0;
    bool active = true;
    bool once = false; // "once": the event actions run only for a game that starts to match
};

// Whether a conditions file is still as "Neuer Filter" wrote it: nothing but blank lines.
bool notYetEdited(const TextList& conditions);

// "once" of a conditions file: a missing or empty value is false, any other converts like "active".
bool onceValue(const TextList& conditions);

// The editor's reading of a conditions file: rows while "field" + j has a value, "field" and "act"
// converted as decimal integers (a missing one is an error), a missing "typ" taken as 0 and a missing
// "active" as true; "once" as onceValue, but true for a filter not yet edited, so that a new filter
// starts marked. ConversionError for a value that does not convert.
FilterConditions conditionsFromLines(const TextList& lines);
// The same from key + ".txt"; FileError when the file cannot be read.
FilterConditions readConditions(const std::string& appFolder, const std::string& key);

// Rows of an actions file up to the first one that does not convert; `error` names that failure.
struct ActionRows {
    std::vector<FilterRow> rows;
    std::optional<std::string> error;
};
ActionRows actionsFromLines(const TextList& lines);
// The same from key + "_act.txt"; a missing file has no rows.
ActionRows readActions(const std::string& appFolder, const std::string& key);

// The file forms, in their written order: field/act/edit per row; a conditions file then "typ",
// "active" and "once" ("True"/"False").
TextList conditionsLines(const FilterConditions& conditions);
TextList actionsLines(const std::vector<FilterRow>& rows);
// Written whole through the safe save; FileError when that fails (the old file stays).
void writeConditions(const std::string& appFolder, const std::string& key, const FilterConditions& conditions);
void writeActions(const std::string& appFolder, const std::string& key, const std::vector<FilterRow>& rows);

} // namespace quintor
