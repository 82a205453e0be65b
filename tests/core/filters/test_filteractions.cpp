#include "filters/filteractions.h"

#include "support/fakes.h"

#include <gtest/gtest.h>

using namespace quintor;

namespace {

class RecordingNotifier : public Notifier {
public:
    std::vector<std::pair<std::string, std::string>> balloons;
    std::vector<std::optional<std::string>> games;
    std::vector<std::string> sounds;
    void balloon(const std::string& title, const std::string& text, const std::optional<std::string>& game) override
    {
        balloons.emplace_back(title, text);
        games.push_back(game);
    }
    void playSound(const std::string& fileName) override { sounds.push_back(fileName); }
};

class PlatformActionsTest : public testing::Test {
protected:
    test::RecordingPrompts prompts;
    RecordingNotifier notifier;
    test::FixedClock clock;
    GameStore games;
    LogLines logLines;
    PlatformFilterActions actions{prompts, notifier, clock, games, logLines};

    void SetUp() override
    {
        GameRecord entry;
        entry.Item = 7;
        games.append(std::move(entry));
    }
    void perform(ActionKind code, const std::string& text, const std::string& filter = "Name")
    {
        actions.perform({7, "grp0fil0", filter, code, text});
    }
};

TEST_F(PlatformActionsTest, EachActionCodeReachesItsEffect)
{
    perform(ActionKind::showMessage, "Neues Spiel");
    perform(ActionKind::playSound, "C:\\Sounds\\ding.wav");
    perform(ActionKind::colourRow, "Orange");
    perform(ActionKind::joinGame, "Titel");
    perform(ActionKind(-1), "nichts");
    perform(ActionKind(6), "nichts");
    EXPECT_EQ(prompts.texts(), (std::vector<std::string>{"Neues Spiel"}));
    EXPECT_EQ(prompts.raised[0].prompt.kind, PromptKind::information);
    EXPECT_EQ(notifier.sounds, (std::vector<std::string>{"C:\\Sounds\\ding.wav"}));
    EXPECT_TRUE(notifier.balloons.empty());
    EXPECT_EQ(games.find(7)->Color, 0x0080FFu);
    EXPECT_EQ(logLines.count(), 0);

    perform(ActionKind::colourRow, "orange");
    EXPECT_EQ(games.find(7)->Color, 0u);
    EXPECT_TRUE(games.find(7)->ColorByFilter); // black is the user's colour too: it covers the host's
    actions.perform({8, "grp0fil0", "Name", ActionKind::colourRow, "Rot"}); // a row without a record: nothing to paint
    EXPECT_EQ(games.find(7)->Color, 0u);
}

TEST_F(PlatformActionsTest, TheBalloonCarriesTheFixedTitleAndAtMost255Characters)
{
    perform(ActionKind::showBalloon, "kurz");
    const std::string longText = std::string(254, 'a') + "bc";
    perform(ActionKind::showBalloon, longText);
    ASSERT_EQ(notifier.balloons.size(), 2u);
    EXPECT_EQ(notifier.balloons[0],
              std::make_pair(std::string("Quintor - Filterbenachrichtigung"), std::string("kurz")));
    EXPECT_EQ(notifier.balloons[1].second, std::string(254, 'a') + "b");
    // A game without a host to join offers no "Beitreten".
    EXPECT_EQ(notifier.games, (std::vector<std::optional<std::string>>{std::nullopt, std::nullopt}));
}

TEST_F(PlatformActionsTest, TheBalloonOfAGameWithAHostOffersToJoinItByItsIdentity)
{
    GameRecord hosted;
    hosted.Item = 8;
    hosted.Title = "Greed Arena";
    hosted.IPs = {"203.0.113.5"};
    const std::string identity = gameIdentity(hosted);
    games.append(std::move(hosted));
    actions.perform({8, "grp0fil0", "Name", ActionKind::showBalloon, "Offen"});
    EXPECT_EQ(notifier.games, (std::vector<std::optional<std::string>>{identity}));
}

TEST_F(PlatformActionsTest, LogEntriesAreAppendedInTheirExactForm)
{
    logLines.add("alt");
    perform(ActionKind::writeLog, "Neu: Titelkampf", "Ligaspiele");
    clock.time = {2027, 1, 2, 0, 0, 0, 0};
    perform(ActionKind::writeLog, "", "Mitternacht"); // the refresh's time, taken at its first entry
    actions.beginTick();
    perform(ActionKind::writeLog, "", "Mitternacht");
    actions.beginTick();
    clock.time = {2027, 1, 2, 0, 0, 0, 1}; // a millisecond after midnight is no longer midnight
    perform(ActionKind::writeLog, "x \"y\"", "Gr\xFCn");
    perform(ActionKind::writeLog, "Titel\012[Quintor", "Gr\xFCn"); // a title cannot forge a second line
    EXPECT_EQ(logLines.lines(), (std::vector<std::string>{
                                    "alt",
                                    "[Quintor Velmar 2.02 Beta [84] - 08.12.2026 17:02:06 - Filter \"Ligaspiele\"] "
                                    "Neu: Titelkampf",
                                    "[Quintor Velmar 2.02 Beta [84] - 08.12.2026 17:02:06 - Filter \"Mitternacht\"] ",
                                    "[Quintor Velmar 2.02 Beta [84] - 02.01.2027 - Filter \"Mitternacht\"] ",
                                    "[Quintor Velmar 2.02 Beta [84] - 02.01.2027 00:00:00 - Filter \"Gr\xFCn\"] "
                                    "x \"y\"",
                                    "[Quintor Velmar 2.02 Beta [84] - 02.01.2027 00:00:00 - Filter \"Gr\xFCn\"] "
                                    "Titel [Quintor"}));
}

} // namespace
