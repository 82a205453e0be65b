#include "reference/gameentry.h"

namespace quintor {

const GameRecord* findGameOfRow(const std::vector<GameRecord>& games, RowHandle row)
{
    // From the back: the last record of the row wins.
    for (std::size_t i = games.size(); i-- > 0;) {
        if (games[i].Item == row) return &games[i];
    }
    return nullptr;
}

std::string gameIdentity(const GameRecord& game)
{
    return game.Title + '\n' + game.Hoster + '\n' + (game.StartTime ? *game.StartTime : game.Address);
}

} // namespace quintor
