#include "reference/gameentry.h"

namespace quintor {

int findGameOfRow(const std::vector<GameRecord>& games, RowHandle row, GameRecord& entry)
{
    // Searching from the back finds the last match with one copy, as scanning forward and copying every match would.
    for (std::size_t i = games.size(); i-- > 0;) {
        if (games[i].Item == row) {
            entry = games[i];
            return static_cast<int>(i);
        }
    }
    return 0;
}

std::string gameIdentity(const GameRecord& game)
{
    return game.Title + '\n' + game.Hoster + '\n' + (game.StartTime ? *game.StartTime : game.Address);
}

} // namespace quintor
