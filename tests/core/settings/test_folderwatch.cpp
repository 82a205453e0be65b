#include "settings/folderwatch.h"
#include "support/tempfolder.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quintor;

namespace {

// A folder on a file system that tells of changes, as /tmp is on the machines the tests run on; the watch's
// answers are only checked where it watches at all.
struct Watched {
    test::TempFolder folder;
    FolderWatch watch{folder.path()};
};

} // namespace

TEST(FolderWatch, NamesEveryFileChangedInTheFolderOnce)
{
    namespace fs = std::filesystem;
    struct Case {
        const char* what;
        std::function<void(const test::TempFolder&)> change;
        std::vector<std::string> named; // asked as spelt here
    };
    const Case cases[] = {
        {"written anew", [](const auto& f) { f.write("grp0fil0.txt", "typ=1\r\n"); }, {"grp0fil0.txt"}},
        {"appended to",
         [](const auto& f) { std::ofstream(f.file("grp0fil0.txt"), std::ios::app) << "x"; },
         {"grp0fil0.txt"}},
        {"saved over by a rename",
         [](const auto& f) {
             f.write("neu.tmp", "typ=2\r\n");
             fs::rename(f.file("neu.tmp"), f.file("grp0fil0.txt"));
         },
         {"grp0fil0.txt", "neu.tmp"}},
        {"deleted", [](const auto& f) { fs::remove(f.file("grp0fil0.txt")); }, {"grp0fil0.txt"}},
        {"its rights changed", [](const auto& f) { ::chmod(f.file("grp0fil0.txt").c_str(), 0600); }, {"grp0fil0.txt"}},
        {"its name spelt otherwise", [](const auto& f) { f.write("GRP0FIL0.TXT", "x"); }, {"grp0fil0.txt"}},
    };
    for (const Case& c : cases) {
        Watched w;
        w.folder.write("grp0fil0.txt", "typ=0\r\n");
        w.folder.write("grp0fil1.txt", "typ=0\r\n");
        if (!w.watch.covers("grp0fil0.txt")) GTEST_SKIP() << "this file system tells of no changes";
        const FolderWatch::Changes before = w.watch.changes(); // what the writing above told
        EXPECT_FALSE(before.everything) << c.what;
        EXPECT_TRUE(before.mayHaveChanged("grp0fil0.txt")) << c.what;
        EXPECT_FALSE(w.watch.changes().mayHaveChanged("grp0fil0.txt")) << c.what << ": told twice";

        c.change(w.folder);
        const FolderWatch::Changes changes = w.watch.changes();
        EXPECT_FALSE(changes.everything) << c.what;
        for (const std::string& name : c.named)
            EXPECT_TRUE(changes.mayHaveChanged(name)) << c.what << ": " << name;
        EXPECT_FALSE(changes.mayHaveChanged("grp0fil1.txt")) << c.what;
        EXPECT_FALSE(w.watch.changes().mayHaveChanged("grp0fil0.txt")) << c.what << ": told twice";
    }
}

TEST(FolderWatch, CoversOnlyPlainFilesWithOneNameRightInTheFolder)
{
    namespace fs = std::filesystem;
    Watched w;
    test::TempFolder elsewhere;
    w.folder.write("plain.txt", "x");
    if (!w.watch.covers("plain.txt")) GTEST_SKIP() << "this file system tells of no changes";
    elsewhere.write("target.txt", "x");
    fs::create_symlink(elsewhere.file("target.txt"), w.folder.file("link.txt"));
    w.folder.write("twice.txt", "x");
    fs::create_hard_link(w.folder.file("twice.txt"), elsewhere.file("other-name.txt"));
    fs::create_directory(w.folder.file("sub"));
    w.folder.write("sub/inner.txt", "x");

    EXPECT_FALSE(w.watch.covers("link.txt"));      // changed through its target
    EXPECT_FALSE(w.watch.covers("twice.txt"));     // changed through its other name
    EXPECT_FALSE(w.watch.covers("sub/inner.txt")); // not the folder's own entry
    EXPECT_FALSE(w.watch.covers("missing.txt"));
    EXPECT_FALSE(w.watch.covers(""));
}

TEST(FolderWatch, AFolderThatIsGoneLeavesEveryFileInDoubtFromThenOn)
{
    test::TempFolder parent;
    const std::string folder = parent.file("quintor/");
    std::filesystem::create_directory(folder);
    FolderWatch watch(folder);
    std::ofstream(folder + "plain.txt") << "x";
    if (!watch.covers("plain.txt")) GTEST_SKIP() << "this file system tells of no changes";
    EXPECT_FALSE(watch.changes().everything);
    std::filesystem::rename(folder, parent.file("moved"));
    EXPECT_TRUE(watch.changes().everything);
    EXPECT_TRUE(watch.changes().everything); // the watch no longer follows the path
    EXPECT_FALSE(watch.covers("plain.txt"));
}
