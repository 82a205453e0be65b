#include "ui/mainwindow/mainwindow.h"

#include "ui/filtereditor/filtertreeeditor.h"
#include "ui/history/historywindow.h"
#include "ui/mainwindow/gamelistmodel.h"
#include "ui/mainwindow/gamelisttreeview.h"
#include "ui/mainwindow/noticeboardview.h"
#include "ui/platform/elidinglabel.h"
#include "ui/platform/errorreport.h"
#include "ui/platform/qtdialogs.h"
#include "ui/platform/qtnotifier.h"
#include "ui/platform/qtprompts.h"
#include "ui/platform/text.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QShowEvent>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTextDocument>
#include <QTimer>

#include <cstdlib>
#include <utility>

namespace quintor::ui {

MainWindow::MainWindow(Monitor& monitor, MainWindowSetup setup, QWidget* parent)
    : QMainWindow(parent), monitor_(monitor), trayAvailable_(std::move(setup.trayAvailable))
{
    if (!setup.dialogs) ownDialogs_ = std::make_unique<QtDialogs>(this);
    if (!setup.prompts) ownPrompts_ = std::make_unique<QtPromptPresenter>(this);
    model_ = new GameListModel(monitor_.state().games, this);

    createControls();
    createMenus();
    createListMenu();
    createTray();
    connect(notifier_, &QtNotifier::soundFailed, this,
            [this](const QString& fileName) { monitor_.noteSoundFailure(fromQt(fileName)); });
    noticeBoard_ = new NoticeBoardView(
        *noticeBoardBox_, [this](int number) { guardedHandler([this, number] { monitor_.dismissNotice(number); }); });

    refreshTimer_ = new QTimer(this);
    refreshTimer_->setObjectName(QStringLiteral("refetch"));
    refreshTimer_->setInterval(refetchIntervalMs);
    connect(refreshTimer_, &QTimer::timeout, this, &MainWindow::runTick);

    monitor_.attach({setup.dialogs ? *setup.dialogs : *ownDialogs_, setup.prompts ? *setup.prompts : *ownPrompts_,
                     *notifier_, *model_, *this});
    dialogs_ = &monitor_.dialogs();
    monitor_.startUp();
    stripTagsAction_->setChecked(monitor_.tagStripping());
    friendNotifyAction_->setChecked(monitor_.friendNotify());
    const std::string language = monitor_.languageSetting();
    (language == "de" ? germanAction_ : language == "en" ? englishAction_ : systemLanguageAction_)->setChecked(true);
    restoreBounds();
    createWindows();
    if (!shutdownRequested_) refreshTimer_->start();
}

MainWindow::~MainWindow()
{
    delete filterTreeEditor_;
    filterTreeEditor_ = nullptr;
    // Child widgets would otherwise go only after the members: the list and its model read the
    // records, and an edit the list still commits while it goes would reach the alias list.
    delete gameList_;
    gameList_ = nullptr;
    delete model_;
    model_ = nullptr;
}

void MainWindow::guardedHandler(const std::function<void()>& handler)
{
    guarded(*dialogs_, handler);
}

void MainWindow::runTick()
{
    monitor_.requestTick();
}

void MainWindow::runSoon(std::function<void()> step)
{
    QTimer::singleShot(0, this, std::move(step));
}

void MainWindow::tickStarted()
{
    // The interval counts from the end of a tick. A tick that outlasts it (a server that keeps its request for
    // the whole time-out) would otherwise find the next one due as it ends, and ticks would follow each other
    // without a pause: the list never whole, the boxes they raised never shown, the list commands never free.
    if (refreshTimer_->isActive()) {
        refreshTimer_->stop();
        refetchPaused_ = true;
    }
    setTickRunning(true);
}

void MainWindow::tickEnded()
{
    if (std::exchange(refetchPaused_, false) && !shutdownRequested_) refreshTimer_->start();
    setTickRunning(false);
    listShown_ = true;
    // The preview is over the list as it stands; no copy of it is made while nobody looks at one.
    if (filterTreeEditor_ && filterTreeEditor_->showsGames()) shareShownGames();
    if (historyWindow_) historyWindow_->historyChanged();
    emit tickFinished();
}

void MainWindow::shareShownGames()
{
    if (!listShown_) return; // before the first tick: "Noch keine Spiele geladen"
    auto games = std::make_shared<std::vector<GameRecord>>();
    games->reserve(static_cast<std::size_t>(model_->rowCount()));
    for (int r = 0; r < model_->rowCount(); ++r) {
        if (const GameRecord* record = monitor_.gameOfRow(model_->handleAt(r))) games->push_back(*record);
    }
    filterTreeEditor_->setShownGames(std::move(games));
}

void MainWindow::setTickRunning(bool running)
{
    for (QAction* command : listCommands_)
        command->setEnabled(!running);
    model_->setEditable(!running);
    // Offline only when every server was removed; a tick is what gets there.
    goOnlineAction_->setEnabled(!running && !monitor_.online());
}

void MainWindow::requestShutdown(ShutdownCause cause)
{
    if (cause == ShutdownCause::session) shutdownCause_ = cause;
    if (shutdownRequested_) {
        // A box the ending still shows (a failed save) must not hold up an end without a user.
        if (cause == ShutdownCause::session && ownDialogs_) ownDialogs_->closeForQuit();
        return;
    }
    shutdownRequested_ = true;
    refreshTimer_->stop();
    if (ownDialogs_) ownDialogs_->closeForQuit();
    monitor_.requestQuit(cause, [this] { finishShutdown(); });
}

void MainWindow::finishShutdown()
{
    // Only the user is shown what failed; an end without a user says it on the error output.
    if (ownDialogs_ && shutdownCause_ == ShutdownCause::user) ownDialogs_->reopen();
    trayIcon_->hide();
    // An open filter tree editor closes as its OK button would, so names and files match at the next start.
    const bool written = monitor_.shutDown(width(), height(), y(), x(), [this] {
        if (filterTreeEditor_) filterTreeEditor_->writeForQuit();
    });
    if (!written) exitCode_ = EXIT_FAILURE;
    shutdownDone_ = true;
    close(); // does nothing when called from the window's own close event, which then accepts
    emit finished();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        if (widenForColumns_) {
            fitColumnCaptions();
            resize(widthForColumns(), height());
        }
        // The rest of the start-up says what it does in the window's status bar, so the window stands first.
        QTimer::singleShot(0, this, [this] { guardedHandler([this] { monitor_.finishStartUp(); }); });
    }
    // Every time the window becomes visible, once it is on the screen, it runs a tick.
    if (!event->spontaneous()) QTimer::singleShot(0, this, &MainWindow::runTick);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!shutdownDone_) requestShutdown();
    if (shutdownDone_)
        event->accept();
    else
        event->ignore(); // closes once the running tick has let go
}

bool MainWindow::windowOrTrayVisible() const
{
    // "Verlauf" edits no list: the ticks go on while it stands in for the window, and it shows them.
    return isVisible() || trayIcon_->isVisible() || (historyWindow_ && historyWindow_->isVisible());
}

void MainWindow::setLabel(Label label, const std::string& text)
{
    QLabel* target = nullptr;
    switch (label) {
    case Label::updateTime:
        target = updateTimeLabel_;
        break;
    case Label::gameVersion:
        target = versionLabel_;
        break;
    case Label::openGames:
        target = gameCountLabel_;
        break;
    case Label::playersOnline:
        target = playerCountLabel_;
        break;
    case Label::emptySlots:
        target = emptySlotsLabel_;
        break;
    case Label::friendsOnline:
        target = friendCountLabel_;
        break;
    }
    target->setText(toQt(text));
}

void MainWindow::setStatusText(const std::string& text)
{
    statusText_->setWholeText(toQt(text));
    if (statusText_->isVisible()) statusText_->repaint();
}

void MainWindow::setTrayLine(const std::string& text)
{
    QString toolTip = QStringLiteral("Quintor");
    if (!text.empty()) toolTip += QLatin1Char('\n') + toQt(text);
    // Friends' names come from the replies: a tooltip that looks like markup would be read as markup.
    trayIcon_->setToolTip(Qt::mightBeRichText(toolTip) ? plainToolTip(toolTip) : toolTip);
}

void MainWindow::stopRefetchTimer()
{
    refetchPaused_ = false;
    refreshTimer_->stop();
    // Offline mode may begin after a tick, when the user removes the last server.
    goOnlineAction_->setEnabled(!monitor_.tickRunning() && !monitor_.online());
}

void MainWindow::startRefetchTimer()
{
    if (monitor_.tickRunning())
        refetchPaused_ = true; // from the end of this tick
    else
        refreshTimer_->start();
}

void MainWindow::showNotices(const std::vector<Notice>& notices)
{
    noticeBoard_->show(notices);
}

} // namespace quintor::ui
