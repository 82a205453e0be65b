// What a refresh needs of the main window, so that a whole tick runs without one.
#pragma once

#include "reference/filtermatches.h"
#include "reference/gameentry.h"
#include "refresh/noticeboard.h"

#include <functional>
#include <string>
#include <vector>

namespace quintor {

// What a row's tooltip says: a lead (a kept row's "Stand: ..."), then the filters its game passed, then a trail (the
// friends in its game). The text is put together only when the tooltip is shown.
struct RowToolTip {
    RowToolTip() = default;
    RowToolTip(std::string leadText, FilterMatches matches = {})
        : lead(std::move(leadText)), filters(std::move(matches))
    {
    }
    RowToolTip(const char* leadText) : lead(leadText) {}

    std::string lead;
    FilterMatches filters;
    std::string trail;

    bool empty() const { return lead.empty() && filters.empty() && trail.empty(); }
    std::string text() const
    {
        std::string text = lead;
        for (const std::string& part : {filters.empty() ? std::string() : filters.text(), trail}) {
            if (part.empty()) continue;
            if (!text.empty()) text += '\n';
            text += part;
        }
        return text;
    }
};

// The game list `dlist`: columns and rows. Rows keep rank order by themselves.
class GameListView {
public:
    virtual ~GameListView() = default;
    virtual int columnCount() const = 0;
    virtual int columnWidth(int column) const = 0;
    virtual void clearRows() = 0;
    virtual void clearColumns() = 0;
    virtual void addColumn(const std::string& caption, int width) = 0;
    // A new empty row; its handle links the row to its record.
    virtual RowHandle addRow() = 0;
    // Gives a row its caption and sub-item texts; the list then puts it in its place.
    virtual void setRowTexts(RowHandle row, const std::string& caption, const std::vector<std::string>& subItems) = 0;
    // A refresh adds and places many rows at once: from holdRows() on, a list may keep what changes to itself and
    // show it all at the next showRows(). The refresh calls showRows() before anything else can look at the list
    // (before a request waits, at its end). A list that shows every row at once ignores both.
    virtual void holdRows() {}
    virtual void showRows() {}
    // Takes a row away (a removed server's kept games). A list that only records ignores it.
    virtual void removeRow(RowHandle row) { static_cast<void>(row); }
    // The row's game has a friend in it: the list shows a star before its caption. A list that only records
    // ignores it.
    virtual void markFriendRow(RowHandle row) { static_cast<void>(row); }
    // What is shown, as plain text, when the pointer rests on a row. A list without tooltips ignores it.
    virtual void setRowToolTip(RowHandle row, RowToolTip toolTip)
    {
        static_cast<void>(row);
        static_cast<void>(toolTip);
    }
};

enum class Label { updateTime, gameVersion, openGames, playersOnline, emptySlots, friendsOnline };

// Labels, status bar, timer and visibility of the main window.
class MainView {
public:
    virtual ~MainView() = default;
    // False when neither the main window nor its tray icon is visible.
    virtual bool windowOrTrayVisible() const = 0;
    virtual void setLabel(Label label, const std::string& text) = 0;
    // Sets the status bar's single text and shows it at once.
    virtual void setStatusText(const std::string& text) = 0;
    virtual void stopRefetchTimer() = 0;
    // Starts the timer again when the program goes back online. A view without a timer ignores it.
    virtual void startRefetchTimer() {}
    // The notice board: the notices to show, in order (none: an empty board).
    virtual void showNotices(const std::vector<Notice>& notices) { static_cast<void>(notices); }
    // The line the tray icon's tooltip shows below the program's name (the friends online); empty: none.
    virtual void setTrayLine(const std::string& text) { static_cast<void>(text); }
    // Runs `step` once the event at hand has been dealt with (a window: from its event loop). A view without
    // an event loop runs it at once.
    virtual void runSoon(std::function<void()> step) { step(); }
    // A tick begins and ends (also one that failed): the commands that change its lists wait meanwhile.
    virtual void tickStarted() {}
    virtual void tickEnded() {}
};

// The filters' hook into a refresh.
class GameFilter {
public:
    virtual ~GameFilter() = default;
    // Called once at the start of every refresh that evaluates games.
    virtual void beginTick() = 0;
    // Evaluates every filter for the game of this row. Gives the filters it passed, which the row's tooltip
    // names (none: no tooltip).
    virtual FilterMatches evaluateFilters(RowHandle row) = 0;
    // Called once when such a refresh has seen all its games, with the servers (as the games name them in
    // Server) whose reply could not be read in it. Filters that keep nothing between refreshes ignore it.
    // `listFromFile`: the games came from a file the user loaded, not from the masterservers; what the filters
    // remember of the listed games stays as the last refresh of the servers left it.
    virtual void endTick(const std::vector<std::string>& unreadServers, bool listFromFile)
    {
        static_cast<void>(unreadServers);
        static_cast<void>(listFromFile);
    }
    // A game kept from the last good reply of a server that failed in this refresh (its record is Stale, its
    // Color the one of its last evaluation). No event action may run for it; a filter that reports a game
    // once counts it as still listed. Filters that remember nothing between refreshes ignore it.
    // Gives the filters it passed as evaluateFilters does.
    virtual FilterMatches filterStale(RowHandle row)
    {
        static_cast<void>(row);
        return {};
    }
};

} // namespace quintor
