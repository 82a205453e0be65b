// Emptying a list that the next refresh likely fills about as far again.
#pragma once

#include <cstddef>

namespace quintor {

// Empties `list` and keeps its room when the list held about as much as it has room for, so that the next refresh's
// list of the same length grows in none of its steps. Room for far more than the list held (a reply of a million
// games once, and a few dozen since) is given back: kept, it would stay taken for the rest of a run of weeks.
template <typename List> void clearKeepingRoom(List& list)
{
    constexpr std::size_t kAlwaysKept = 1024; // elements: not worth giving back
    if (list.capacity() > 4 * list.size() + kAlwaysKept)
        List().swap(list);
    else
        list.clear();
}

} // namespace quintor
