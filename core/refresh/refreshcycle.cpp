#include "refresh/refreshcycle.h"

#include "reference/reader.h"
#include "reference/textroutines.h"
#include "refresh/rowbuilder.h"
#include "refresh/serverfetch.h"
#include "refresh/statistic.h"
#include "settings/appinfo.h"
#include "settings/fileio.h"
#include "settings/keys.h"
#include "settings/translate.h"

#include <algorithm>
#include <deque>
#include <map>
#include <vector>

namespace quintor {

std::string skippedGamesText(int count)
{
    return trn("%1 Spiel mit fehlerhaften Daten \xFC"
               "bersprungen",
               "%1 Spiele mit fehlerhaften Daten \xFC"
               "bersprungen",
               count);
}

namespace {

// A reply this long holds about a thousand games or more.
constexpr std::size_t kLongReply = 1 << 20;

// About how many games a reply holds: its "[Reference]" headers (a title that quotes one counts too).
std::size_t countReferences(std::string_view reply)
{
    constexpr std::string_view header = "[Reference]";
    std::size_t count = 0;
    for (std::size_t at = reply.find(header); at != std::string_view::npos; at = reply.find(header, at + header.size()))
        ++count;
    return count;
}

} // namespace

std::string fallbackText(const std::string& server, const std::string& fallback)
{
    return tr("Server ") + server + tr(" nicht erreichbar \x96 Ersatzserver ") + fallback + tr(" antwortet");
}

void RefreshCycle::setStatusCaption(const std::string& text)
{
    state_.status.setCaption(text);
    showStatus();
}

void RefreshCycle::showStatus()
{
    ports_.view.setStatusText(state_.status.text(state_.online, ports_.clock.steadyNow()));
}

void RefreshCycle::noteOutages()
{
    const std::optional<Outage> outage = state_.outages.oldestOutage(state_.servers);
    if (outage) {
        state_.status.setNote(StatusNote::outage, tr("Server ") + outage->server + tr(" nicht erreichbar seit ") +
                                                      ports_.clock.longTime(outage->since.wall));
    } else {
        state_.status.clearNote(StatusNote::outage);
    }
}

void RefreshCycle::leaveOfflineMode()
{
    restoreServersFromFile();
    state_.online = true;
    ports_.view.startRefetchTimer();
    runTick();
}

void RefreshCycle::showColumns()
{
    rebuildColumns(state_.config, ports_.list);
}

void RefreshCycle::runTick()
{
    if (ports_.noticeBoard) ports_.noticeBoard();
    if (!ports_.view.windowOrTrayVisible()) return;

    state_.games.clear();
    rebuildColumns(state_.config, ports_.list);

    if (!state_.pendingLoadFile.empty()) {
        state_.servers.clear();
        state_.servers.add(forceFileMarker);
    } else if (state_.servers.count() == 0) {
        state_.servers.add(ports_.defaultServer);
    }

    try {
        fetchAndParse();
        ports_.list.showRows();
    } catch (...) {
        state_.games.finishList();
        ports_.list.showRows();
        // A tick that ends early must not leave the marker in place of the user's servers:
        // it would be written to "server.txt" at shut-down.
        if (state_.servers.count() > 0 && state_.servers.line(0) == forceFileMarker) restoreServersFromFile();
        throw;
    }
}

void RefreshCycle::fetchAndParse()
{
    int skippedGames = 0;
    const FriendList friends(state_.friends);                   // as the friends' window left it
    std::map<std::string, std::vector<RowHandle>> rowsOfServer; // of the servers that answered
    RowBuilder rows(state_.games, state_.config, state_.aliases, ports_.list, ports_.filter, &friends);
    // The rows of the server whose games come now: most replies hold one server's games only.
    std::vector<RowHandle>* serverRows = nullptr;
    std::string rowsServer;
    ReferenceReader reader(tagparseSetting(state_.config), state_.aliases,
                           {[&](GameRecord&& entry) {
                                // A game is its reply's whose "[Reference]" it stands under, even when it completes in
                                // the next.
                                const bool listed = !entry.Server.empty() && entry.Server != forceFileMarker;
                                if (listed && (!serverRows || entry.Server != rowsServer)) {
                                    rowsServer = entry.Server;
                                    serverRows = &rowsOfServer[rowsServer];
                                }
                                const RowHandle row = rows.complete(std::move(entry));
                                if (listed) serverRows->push_back(row);
                            },
                            [this](const std::string& version) {
                                ports_.view.setLabel(Label::gameVersion, tr("Clonk-Version: ") + version);
                            },
                            [&](const std::string&, const std::string&) { ++skippedGames; }});
    if (ports_.filter) ports_.filter->beginTick();
    std::vector<std::string> unreadServers; // their games stay in the filters' memory

    const MasterserverAddresses addresses{ports_.defaultServer, ports_.fallbackServer};
    bool fileTick = false;
    std::optional<std::string> fallbackAnswered; // the built-in server, when the fallback answered for it
    for (int i = 0; i < state_.servers.count();) {
        // The list is shown as it stands while a request waits; between the waits its rows come all at once.
        ports_.list.showRows();
        setStatusCaption(tr("Liste wird geladen..."));
        const std::string entry = state_.servers.line(i);
        std::string reply;
        if (entry == forceFileMarker) {
            fileTick = true;
            // A file grown past the limit since it was chosen gives an empty list, as one that is gone does.
            const auto stamp = fileStamp(state_.pendingLoadFile); // none when it is no file (any more)
            if (stamp && stamp->size <= maxLoadFileBytes) reply = readWholeFile(state_.pendingLoadFile);
            state_.pendingLoadFile.clear();
        } else {
            FetchOutcome outcome =
                fetchReferenceList(ports_.http, entry, addresses, std::chrono::milliseconds(connectTimeoutMs));
            ports_.list.holdRows();
            if (!outcome.failure) {
                if (outcome.fromFallback) fallbackAnswered = entry;
                reply = std::move(outcome.reply);
                rowsOfServer.try_emplace(entry);
                state_.outages.dropLastGood(entry);
            } else {
                unreadServers.push_back(entry);
                serverFailed(entry, *outcome.failure);
                listLastGood(entry, rows);
            }
        }
        setStatusCaption(tr("Liste wird verarbeitet..."));
        ports_.list.holdRows();
        // The first long list gets its room at once rather than growing block by block beside its reply.
        if (state_.games.lengthUnknown() && reply.size() > kLongReply) state_.games.reserve(countReferences(reply));
        reader.read(reply, entry);
        rows.showCompleted();
        ++i;
    }
    reader.finish();
    rows.showCompleted();
    state_.games.finishList();
    if (ports_.filter) ports_.filter->endTick(unreadServers, fileTick);

    // The games as listed, filter colours included, stand in for the server's list while it fails: the tick's
    // records, shared with the list.
    const auto listed = state_.games.snapshot();
    for (const auto& [server, serverRowHandles] : rowsOfServer) {
        std::vector<std::size_t> positions;
        positions.reserve(serverRowHandles.size());
        for (RowHandle row : serverRowHandles) {
            if (const auto position = state_.games.positionOf(row)) positions.push_back(*position);
        }
        state_.outages.answered(server, listed, std::move(positions), moment());
    }
    if (!fileTick) state_.outages.keepOnly(state_.servers);

    if (state_.servers.count() == 0) {
        enterOfflineMode();
    } else if (state_.servers.line(0) == forceFileMarker) {
        restoreServersFromFile();
    }

    const StatisticTexts texts = statisticTexts(reader.counters());
    ports_.view.setLabel(Label::updateTime, updateTimeText(ports_.clock.longTime(ports_.clock.now())));
    ports_.view.setLabel(Label::openGames, texts.openGames);
    ports_.view.setLabel(Label::playersOnline, texts.playersOnline);
    if (texts.emptySlots) ports_.view.setLabel(Label::emptySlots, *texts.emptySlots);
    // A game with a value that does not convert is left out quietly; the bar says so until the next tick.
    if (skippedGames > 0)
        state_.status.setNote(StatusNote::skippedGames, skippedGamesText(skippedGames));
    else
        state_.status.clearNote(StatusNote::skippedGames);
    if (fallbackAnswered)
        state_.status.setNote(StatusNote::fallback, fallbackText(*fallbackAnswered, ports_.fallbackServer));
    else if (!fileTick)
        state_.status.clearNote(StatusNote::fallback);
    noteOutages();
    setStatusCaption("");
    if (ports_.serversRead && !fileTick && !rowsOfServer.empty()) ports_.serversRead(reader.counters());
    if (ports_.gamesListed) ports_.gamesListed(!fileTick);
}

void RefreshCycle::serverFailed(const std::string& server, const std::string& reason)
{
    // Asked once per outage; while the server goes on failing the status bar says so instead.
    if (!state_.outages.failed(server, moment())) return;
    Prompt question{PromptKind::errorQuestion,
                    tr("Keine Verbindung zu Server ") + server + tr("! Das ist gar nicht gut!\r\r") + reason +
                        tr("\r\rSoll dieser Server aus der Liste entfernt werden?"),
                    DefaultButton::no};
    ports_.prompts.raise(std::move(question), "server\n" + server, [this, server](bool remove) {
        if (remove) removeFailingServer(server);
    });
}

void RefreshCycle::removeFailingServer(const std::string& server)
{
    const auto& lines = state_.servers.lines();
    if (std::find(lines.begin(), lines.end(), server) == lines.end() || !state_.outages.failing(server)) return;
    for (int i = state_.servers.count() - 1; i >= 0; --i) {
        if (state_.servers.line(i) == server) state_.servers.remove(i);
    }
    state_.outages.forget(server);
    noteOutages();
    std::vector<RowHandle> keptRows;
    for (const GameRecord& game : state_.games.all()) {
        if (game.Stale && game.Server == server) keptRows.push_back(game.Item);
    }
    for (RowHandle row : keptRows)
        ports_.list.removeRow(row);
    state_.games.removeRows(keptRows);
    if (state_.servers.count() == 0) enterOfflineMode();
    setStatusCaption("");
}

void RefreshCycle::enterOfflineMode()
{
    ports_.prompts.raise({PromptKind::error, tr("Kein Server erreichhar / Keiner in der Liste. Automatisches Holen der "
                                                "Referenzliste wird deaktiviert. Quintor ist nun im Offline-Modus!")},
                         "offline");
    state_.online = false;
    ports_.view.stopRefetchTimer();
}

void RefreshCycle::listLastGood(const std::string& server, RowBuilder& rows)
{
    const LastGoodList* kept = state_.outages.lastGood(server, ports_.clock.steadyNow());
    if (!kept) return;
    const std::string toolTip = tr("Stand: ") + ports_.clock.longTime(kept->at.wall);
    for (std::size_t i = 0; i < kept->size(); ++i)
        rows.listStale(kept->game(i), toolTip);
}

void RefreshCycle::restoreServersFromFile()
{
    state_.servers.clear();
    const std::string path = state_.file(files::server);
    if (fileExists(path)) state_.servers.loadFromFile(path);
}

} // namespace quintor
