// The main window: a view of the Monitor. It shows the game list, the statistic, the notice board and the
// status bar, holds the menus, the tray icon and the refresh timer, opens the other windows, and hands
// every command to the Monitor, which runs the program.
#pragma once

#include "monitor/monitor.h"
#include "refresh/views.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QStatusBar;
class QSystemTrayIcon;
class QTimer;

namespace quintor::ui {

class ElidingLabel;
class GameListModel;
class GameListTreeView;
class AliasEditor;
class HistoryWindow;
class DetailsWindow;
class FilterTreeEditor;
class FriendsWindow;
class ColumnChooser;
class MasterserverEditor;
class NoticeBoardView;
class QtDialogs;
class QtNotifier;
class QtPromptPresenter;

struct MainWindowSetup {
    Dialogs* dialogs = nullptr;         // null: real message boxes
    PromptPresenter* prompts = nullptr; // null: real message boxes that stand while the ticks go on
    // Whether the desktop offers a notification area now; null: ask the desktop.
    std::function<bool()> trayAvailable{};
};

// "Quintor Velmar 2.02 Beta [84]", an empty line and the credits.
std::string aboutText();

class MainWindow : public QMainWindow, private MainView {
    Q_OBJECT
public:
    static constexpr int designedClientWidth = 526;
    static constexpr int designedClientHeight = 373;
    static constexpr int refetchIntervalMs = 30000;

    // Attaches itself to the Monitor, runs its start-up, restores its bounds and creates the other windows.
    MainWindow(Monitor& monitor, MainWindowSetup setup = {}, QWidget* parent = nullptr);
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
    void toggleFriendNotify(); // "Freunde melden"
    void quit();
    void subscribeToFeed();
    void showAbout();
    void chooseLanguage(const std::string& setting);
    // The other windows: each hides the main window while it is open.
    void openMasterserverEditor();
    void openAliasEditor();
    void openColumnChooser();
    void openFilterTreeEditor();
    void openHistoryWindow();
    void openFriendsWindow(); // "Freunde..."
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

    Monitor& monitor() { return monitor_; }
    FilterTreeEditor& filterTreeEditor() { return *filterTreeEditor_; }
    MasterserverEditor& masterserverEditor() { return *masterserverEditor_; }
    AliasEditor& aliasEditor() { return *aliasEditor_; }
    ColumnChooser& columnChooser() { return *columnChooser_; }
    HistoryWindow& historyWindow();
    DetailsWindow& detailsWindow() { return *detailsWindow_; }
    FriendsWindow& friendsWindow() { return *friendsWindow_; }
    QSystemTrayIcon& trayIcon() { return *trayIcon_; }
    QtNotifier& notifier() { return *notifier_; }
    GameListModel& model() { return *model_; }
    // The boxes a tick raised stand through this one (the real one unless the setup gave another).
    QtPromptPresenter* promptPresenter() const { return ownPrompts_.get(); }
    bool tickRunning() const { return monitor_.tickRunning(); }
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
    void showNotices(const std::vector<Notice>& notices) override;
    void setTrayLine(const std::string& text) override;
    void runSoon(std::function<void()> step) override;
    void tickStarted() override;
    void tickEnded() override;

    void createWindows();
    // The game of the selected row, found through the row; nothing when no row is selected.
    std::optional<RowHandle> selectedRow() const;
    void finishShutdown();
    // Hands a copy of the games the list now shows, in its order, to the condition editor's preview.
    void shareShownGames();
    void setTickRunning(bool running);
    void askToStoreAlias(RowHandle row, const std::string& oldCaption, std::string& text);
    void guardedHandler(const std::function<void()>& handler);
    void restoreBounds();
    // Without stored bounds the window opens wide enough for the chosen columns, within the screen (measured
    // once laid out, as it first shows).
    void fitColumnCaptions();
    int widthForColumns();
    bool trayAvailable() const;

    void createControls();
    void createMenus();
    void createListMenu();
    void createTray();

    Monitor& monitor_;
    std::unique_ptr<QtDialogs> ownDialogs_;
    std::unique_ptr<QtPromptPresenter> ownPrompts_;
    Dialogs* dialogs_ = nullptr; // the Monitor's: no tick runs while one of its boxes is open
    GameListModel* model_ = nullptr;
    std::function<bool()> trayAvailable_;
    QtNotifier* notifier_ = nullptr;
    NoticeBoardView* noticeBoard_ = nullptr;
    bool shutdownRequested_ = false;
    bool shutdownDone_ = false;
    ShutdownCause shutdownCause_ = ShutdownCause::user;
    int exitCode_ = 0;
    bool shownOnce_ = false;       // the first show finishes the start-up
    bool widenForColumns_ = false; // no stored width: the first show makes room for the columns

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
    QLabel* friendCountLabel_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    ElidingLabel* statusText_ = nullptr; // the bar's one simple text, ended with "…" where the window ends
    QTimer* refreshTimer_ = nullptr;
    bool refetchPaused_ = false; // stopped for the running tick; starts again as it ends
    QMenu* listMenu_ = nullptr;
    QAction* playersAction_ = nullptr;
    QAction* resourcesAction_ = nullptr;
    QAction* joinAction_ = nullptr;
    QAction* loadFromFileAction_ = nullptr;
    QAction* goOnlineAction_ = nullptr;
    QAction* quitAction_ = nullptr;
    QAction* stripTagsAction_ = nullptr;
    QAction* friendNotifyAction_ = nullptr;
    QAction* friendsAction_ = nullptr;
    QAction* minimizeAction_ = nullptr;
    QAction* subscribeAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    QAction* germanAction_ = nullptr;
    QAction* englishAction_ = nullptr;
    QAction* systemLanguageAction_ = nullptr;
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
    bool listShown_ = false; // a tick has listed games
    AliasEditor* aliasEditor_ = nullptr;
    MasterserverEditor* masterserverEditor_ = nullptr;
    HistoryWindow* historyWindow_ = nullptr; // made when first opened
    FriendsWindow* friendsWindow_ = nullptr;
    // Commands that change the lists a tick works on: unavailable while a tick runs.
    std::vector<QAction*> listCommands_;
};

} // namespace quintor::ui
