// The main window: the game list, the statistic, the notice board, the menus and the
// refresh timer. It owns the lists of the program (MonitorState) and runs every refresh tick
// through one gate, so ticks never nest.
#pragma once

#include "filters/feeds.h"
#include "filters/filteractions.h"
#include "filters/filterengine.h"
#include "history/activityhistory.h"
#include "launch/gamefolder.h"
#include "net/httpclient.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/processstarter.h"
#include "refresh/monitorstate.h"
#include "refresh/refreshcycle.h"
#include "refresh/tickgate.h"
#include "refresh/views.h"

#include <QMainWindow>

#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QStatusBar;
class QSystemTrayIcon;
class QTimer;

namespace quintor::ui {

class BackgroundHttpClient;
class GameListModel;
class GameListTreeView;
class HoldingDialogs;
class AliasEditor;
class HistoryWindow;
class DetailsWindow;
class FilterTreeEditor;
class ColumnChooser;
class MasterserverEditor;
class NoticeBoardView;
class QtDialogs;
class QtNotifier;

struct MainWindowSetup {
    std::string appFolder;            // where the lists live, ending with "/"
    std::shared_ptr<HttpClient> http; // requests run through it on a worker thread
    std::string defaultServer;        // put into an empty server list
    Dialogs* dialogs = nullptr;       // null: real message boxes
    const Clock* clock = nullptr;     // null: the system clock and formats
    std::string updateUrl{};          // the version file; empty: no update check
    std::string noticeUrl{};          // the notice file; empty: the notice board stays empty
    // Where the game may be installed; nothing: the game folder is not looked for at start-up.
    std::optional<std::vector<CandidateFolder>> gameFolderCandidates{};
    // Whether the desktop offers a notification area now; null: ask the desktop.
    std::function<bool()> trayAvailable{};
    // Starts the game to join; null: the platform's own way.
    ProcessStarter* processStarter = nullptr;
    // Where an end without a user reports the files it could not write; null: standard error.
    std::ostream* errorOutput = nullptr;
    // Tried once in a tick when the default server fails; empty: none.
    std::string fallbackServer{};
};

// Who ends the program: the user (the menu, the window's close box, the tray) may be shown a box;
// a signal or the desktop session's end must never wait for one.
enum class ShutdownCause { user, session };

// "Quintor Velmar 2.02 Beta [84]", an empty line and the credits.
std::string aboutText();

class MainWindow : public QMainWindow, private MainView {
    Q_OBJECT
public:
    static constexpr int designedClientWidth = 526;
    static constexpr int designedClientHeight = 373;
    static constexpr int refetchIntervalMs = 30000;

    explicit MainWindow(MainWindowSetup setup, QWidget* parent = nullptr);
    ~MainWindow() override;

    // One refresh tick, now or as soon as the running one lets go.
    void runTick();
    // Ends the program: at once, or when the running tick has let go (its request is abandoned).
    // Then the window bounds are stored, the filter tree editor (when open) and the lists written and
    // finished() emitted. Files that could not be written are named in one box (user) or one line each
    // on the error output (session); exitCode() then is non-zero.
    void requestShutdown(ShutdownCause cause = ShutdownCause::user);
    int exitCode() const { return exitCode_; }

    // The list's context menu is opening: its commands need a selected game, joining also an address.
    void updateListMenu();

    // The menu commands.
    void loadFromFile();
    // "Wieder online gehen": back from offline mode, through the tick gate like a tick.
    void goOnline();
    void toggleTagStripping();
    void quit();
    void subscribeToFeed();
    void showAbout();
    // The other windows: each hides the main window while it is open.
    void openMasterserverEditor();
    void openAliasEditor();
    void openColumnChooser();
    void openFilterTreeEditor();
    void openHistoryWindow();
    // The commands of the list's context menu, on the selected game.
    void showPlayers();
    void showResources();
    void joinSelectedGame();

    // The tray: moveToTray and hideMinimizedWindow put the window away into the tray icon (or, where
    // the desktop has no notification area, leave an ordinary minimised window); restoreFromTray
    // brings it back.
    void moveToTray();
    void hideMinimizedWindow();
    void restoreFromTray();

    MonitorState& state() { return state_; }
    // The filter list the filters of every tick are read from: the filter tree editor's.
    const TextList& filters() const;
    FilterTreeEditor& filterTreeEditor() { return *filterTreeEditor_; }
    MasterserverEditor& masterserverEditor() { return *masterserverEditor_; }
    AliasEditor& aliasEditor() { return *aliasEditor_; }
    ColumnChooser& columnChooser() { return *columnChooser_; }
    HistoryWindow& historyWindow() { return *historyWindow_; }
    // Players online and open games of every tick that read a masterserver, hour by hour.
    const ActivityHistory& history() const { return *history_; }
    DetailsWindow& detailsWindow() { return *detailsWindow_; }
    QSystemTrayIcon& trayIcon() { return *trayIcon_; }
    QtNotifier& notifier() { return *notifier_; }
    GameListModel& model() { return *model_; }
    bool tickRunning() const { return gate_.running(); }
    bool shutDown() const { return shutdownDone_; }

signals:
    // The lists are written; the program may end.
    void finished();
    // A tick ended (also one that failed or was abandoned).
    void tickFinished();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // MainView
    bool windowOrTrayVisible() const override;
    void setLabel(Label label, const std::string& text) override;
    void setStatusText(const std::string& text) override;
    void stopRefetchTimer() override;
    void startRefetchTimer() override;

    void startUp();
    void detectGameFolder();
    void updateCheck();
    void createWindows();
    // The game of the selected row, found through the row; nothing when no row is selected.
    std::optional<RowHandle> selectedRow() const;
    void finishShutdown();
    void reportFailedSaves(const std::string& failures);
    void reportSoundFailure(const QString& fileName);
    void showSoundNote();
    void rebuildNoticeBoard();
    void dismissNotice(QPushButton* button);
    bool trayAvailable() const;
    // A tick (or going back online, which ends in one) with the list commands locked.
    void tick(const std::function<void()>& step);
    // Hands the games the list now shows, in its order, to the condition editor's preview.
    void shareShownGames();
    void setTickRunning(bool running);
    void askToStoreAlias(RowHandle row, const std::string& oldCaption, std::string& text);
    void guardedHandler(const std::function<void()>& handler);
    void restoreBounds();
    void loadHistory();
    void recordTick(const ParseCounters& counts);
    void saveHistory();

    void createControls();
    void createMenus();
    void createListMenu();
    void createTray();

    MonitorState state_;
    std::unique_ptr<QtDialogs> ownDialogs_;
    std::unique_ptr<HoldingDialogs> holdingDialogs_;
    Dialogs* dialogs_ = nullptr; // every box of the main window and its windows goes through the holding one
    // A tick fell due while a box was open; it runs once the last one has closed.
    bool tickDueAfterBox_ = false;
    std::unique_ptr<Clock> ownClock_;
    const Clock* clock_ = nullptr;
    BackgroundHttpClient* http_ = nullptr;
    GameListModel* model_ = nullptr;
    TickGate gate_;
    std::unique_ptr<RefreshCycle> refresh_;
    std::string defaultServer_;
    std::string updateUrl_;
    std::string noticeUrl_;
    std::optional<std::vector<CandidateFolder>> gameFolderCandidates_;
    std::function<bool()> trayAvailable_;
    // The filters reach the refresh through this hook: the engine exists only once the filter tree
    // editor has loaded "filter.txt", after the feed was fetched at start-up.
    class FilterHook : public GameFilter {
    public:
        explicit FilterHook(const std::unique_ptr<FilterEngine>& engine) : engine_(engine) {}
        void beginTick() override
        {
            if (engine_) engine_->beginTick();
        }
        std::string evaluateFilters(RowHandle row) override
        {
            if (!engine_) return {};
            EvaluationRecord record;
            engine_->evaluateFilters(row, FilterActionMode::perform, &record);
            return matchExplanation(record);
        }
        void endTick(const std::vector<std::string>& unreadServers) override
        {
            if (engine_) engine_->endTick(unreadServers);
        }
        std::string filterStale(RowHandle row) override
        {
            if (!engine_) return {};
            EvaluationRecord record;
            engine_->filterStale(row, &record);
            return matchExplanation(record);
        }

    private:
        const std::unique_ptr<FilterEngine>& engine_;
    };
    FilterHook filterHook_{filterEngine_};
    std::unique_ptr<ProcessStarter> ownStarter_;
    ProcessStarter* starter_ = nullptr;
    QtNotifier* notifier_ = nullptr;
    std::unique_ptr<PlatformFilterActions> filterActions_;
    std::unique_ptr<FilterEngine> filterEngine_;
    std::unique_ptr<FilterFeed> feed_;
    NoticeBoardView* noticeBoard_ = nullptr;
    std::unique_ptr<ActivityHistory> history_;
    bool historyRecorded_ = false; // since the last save
    bool shutdownRequested_ = false;
    bool shutdownDone_ = false;
    ShutdownCause shutdownCause_ = ShutdownCause::user;
    int exitCode_ = 0;
    std::ostream* errorOutput_ = nullptr;
    // A sound that cannot be played is reported once per tick.
    bool soundReported_ = false;
    std::string soundNote_;

    // Controls; their object names are the ones the tests look them up by.
    QGroupBox* listBox_ = nullptr;
    QGroupBox* detailsBox_ = nullptr;
    QGroupBox* noticeBoardBox_ = nullptr;
    GameListTreeView* gameList_ = nullptr;
    QLabel* updateTimeLabel_ = nullptr;
    QLabel* versionLabel_ = nullptr;
    QLabel* gameCountLabel_ = nullptr;
    QLabel* playerCountLabel_ = nullptr;
    QLabel* emptySlotsLabel_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* statusText_ = nullptr; // the bar's one simple text
    QTimer* refreshTimer_ = nullptr;
    QMenu* listMenu_ = nullptr;
    QAction* playersAction_ = nullptr;
    QAction* resourcesAction_ = nullptr;
    QAction* joinAction_ = nullptr;
    QAction* loadFromFileAction_ = nullptr;
    QAction* goOnlineAction_ = nullptr;
    QAction* quitAction_ = nullptr;
    QAction* stripTagsAction_ = nullptr;
    QAction* minimizeAction_ = nullptr;
    QAction* subscribeAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    QAction* masterserverAction_ = nullptr;
    QAction* aliasEditorAction_ = nullptr;
    QAction* columnsAction_ = nullptr;
    QAction* filterEditorAction_ = nullptr;
    QAction* historyAction_ = nullptr;
    QSystemTrayIcon* trayIcon_ = nullptr;
    QMenu* trayMenu_ = nullptr;
    QAction* openFromTrayAction_ = nullptr;
    QAction* quitFromTrayAction_ = nullptr;
    QTimer* singleClickTimer_ = nullptr; // a single click on the tray icon waits for a double click
    // The other windows; they live for the whole run and are only shown and hidden.
    ColumnChooser* columnChooser_ = nullptr;
    DetailsWindow* detailsWindow_ = nullptr;
    FilterTreeEditor* filterTreeEditor_ = nullptr;
    std::shared_ptr<const std::vector<GameRecord>> shownGames_; // null before the first tick
    AliasEditor* aliasEditor_ = nullptr;
    MasterserverEditor* masterserverEditor_ = nullptr;
    HistoryWindow* historyWindow_ = nullptr;
    // Commands that change the lists a tick works on: unavailable while a tick runs.
    std::vector<QAction*> listCommands_;
};

} // namespace quintor::ui
