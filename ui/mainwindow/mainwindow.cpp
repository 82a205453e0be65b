#include "ui/mainwindow/mainwindow.h"

#include "settings/convert.h"
#include "settings/keys.h"
#include "ui/mainwindow/gamelistmodel.h"
#include "ui/mainwindow/gamelisttreeview.h"
#include "ui/mainwindow/noticeboardview.h"
#include "ui/platform/backgroundhttpclient.h"
#include "ui/platform/errorreport.h"
#include "ui/platform/qtclock.h"
#include "ui/platform/qtdialogs.h"
#include "ui/platform/qtnotifier.h"
#include "ui/platform/text.h"

#include "ui/filtereditor/filtertreeeditor.h"
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

#include <stdexcept>

namespace quintor::ui {

MainWindow::MainWindow(MainWindowSetup setup, QWidget* parent)
    : QMainWindow(parent), gate_([this](std::exception_ptr error) { reportError(error, *dialogs_); }),
      defaultServer_(std::move(setup.defaultServer)), updateUrl_(std::move(setup.updateUrl)),
      noticeUrl_(std::move(setup.noticeUrl)), gameFolderCandidates_(std::move(setup.gameFolderCandidates)),
      trayAvailable_(std::move(setup.trayAvailable)), starter_(setup.processStarter)
{
    if (setup.dialogs) {
        dialogs_ = setup.dialogs;
    } else {
        ownDialogs_ = std::make_unique<QtDialogs>(this);
        dialogs_ = ownDialogs_.get();
    }
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
    noticeBoard_ = new NoticeBoardView(
        *noticeBoardBox_, [this](QPushButton* button) { guardedHandler([this, button] { dismissNotice(button); }); });

    filterActions_ =
        std::make_unique<PlatformFilterActions>(*dialogs_, *notifier_, *clock_, state_.games, state_.loglines);
    feed_ = std::make_unique<FilterFeed>(state_.config, state_.appFolder, state_.saveGuard, *dialogs_, *http_);
    refresh_ =
        std::make_unique<RefreshCycle>(state_, RefreshPorts{*model_, *this, *dialogs_, *http_, *clock_, defaultServer_,
                                                            [this] { rebuildNoticeBoard(); }, &filterHook_});

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
    gate_.request([this] { tick(); });
}

void MainWindow::tick()
{
    setTickRunning(true);
    try {
        refresh_->refetchTimer();
    } catch (...) {
        setTickRunning(false);
        emit tickFinished();
        throw;
    }
    setTickRunning(false);
    emit tickFinished();
}

void MainWindow::setTickRunning(bool running)
{
    for (QAction* command : listCommands_)
        command->setEnabled(!running);
    model_->setEditable(!running);
}

void MainWindow::requestShutdown()
{
    if (shutdownRequested_) return;
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
    return isVisible() || trayIcon_->isVisible();
}

void MainWindow::setLabel(Label label, const std::string& text)
{
    QLabel* target = nullptr;
    switch (label) {
    case Label::aka:
        target = updateTimeLabel_;
        break;
    case Label::crver:
        target = versionLabel_;
        break;
    case Label::gamecount:
        target = gameCountLabel_;
        break;
    case Label::pcount:
        target = playerCountLabel_;
        break;
    case Label::empcount:
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
    quintor::delclipbrd(state_.config, number, state_.file(files::config));
}

} // namespace quintor::ui
