#include "refresh/monitorstate.h"
#include "refresh/noticeboard.h"
#include "settings/errors.h"
#include "support/tempfolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

using namespace quintor;

namespace {

const std::vector<std::string> kListFiles = {"server.txt", "syno.txt", "config.txt", "log.txt", "friends.txt"};

// A file that exists but cannot be read, even by root: reading the memory file at offset 0 fails.
void makeUnreadable(const test::TempFolder& folder, const std::string& name)
{
    std::filesystem::create_symlink("/proc/self/mem", folder.file(name));
}

bool untouched(const test::TempFolder& folder, const std::string& name)
{
    return std::filesystem::is_symlink(folder.file(name));
}

class UnreadableAtStart : public testing::TestWithParam<std::string> {};

TEST_P(UnreadableAtStart, NoSaveReplacesItAndTheOtherListsWork)
{
    const std::string unreadable = GetParam();
    test::TempFolder folder;
    for (const auto& name : kListFiles) {
        if (name == unreadable)
            makeUnreadable(folder, name);
        else
            folder.write(name, name + "=gelesen\r\n");
    }
    MonitorState state;
    state.appFolder = folder.path();

    try {
        loadLists(state);
        FAIL() << "no error for " << unreadable;
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find(unreadable), std::string::npos) << error.what();
    }
    EXPECT_EQ(state.servers.count() + state.aliases.count() + state.config.count() + state.logLines.count() +
                  state.friends.count(),
              4);

    storeDismissedNotice(state, 1);
    EXPECT_EQ(state.config.value("ClipBoardDisable1"), "true"); // dismissed for this run in any case
    state.aliases.add("neu=Alias");
    saveLists(state);

    EXPECT_TRUE(untouched(folder, unreadable));
    for (const auto& name : kListFiles) {
        if (name == unreadable) continue;
        const std::string content = folder.read(name);
        EXPECT_EQ(content.rfind(name + "=gelesen\r\n", 0), 0u) << name << ": " << content;
    }
    if (unreadable != "syno.txt") {
        EXPECT_EQ(folder.read("syno.txt"), "syno.txt=gelesen\r\nneu=Alias\r\n");
    }
    if (unreadable != "config.txt") {
        EXPECT_EQ(folder.read("config.txt"), "config.txt=gelesen\r\nClipBoardDisable1=true\r\n");
    }
}

INSTANTIATE_TEST_SUITE_P(ListFiles, UnreadableAtStart, testing::ValuesIn(kListFiles),
                         [](const testing::TestParamInfo<std::string>& info) {
                             return info.param.substr(0, info.param.find('.'));
                         });

// A NUL byte ends a file's text. An alias list saved as UTF-16 by an editor was read as one line of garbage, and the
// shut-down wrote that line over it: the aliases were gone.
TEST(LoadLists, AListThatANulByteEndsIsReadSoFarAndNeverWrittenOver)
{
    for (const auto& name : kListFiles) {
        SCOPED_TRACE(name);
        test::TempFolder folder;
        const std::string bytes = name + "=vorher\r\n" + std::string(1, '\0') + name + "=dahinter\r\n";
        for (const auto& other : kListFiles)
            folder.write(other, other == name ? bytes : "");
        MonitorState state;
        state.appFolder = folder.path();
        try {
            loadLists(state);
            FAIL() << "no error";
        } catch (const FileError& error) {
            EXPECT_NE(std::string(error.what()).find(name + "\" enth\xE4lt ein NUL-Byte"), std::string::npos)
                << error.what();
        }
        EXPECT_EQ(state.servers.count() + state.aliases.count() + state.config.count() + state.logLines.count() +
                      state.friends.count(),
                  1);
        state.aliases.add("neu=Alias");
        state.config.setValue("width", "800");
        saveLists(state);
        EXPECT_EQ(folder.read(name), bytes);
    }
}

TEST(LoadLists, RemovesLeftoversOfInterruptedSavesAndBoundsTheLog)
{
    test::TempFolder folder;
    std::string log;
    for (int i = 0; i < 10005; ++i)
        log += std::to_string(i) + "\r\n";
    folder.write("log.txt", log);
    folder.write(".log.txt.tmp-a1B2c3", log);
    folder.write(".notizen.txt.tmp-a1B2c3", "nicht von uns");
    MonitorState state;
    state.appFolder = folder.path();
    loadLists(state);
    EXPECT_FALSE(folder.exists(".log.txt.tmp-a1B2c3"));
    EXPECT_TRUE(folder.exists(".notizen.txt.tmp-a1B2c3"));
    ASSERT_EQ(state.logLines.count(), 10000);
    EXPECT_EQ(state.logLines.line(0), "5");
}

TEST(LoadLists, AFirstStartStripsTagsAndAnExistingConfigKeepsItsChoice)
{
    struct Case {
        const char* name;
        std::optional<std::string> config; // none: no "config.txt"
        std::string tagparse;              // after loading
    };
    const Case cases[] = {
        {"first start", std::nullopt, "True"},
        {"no key", "width=800\r\n", ""},
        {"off", "tagparse=False\r\n", "False"},
        {"empty file", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        if (c.config) folder.write("config.txt", *c.config);
        MonitorState state;
        state.appFolder = folder.path();
        loadLists(state);
        EXPECT_EQ(state.config.value("tagparse"), c.tagparse);
        saveLists(state);
        EXPECT_EQ(folder.read("config.txt"), c.config ? *c.config : "tagparse=True\r\n");
    }
}

TEST(SaveLists, WritesWhatItCanAndNamesEveryFailedFileOnItsOwnLine)
{
    test::TempFolder folder;
    // A folder in a list file's place cannot be replaced.
    std::filesystem::create_directories(folder.file("syno.txt") + "/inside");
    std::filesystem::create_directories(folder.file("log.txt") + "/inside");
    MonitorState state;
    state.appFolder = folder.path();
    state.config.add("width=800");
    try {
        saveLists(state);
        FAIL() << "no error";
    } catch (const FileError& error) {
        const std::string message = error.what();
        const auto lineBreak = message.find("\r\n");
        ASSERT_NE(lineBreak, std::string::npos) << message;
        EXPECT_NE(message.substr(0, lineBreak).find("syno.txt"), std::string::npos) << message;
        EXPECT_NE(message.substr(lineBreak).find("log.txt"), std::string::npos) << message;
    }
    EXPECT_EQ(folder.read("config.txt"), "width=800\r\n");
    EXPECT_TRUE(folder.exists("server.txt"));
}

} // namespace
