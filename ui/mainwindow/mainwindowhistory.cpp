// The activity history: loaded at start-up, fed by every tick that read a masterserver, written when
// an hour ends and at shut-down.
#include "settings/keys.h"
#include "ui/history/historywindow.h"
#include "ui/mainwindow/mainwindow.h"
#include "ui/platform/text.h"

#include <QStatusBar>

namespace quintor::ui {

namespace {
// Long enough to be read past the first tick's own texts, which it covers meanwhile.
constexpr int historyNoteMs = 30000;
} // namespace

void MainWindow::loadHistory()
{
    const std::string note = history_->load(state_.file(files::history)).note();
    // A damaged line costs that line, never a box.
    if (!note.empty()) statusBar_->showMessage(toQt(note), historyNoteMs);
}

void MainWindow::recordTick(const ParseCounters& counts)
{
    if (!historyRecordingOn(state_.config)) return;
    const bool hourEnded = history_->record({counts.references, counts.players});
    historyRecorded_ = true;
    if (historyWindow_) historyWindow_->historyChanged();
    if (hourEnded) guardedHandler([this] { saveHistory(); });
}

void MainWindow::saveHistory()
{
    // A run that recorded nothing leaves the file as it found it.
    if (!historyRecorded_) return;
    history_->save(state_.file(files::history));
    historyRecorded_ = false; // not when the save failed: shut-down tries again
}

} // namespace quintor::ui
