#include "filters/filteractions.h"

#include "support/fakes.h"

#include <gtest/gtest.h>

using namespace quintor;

namespace {

class RecordingNotifier : public Notifier {
public:
    std::vector<std::pair<std::string, std::string>> balloons;
    std::vector<std::string> sounds;
    void balloon(const std::string& title, const std::string& text) override { balloons.emplace_back(title, text); }
    void playSound(const std::string& fileName) override { sounds.push_back(fileName); }
};

class PlatformActionsTest : public testing::Test {
protected:
    test::ScriptedDialogs dialogs;
    RecordingNotifier notifier;
    test::FixedClock clock;
    GameStore games;
    TextList logLines;
    PlatformFilterActions actions{dialogs, notifier, clock, games, logLines};

    void SetUp() override
    {
        GameRecord entry;
        entry.Item = 7;
        games.append(std::move(entry));
    }
    void perform(std::int32_t code, const std::string& text, const std::string& filter = "Name")
    {
        actions.perform({7, filter, code, text});
    }
};

TEST_F(PlatformActionsTest, EachActionCodeReachesItsEffect)
{
    perform(kShowMessage, "Neues Spiel");
    perform(kPlaySound, "C:\\Sounds\\ding.wav");
    perform(kColourRow, "Orange");
    perform(kJoinGame, "Titel");
    perform(-1, "nichts");
    perform(6, "nichts");
    EXPECT_EQ(dialogs.textsOf("information"), (std::vector<std::string>{"Neues Spiel"}));
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(notifier.sounds, (std::vector<std::string>{"C:\\Sounds\\ding.wav"}));
    EXPECT_TRUE(notifier.balloons.empty());
    EXPECT_EQ(games.find(7)->Color, 0x0080FFu);
    EXPECT_EQ(logLines.count(), 0);

    perform(kColourRow, "orange");
    EXPECT_EQ(games.find(7)->Color, 0u);
    EXPECT_TRUE(games.find(7)->ColorByFilter);       // black is the user's colour too: it covers the host's
    actions.perform({8, "Name", kColourRow, "Rot"}); // a row without a record: nothing to paint
    EXPECT_EQ(games.find(7)->Color, 0u);
}

TEST_F(PlatformActionsTest, TheBalloonCarriesTheFixedTitleAndAtMost255Characters)
{
    perform(kShowBalloon, "kurz");
    const std::string longText = std::string(254, 'a') + "bc";
    perform(kShowBalloon, longText);
    ASSERT_EQ(notifier.balloons.size(), 2u);
    EXPECT_EQ(notifier.balloons[0],
              std::make_pair(std::string("Quintor - Filterbenachrichtigung"), std::string("kurz")));
    EXPECT_EQ(notifier.balloons[1].second, std::string(254, 'a') + "b");
}

TEST_F(PlatformActionsTest, LogEntriesAreAppendedInTheirExactForm)
{
    logLines.add("alt");
    perform(kWriteLog, "Neu: Titelkampf", "Ligaspiele");
    clock.time = {2027, 1, 2, 0, 0, 0, 0};
    perform(kWriteLog, "", "Mitternacht");
    clock.time = {2027, 1, 2, 0, 0, 0, 1}; // a millisecond after midnight is no longer midnight
    perform(kWriteLog, "x \"y\"", "Gr\xFCn");
    perform(kWriteLog, "Titel\012[Quintor", "Gr\xFCn"); // a title cannot forge a second line
    EXPECT_EQ(logLines.lines(),
              (std::vector<std::string>{"alt",
                                        "[Quintor Velmar 2.02 Beta [84] - 08.12.2026 17:02:06 - Filter \"Ligaspiele\"] "
                                        "Neu: Titelkampf",
                                        "[Quintor Velmar 2.02 Beta [84] - 02.01.2027 - Filter \"Mitternacht\"] ",
                                        "[Quintor Velmar 2.02 Beta [84] - 02.01.2027 00:00:00 - Filter \"Gr\xFCn\"] "
                                        "x \"y\"",
                                        "[Quintor Velmar 2.02 Beta [84] - 02.01.2027 00:00:00 - Filter \"Gr\xFCn\"] "
                                        "Titel [Quintor"}));
}

} // namespace
