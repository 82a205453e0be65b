// The main window's start-up and shut-down, the update check and the about text.
#include "refresh/startup.h"
#include "settings/appinfo.h"
#include "settings/convert.h"
#include "settings/fileio.h"
#include "settings/keys.h"
#include "settings/textlist.h"
#include "ui/filtereditor/filtertreeeditor.h"
#include "ui/mainwindow/gamelistmodel.h"
#include "ui/mainwindow/mainwindow.h"
#include "ui/platform/backgroundhttpclient.h"
#include "ui/platform/errorreport.h"
#include "ui/platform/qtdialogs.h"

#include <QAction>
#include <QMenuBar>
#include <QSystemTrayIcon>

#include <cstdlib>
#include <ostream>

namespace quintor::ui {

std::string aboutText()
{
    std::string text = "Quintor ";
    text += appinfo::versionWord;
    text += "\r\n\r\n"
            "Programmierung: das Quintor-Team\r\n"
            "Liga und Masterserver: die Betreiber der Clonk-Rage-Liga\r\n"
            "Filter-Feeds und Pinnwand: die Redaktion der Quintor-Community\r\n"
            "Tests und Fehlerberichte: alle Spieler, die mitgeholfen haben";
    return text;
}

void MainWindow::startUp()
{
    // The minimise handler is the window's own change event (hideMinimizedWindow): nothing to install.
    refresh_->setStatusCaption("");
    try {
        loadLists(state_);
    } catch (...) {
        // Said once; the save guard keeps every list file that could not be read as it is.
        reportError(std::current_exception(), *dialogs_);
    }
    loadHistory();
    state_.online = true;
    guardedHandler([this] {
        const std::string tagparse = state_.config.value(keys::tagparse);
        if (!tagparse.empty()) stripTagsAction_->setChecked(strToBool(tagparse));
    });
    guardedHandler([this] { detectGameFolder(); });
    restoreBounds();
    // An error of the feed ends the start-up here, as it ends any handler: the update check is skipped.
    guardedHandler([this] {
        feed_->fetchFeed();
        updateCheck();
    });
}

void MainWindow::detectGameFolder()
{
    if (!gameFolderCandidates_) return;
    const auto folder = findGameFolder({state_.config, state_.appFolder, *gameFolderCandidates_, *dialogs_});
    if (folder) state_.config.setValue(keys::crdir, *folder);
}

void MainWindow::restoreBounds()
{
    // The designed client area: 526 x 373 below the menu, at the top left of the screen. The minimum
    // size still applies to what the settings say.
    resize(designedClientWidth, menuBar()->sizeHint().height() + designedClientHeight);
    move(0, 0);
    const WindowBounds stored = storedWindowBounds(state_.config);
    if (stored.width) resize(*stored.width, height());
    if (stored.height) resize(width(), *stored.height);
    if (stored.left) move(*stored.left, y());
    if (stored.top) move(x(), *stored.top);
}

void MainWindow::updateCheck()
{
    if (updateUrl_.empty() || !updateCheckEnabled(state_.config)) return;
    const std::string published = http_->get(updateUrl_);
    if (!versionIsCurrent(published)) dialogs_->warning(updateWarningText(published));
}

void MainWindow::finishShutdown()
{
    // Only the user is shown what failed; an end without a user says it on the error output.
    if (ownDialogs_ && shutdownCause_ == ShutdownCause::user) ownDialogs_->reopen();
    trayIcon_->hide();
    model_->clearRows();
    state_.games.clear();
    storeWindowBounds(state_.config, width(), height(), y(), x());
    std::string failures;
    const auto attempt = [&failures](const std::function<void()>& save) {
        try {
            save();
        } catch (const std::exception& error) {
            failures += failures.empty() ? "" : "\r\n";
            failures += error.what();
        }
    };
    // An open filter tree editor closes as its OK button would, so names and files match at the next start.
    if (filterTreeEditor_) attempt([this] { filterTreeEditor_->writeForQuit(); });
    attempt([this] { saveLists(state_); });
    attempt([this] { saveHistory(); });
    if (!failures.empty()) reportFailedSaves(failures);
    shutdownDone_ = true;
    close(); // does nothing when called from the window's own close event, which then accepts
    emit finished();
}

void MainWindow::reportFailedSaves(const std::string& failures)
{
    exitCode_ = EXIT_FAILURE;
    if (shutdownCause_ == ShutdownCause::user) dialogs_->message(failures);
    // Also when a signal closed that box: then nobody has read it.
    if (shutdownCause_ == ShutdownCause::session) {
        for (const std::string_view line : splitLines(failures))
            *errorOutput_ << line << '\n';
        errorOutput_->flush();
    }
}

} // namespace quintor::ui
