// The main window `mform`: the game list, the statistic, the notice board, the menus and the
// refresh timer. It owns the lists of the program (MonitorState) and runs every refresh tick
// through one gate, so ticks never nest.
#pragma once

#include "filters/feeds.h"
#include "filters/filteractions.h"
#include "filters/filterengine.h"
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
class QTreeView;

namespace quintor::ui {

class BackgroundHttpClient;
class GameListModel;
class Taledit;
class Tdetlist;
class Tfconf;
class Tliform;
class Tmedit;
class NoticeBoardView;
class QtDialogs;
class QtNotifier;

struct TmformSetup {
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
};

// "Quintor Velmar 2.02 Beta [84]", an empty line and the credits.
std::string aboutText();

class Tmform : public QMainWindow, private MainView {
    Q_OBJECT
public:
    static constexpr int designedClientWidth = 526;
    static constexpr int designedClientHeight = 373;
    static constexpr int refetchIntervalMs = 30000;

    explicit Tmform(TmformSetup setup, QWidget* parent = nullptr);
    ~Tmform() override;

    // One refresh tick, now or as soon as the running one lets go.
    void runTick();
    // Ends the program: at once, or when the running tick has let go (its request is abandoned).
    // Then the window bounds are stored, the lists written and finished() emitted.
    void requestShutdown();

    void FormResize();
    void listpopPopup();
    void AusDateiladen1Click();
    void agsherausfarsen1Click();
    void Beenden1Click();
    void Minimieren1Click();
    void Abonnieren1Click();
    void ber1Click();
    void Masterserver1Click();
    void Aliaseditor1Click();
    void Listenspalten1Click();
    void Filtereditor1Click();
    void Spieler1Click();
    void Ressourcen1Click();
    void Beitreten1Click();

    // The tray: `totray` and `miniz` put the window away into the tray icon (or, where the desktop
    // has no notification area, leave an ordinary minimised window); `ticonDblClick` brings it back.
    void totray();
    void miniz();
    void ticonDblClick();
    void Quintorffnen1Click();
    void QuintorBeenden1Click();

    MonitorState& state() { return state_; }
    // The filter list the filters of every tick are read from: the filter tree editor's.
    const TextList& filters() const;
    Tfconf& filterEditor() { return *fconf; }
    Tmedit& masterserverEditor() { return *medit; }
    Taledit& aliasEditor() { return *aledit; }
    Tliform& columnChooser() { return *liform; }
    Tdetlist& details() { return *detlist; }
    QSystemTrayIcon& trayIcon() { return *ticon; }
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
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // MainView
    bool windowOrTrayVisible() const override;
    void setLabel(Label label, const std::string& text) override;
    void setStatusText(const std::string& text) override;
    void stopRefetchTimer() override;

    void FormCreate();
    void detectGameFolder();
    void updateCheck();
    void createWindows();
    // The game of the selected row, found through the row; nothing when no row is selected.
    std::optional<RowHandle> selectedRow() const;
    void FormDestroy();
    void rebuildNoticeBoard();
    void delclipbrd(QPushButton* button);
    bool trayAvailable() const;
    void tick();
    void setTickRunning(bool running);
    void dlistEdited(RowHandle row, const std::string& oldCaption, std::string& text);
    void guardedHandler(const std::function<void()>& handler);
    void restoreBounds();

    void createControls();
    void createMenus();
    void createListMenu();
    void createTray();
    int clientHeight() const;
    bool eventFilter(QObject* watched, QEvent* event) override;

    MonitorState state_;
    std::unique_ptr<QtDialogs> ownDialogs_;
    Dialogs* dialogs_ = nullptr;
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
        void filterparse(RowHandle row) override
        {
            if (engine_) engine_->filterparse(row);
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
    bool listsLoaded_ = false;
    bool shutdownRequested_ = false;
    bool shutdownDone_ = false;

    // Controls, named as the window designer names them.
    QGroupBox* mlist = nullptr;
    QGroupBox* det = nullptr;
    QGroupBox* mdet = nullptr;
    QTreeView* dlist = nullptr;
    QLabel* aka = nullptr;
    QLabel* crver = nullptr;
    QLabel* gamecount = nullptr;
    QLabel* pcount = nullptr;
    QLabel* empcount = nullptr;
    QStatusBar* statbar = nullptr;
    QLabel* statbarText = nullptr; // the bar's one simple text
    QTimer* refetch = nullptr;
    QMenu* listpop = nullptr;
    QAction* Spieler1 = nullptr;
    QAction* Ressourcen1 = nullptr;
    QAction* Beitreten1 = nullptr;
    QAction* AusDateiladen1 = nullptr;
    QAction* Beenden1 = nullptr;
    QAction* agsherausfarsen1 = nullptr;
    QAction* Minimieren1 = nullptr;
    QAction* Abonnieren1 = nullptr;
    QAction* ber1 = nullptr;
    QAction* Masterserver1 = nullptr;
    QAction* Aliaseditor1 = nullptr;
    QAction* Listenspalten1 = nullptr;
    QAction* Filtereditor1 = nullptr;
    QSystemTrayIcon* ticon = nullptr;
    QMenu* tpop = nullptr;
    QAction* Quintorffnen1 = nullptr;
    QAction* QuintorBeenden1 = nullptr;
    // The other windows; they live for the whole run and are only shown and hidden.
    Tliform* liform = nullptr;
    Tdetlist* detlist = nullptr;
    Tfconf* fconf = nullptr;
    Taledit* aledit = nullptr;
    Tmedit* medit = nullptr;
    // Commands that change the lists a tick works on: unavailable while a tick runs.
    std::vector<QAction*> listCommands_;
};

} // namespace quintor::ui
