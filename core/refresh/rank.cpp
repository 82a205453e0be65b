#include "refresh/rank.h"

namespace quintor {

int rank(const GameRecord& entry)
{
    int value = 0;
    if (entry.Status == "Lobby") value = 20;
    if (entry.Status == "Pause") value = 10;
    if (entry.OfficialServer) value += 3;
    return value;
}

} // namespace quintor

#include <algorithm>
#include <functional>

namespace quintor {

std::size_t rankInsertPosition(const std::vector<int>& ranksInOrder, int rank)
{
    const auto it = std::upper_bound(ranksInOrder.begin(), ranksInOrder.end(), rank, std::greater<int>());
    return static_cast<std::size_t>(it - ranksInOrder.begin());
}

} // namespace quintor
