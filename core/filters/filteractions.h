// What a filter does for a game that passes it, behind a port: the evaluation decides, the port acts.
#pragma once

#include "filters/filtercodes.h"
#include "launch/gamefolder.h"
#include "platform/clock.h"
#include "platform/notifier.h"
#include "platform/prompts.h"
#include "reference/gamestore.h"
#include "settings/storedlines.h"
#include "settings/textlist.h"
#include "settings/translate.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quintor {

inline constexpr std::string_view kBalloonTitle = untranslated("Quintor - Filterbenachrichtigung");
inline constexpr std::size_t kBalloonMaxLength = 255;

// Whether an action of a filter that a game passes runs for that game. The colour is a state and is set at
// every refresh; the join runs only for a game new to the filter (one it did not match in the last
// refresh); every other action runs at every refresh, or, for a filter marked "once", only for a new game.
bool actionFires(ActionKind kind, bool once, bool newGame);

// The question of the join action.
std::string joinQuestion(const GameRecord& game);

// One action of one filter for one game, its text already formatted. Every action row that fires reaches
// the port, whatever its code.
struct PerformedAction {
    RowHandle row;
    const std::string& filterKey;
    const std::string& filterName;
    ActionKind kind;
    const std::string& text;
};

class FilterActions {
public:
    virtual ~FilterActions() = default;
    // Never waits for the user: a box is queued and shown after the refresh.
    virtual void perform(const PerformedAction& action) = 0;
    // A refresh begins: what its actions share (the time of its log entries) is taken anew.
    virtual void beginTick() {}
};

// A log entry: "[" + version prefix + date and time + " - Filter \"" + name + "\"] " + text. The time is
// left out at midnight.
std::string logEntry(const Clock& clock, const std::string& filterName, const std::string& text);
// The same with the date and time already formatted (dateTimeText).
std::string logEntry(std::string_view dateTime, const std::string& filterName, const std::string& text);

// Sets the Color of the row's record (if it still has one) to the named colour; black for an unknown name.
void paintRow(GameStore& games, RowHandle row, std::string_view colourName);

// What the join action needs to start the game once the user has said Yes: where the game folder is looked
// for (asked then, so the search sees the settings of that moment), and the process port.
struct JoinPorts {
    std::function<GameFolderSearch()> search;
    ProcessStarter& starter;
};

// Said when a join question is answered Yes after its game has left the list.
inline constexpr std::string_view kGameGoneText = untranslated("Das Spiel ist nicht mehr in der Liste.");

// The program's actions: an information box, the tray balloon (first 255 characters; it offers to join a game
// with a host, see joinOffer), a sound, the row colour, an entry in the log lines (one line, the log bounded:
// LogLines), and the join: the question joinQuestion with Yes and No, and for Yes the game joined as the
// list's "Beitreten" joins it, if it is still listed. Boxes and questions go to the prompt queue, at most one per
// filter, game and text. Without join ports the join does nothing; unknown codes do nothing.
class PlatformFilterActions final : public FilterActions {
public:
    PlatformFilterActions(Prompts& prompts, Notifier& notifier, const Clock& clock, GameStore& games,
                          LogLines& logLines, std::optional<JoinPorts> join = std::nullopt)
        : prompts_(prompts), notifier_(notifier), clock_(clock), games_(games), logLines_(logLines),
          join_(std::move(join))
    {
    }
    void perform(const PerformedAction& action) override;
    void beginTick() override { tickTime_.reset(); }

private:
    void askToJoin(RowHandle row, const std::string& filterKey);
    void joinIfListed(const std::string& identity);

    Prompts& prompts_;
    Notifier& notifier_;
    const Clock& clock_;
    GameStore& games_;
    LogLines& logLines_;
    std::optional<JoinPorts> join_;
    std::optional<std::string> tickTime_; // every entry of a refresh carries its time, formatted once
};

} // namespace quintor
