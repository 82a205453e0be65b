#include "filters/filterfiles.h"

#include "settings/convert.h"
#include "settings/errors.h"
#include "settings/fileio.h"
#include "settings/keys.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

namespace quintor {
namespace {

const std::string kFilterListBase = "filter";

} // namespace

std::string groupKey(int group)
{
    return "grp" + std::to_string(group);
}

std::string filterKey(int group, int filter)
{
    return groupKey(group) + "fil" + std::to_string(filter);
}

std::string conditionsFileName(const std::string& key)
{
    return key + ".txt";
}

std::string actionsFileName(const std::string& key)
{
    return key + "_act.txt";
}

namespace {

// The group and filter of a line named groupKey(g) (filter -1) or filterKey(g, f), its letters in any case; nothing
// for any other name.
std::optional<std::pair<int, int>> filterListPlace(std::string_view name)
{
    const auto word = [&name](std::string_view lower) {
        if (name.size() < lower.size()) return false;
        for (std::size_t i = 0; i < lower.size(); ++i) {
            if ((name[i] | 0x20) != lower[i]) return false; // the letters of `lower` and their capitals only
        }
        name.remove_prefix(lower.size());
        return true;
    };
    // A number as std::to_string writes it: no sign, no leading zero.
    const auto number = [&name]() -> std::optional<int> {
        std::size_t digits = 0;
        while (digits < name.size() && name[digits] >= '0' && name[digits] <= '9')
            ++digits;
        if (digits == 0 || digits > 9 || (digits > 1 && name[0] == '0')) return std::nullopt;
        int value = 0;
        for (std::size_t i = 0; i < digits; ++i)
            value = value * 10 + (name[i] - '0');
        name.remove_prefix(digits);
        return value;
    };
    if (!word("grp")) return std::nullopt;
    const auto group = number();
    if (!group) return std::nullopt;
    if (name.empty()) return std::pair{*group, -1};
    if (!word("fil")) return std::nullopt;
    const auto filter = number();
    if (!filter || !name.empty()) return std::nullopt;
    return std::pair{*group, *filter};
}

} // namespace

std::vector<FilterEntry> enumerateFilters(const TextList& filters)
{
    // One pass over the list; as TextList::value, the first line of a name counts.
    std::map<std::pair<int, int>, int> firstLine;
    for (int i = 0; i < filters.count(); ++i) {
        const std::string_view line = filters.line(i);
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        if (const auto place = filterListPlace(line.substr(0, equals))) firstLine.try_emplace(*place, i);
    }
    const auto value = [&](int group, int filter) {
        const auto found = firstLine.find({group, filter});
        return found == firstLine.end() ? std::string() : filters.valueAt(found->second);
    };
    std::vector<FilterEntry> entries;
    for (int g = 0;; ++g) {
        const std::string groupName = value(g, -1);
        if (groupName.empty()) break;
        for (int f = 0;; ++f) {
            std::string name = value(g, f);
            if (name.empty()) break;
            entries.push_back({g, f, filterKey(g, f), std::move(name), groupName});
        }
    }
    return entries;
}

std::vector<FilterGroup> readFilterTree(const TextList& filters)
{
    std::vector<FilterGroup> tree;
    for (int g = 0;; ++g) {
        std::string name = filters.value(groupKey(g));
        if (name.empty()) break;
        FilterGroup group{std::move(name), {}};
        for (int f = 0;; ++f) {
            std::string filter = filters.value(filterKey(g, f));
            if (filter.empty()) break;
            group.filters.push_back(std::move(filter));
        }
        tree.push_back(std::move(group));
    }
    return tree;
}

TextList filterListOf(const std::vector<FilterGroup>& tree)
{
    TextList lines;
    for (std::size_t g = 0; g < tree.size(); ++g) {
        const int group = static_cast<int>(g);
        lines.add(groupKey(group) + "=" + tree[g].name);
        for (std::size_t f = 0; f < tree[g].filters.size(); ++f) {
            lines.add(filterKey(group, static_cast<int>(f)) + "=" + tree[g].filters[f]);
        }
    }
    return lines;
}

TextList loadFilterList(const std::string& appFolder)
{
    TextList filters;
    const std::string path = appFolder + std::string(files::filter);
    if (fileExists(path)) filters.loadFromFile(path);
    return filters;
}

TextList filterIndexOf(const TextList& filters)
{
    TextList index;
    for (const auto& entry : enumerateFilters(filters)) {
        index.add(entry.key);
        index.add(entry.key + "_act");
    }
    index.add(kFilterListBase);
    return index;
}

bool notYetEdited(const TextList& conditions)
{
    return std::all_of(conditions.lines().begin(), conditions.lines().end(),
                       [](const std::string& line) { return line.empty(); });
}

bool onceValue(const TextList& conditions)
{
    const std::string once = conditions.value(filterkeys::once);
    return !once.empty() && strToBool(once);
}

FilterConditions conditionsFromLines(const TextList& lines)
{
    FilterConditions conditions;
    for (int j = 0;; ++j) {
        const std::string field = lines.value(keys::numbered(filterkeys::field, j));
        if (field.empty()) break;
        conditions.rows.push_back({strToInt(field), strToInt(lines.value(keys::numbered(filterkeys::act, j))),
                                   lines.value(keys::numbered(filterkeys::edit, j))});
    }
    const std::string typ = lines.value(filterkeys::typ);
    conditions.typ = typ.empty() ? 0 : strToInt(typ);
    const std::string active = lines.value(filterkeys::active);
    conditions.active = active.empty() || strToBool(active);
    conditions.once = notYetEdited(lines) || onceValue(lines);
    return conditions;
}

FilterConditions readConditions(const std::string& appFolder, const std::string& key)
{
    TextList lines;
    lines.loadFromFile(appFolder + conditionsFileName(key));
    return conditionsFromLines(lines);
}

ActionRows actionsFromLines(const TextList& lines)
{
    ActionRows result;
    for (int j = 0;; ++j) {
        const std::string field = lines.value(keys::numbered(filterkeys::field, j));
        if (field.empty()) break;
        try {
            result.rows.push_back({strToInt(field), strToInt(lines.value(keys::numbered(filterkeys::act, j))),
                                   lines.value(keys::numbered(filterkeys::edit, j))});
        } catch (const ConversionError& error) {
            result.error = error.what();
            break;
        }
    }
    return result;
}

ActionRows readActions(const std::string& appFolder, const std::string& key)
{
    const std::string path = appFolder + actionsFileName(key);
    TextList lines;
    if (fileExists(path)) lines.loadFromFile(path);
    return actionsFromLines(lines);
}

namespace {

void addRows(TextList& lines, const std::vector<FilterRow>& rows)
{
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int j = static_cast<int>(r);
        lines.add(keys::numbered(filterkeys::field, j) + "=" + std::to_string(rows[r].field));
        lines.add(keys::numbered(filterkeys::act, j) + "=" + std::to_string(rows[r].act));
        lines.add(keys::numbered(filterkeys::edit, j) + "=" + rows[r].edit);
    }
}

} // namespace

TextList conditionsLines(const FilterConditions& conditions)
{
    TextList lines;
    addRows(lines, conditions.rows);
    lines.add(std::string(filterkeys::typ) + "=" + std::to_string(conditions.typ));
    lines.add(std::string(filterkeys::active) + "=" + boolToStr(conditions.active));
    lines.add(std::string(filterkeys::once) + "=" + boolToStr(conditions.once));
    return lines;
}

TextList actionsLines(const std::vector<FilterRow>& rows)
{
    TextList lines;
    addRows(lines, rows);
    return lines;
}

void writeConditions(const std::string& appFolder, const std::string& key, const FilterConditions& conditions)
{
    conditionsLines(conditions).saveToFile(appFolder + conditionsFileName(key));
}

void writeActions(const std::string& appFolder, const std::string& key, const std::vector<FilterRow>& rows)
{
    actionsLines(rows).saveToFile(appFolder + actionsFileName(key));
}

} // namespace quintor
