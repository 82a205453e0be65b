#include "settings/ownfiles.h"
#include "support/tempfolder.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

using namespace quintor;

TEST(OwnFiles, OnlyLeftoverSaveFilesOfTheProgramsOwnFilesAreRemoved)
{
    struct Case {
        std::string name;
        bool removed;
    };
    const std::vector<Case> cases = {
        {".server.txt.tmp-Ab12Cd", true},
        {".syno.txt.tmp-000000", true},
        {".config.txt.tmp-zzzzzz", true},
        {".log.txt.tmp-XXXXXX", true},
        {".filter.txt.tmp-a1b2c3", true},
        {".index.txt.tmp-a1b2c3", true},
        {".history.txt.tmp-a1b2c3", true},
        {".filter.journal.tmp-a1b2c3", true},
        {".grp0fil0.txt.tmp-a1b2c3", true},
        {".grp12fil3_act.txt.tmp-a1b2c3", true},
        {"config.txt", false},
        {"grp0fil0.txt", false},
        {".notizen.txt.tmp-a1b2c3", false},   // a user's file
        {".grp01fil0.txt.tmp-a1b2c3", false}, // no file of the filter store
        {".config.txt.tmp-a1b2c", false},     // not what a save leaves
        {".config.txt.tmp-a1b2c3d", false},
        {".config.txt.tmp-a1b_c3", false},
        {"config.txt.tmp-a1b2c3", false},
        {".config.txt.tmp-a1b2c3.bak", false},
        {".Config.txt.tmp-a1b2c3", false},
    };
    test::TempFolder folder;
    for (const auto& c : cases)
        folder.write(c.name, "x");
    std::filesystem::create_directory(folder.file(".log.txt.tmp-ordner"));
    std::filesystem::create_symlink(folder.file("config.txt"), folder.file(".syno.txt.tmp-verlnk"));

    std::vector<std::string> removed = removeLeftoverSaveFiles(folder.path());
    std::sort(removed.begin(), removed.end());
    std::vector<std::string> expected;
    for (const auto& c : cases) {
        EXPECT_EQ(folder.exists(c.name), !c.removed) << c.name;
        if (c.removed) expected.push_back(c.name);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(removed, expected);
    EXPECT_TRUE(folder.exists(".log.txt.tmp-ordner"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.file(".syno.txt.tmp-verlnk")));
    EXPECT_TRUE(removeLeftoverSaveFiles(folder.file("nicht-da/")).empty());
}
