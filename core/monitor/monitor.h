// The running program: the lists and settings, the refresh ticks, the filters with their filter set, the
// feed, the activity history, start-up and shut-down. Windows show its state and call into it; it meets
// the platform only through its ports, so all of it runs and is tested without a window.
#pragma once

#include "filters/filtertreefiles.h"
#include "launch/gamefolder.h"
#include "monitor/holdingdialogs.h"
#include "monitor/promptqueue.h"
#include "net/httpclient.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/notifier.h"
#include "platform/processstarter.h"
#include "platform/prompts.h"
#include "reference/reader.h"
#include "refresh/friendtracker.h"
#include "refresh/monitorstate.h"
#include "refresh/tickgate.h"
#include "refresh/views.h"
#include "settings/textlist.h"

#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quintor {

class ActivityHistory;
class FilterEngine;
class FilterFeed;
class PlatformFilterActions;
class RefreshCycle;

struct MonitorSetup {
    std::string appFolder; // where the lists live, ending with "/"
    HttpClient& http;
    const Clock& clock;
    ProcessStarter& starter;
    std::string defaultServer;    // put into an empty server list
    std::string fallbackServer{}; // tried once in a tick when the default server fails; empty: none
    std::string updateUrl{};      // the version file; empty: no update check
    std::string noticeUrl{};      // the notice file; empty: the notice board stays empty
    // Where the game may be installed; nothing: the game folder is not looked for at start-up.
    std::optional<std::vector<CandidateFolder>> gameFolderCandidates{};
    // Where an end without a user reports the files it could not write; null: standard error.
    std::ostream* errorOutput = nullptr;
};

// The window's side, known once the window exists.
struct MonitorViews {
    Dialogs& dialogs;         // the boxes of start-up and of the user's own commands: they wait for an answer
    PromptPresenter& prompts; // what a tick raises: shown after it, never waited for
    Notifier& notifier;
    GameListView& list;
    MainView& view;
};

// Who ends the program: the user (the menu, the window's close box, the tray) may be shown a box;
// a signal or the desktop session's end must never wait for one.
enum class ShutdownCause { user, session };

class Monitor {
public:
    explicit Monitor(MonitorSetup setup);
    ~Monitor();
    Monitor(const Monitor&) = delete;
    Monitor& operator=(const Monitor&) = delete;

    // Connects the window; once, before startUp.
    void attach(MonitorViews views);

    // Before the window shows: removes what crashed saves left, loads the lists and the history, reads
    // "tagparse" and finds the game folder. What fails is said in a box (the user is starting the program).
    void startUp();
    // Once the window shows, so the status bar can say what happens: fetches a subscribed feed, checks for a
    // newer version and loads the filter set (a filter change a crash interrupted finished first). Ticks
    // asked for before wait for it.
    void finishStartUp();
    bool startedUp() const { return startedUp_; }

    // A sound file could not be played: said in the status bar, once per tick.
    void noteSoundFailure(const std::string& fileName);

    // One tick now, or once the running one or a box of the user's own has let go. A tick's questions
    // and messages are queued and shown after it.
    void requestTick();
    bool tickRunning() const { return gate_.running(); }

    // Commands.
    void chooseFileToLoad();                // "Aus Datei laden..."
    void loadFile(const std::string& path); // the chosen file, in place of the servers for one tick
    void goOnline();                        // "Wieder online gehen"
    bool online() const { return state_.online; }
    void setTagStripping(bool on); // "Tags rausparsen": stored, then a tick
    // The check mark at start-up: "tagparse" as read (off when missing or not a truth value).
    bool tagStripping() const { return tagStripping_; }
    void subscribeToFeed(); // "Abonnieren"
    // "Hilfe" > "Sprache": "de", "en" or "system", stored in "config.txt" at once; used from the next start.
    void setLanguageSetting(const std::string& language);
    std::string languageSetting() const;
    void dismissNotice(int number);
    // The in-place edit of a row's caption: asks whether `oldCaption` should always show as `typed` and
    // stores the alias on Yes. True when it was stored.
    bool askToStoreAlias(const std::string& oldCaption, const std::string& typed);
    void joinGameOfRow(RowHandle row); // "Beitreten"
    // A record of the current tick, found by its row; null when the row has none.
    const GameRecord* gameOfRow(RowHandle row) const { return state_.games.find(row); }
    // "Beitreten" is offered for a game with a host to join (newer hosts write no "AddressCount").
    bool canJoin(RowHandle row) const;
    // "Beitreten" on a balloon: joins the listed game of this identity as the list's "Beitreten" does, once the
    // running tick is over; the click was the answer, nothing more is asked. A game that has left the list is
    // only said in the status bar.
    void joinAnnouncedGame(const std::string& game);
    // "Freunde melden": balloons of friends coming into a game ("friendnotify"; on unless it says otherwise).
    bool friendNotify() const;
    void setFriendNotify(bool on);

    // The filter set the ticks run: "filter.txt" as loaded at start-up (a change a crash interrupted finished
    // first) or last handed back by the tree editor, which writes the filter files itself. When the store
    // could not be read, it says why and no filter file is written in this run.
    const TextList& filters() const { return filterStore_.filters; }
    const FilterStoreLoad& filterStore() const { return filterStore_; }
    // The tree editor wrote the filter set; each filter's report-once memory goes with its key.
    void replaceFilters(TextList filters, const FilterKeyMapping& keys);
    // The condition editor wrote other conditions for this filter: it starts afresh and announces what it
    // now catches.
    void filterConditionsChanged(const std::string& key);

    // The lists and settings the editors change in place.
    MonitorState& state() { return state_; }
    const MonitorState& state() const { return state_; }
    const std::string& appFolder() const { return state_.appFolder; }
    const std::string& defaultServer() const { return defaultServer_; }
    const ActivityHistory& history() const { return *history_; }
    // Every box of the windows goes through these, so no tick runs while one waits for the user.
    Dialogs& dialogs() { return *userDialogs_; }
    std::size_t promptsWaiting() const { return prompts_.waiting(); }
    bool promptStanding() const { return prompts_.standing(); }

    // Shut-down, in two steps. requestQuit: no tick starts any more, a waiting request is abandoned, the
    // prompts go, and `whenFree` runs at once or as soon as the running tick lets go.
    void requestQuit(ShutdownCause cause, std::function<void()> whenFree);
    // Then: the window's bounds are stored, `windowsFirst` writes what open editors hold, and the lists
    // and the history are written. Every file is attempted; what failed is said in one box (user) or one
    // line each on the error output (session). False when anything failed.
    bool shutDown(int width, int height, int top, int left, const std::function<void()>& windowsFirst);

private:
    class FilterHook;

    void runTick(const std::function<void()>& step);
    void reportTickError(std::exception_ptr error);
    void rebuildNoticeBoard();
    void loadStoredLists();
    void loadHistory();
    // A note of a moment: the status bar shows it for a while.
    void noteForAWhile(StatusNote kind, const std::string& text);
    void readTagStripping();
    void detectGameFolder();
    void updateCheck();
    void loadFilters();
    void recordTick(const ParseCounters& counts);
    // The friends of the listed games: the details label and the tray line; for games from the servers, the
    // balloons: once who is online, then who came into a game.
    void friendsListed(bool fromServers);
    void joinListedGame(const std::string& game);
    void saveHistory();
    GameFolderSearch gameFolderSearch();
    void guarded(const std::function<void()>& step);

    MonitorState state_;
    HttpClient& http_;
    const Clock& clock_;
    ProcessStarter& starter_;
    std::string defaultServer_;
    std::string fallbackServer_;
    std::string updateUrl_;
    std::string noticeUrl_;
    std::optional<std::vector<CandidateFolder>> gameFolderCandidates_;
    std::ostream* errorOutput_;

    std::optional<MonitorViews> views_;
    std::unique_ptr<HoldingDialogs> userDialogs_;
    bool tickDueAfterBox_ = false;
    bool startedUp_ = false;
    bool tickDueAfterStartUp_ = false;
    PromptQueue prompts_;
    TickGate gate_;
    bool tagStripping_ = false;
    FilterStoreLoad filterStore_;
    std::unique_ptr<PlatformFilterActions> filterActions_;
    std::unique_ptr<FilterEngine> filterEngine_;
    std::unique_ptr<FilterHook> filterHook_;
    std::unique_ptr<FilterFeed> feed_;
    std::unique_ptr<ActivityHistory> history_;
    bool historyRecorded_ = false; // since the last save
    std::unique_ptr<RefreshCycle> refresh_;
    FriendTracker friendTracker_;
    bool friendsOnlineTold_ = false;           // the balloon of who is online has been given
    std::optional<std::string> joinAfterTick_; // a balloon's "Beitreten" clicked while a tick ran
    ShutdownCause shutdownCause_ = ShutdownCause::user;
    bool quitting_ = false;
};

} // namespace quintor
