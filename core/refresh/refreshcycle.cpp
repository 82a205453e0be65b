#include "refresh/refreshcycle.h"

#include "reference/reader.h"
#include "reference/textroutines.h"
#include "refresh/rowbuilder.h"
#include "refresh/statistic.h"
#include "settings/appinfo.h"
#include "settings/fileio.h"
#include "settings/keys.h"

namespace quintor {

std::string skippedGamesText(int count)
{
    return std::to_string(count) + (count == 1 ? " Spiel" : " Spiele") + " mit fehlerhaften Daten \xFC" "bersprungen";
}

void RefreshCycle::setcap(const std::string& text)
{
    std::string status = text.empty() ? std::string(appinfo::versionPrefix) : text;
    status += state_.online ? "Bereit" : "Offline-Modus";
    ports_.view.setStatusText(status);
}

void RefreshCycle::refetchTimer()
{
    if (ports_.noticeBoard) ports_.noticeBoard();
    if (!ports_.view.windowOrTrayVisible()) return;

    state_.games.clear();
    rebuildColumns(state_.config, ports_.list);

    if (!state_.loadfile.empty()) {
        state_.servers.Clear();
        state_.servers.Add(forceFileMarker);
    } else if (state_.servers.Count() == 0) {
        state_.servers.Add(ports_.defaultServer);
    }

    try {
        fetchAndParse();
    } catch (...) {
        // A tick that ends early must not leave the marker in place of the user's servers:
        // it would be written to "server.txt" at shut-down.
        if (state_.servers.Count() > 0 && state_.servers.Line(0) == forceFileMarker) restoreServersFromFile();
        throw;
    }
}

void RefreshCycle::fetchAndParse()
{
    int skippedGames = 0;
    ReferenceReader reader(tagparseSetting(state_.config), state_.syno,
                           {[this](TGameEntry&& entry) {
                                completeRecord(std::move(entry), state_.games, state_.config, state_.syno,
                                               ports_.list, ports_.filter);
                            },
                            [this](const std::string& version) {
                                ports_.view.setLabel(Label::crver, "Clonk-Version: " + version);
                            },
                            [&skippedGames](const std::string&, const std::string&) { ++skippedGames; }});
    if (ports_.filter) ports_.filter->beginTick();
    std::vector<std::string> unreadServers; // their games stay in the filters' memory

    for (int i = 0; i < state_.servers.Count();) {
        setcap("Liste wird geladen...");
        const std::string entry = state_.servers.Line(i);
        std::string reply;
        if (entry == forceFileMarker) {
            if (fileExists(state_.loadfile)) reply = readWholeFile(state_.loadfile);
            state_.loadfile.clear();
        } else {
            try {
                HttpOptions options;
                options.connectTimeout = std::chrono::milliseconds(connectTimeoutMs);
                reply = ports_.http.get(entry, options);
            } catch (const HttpError& error) {
                // Cancelled: the program is ending, so there is nobody left to ask.
                if (error.kind() == HttpError::Kind::Cancelled) throw;
                unreadServers.push_back(entry);
                const bool drop = ports_.dialogs.errorYesNo(
                    "Keine Verbindung zu Server " + entry + "! Das ist gar nicht gut!\r\r" + error.what() +
                    "\r\rSoll dieser Server aus der Liste entfernt werden?");
                if (drop) {
                    state_.servers.Delete(i);
                    continue;
                }
            }
        }
        setcap("Liste wird verarbeitet...");
        reader.read(reply, entry);
        ++i;
    }
    reader.finish();
    if (ports_.filter) ports_.filter->endTick(unreadServers);

    if (state_.servers.Count() == 0) {
        ports_.dialogs.error("Kein Server erreichhar / Keiner in der Liste. Automatisches Holen der Referenzliste "
                             "wird deaktiviert. Quintor ist nun im Offline-Modus!");
        state_.online = false;
        ports_.view.stopRefetchTimer();
    } else if (state_.servers.Line(0) == forceFileMarker) {
        restoreServersFromFile();
    }

    const StatisticTexts texts = statisticTexts(reader.counters());
    ports_.view.setLabel(Label::aka, updateTimeText(ports_.clock.longTime(ports_.clock.now())));
    ports_.view.setLabel(Label::gamecount, texts.gamecount);
    ports_.view.setLabel(Label::pcount, texts.pcount);
    if (texts.empcount) ports_.view.setLabel(Label::empcount, *texts.empcount);
    // A game with a value that does not convert is left out quietly; the bar says so until the next tick.
    if (skippedGames > 0) {
        ports_.view.setStatusText(skippedGamesText(skippedGames));
    } else {
        setcap("");
    }
}

void RefreshCycle::restoreServersFromFile()
{
    state_.servers.Clear();
    const std::string path = state_.file(files::server);
    if (fileExists(path)) state_.servers.LoadFromFile(path);
}

} // namespace quintor
