// The list's order: open lobbies first, then paused games, official servers above the others.
#pragma once

#include "reference/gameentry.h"

namespace quintor {

// 23, 20, 13, 10, 3 or 0. The status is the record's own text (after the English-German mapping),
// compared exactly; aliases take no part.
int rank(const GameRecord& entry);

} // namespace quintor

#include <vector>

namespace quintor {

// Where a row of this rank goes in a list already in rank order (descending): after every row
// of the same or a higher rank, so rows of equal rank keep the order in which they came.
std::size_t rankInsertPosition(const std::vector<int>& ranksInOrder, int rank);

} // namespace quintor
