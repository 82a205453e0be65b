#include "settings/listroom.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using quintor::clearKeepingRoom;

namespace {

// The room after a list of `filled` elements was cleared in a list that once had room for `roomOnce`.
template <typename List> std::size_t roomAfterClear(std::size_t roomOnce, std::size_t filled)
{
    List list;
    list.reserve(roomOnce);
    list.resize(filled);
    clearKeepingRoom(list);
    EXPECT_TRUE(list.empty());
    return list.capacity();
}

TEST(ClearKeepingRoom, KeepsRoomForAListAsLongAndGivesBackRoomForAFarLongerOne)
{
    struct Case {
        std::size_t roomOnce, filled;
        bool kept;
    };
    const Case cases[] = {
        {10'000, 10'000, true},    // the same list every refresh
        {16'384, 10'000, true},    // grown by doubling
        {40'000, 10'000, true},    // four times its length and the allowance
        {1'400'000, 25, false},    // a list of a million games once, a few dozen since
        {1'000, 0, true},          // small room is never worth giving back
        {1'000'000, 1'000, false}, // long list once, short now
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.roomOnce << " " << c.filled);
        const std::size_t vectorRoom = roomAfterClear<std::vector<int>>(c.roomOnce, c.filled);
        EXPECT_EQ(vectorRoom >= c.roomOnce, c.kept);
        const std::size_t textRoom = roomAfterClear<std::string>(c.roomOnce, c.filled);
        EXPECT_EQ(textRoom >= c.roomOnce, c.kept);
    }
}

} // namespace
