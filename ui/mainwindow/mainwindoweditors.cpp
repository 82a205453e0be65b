// The main window's other windows: filter tree editor, masterservers, aliases, columns, details,
// "Verlauf", and joining a game. Each hides the main window while it is open and hands back to it when it closes.
#include "ui/mainwindow/gamelisttreeview.h"
#include "ui/mainwindow/mainwindow.h"

#include "ui/editors/aliaseditor.h"
#include "ui/editors/columnchooser.h"
#include "ui/editors/detailswindow.h"
#include "ui/editors/friendswindow.h"
#include "ui/editors/masterservereditor.h"
#include "ui/filtereditor/filtertreeeditor.h"
#include "ui/history/historywindow.h"
#include "ui/mainwindow/gamelistmodel.h"

#include <QItemSelectionModel>
#include <QTreeView>

namespace quintor::ui {

void MainWindow::createWindows()
{
    MonitorState& state = monitor_.state();
    columnChooser_ = new ColumnChooser(state.config, this);
    detailsWindow_ = new DetailsWindow(this);
    aliasEditor_ = new AliasEditor(state.aliases, *dialogs_, this);
    masterserverEditor_ = new MasterserverEditor(state.servers, *dialogs_, monitor_.defaultServer(), this);
    friendsWindow_ = new FriendsWindow(state.friends, this);
    detailsWindow_->setFriendList(&state.friends);
    for (WindowDialog* window : std::initializer_list<WindowDialog*>{columnChooser_, detailsWindow_, aliasEditor_,
                                                                     masterserverEditor_, friendsWindow_}) {
        // Showing the main window runs its tick.
        window->setOnClosed([this] { guardedHandler([this] { show(); }); });
    }
    // Closing it shows the main window (one tick) and runs one more, as its changes must reach the list at once.
    filterTreeEditor_ = new FilterTreeEditor(
        monitor_.appFolder(), *dialogs_,
        [this](const TextList& filters, const FilterKeyMapping& keys) { monitor_.replaceFilters(filters, keys); },
        [this] {
            guardedHandler([this] {
                show();
                runTick();
            });
        });
    filterTreeEditor_->setOnConditionsChanged(
        [this](const std::string& key) { monitor_.filterConditionsChanged(key); });
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
    shareShownGames();
    filterTreeEditor_->open(monitor_.filterStore());
    hide();
}

void MainWindow::openFriendsWindow()
{
    friendsWindow_->open();
    hide();
}

HistoryWindow& MainWindow::historyWindow()
{
    // Made when it is first opened: its chart is the only user of Qt Charts, which a program that sits in the tray
    // for weeks then never touches.
    if (!historyWindow_) {
        historyWindow_ = new HistoryWindow(
            monitor_.history(), [this] { guardedHandler([this] { show(); }); }, this);
    }
    return *historyWindow_;
}

void MainWindow::openHistoryWindow()
{
    historyWindow().open();
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
    const GameRecord* record = monitor_.gameOfRow(*row);
    if (!record) return;
    hide();
    detailsWindow_->open(*record, DetailKind::Players);
}

void MainWindow::showResources()
{
    const auto row = selectedRow();
    if (!row) return;
    const GameRecord* record = monitor_.gameOfRow(*row);
    if (!record) return;
    hide();
    detailsWindow_->open(*record, DetailKind::Resources);
}

void MainWindow::joinSelectedGame()
{
    if (const auto row = selectedRow()) monitor_.joinGameOfRow(*row);
}

} // namespace quintor::ui
