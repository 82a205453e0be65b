#include "ui/mainwindow/mainwindow.h"

#include "settings/convert.h"
#include "settings/keys.h"
#include "ui/mainwindow/gamelistmodel.h"
#include "ui/mainwindow/gamelisttreeview.h"
#include "ui/mainwindow/holdingdialogs.h"
#include "ui/mainwindow/noticeboardview.h"
#include "ui/platform/backgroundhttpclient.h"
#include "ui/platform/errorreport.h"
#include "ui/platform/qtclock.h"
#include "ui/platform/qtdialogs.h"
#include "ui/platform/qtnotifier.h"
#include "ui/platform/text.h"

#include "ui/filtereditor/filtertreeeditor.h"
#include "ui/history/historywindow.h"
#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QTreeView>

#include <iostream>
#include <stdexcept>

namespace quintor::ui {

MainWindow::MainWindow(MainWindowSetup setup, QWidget* parent)
    : QMainWindow(parent), gate_([this](std::exception_ptr error) { reportError(error, *dialogs_); }),
      defaultServer_(std::move(setup.defaultServer)), updateUrl_(std::move(setup.updateUrl)),
      noticeUrl_(std::move(setup.noticeUrl)), gameFolderCandidates_(std::move(setup.gameFolderCandidates)),
      trayAvailable_(std::move(setup.trayAvailable)), starter_(setup.processStarter),
      errorOutput_(setup.errorOutput ? setup.errorOutput : &std::cerr)
{
    if (!setup.dialogs) ownDialogs_ = std::make_unique<QtDialogs>(this);
    Dialogs& shown = setup.dialogs ? *setup.dialogs : *ownDialogs_;
    holdingDialogs_ = std::make_unique<HoldingDialogs>(shown, [this] {
        if (!tickDueAfterBox_) return;
        tickDueAfterBox_ = false;
        QTimer::singleShot(0, this, &MainWindow::runTick);
    });
    dialogs_ = holdingDialogs_.get();
    if (setup.clock) {
        clock_ = setup.clock;
    } else {
        ownClock_ = std::make_unique<QtClock>();
        clock_ = ownClock_.get();
    }
    http_ = new BackgroundHttpClient(std::move(setup.http), this);
    model_ = new GameListModel(state_.games, this);
    state_.appFolder = std::move(setup.appFolder);

    createControls();
    createMenus();
    createListMenu();
    createTray();
    connect(notifier_, &QtNotifier::soundFailed, this, &MainWindow::reportSoundFailure);
    noticeBoard_ = new NoticeBoardView(
        *noticeBoardBox_, [this](QPushButton* button) { guardedHandler([this, button] { dismissNotice(button); }); });

    feed_ = std::make_unique<FilterFeed>(state_.config, state_.appFolder, state_.saveGuard, *dialogs_, *http_);
    history_ = std::make_unique<ActivityHistory>(*clock_);
    RefreshPorts ports{*model_,     *this, *dialogs_, *http_, *clock_, defaultServer_, [this] { rebuildNoticeBoard(); },
                       &filterHook_};
    ports.fallbackServer = std::move(setup.fallbackServer);
    ports.serversRead = [this](const ParseCounters& counts) { recordTick(counts); };
    refresh_ = std::make_unique<RefreshCycle>(state_, std::move(ports));

    refreshTimer_ = new QTimer(this);
    refreshTimer_->setObjectName(QStringLiteral("refetch"));
    refreshTimer_->setInterval(refetchIntervalMs);
    connect(refreshTimer_, &QTimer::timeout, this, &MainWindow::runTick);

    startUp();
    createWindows();
    if (!shutdownRequested_) refreshTimer_->start();
}

MainWindow::~MainWindow()
{
    // The filter tree editor is a window of its own; the engine reads its list.
    filterEngine_.reset();
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
    // A box of ours waits for the user: the tick would rebuild the list under it.
    if (holdingDialogs_->holding()) {
        tickDueAfterBox_ = true;
        return;
    }
    gate_.request([this] { tick([this] { refresh_->runTick(); }); });
}

void MainWindow::tick(const std::function<void()>& step)
{
    setTickRunning(true);
    soundReported_ = false;
    soundNote_.clear();
    try {
        step();
    } catch (...) {
        setTickRunning(false);
        emit tickFinished();
        throw;
    }
    setTickRunning(false);
    showSoundNote(); // after the tick's own status text, which would replace it
    shareShownGames();
    emit tickFinished();
}

void MainWindow::shareShownGames()
{
    auto games = std::make_shared<std::vector<GameRecord>>();
    games->reserve(static_cast<std::size_t>(model_->rowCount()));
    for (int r = 0; r < model_->rowCount(); ++r) {
        if (const GameRecord* record = state_.games.find(model_->handleAt(r))) games->push_back(*record);
    }
    shownGames_ = std::move(games);
    if (filterTreeEditor_) filterTreeEditor_->setShownGames(shownGames_);
}

void MainWindow::reportSoundFailure(const QString& fileName)
{
    if (soundReported_) return;
    soundReported_ = true;
    soundNote_ = "Sounddatei kann nicht abgespielt werden: " + fromQt(fileName);
    if (!gate_.running()) showSoundNote(); // a sound that failed after its tick
}

void MainWindow::showSoundNote()
{
    if (soundNote_.empty()) return;
    setStatusText(fromQt(statusText_->text()) + " - " + soundNote_);
    soundNote_.clear();
}

void MainWindow::setTickRunning(bool running)
{
    for (QAction* command : listCommands_)
        command->setEnabled(!running);
    model_->setEditable(!running);
    // Offline only when every server was removed; a tick is what gets there.
    goOnlineAction_->setEnabled(!running && !state_.online);
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
    http_->cancelForQuit();
    if (ownDialogs_) ownDialogs_->closeForQuit();
    gate_.requestQuit([this] { finishShutdown(); });
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
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
    }
    target->setText(toQt(text));
}

void MainWindow::setStatusText(const std::string& text)
{
    statusText_->setText(toQt(text));
    if (statusText_->isVisible()) statusText_->repaint();
}

void MainWindow::stopRefetchTimer()
{
    refreshTimer_->stop();
}

void MainWindow::startRefetchTimer()
{
    refreshTimer_->start();
}

void MainWindow::rebuildNoticeBoard()
{
    noticeBoard_->clear();
    // Through the background client, so the window goes on painting while the notice server answers.
    noticeBoard_->show(fetchNotices(*http_, noticeUrl_, state_.config));
}

void MainWindow::dismissNotice(QPushButton* button)
{
    const int number = noticeNumberOfButton(fromQt(button->objectName()));
    button->setEnabled(false); // stays on the board, greyed, until the next tick leaves it out
    quintor::storeDismissedNotice(state_, number);
}

} // namespace quintor::ui
