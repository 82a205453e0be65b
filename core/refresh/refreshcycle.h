// One tick of the refresh cycle: fetch every masterserver (or read a chosen file), rebuild the
// list's columns and rows, let the filters see every game, write the statistic and status bar.
#pragma once

#include "net/httpclient.h"
#include "platform/clock.h"
#include "platform/prompts.h"
#include "reference/reader.h"
#include "refresh/friends.h"
#include "refresh/monitorstate.h"
#include "refresh/views.h"

#include <cstdint>
#include <functional>
#include <string>

namespace quintor {

class RowBuilder;

// The status bar's note after a tick that left out games with values that do not convert.
std::string skippedGamesText(int count);
// The note while the fallback answers for the built-in server.
std::string fallbackText(const std::string& server, const std::string& fallback);

struct RefreshPorts {
    GameListView& list;
    MainView& view;
    Prompts& prompts; // what a tick says or asks is queued, never waited for
    HttpClient& http;
    const Clock& clock;
    std::string defaultServer;         // put into an empty server list
    std::function<void()> noticeBoard; // rebuilds the notice board; may be empty
    GameFilter* filter = nullptr;      // may be null: no filters
    std::string fallbackServer = {};   // asked once in a tick when `defaultServer` fails; empty: none
    // Called at the end of a tick that read at least one masterserver (never one that loaded a file),
    // with the statistic's counts of that tick; may be empty.
    std::function<void(const ParseCounters&)> serversRead = {};
    // Called at the end of every tick that listed its games, true when they came from the servers (not from
    // a loaded file); may be empty.
    std::function<void(bool fromServers)> gamesListed = {};
};

class RefreshCycle {
public:
    RefreshCycle(MonitorState& state, RefreshPorts ports) : state_(state), ports_(std::move(ports)) {}

    // One tick. A game whose values do not convert is left out and noted in the status bar. A server that
    // begins to fail raises the question whether to remove it; its last good games stay listed meanwhile. A
    // conversion error of the settings, a notice board failure or a cancelled request (the program is
    // ending while the tick waits) ends it early: what was done stays, the statistic keeps its texts,
    // and a server list parked for a file load is restored before the error leaves.
    void runTick();
    // The list gets its columns before the first tick, so a window can be fitted to them as it first shows.
    void showColumns();

    // The status bar: the text (or the version prefix when empty) followed by "Bereit" or "Offline-Modus",
    // and by the oldest note that stands (StatusLine).
    void setStatusCaption(const std::string& text);
    // Shows the status line as it stands now (after a note changed).
    void showStatus();

    // The user answered Yes to removing a failing server: it leaves the list, its kept games leave the
    // view, and with the last one gone the program is offline. Nothing happens when the answer no longer
    // applies (the server is not listed any more, or answers again).
    void removeFailingServer(const std::string& server);

    // "Wieder online gehen": the server list as "server.txt" has it (empty: the default), online, the
    // timer running, and a tick at once.
    void leaveOfflineMode();

    static constexpr const char* forceFileMarker = "forcefile";
    static constexpr int connectTimeoutMs = 6000;
    // The longest file "Aus Datei laden..." reads: as long as a masterserver's reply may be. A longer one is no
    // list of games, and reading it whole would stand the window still and take memory for nothing.
    static constexpr std::uint64_t maxLoadFileBytes = 16 * 1024 * 1024;

private:
    void fetchAndParse();
    // A server failed: asks whether to remove it when its outage begins.
    void serverFailed(const std::string& server, const std::string& reason);
    void enterOfflineMode();
    Moment moment() const { return {ports_.clock.now(), ports_.clock.steadyNow()}; }
    void listLastGood(const std::string& server, RowBuilder& rows);
    void noteOutages();
    void restoreServersFromFile();

    MonitorState& state_;
    RefreshPorts ports_;
};

} // namespace quintor
