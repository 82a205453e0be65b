#include "refresh/rowbuilder.h"

#include "refresh/rowtexts.h"
#include "settings/convert.h"
#include "settings/keys.h"

#include <utility>

namespace quintor {

void storeColumnWidths(TextList& config, const GameListView& list)
{
    for (int n = 0; n < list.columnCount(); ++n) {
        config.setValue(keys::numbered(keys::columnWidth, n), std::to_string(list.columnWidth(n)));
    }
}

void rebuildColumns(TextList& config, GameListView& list)
{
    storeColumnWidths(config, list);
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

RowBuilder::RowBuilder(GameStore& games, const TextList& config, const TextList& aliases, GameListView& list,
                       GameFilter* filter, const FriendList* friends)
    : games_(games), aliases_(aliases), list_(list), filter_(filter), friends_(friends),
      columns_(subItemColumns(config, list.columnCount()))
{
}

RowBuilder::~RowBuilder()
{
    try {
        showCompleted();
    } catch (...) {
        // The error that ended the tick is already on its way; a second one from the same filters adds nothing.
    }
}

RowHandle RowBuilder::complete(GameRecord&& entry)
{
    const RowHandle row = list_.addRow();
    entry.Item = row;
    if (filter_) entry.IdentityHash = gameIdentityHash(entry); // what the filters tell games apart by
    games_.append(std::move(entry));
    if (waiting_.capacity() == 0) waiting_.reserve(kRun);
    waiting_.push_back(row);
    if (waiting_.size() == kRun) showCompleted();
    return row;
}

void RowBuilder::showCompleted()
{
    // Taken out first: should a filter throw, the rows after it are not shown twice by a later call.
    std::vector<RowHandle> rows;
    rows.swap(waiting_);
    for (const RowHandle row : rows) {
        FilterMatches matches = filter_ ? filter_->evaluateFilters(row) : FilterMatches();
        showRow(row, RowToolTip({}, std::move(matches)));
    }
    rows.clear();
    waiting_.swap(rows); // its room serves the next run
}

RowHandle RowBuilder::listStale(GameRecord entry, const std::string& toolTip)
{
    showCompleted(); // the filters hear of the games in the order they were listed
    const RowHandle row = list_.addRow();
    entry.Item = row;
    entry.Stale = true;
    if (filter_ && entry.IdentityHash == 0) entry.IdentityHash = gameIdentityHash(entry);
    games_.append(std::move(entry));
    FilterMatches matches = filter_ ? filter_->filterStale(row) : FilterMatches();
    showRow(row, RowToolTip(toolTip, std::move(matches)));
    return row;
}

void RowBuilder::showRow(RowHandle row, RowToolTip toolTip)
{
    // The filters may have waited in a message box; find the record again rather than keep a reference.
    const GameRecord* record = std::as_const(games_).find(row);
    if (!record) return;
    std::string alias;
    rowSubItems(*record, columns_, aliases_, subItems_);
    list_.setRowTexts(row, rowCaption(*record, aliases_, alias), subItems_);
    // The friends in its game close the tooltip, and the row is marked when it has any.
    const std::vector<std::string> found = friends_ ? friends_->in(*record) : std::vector<std::string>();
    if (!found.empty()) {
        list_.markFriendRow(row);
        toolTip.trail = friendsToolTipLine(found);
    }
    if (!toolTip.empty()) list_.setRowToolTip(row, std::move(toolTip));
}

RowHandle completeRecord(GameRecord&& entry, GameStore& games, const TextList& config, const TextList& aliases,
                         GameListView& list, GameFilter* filter, const FriendList* friends)
{
    RowBuilder rows(games, config, aliases, list, filter, friends);
    const RowHandle row = rows.complete(std::move(entry));
    rows.showCompleted();
    return row;
}

RowHandle listStaleRecord(GameRecord entry, GameStore& games, const TextList& config, const TextList& aliases,
                          GameListView& list, GameFilter* filter, const std::string& toolTip, const FriendList* friends)
{
    return RowBuilder(games, config, aliases, list, filter, friends).listStale(std::move(entry), toolTip);
}

} // namespace quintor
