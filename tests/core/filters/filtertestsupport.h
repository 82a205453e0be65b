// A temporary filter store and an actions port that records, for the filter tests.
#pragma once

#include "filters/filteractions.h"
#include "filters/filterfiles.h"
#include "support/tempfolder.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quintor::test {

struct Performed {
    RowHandle row;
    std::string filter;
    ActionKind code;
    std::string text;
    bool operator==(const Performed&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Performed& p)
{
    return out << "{row " << p.row << ", \"" << p.filter << "\", " << static_cast<int>(p.code) << ", \"" << p.text
               << "\"}";
}

// Records every action; colours the row as the program does, so colour tests see the store.
class RecordingActions : public FilterActions {
public:
    explicit RecordingActions(GameStore& games) : games_(games) {}
    std::vector<Performed> performed;

    void perform(const PerformedAction& action) override
    {
        performed.push_back({action.row, action.filterName, action.kind, action.text});
        if (action.kind == ActionKind::colourRow) paintRow(games_, action.row, action.text);
    }

private:
    GameStore& games_;
};

// Adds a filter to the list and writes its files; a file given as nullopt is not written.
inline void addFilter(const TempFolder& folder, TextList& filters, int group, int index, const std::string& name,
                      const std::optional<std::string>& conditions, const std::optional<std::string>& actions)
{
    if (filters.value(groupKey(group)).empty()) filters.add(groupKey(group) + "=Gruppe " + std::to_string(group));
    const std::string key = filterKey(group, index);
    filters.add(key + "=" + name);
    if (conditions) folder.write(conditionsFileName(key), *conditions);
    if (actions) folder.write(actionsFileName(key), *actions);
}

// A conditions file: rows of field/act/edit, then typ and active.
struct Row {
    std::string field, act, edit;
};
inline std::string conditionsText(const std::vector<Row>& rows, const std::string& typ = "0",
                                  const std::string& active = "True")
{
    std::string text;
    for (std::size_t j = 0; j < rows.size(); ++j) {
        const std::string n = std::to_string(j);
        text += "field" + n + "=" + rows[j].field + "\r\nact" + n + "=" + rows[j].act + "\r\nedit" + n + "=" +
                rows[j].edit + "\r\n";
    }
    return text + "typ=" + typ + "\r\nactive=" + active + "\r\n";
}
// An actions file: rows of action code, variable code, text.
inline std::string actionsText(const std::vector<Row>& rows)
{
    std::string text;
    for (std::size_t j = 0; j < rows.size(); ++j) {
        const std::string n = std::to_string(j);
        text += "field" + n + "=" + rows[j].field + "\r\nact" + n + "=" + rows[j].act + "\r\nedit" + n + "=" +
                rows[j].edit + "\r\n";
    }
    return text;
}

} // namespace quintor::test
