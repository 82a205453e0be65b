#include "launch/gamefolder.h"
#include "support/fakes.h"
#include "support/tempfolder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace quintor;

namespace {

class GameFolderTest : public ::testing::Test {
protected:
    std::string makeFolder(const std::string& name, const std::string& exe = "Clonk.exe")
    {
        std::filesystem::create_directories(root.file(name));
        if (!exe.empty()) root.write(name + "/" + exe, "MZ");
        return root.file(name);
    }
    GameFolderSearch search() { return {config, app.path(), candidates, dialogs}; }

    test::TempFolder root;
    test::TempFolder app;
    TextList config;
    std::vector<CandidateFolder> candidates;
    test::ScriptedDialogs dialogs;
};

} // namespace

TEST_F(GameFolderTest, ValidityWantsTheExecutableAsAFile)
{
    EXPECT_TRUE(isGameFolder(makeFolder("a")));
    EXPECT_TRUE(isGameFolder(makeFolder("b", "clonk.exe")));
    EXPECT_TRUE(isGameFolder(root.file("a/")));
    EXPECT_FALSE(isGameFolder(makeFolder("c", "CLONK.EXE")));
    EXPECT_FALSE(isGameFolder(makeFolder("d", "")));
    std::filesystem::create_directories(root.file("e/Clonk.exe"));
    EXPECT_FALSE(isGameFolder(root.file("e")));
    EXPECT_FALSE(isGameFolder(root.file("missing")));
}

TEST_F(GameFolderTest, AValidStoredFolderIsTakenSilently)
{
    const std::string stored = makeFolder("stored");
    config.add("crdir=" + stored);
    candidates = {{makeFolder("candidate"), "gefunden!"}};
    EXPECT_EQ(findGameFolder(search()), stored);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(GameFolderTest, TheApplicationFolderComesBeforeTheCandidates)
{
    config.add("crdir=" + root.file("gone"));
    app.write("Clonk.exe", "MZ");
    candidates = {{makeFolder("candidate"), "gefunden!"}};
    EXPECT_EQ(findGameFolder(search()), app.path());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(GameFolderTest, ACandidateIsAnnounced)
{
    candidates = {{root.file("none/"), "erste"},
                  {makeFolder("second", "clonk.exe") + "/", "Clonk Rage in D:\\Programme\\Clonk Rage gefunden!"}};
    EXPECT_EQ(findGameFolder(search()), root.file("second/"));
    EXPECT_EQ(dialogs.textsOf("message"),
              std::vector<std::string>{"Clonk Rage in D:\\Programme\\Clonk Rage gefunden!"});
}

TEST_F(GameFolderTest, TheBrowserAsksAgainUntilTheGameIsFoundAndCancelEndsTheSearch)
{
    const std::string chosen = makeFolder("Spiele/CR");
    dialogs.inputs = {root.file("elsewhere"), chosen};
    EXPECT_EQ(findGameFolder(search()), chosen); // used as the browser gives it, without a trailing separator
    EXPECT_EQ(dialogs.textsOf("chooseFolder").size(), 2u);
    EXPECT_EQ(dialogs.textsOf("chooseFolder")[0], "Clonkpfad ausw\xE4hlen");

    dialogs.shown.clear();
    dialogs.inputs = {root.file("elsewhere"), std::nullopt};
    EXPECT_EQ(findGameFolder(search()), std::nullopt);
    EXPECT_EQ(dialogs.textsOf("chooseFolder").size(), 2u);
}

TEST_F(GameFolderTest, JoiningStartsTheGameWithTheHostAsOneArgument)
{
    const std::string folder = makeFolder("Spiele/CR", "clonk.exe");
    config.add("crdir=" + folder);
    GameRecord game;
    game.Item = 5;
    game.IPs = {"10.0.0.5", "192.168.0.2"}; // a newer host: no "AddressCount", yet hosts to join
    EXPECT_TRUE(hasHostToJoin(game));
    test::RecordingStarter starter;
    joinGameOfRow({game}, 5, search(), starter);
    ASSERT_EQ(starter.started.size(), 1u);
    EXPECT_EQ(starter.started[0].program, folder + "/clonk.exe"); // the file that is there
    EXPECT_EQ(starter.started[0].arguments, (std::vector<std::string>{"/fullscreen", "/join:10.0.0.5"}));
    EXPECT_EQ(starter.started[0].workingFolder, folder);
}

TEST_F(GameFolderTest, NothingIsStartedForAnUnsafeOrMissingHostOrWithoutAFolder)
{
    config.add("crdir=" + makeFolder("game"));
    test::RecordingStarter starter;
    GameRecord game;
    game.Item = 1;
    for (const std::string host : {"1.2.3.4 /evil", "host;rm", "a\"b", "$(x)"}) {
        game.IPs = {host};
        joinGameOfRow({game}, 1, search(), starter);
    }
    EXPECT_TRUE(starter.started.empty());
    EXPECT_EQ(dialogs.textsOf("error").size(), 4u);

    // No host to join: an empty first host, no address at all, or no record for the row. Nothing is said.
    for (const std::vector<std::string>& hosts :
         {std::vector<std::string>{"", "1.2.3.4"}, std::vector<std::string>{}}) {
        game.IPs = hosts;
        EXPECT_FALSE(hasHostToJoin(game));
        joinGameOfRow({game}, 1, search(), starter);
    }
    joinGameOfRow({game}, 2, search(), starter);
    EXPECT_TRUE(starter.started.empty());
    EXPECT_EQ(dialogs.textsOf("error").size(), 4u);

    config.clear(); // no game folder, and the user cancels the browser
    game.IPs = {"[2001:db8::1]"};
    dialogs.inputs = {std::nullopt};
    joinGameOfRow({game}, 1, search(), starter);
    EXPECT_TRUE(starter.started.empty());
    EXPECT_TRUE(isSafeHost("[2001:db8::1]"));
    EXPECT_TRUE(isSafeHost("game-host.example.org"));
}

TEST_F(GameFolderTest, TheCapitalisedNameIsStartedWhereItIsThere)
{
    EXPECT_EQ(gameExecutable(makeFolder("a"), "/join:h").program, root.file("a/Clonk.exe"));
    EXPECT_EQ(gameExecutable(root.file("none"), "/join:h").program, root.file("none/Clonk.exe"));
}

TEST(DefaultCandidates, InsideTheWinePrefix)
{
    const auto candidates = defaultCandidates("/home/spieler");
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[0].folder, "/home/spieler/.wine/drive_c/Programme/Clonk Rage/");
    EXPECT_EQ(candidates[0].foundMessage, "Clonk Rage in C:\\Programme\\Clonk Rage gefunden!");
    EXPECT_EQ(candidates[1].foundMessage, "Clonk Rage in D:\\Programme\\Clonk Rage gefunden!");
}
