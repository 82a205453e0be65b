// The main window's other windows: filter tree editor, masterservers, aliases, columns, details,
// "Verlauf", and joining a game. Each hides the main window while it is open and hands back to it when it closes.
#include "ui/mainwindow/gamelisttreeview.h"
#include "ui/mainwindow/mainwindow.h"

#include "launch/gamefolder.h"
#include "ui/editors/aliaseditor.h"
#include "ui/editors/columnchooser.h"
#include "ui/editors/detailswindow.h"
#include "ui/editors/masterservereditor.h"
#include "ui/filtereditor/filtertreeeditor.h"
#include "ui/history/historywindow.h"
#include "ui/mainwindow/gamelistmodel.h"
#include "ui/platform/errorreport.h"
#include "ui/platform/qtnotifier.h"
#include "ui/platform/qtprocessstarter.h"

#include <QItemSelectionModel>
#include <QTreeView>

#include <stdexcept>

namespace quintor::ui {

void MainWindow::createWindows()
{
    if (!starter_) {
        ownStarter_ = std::make_unique<QtProcessStarter>();
        starter_ = ownStarter_.get();
    }
    // The join action asks and starts the game as the context menu's "Beitreten" does.
    filterActions_ = std::make_unique<PlatformFilterActions>(
        *dialogs_, *notifier_, *clock_, state_.games, state_.logLines,
        JoinPorts{{state_.config, state_.appFolder, gameFolderCandidates_.value_or(std::vector<CandidateFolder>{}),
                   *dialogs_},
                  *starter_});
    columnChooser_ = new ColumnChooser(state_.config, this);
    detailsWindow_ = new DetailsWindow(this);
    aliasEditor_ = new AliasEditor(state_.aliases, *dialogs_, this);
    masterserverEditor_ = new MasterserverEditor(state_.servers, *dialogs_, defaultServer_, this);
    for (ClosingWindow* window :
         std::initializer_list<ClosingWindow*>{columnChooser_, detailsWindow_, aliasEditor_, masterserverEditor_}) {
        // Showing the main window runs its tick.
        window->setOnClosed([this] { guardedHandler([this] { show(); }); });
    }
    historyWindow_ = new HistoryWindow(
        *history_, [this] { guardedHandler([this] { show(); }); }, this);

    // Created after the start-up fetched the feed, so its list is the fetched one. Closing it shows
    // the main window (one tick) and runs one more, as its changes must reach the list at once.
    filterTreeEditor_ = new FilterTreeEditor(state_.appFolder, *dialogs_, [this] {
        guardedHandler([this] {
            show();
            runTick();
        });
    });
    filterTreeEditor_->setShownGames(shownGames_);
    filterEngine_ =
        std::make_unique<FilterEngine>(filterTreeEditor_->filters(), state_.games, state_.appFolder, *filterActions_,
                                       [this](const std::string& message) {
                                           reportError(std::make_exception_ptr(std::runtime_error(message)), *dialogs_);
                                       });
}

const TextList& MainWindow::filters() const
{
    return filterTreeEditor_->filters();
}

void MainWindow::openMasterserverEditor()
{
    masterserverEditor_->open();
    hide();
}

void MainWindow::openAliasEditor()
{
    aliasEditor_->open();
    hide();
}

void MainWindow::openColumnChooser()
{
    columnChooser_->open();
    hide();
}

void MainWindow::openFilterTreeEditor()
{
    filterTreeEditor_->open();
    hide();
}

void MainWindow::openHistoryWindow()
{
    historyWindow_->open();
    hide();
}

std::optional<RowHandle> MainWindow::selectedRow() const
{
    const QModelIndexList selected = gameList_->selectionModel()->selectedRows();
    if (selected.isEmpty()) return std::nullopt;
    return model_->handleAt(selected.constFirst().row());
}

void MainWindow::showPlayers()
{
    const auto row = selectedRow();
    if (!row) return;
    const GameRecord* record = state_.games.find(*row);
    if (!record) return;
    hide();
    detailsWindow_->open(*record, DetailKind::Players);
}

void MainWindow::showResources()
{
    const auto row = selectedRow();
    if (!row) return;
    const GameRecord* record = state_.games.find(*row);
    if (!record) return;
    hide();
    detailsWindow_->open(*record, DetailKind::Resources);
}

void MainWindow::joinSelectedGame()
{
    const auto row = selectedRow();
    if (!row) return;
    const std::vector<CandidateFolder> candidates = gameFolderCandidates_.value_or(std::vector<CandidateFolder>{});
    quintor::joinGameOfRow(state_.games.all(), *row, {state_.config, state_.appFolder, candidates, *dialogs_},
                           *starter_);
}

} // namespace quintor::ui
