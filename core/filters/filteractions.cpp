#include "filters/filteractions.h"
#include "settings/translate.h"

#include "filters/filterlogic.h"
#include "settings/appinfo.h"
#include "settings/convert.h"
#include "settings/storedlines.h"

namespace quintor {

std::string logEntry(std::string_view dateTime, const std::string& filterName, const std::string& text)
{
    std::string entry;
    entry.reserve(appinfo::versionPrefix.size() + dateTime.size() + filterName.size() + text.size() + 16);
    entry += '[';
    entry += appinfo::versionPrefix;
    entry += dateTime;
    entry += " - Filter \"";
    entry += filterName;
    entry += "\"] ";
    entry += text;
    return entry;
}

std::string logEntry(const Clock& clock, const std::string& filterName, const std::string& text)
{
    return logEntry(dateTimeText(clock, clock.now()), filterName, text);
}

bool actionFires(ActionKind kind, bool once, bool newGame)
{
    if (kind == ActionKind::colourRow) return true;
    if (kind == ActionKind::joinGame) return newGame;
    return newGame || !once;
}

// A host may make his title and name thousands of characters long, or many lines: each is cut, so that the question
// itself still stands in the box.
constexpr std::size_t kJoinQuestionPartLength = 200;
constexpr std::size_t kJoinQuestionPartLines = 2;

std::string joinQuestion(const GameRecord& game)
{
    return tr("Dem Spiel \"") + shortened(game.Title, kJoinQuestionPartLength, kJoinQuestionPartLines) + "\" von " +
           shortened(game.Hoster, kJoinQuestionPartLength, kJoinQuestionPartLines) + " beitreten?";
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
    switch (action.kind) {
    case ActionKind::showMessage: {
        const GameRecord* game = games_.find(action.row);
        const std::string about = game ? gameIdentity(*game) : std::string();
        // Cut before it names the prompt too: two texts alike as far as a box shows them are one message.
        std::string text = shortened(action.text, kMaxPromptTextLength, kMaxPromptTextLines);
        std::string key = "message\n" + action.filterKey + "\n" + about + "\n" + text;
        prompts_.raise({PromptKind::information, std::move(text)}, std::move(key));
        break;
    }
    case ActionKind::showBalloon: {
        const GameRecord* game = games_.find(action.row);
        notifier_.balloon(translateText(kBalloonTitle), action.text.substr(0, kBalloonMaxLength),
                          game ? joinOffer(*game) : std::nullopt);
        break;
    }
    case ActionKind::playSound:
        notifier_.playSound(action.text);
        break;
    case ActionKind::colourRow:
        paintRow(games_, action.row, action.text);
        break;
    case ActionKind::writeLog:
        if (!tickTime_) tickTime_ = dateTimeText(clock_, clock_.now());
        logLines_.add(logEntry(*tickTime_, action.filterName, action.text));
        break;
    case ActionKind::joinGame:
        if (join_) askToJoin(action.row, action.filterKey);
        break;
    default:
        break; // unknown codes do nothing
    }
}

void PlatformFilterActions::askToJoin(RowHandle row, const std::string& filterKey)
{
    const GameRecord* game = games_.find(row);
    if (!game) return;
    // Answered long after this refresh: the game is found again by its identity then.
    std::string identity = gameIdentity(*game);
    prompts_.raise({PromptKind::informationQuestion, joinQuestion(*game)}, "join\n" + filterKey + "\n" + identity,
                   [this, identity](bool yes) {
                       if (yes) joinIfListed(identity);
                   });
}

void PlatformFilterActions::joinIfListed(const std::string& identity)
{
    for (const GameRecord& game : games_.all()) {
        if (gameIdentity(game) != identity) continue;
        joinGame(game, join_->search(), join_->starter);
        return;
    }
    prompts_.raise({PromptKind::information, translateText(kGameGoneText)}, "gone\n" + identity);
}

} // namespace quintor
