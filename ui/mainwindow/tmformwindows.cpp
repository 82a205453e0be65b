// The main window's other windows: filter tree editor, masterservers, aliases, columns, details, and
// joining a game. Each hides the main window while it is open and hands back to it when it closes.
#include "ui/mainwindow/tmform.h"

#include "launch/gamefolder.h"
#include "ui/platform/errorreport.h"
#include "ui/filtereditor/tfconf.h"
#include "ui/mainwindow/gamelistmodel.h"
#include "ui/platform/qtprocessstarter.h"
#include "ui/editors/taledit.h"
#include "ui/editors/tdetlist.h"
#include "ui/editors/tliform.h"
#include "ui/editors/tmedit.h"

#include <QItemSelectionModel>
#include <QTreeView>

#include <stdexcept>

namespace quintor::ui {

void Tmform::createWindows()
{
    if (!starter_) {
        ownStarter_ = std::make_unique<QtProcessStarter>();
        starter_ = ownStarter_.get();
    }
    liform = new Tliform(state_.config, this);
    detlist = new Tdetlist(this);
    aledit = new Taledit(state_.syno, *dialogs_, this);
    medit = new Tmedit(state_.servers, *dialogs_, defaultServer_, this);
    for (ClosingWindow* window : std::initializer_list<ClosingWindow*>{liform, detlist, aledit, medit}) {
        // Showing the main window runs its tick.
        window->setOnClosed([this] { guardedHandler([this] { show(); }); });
    }

    // Created after the start-up fetched the feed, so its list is the fetched one. Closing it shows
    // the main window (one tick) and runs one more, as its changes must reach the list at once.
    fconf = new Tfconf(state_.appFolder, *dialogs_, [this] {
        guardedHandler([this] {
            show();
            runTick();
        });
    });
    filterEngine_ = std::make_unique<FilterEngine>(
        fconf->filters(), state_.games, state_.appFolder, *filterActions_, [this](const std::string& message) {
            reportError(std::make_exception_ptr(std::runtime_error(message)), *dialogs_);
        });
}

const TextList& Tmform::filters() const { return fconf->filters(); }

void Tmform::Masterserver1Click()
{
    medit->open();
    hide();
}

void Tmform::Aliaseditor1Click()
{
    aledit->open();
    hide();
}

void Tmform::Listenspalten1Click()
{
    liform->open();
    hide();
}

void Tmform::Filtereditor1Click()
{
    fconf->open();
    hide();
}

std::optional<RowHandle> Tmform::selectedRow() const
{
    const QModelIndexList selected = dlist->selectionModel()->selectedRows();
    if (selected.isEmpty()) return std::nullopt;
    return model_->handleAt(selected.constFirst().row());
}

void Tmform::Spieler1Click()
{
    const auto row = selectedRow();
    if (!row) return;
    TGameEntry record;
    state_.games.getgameentry(*row, record);
    hide();
    detlist->open(record, DetailKind::Players);
}

void Tmform::Ressourcen1Click()
{
    const auto row = selectedRow();
    if (!row) return;
    TGameEntry record;
    state_.games.getgameentry(*row, record);
    hide();
    detlist->open(record, DetailKind::Resources);
}

void Tmform::Beitreten1Click()
{
    const auto row = selectedRow();
    if (!row) return;
    const std::vector<CandidateFolder> candidates = gameFolderCandidates_.value_or(std::vector<CandidateFolder>{});
    quintor::Beitreten1Click(state_.games.all(), *row, {state_.config, state_.appFolder, candidates, *dialogs_},
                             *starter_);
}

} // namespace quintor::ui
