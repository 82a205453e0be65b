#include "refresh/rowbuilder.h"

#include "refresh/rowtexts.h"
#include "settings/convert.h"
#include "settings/keys.h"

namespace quintor {

void rebuildColumns(TextList& config, GameListView& list)
{
    for (int n = 0; n < list.columnCount(); ++n) {
        config.setValue(keys::numbered(keys::columnWidth, n), std::to_string(list.columnWidth(n)));
    }
    list.clearRows();
    list.clearColumns();
    list.addColumn("Szenario", strToIntDef(config.value(keys::numbered(keys::columnWidth, 0)), 100));
    for (int n = 1;; ++n) {
        const std::string caption = columnCaption(config, n);
        if (caption.empty()) break;
        const std::string width = config.value(keys::numbered(keys::columnWidth, n));
        list.addColumn(caption, width.empty() ? 80 : strToInt(width));
    }
}

RowHandle completeRecord(GameRecord&& entry, GameStore& games, const TextList& config, const TextList& aliases,
                         GameListView& list, GameFilter* filter)
{
    const RowHandle row = list.addRow();
    entry.Item = row;
    games.append(std::move(entry));
    const std::string explanation = filter ? filter->evaluateFilters(row) : std::string();
    // The filters may have waited in a message box; find the record again rather than keep a reference.
    if (const GameRecord* record = games.find(row)) {
        list.setRowTexts(row, rowCaption(*record, aliases), rowSubItems(*record, config, aliases, list.columnCount()));
        if (!explanation.empty()) list.setRowToolTip(row, explanation);
    }
    return row;
}

RowHandle listStaleRecord(GameRecord entry, GameStore& games, const TextList& config, const TextList& aliases,
                          GameListView& list, GameFilter* filter, const std::string& toolTip)
{
    const RowHandle row = list.addRow();
    entry.Item = row;
    entry.Stale = true;
    games.append(std::move(entry));
    const std::string explanation = filter ? filter->filterStale(row) : std::string();
    if (const GameRecord* record = games.find(row)) {
        list.setRowTexts(row, rowCaption(*record, aliases), rowSubItems(*record, config, aliases, list.columnCount()));
        list.setRowToolTip(row, explanation.empty() ? toolTip : toolTip + "\n" + explanation);
    }
    return row;
}

} // namespace quintor
