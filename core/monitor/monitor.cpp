#include "monitor/monitor.h"
#include "settings/translate.h"

#include "filters/feeds.h"
#include "filters/filteractions.h"
#include "filters/filterengine.h"
#include "filters/filterfiles.h"
#include "history/activityhistory.h"
#include "history/hourtotals.h"
#include "refresh/noticeboard.h"
#include "refresh/refreshcycle.h"
#include "refresh/rowbuilder.h"
#include "refresh/startup.h"
#include "settings/convert.h"
#include "settings/errors.h"
#include "settings/fileio.h"
#include "settings/keys.h"
#include "settings/storedlines.h"

#include <iostream>
#include <utility>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace quintor {
namespace {

// How long a note of a moment (a damaged history at start-up, a balloon's game gone) stands in the status bar.
constexpr std::chrono::seconds kNoteDuration{30};

// What a box says of an error; nothing for an abandoned request, which is no failure: the program is ending.
std::optional<std::string> errorMessage(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const HttpError& e) {
        if (e.kind() == HttpError::Kind::Cancelled) return std::nullopt;
        return std::string(e.what());
    } catch (const std::exception& e) {
        return std::string(e.what());
    } catch (...) {
        return std::string(tr("Unbekannter Fehler"));
    }
}

// A tick frees a whole reply and the last list of games at once, while the new list lies around them: the freed
// pages go back to the system, so that the program does not keep the footprint of its largest tick.
void releaseFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace

// The refresh reaches the filter engine through this hook.
class Monitor::FilterHook final : public GameFilter {
public:
    explicit FilterHook(FilterEngine& engine) : engine_(engine) {}
    void beginTick() override { engine_.beginTick(); }
    FilterMatches evaluateFilters(RowHandle row) override { return evaluate(row, FilterActionMode::perform); }
    void endTick(const std::vector<std::string>& unreadServers, bool listFromFile) override
    {
        engine_.endTick(unreadServers, listFromFile);
    }
    FilterMatches filterStale(RowHandle row) override { return evaluate(row, FilterActionMode::none); }

private:
    FilterMatches evaluate(RowHandle row, FilterActionMode mode)
    {
        FilterMatches matches;
        engine_.evaluateFilters(row, mode, &matches);
        return matches;
    }
    FilterEngine& engine_;
};

Monitor::Monitor(MonitorSetup setup)
    : http_(setup.http), clock_(setup.clock), starter_(setup.starter), defaultServer_(std::move(setup.defaultServer)),
      fallbackServer_(std::move(setup.fallbackServer)), updateUrl_(std::move(setup.updateUrl)),
      noticeUrl_(std::move(setup.noticeUrl)), gameFolderCandidates_(std::move(setup.gameFolderCandidates)),
      errorOutput_(setup.errorOutput ? setup.errorOutput : &std::cerr),
      gate_([this](std::exception_ptr error) { reportTickError(error); })
{
    state_.appFolder = std::move(setup.appFolder);
    history_ = std::make_unique<ActivityHistory>(clock_);
}

Monitor::~Monitor() = default;

void Monitor::attach(MonitorViews views)
{
    views_.emplace(views);
    userDialogs_ = std::make_unique<HoldingDialogs>(views.dialogs, [this] {
        if (!tickDueAfterBox_) return;
        tickDueAfterBox_ = false;
        // After the command that asked has used its answer.
        views_->view.runSoon([this] { requestTick(); });
    });
    prompts_.setPresenter(views.prompts);
    feed_ = std::make_unique<FilterFeed>(state_.config, state_.appFolder, state_.saveGuard, *userDialogs_, http_);
    feed_->setStatusReport([this](const std::string& text) { refresh_->setStatusCaption(text); });
    filterActions_ =
        std::make_unique<PlatformFilterActions>(prompts_, views.notifier, clock_, state_.games, state_.logLines,
                                                JoinPorts{[this] { return gameFolderSearch(); }, starter_});
    filterEngine_ = std::make_unique<FilterEngine>(filterStore_.filters, state_.games, state_.appFolder,
                                                   *filterActions_, [this](const std::string& message) {
                                                       prompts_.raise({PromptKind::message, message}, message);
                                                   });
    filterHook_ = std::make_unique<FilterHook>(*filterEngine_);
    RefreshPorts ports{
        views.list,       views.view, prompts_, http_, clock_, defaultServer_, [this] { rebuildNoticeBoard(); },
        filterHook_.get()};
    ports.fallbackServer = fallbackServer_;
    ports.serversRead = [this](const ParseCounters& counts) { recordTick(counts); };
    ports.gamesListed = [this](bool fromServers) { friendsListed(fromServers); };
    views.notifier.setJoinHandler([this](const std::string& game) { joinAnnouncedGame(game); });
    refresh_ = std::make_unique<RefreshCycle>(state_, std::move(ports));
}

GameFolderSearch Monitor::gameFolderSearch()
{
    return {state_.config, state_.appFolder, gameFolderCandidates_.value_or(std::vector<CandidateFolder>{}),
            *userDialogs_};
}

void Monitor::guarded(const std::function<void()>& step)
{
    try {
        step();
    } catch (...) {
        if (const auto text = errorMessage(std::current_exception())) userDialogs_->message(*text);
    }
}

void Monitor::startUp()
{
    refresh_->setStatusCaption("");
    loadStoredLists();
    loadHistory();
    state_.online = true;
    guarded([this] { readTagStripping(); });
    guarded([this] { detectGameFolder(); });
    try {
        refresh_->showColumns();
    } catch (const ConversionError&) {
        // A column width that is no number: the first tick builds the columns again and reports it.
    }
}

void Monitor::finishStartUp()
{
    if (startedUp_) return;
    // An error of the feed ends this step, as it ends any handler: the update check is skipped.
    guarded([this] {
        feed_->fetchFeed();
        updateCheck();
    });
    refresh_->setStatusCaption("");
    guarded([this] { loadFilters(); });
    startedUp_ = true;
    if (tickDueAfterStartUp_) {
        tickDueAfterStartUp_ = false;
        requestTick();
    }
}

void Monitor::noteSoundFailure(const std::string& fileName)
{
    if (state_.status.hasNote(StatusNote::sound)) return; // the first of the tick is said
    state_.status.setNote(StatusNote::sound, tr("Sounddatei kann nicht abgespielt werden: ") + fileName);
    if (!gate_.running()) refresh_->showStatus(); // a tick shows it with its own texts
}

void Monitor::loadStoredLists()
{
    try {
        loadLists(state_);
    } catch (...) {
        // Said once; the save guard keeps every list file that could not be read as it is.
        if (const auto text = errorMessage(std::current_exception())) userDialogs_->message(*text);
    }
}

void Monitor::loadHistory()
{
    const std::string note = history_->load(state_.file(files::history)).note();
    // A damaged line costs that line, never a box; the bar says so for a while.
    if (!note.empty()) noteForAWhile(StatusNote::history, note);
}

void Monitor::noteForAWhile(StatusNote kind, const std::string& text)
{
    state_.status.setNote(kind, text, clock_.steadyNow() + kNoteDuration);
    refresh_->showStatus();
}

void Monitor::readTagStripping()
{
    const std::string stored = state_.config.value(keys::tagparse);
    if (!stored.empty()) tagStripping_ = strToBool(stored);
}

void Monitor::detectGameFolder()
{
    if (!gameFolderCandidates_) return;
    if (const auto folder = findGameFolder(gameFolderSearch())) state_.config.setValue(keys::crdir, *folder);
}

void Monitor::updateCheck()
{
    if (updateUrl_.empty() || !updateCheckEnabled(state_.config)) return;
    const std::string published = http_.get(updateUrl_);
    if (!versionIsCurrent(published)) userDialogs_->warning(updateWarningText(published));
}

void Monitor::loadFilters()
{
    filterStore_ = loadFilterStore(localFiles(), state_.appFolder);
}

void Monitor::replaceFilters(TextList filters, const FilterKeyMapping& keys)
{
    filterStore_.filters = std::move(filters);
    filterEngine_->filtersMoved(keys);
}

void Monitor::filterConditionsChanged(const std::string& key)
{
    filterEngine_->filtersMoved({{}, {key}, std::nullopt});
}

void Monitor::requestTick()
{
    if (quitting_) return;
    if (!startedUp_) {
        tickDueAfterStartUp_ = true;
        return;
    }
    // A box of the user's own waits for an answer: the tick would rebuild the list under it.
    if (userDialogs_ && userDialogs_->holding()) {
        tickDueAfterBox_ = true;
        return;
    }
    runTick([this] { refresh_->runTick(); });
}

void Monitor::runTick(const std::function<void()>& step)
{
    if (gate_.running()) {
        gate_.request(step); // runs once the running tick has ended
        return;
    }
    // What the ticks raise is shown once they are over, and answers given meanwhile wait for that too.
    prompts_.hold();
    gate_.request([this, &step] {
        state_.status.clearNote(StatusNote::sound);
        views_->view.tickStarted();
        try {
            step();
        } catch (...) {
            releaseFreedMemory();
            views_->view.tickEnded();
            throw;
        }
        releaseFreedMemory();
        views_->view.tickEnded();
    });
    prompts_.release();
    if (auto game = std::exchange(joinAfterTick_, std::nullopt)) joinAnnouncedGame(*game);
}

void Monitor::reportTickError(std::exception_ptr error)
{
    if (gate_.quitRequested()) return;
    if (const auto text = errorMessage(error)) prompts_.raise({PromptKind::message, *text}, *text);
}

void Monitor::rebuildNoticeBoard()
{
    views_->view.showNotices({});
    views_->view.showNotices(fetchNotices(http_, noticeUrl_, state_.config));
}

void Monitor::dismissNotice(int number)
{
    storeDismissedNotice(state_, number);
}

void Monitor::chooseFileToLoad()
{
    const auto file = userDialogs_->openFile(tr("Aus Datei laden"), "Text|*.txt", ".");
    if (!file) return;
    if (const auto stamp = fileStamp(*file); stamp && stamp->size > RefreshCycle::maxLoadFileBytes) {
        userDialogs_->error(tr("Die Datei \"") + *file +
                            tr("\" ist zu gro\xDF f\xFCr eine Spieleliste (mehr als 16 MB) und wird nicht geladen."));
        return;
    }
    loadFile(*file);
}

void Monitor::loadFile(const std::string& path)
{
    state_.pendingLoadFile = path;
    requestTick();
}

void Monitor::goOnline()
{
    if (quitting_) return;
    runTick([this] { refresh_->leaveOfflineMode(); });
}

void Monitor::setTagStripping(bool on)
{
    tagStripping_ = on;
    state_.config.setValue(keys::tagparse, boolToStr(on));
    requestTick();
}

void Monitor::setLanguageSetting(const std::string& language)
{
    state_.config.setValue(keys::language, language);
    state_.saveGuard.save(state_.config, state_.file(files::config));
}

std::string Monitor::languageSetting() const
{
    return state_.config.value(keys::language);
}

void Monitor::subscribeToFeed()
{
    feed_->subscribe();
}

bool Monitor::askToStoreAlias(const std::string& oldCaption, const std::string& typed)
{
    if (!userDialogs_->confirmYesNo(tr("Als ") + oldCaption + tr(" bezeichnete Eintr\xE4ge immer als ") + typed +
                                    tr(" anzeigen?")))
        return false;
    state_.aliases.add(aliasLine(oldCaption, typed));
    return true;
}

bool Monitor::canJoin(RowHandle row) const
{
    // Newer hosts write no "AddressCount", yet their hosts are read: a host to join is what counts.
    const GameRecord* game = state_.games.find(row);
    return game && hasHostToJoin(*game);
}

void Monitor::joinGameOfRow(RowHandle row)
{
    if (const GameRecord* game = state_.games.find(row)) joinGame(*game, gameFolderSearch(), starter_);
}

void Monitor::recordTick(const ParseCounters& counts)
{
    if (!historyRecordingOn(state_.config)) return;
    const bool hourEnded = history_->record({counts.references, counts.players});
    historyRecorded_ = true;
    if (!hourEnded) return;
    try {
        saveHistory();
    } catch (...) {
        // Tried again when the next hour ends and at shut-down.
        if (const auto text = errorMessage(std::current_exception()))
            prompts_.raise({PromptKind::message, *text}, *text);
    }
}

void Monitor::saveHistory()
{
    // A run that recorded nothing leaves the file as it found it.
    if (!historyRecorded_) return;
    history_->save(state_.file(files::history));
    historyRecorded_ = false; // not when the save failed: shut-down tries again
}

void Monitor::requestQuit(ShutdownCause cause, std::function<void()> whenFree)
{
    if (cause == ShutdownCause::session) shutdownCause_ = cause;
    if (quitting_) return;
    quitting_ = true;
    views_->view.stopRefetchTimer();
    prompts_.close();
    http_.cancelAll();
    gate_.requestQuit(std::move(whenFree));
}

bool Monitor::shutDown(int width, int height, int top, int left, const std::function<void()>& windowsFirst)
{
    // A column the user widened since the last tick keeps its width.
    storeColumnWidths(state_.config, views_->list);
    views_->list.clearRows();
    state_.games.clear();
    storeWindowBounds(state_.config, width, height, top, left);
    std::string failures;
    const auto attempt = [&failures](const std::function<void()>& save) {
        try {
            save();
        } catch (const std::exception& error) {
            failures += failures.empty() ? "" : "\r\n";
            failures += error.what();
        }
    };
    if (windowsFirst) attempt(windowsFirst);
    attempt([this] { saveLists(state_); });
    attempt([this] { saveHistory(); });
    if (failures.empty()) return true;
    if (shutdownCause_ == ShutdownCause::user) {
        userDialogs_->message(failures);
    } else {
        // Nobody is there to read a box.
        for (const std::string_view line : splitLines(failures))
            *errorOutput_ << line << '\n';
        errorOutput_->flush();
    }
    return false;
}

} // namespace quintor
