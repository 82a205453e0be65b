#include "refresh/rowbuilder.h"

#include "refresh/rowtexts.h"
#include "settings/convert.h"
#include "settings/keys.h"

namespace quintor {
namespace {

// Gives the row its tooltip, the friends in its game last, and marks it when it has any.
void finishRow(GameListView& list, const GameRecord& record, std::string toolTip, const FriendList* friends)
{
    const std::vector<std::string> found = friends ? friends->in(record) : std::vector<std::string>();
    if (!found.empty()) {
        list.markFriendRow(record.Item);
        toolTip += (toolTip.empty() ? "" : "\n") + friendsToolTipLine(found);
    }
    if (!toolTip.empty()) list.setRowToolTip(record.Item, toolTip);
}

} // namespace

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
                         GameListView& list, GameFilter* filter, const FriendList* friends)
{
    const RowHandle row = list.addRow();
    entry.Item = row;
    games.append(std::move(entry));
    const std::string explanation = filter ? filter->evaluateFilters(row) : std::string();
    // The filters may have waited in a message box; find the record again rather than keep a reference.
    if (const GameRecord* record = games.find(row)) {
        list.setRowTexts(row, rowCaption(*record, aliases), rowSubItems(*record, config, aliases, list.columnCount()));
        finishRow(list, *record, explanation, friends);
    }
    return row;
}

RowHandle listStaleRecord(GameRecord entry, GameStore& games, const TextList& config, const TextList& aliases,
                          GameListView& list, GameFilter* filter, const std::string& toolTip, const FriendList* friends)
{
    const RowHandle row = list.addRow();
    entry.Item = row;
    entry.Stale = true;
    games.append(std::move(entry));
    const std::string explanation = filter ? filter->filterStale(row) : std::string();
    if (const GameRecord* record = games.find(row)) {
        list.setRowTexts(row, rowCaption(*record, aliases), rowSubItems(*record, config, aliases, list.columnCount()));
        finishRow(list, *record, explanation.empty() ? toolTip : toolTip + "\n" + explanation, friends);
    }
    return row;
}

} // namespace quintor
