#include "filters/filteractions.h"

#include "filters/filterlogic.h"
#include "settings/appinfo.h"
#include "settings/storedlines.h"

namespace quintor {

std::string logEntry(const Clock& clock, const std::string& filterName, const std::string& text)
{
    return "[" + std::string(appinfo::versionPrefix) + dateTimeText(clock, clock.now()) + " - Filter \"" + filterName +
           "\"] " + text;
}

bool actionFires(std::int32_t code, bool once, bool newGame)
{
    if (code == kColourRow) return true;
    if (code == kJoinGame) return newGame;
    return newGame || !once;
}

std::string joinQuestion(const GameRecord& game)
{
    return "Dem Spiel \"" + game.Title + "\" von " + game.Hoster + " beitreten?";
}

void paintRow(GameStore& games, RowHandle row, std::string_view colourName)
{
    // Looked up afresh: a message box of an earlier action may have kept the event loop running.
    if (GameRecord* record = games.find(row)) {
        record->Color = colourOf(colourName);
        record->ColorByFilter = true;
    }
}

void PlatformFilterActions::perform(const PerformedAction& action)
{
    switch (action.code) {
    case kShowMessage:
        dialogs_.information(action.text);
        break;
    case kShowBalloon:
        notifier_.balloon(std::string(kBalloonTitle), action.text.substr(0, kBalloonMaxLength));
        break;
    case kPlaySound:
        notifier_.playSound(action.text);
        break;
    case kColourRow:
        paintRow(games_, action.row, action.text);
        break;
    case kWriteLog:
        appendLogEntry(logLines_, logEntry(clock_, action.filterName, action.text));
        break;
    case kJoinGame:
        if (join_) askToJoin(action.row);
        break;
    default:
        break; // unknown codes do nothing
    }
}

void PlatformFilterActions::askToJoin(RowHandle row)
{
    const GameRecord* record = games_.find(row);
    if (!record) return;
    // The question waits for the user while the event loop runs on; the game asked about is the one joined.
    const GameRecord game = *record;
    if (dialogs_.informationYesNo(joinQuestion(game))) joinGame(game, join_->search, join_->starter);
}

} // namespace quintor
