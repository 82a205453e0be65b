// The condition and action editor without its widgets: the item lists and first choices of a row, the
// rows of a page as values with their numbering, the visibility rule of action rows, and the walk
// through the two pages that reads and writes the filter's two files.
#pragma once

#include "filters/filterfiles.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

enum class FilterPageKind { conditions = 1, actions = 2 };

// The items of a row's two lists, in code order (the position is the code in the files).
const std::vector<std::string>& fieldItems(FilterPageKind page);
const std::vector<std::string>& actItems(FilterPageKind page);
// The combination rules of the conditions page ("typ" 0, 1, 2).
const std::vector<std::string>& combinationItems();

// A row as "+" creates it: nothing chosen, except "Nichts" as the datum of an action row.
FilterRow newRow(FilterPageKind page);

// A code chooses the item at its position; a code without an item chooses nothing (-1).
std::int32_t chosenItem(std::int32_t code, std::size_t itemCount);

// Which of an action row's controls show for an action: no text for "Trete Spiel bei", no datum for
// "Gebe Sound aus" and "Färbe Eintrag ein".
struct RowVisibility {
    bool act = true;
    bool edit = true;
    bool operator==(const RowVisibility&) const = default;
};
RowVisibility actionRowVisibility(std::int32_t action);

// A row and which of its controls show. Rows made by loading show both, whatever their action.
struct PageRow {
    FilterRow values;
    RowVisibility shown;
};

// The rows of one page, numbered 0 .. count - 1 top to bottom without gaps.
class FilterPage {
public:
    explicit FilterPage(FilterPageKind kind = FilterPageKind::conditions) : kind_(kind) {}

    FilterPageKind kind() const { return kind_; }
    int count() const { return static_cast<int>(rows_.size()); }
    const PageRow& row(int r) const;
    std::vector<FilterRow> values() const;

    // "+": a new row at the end with the first choices; its number.
    int addRow();
    // A row read from a file: codes without an item choose nothing; both controls show.
    int addLoadedRow(const FilterRow& values);
    // "-": row n goes, every later row moves up by one number.
    void removeRow(int n);

    void setField(int r, std::int32_t field);
    void setAct(int r, std::int32_t act);
    void setEdit(int r, std::string edit);
    // The user chose an action on the actions page: the code, and the row's visibility after the rule.
    void chooseAction(int r, std::int32_t action);

private:
    PageRow& at(int r);

    FilterPageKind kind_;
    std::vector<PageRow> rows_;
};

// One filter through both pages: the conditions with their combination rule and active flag, then the
// actions. Each step reads or writes the filter's files in the application folder.
class FilterPages {
public:
    // With `savesNothing` (the filter files could not be read at start) the pages turn as usual but write nothing.
    explicit FilterPages(std::string appFolder, bool savesNothing = false)
        : appFolder_(std::move(appFolder)), savesNothing_(savesNothing)
    {
    }

    // Loads key + ".txt" into the conditions page, with the combination rule and the two flags ("once"
    // checked for a filter not yet edited). FileError or ConversionError when the filter is invalid; the
    // page then holds nothing of it.
    void load(const std::string& key);

    // "Weiter": writes key + ".txt" from the conditions page and the flags, then turns to the actions page with the
    // rows of key + "_act.txt" (none when it is missing). The text of the conversion error that ended
    // the loading of the actions early, if any. FileError when the write fails: nothing changes then.
    std::optional<std::string> leaveConditions();
    // Whether the last "Weiter" wrote conditions other than those loaded: the filter then catches other
    // games and starts afresh, announcing what it now catches.
    bool conditionsChanged() const { return conditionsChanged_; }

    // "OK": writes key + "_act.txt" from the actions page; FileError when that fails.
    void confirmActions() const;

    const std::string& key() const { return key_; }
    FilterPageKind kind() const { return page_.kind(); }
    FilterPage& page() { return page_; }
    const FilterPage& page() const { return page_; }
    std::int32_t typ() const { return typ_; }
    void setTyp(std::int32_t typ) { typ_ = typ; }
    bool active() const { return active_; }
    void setActive(bool active) { active_ = active; }
    // "Nur einmal pro Spiel melden".
    bool once() const { return once_; }
    void setOnce(bool once) { once_ = once; }
    // The conditions page with its combination rule and flags, as "Weiter" writes them.
    FilterConditions conditions() const { return {page_.values(), typ_, active_, once_}; }

private:
    std::string appFolder_;
    bool savesNothing_ = false;
    std::string loadedConditions_; // as "Weiter" would write them right after loading
    bool conditionsChanged_ = false;
    std::string key_;
    FilterPage page_;
    std::int32_t typ_ = 0;
    bool active_ = true;
    bool once_ = true;
};

} // namespace quintor
