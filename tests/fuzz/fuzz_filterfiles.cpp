// Conditions and actions file bytes through both readers: the evaluation's (compileFilter) and the
// editor's. Neither may fail in any other way than with the core's errors, and a conditions file the
// editor reads is written back so that it reads the same.
#include "filters/compiledfilter.h"
#include "filters/filterfiles.h"
#include "filters/filterlogic.h"
#include "settings/errors.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace quintor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    // The first byte says where the conditions file ends and the actions file begins.
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t split = rest.empty() ? 0 : data[0] % (rest.size() + 1);
    TextList conditions, actions;
    conditions.setText(rest.substr(0, split));
    actions.setText(rest.substr(split));

    const FilterEntry entry{0, 0, filterKey(0, 0), "Fuzz", "Gruppe"};
    const CompiledFilter filter = compileFilter(entry, [&](const std::string& name) {
        if (name == conditionsFileName(entry.key)) return conditions;
        if (name == actionsFileName(entry.key)) return actions;
        throw FileError("no such file: " + name);
    });
    if (!filter.failure && filter.active) {
        GameRecord game;
        game.Title = "Titel";
        game.Players = {{"Bob", "", "", 1}};
        GameData gameData(game);
        std::vector<bool> flags;
        for (const auto& c : filter.conditions)
            flags.push_back(conditionHolds(gameData.field(c.field), c.comparison, c.text));
        (void)combineConditions(filter.rule, flags);
        for (const auto& a : filter.actions) {
            if (a.format) (void)a.format->format(gameData.variable(a.variable));
        }
    }

    try {
        const FilterConditions read = conditionsFromLines(conditions);
        const FilterConditions again = conditionsFromLines(conditionsLines(read));
        if (again.rows.size() != read.rows.size() || again.typ != read.typ || again.active != read.active ||
            again.once != read.once)
            std::abort();
        for (std::size_t i = 0; i < read.rows.size(); ++i) {
            const auto &a = read.rows[i], &b = again.rows[i];
            // A text with a line break cannot survive a line-based file; everything else must.
            if (a.field != b.field || a.act != b.act) std::abort();
            if (a.edit.find_first_of("\r\n") == std::string::npos && a.edit != b.edit) std::abort();
        }
    } catch (const ConversionError&) {
    }
    const ActionRows rows = actionsFromLines(actions);
    const ActionRows rowsAgain = actionsFromLines(actionsLines(rows.rows));
    if (rowsAgain.error || rowsAgain.rows.size() != rows.rows.size()) std::abort();
    return 0;
}
