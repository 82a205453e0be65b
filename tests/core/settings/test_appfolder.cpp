#include "settings/appfolder.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

using namespace quintor;

TEST(AppFolder, IsTheExecutablesFolderWhenItCanBeWritten)
{
    test::TempFolder folder;
    EXPECT_EQ(appFolderFor({folder.file("quintor"), "", "/home/x"}), folder.path());
}

TEST(AppFolder, SystemProgramFoldersGiveThePerUserDataFolder)
{
    test::TempFolder home;
    const std::string expected = home.path() + ".local/share/quintor/";
    EXPECT_EQ(appFolderFor({"/usr/bin/quintor", "", home.path().substr(0, home.path().size() - 1)}), expected);
    EXPECT_TRUE(home.exists(".local/share/quintor"));

    // A package unpacked into a temporary root is still an installed program.
    test::TempFolder root;
    std::filesystem::create_directories(root.file("usr/bin"));
    test::TempFolder data;
    EXPECT_EQ(appFolderFor({root.file("usr/bin/quintor"), data.path(), "/nonexistent"}), data.path() + "quintor/");
}

TEST(AppFolder, FolderOfExecutableEndsWithTheSeparator)
{
    EXPECT_EQ(folderOfExecutable("/opt/q/quintor"), "/opt/q/");
    EXPECT_EQ(folderOfExecutable("/quintor"), "/");
    EXPECT_EQ(folderOfExecutable("quintor"), "./");
    EXPECT_TRUE(isSystemProgramFolder("/usr/bin"));
    EXPECT_TRUE(isSystemProgramFolder("/tmp/root/usr/local/bin/"));
    EXPECT_TRUE(isSystemProgramFolder("/home/u/.local/bin/"));
    EXPECT_FALSE(isSystemProgramFolder("/home/u/quintor/"));
    EXPECT_FALSE(applicationFolder().empty());
    EXPECT_EQ(applicationFolder().back(), '/');
}
