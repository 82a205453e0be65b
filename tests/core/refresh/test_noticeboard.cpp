#include "platform/prompts.h"
#include "refresh/noticeboard.h"
#include "refresh/startup.h"
#include "support/fakes.h"
#include "support/loopbackserver.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

using namespace quintor;

namespace {

std::vector<int> numbers(const std::vector<Notice>& notices)
{
    std::vector<int> out;
    for (const auto& n : notices)
        out.push_back(n.number);
    return out;
}

} // namespace

TEST(NoticeBoard, NoticesStopAtTheFirstGapOrEmptyText)
{
    struct Case {
        std::string file;
        std::string config;
        std::vector<int> shown;
    };
    const std::vector<Case> cases = {
        {"1=a\r\n2=b\r\n4=d\r\n", "", {1, 2}}, // 3 is missing
        {"2=b\n1=a\n", "", {1, 2}},            // any order
        {"1=a\n2=\n3=c\n", "", {1}},           // empty text ends the list
        {"", "", {}},
        {"2=b\n", "", {}}, // no notice 1
        {"1=a\n2=b\n3=c\n", "ClipBoardDisable1=true", {2, 3}},
        {"1=a\n2=b\n", "ClipBoardDisable2=TRUE", {1}}, // compared in lower case
        {"1=a\n2=b\n", "ClipBoardDisable2=1", {1, 2}}, // only the word counts
        {" 1=a\n", "", {}},                            // lines are not trimmed
        {"01=a\n1=b\n+2=c\n", "", {1}},                // only the plain number names a notice
        {"1=a\n2=b\n", "clipboarddisable2=True", {1}}, // the setting's name ignores case
        {"1=a\n2=b\n", "ClipBoardDisable2=false\nClipBoardDisable2=true", {1, 2}}, // its first line counts
        {"1=a\n2=b\n", "ClipBoardDisable02=true\nClipBoardDisable 1=true", {1, 2}},
    };
    for (const auto& c : cases) {
        TextList config;
        config.setText(c.config);
        EXPECT_EQ(numbers(noticesToShow(c.file, config)), c.shown) << c.file << " / " << c.config;
    }
}

TEST(NoticeBoard, TextIsEverythingAfterTheFirstEqualsAndTheFirstLineCounts)
{
    const auto notices = noticesToShow("1=a=b = c\n1=zweite\n", {});
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].text, "a=b = c");
}

TEST(NoticeBoard, ANoticeLongerThanTheBoardShowsIsCut)
{
    const std::string huge(7'000'000, 'x');
    const auto notices = noticesToShow("1=" + huge + "\n2=kurz\n", {});
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].text, std::string(kMaxNoticeLength, 'x') + "\x85");
    EXPECT_EQ(notices[1].text, "kurz");
}

TEST(NoticeBoard, AtMostTheFirstFiftyNoticesLeftAfterDismissalsAreShown)
{
    std::string file;
    for (int n = 1; n <= 120; ++n)
        file += std::to_string(n) + "=Hinweis\n";
    TextList config;
    for (int n = 1; n <= 30; ++n)
        config.add("ClipBoardDisable" + std::to_string(n) + "=true");
    const auto shown = numbers(noticesToShow(file, config));
    ASSERT_EQ(shown.size(), 50u);
    EXPECT_EQ(shown.front(), 31);
    EXPECT_EQ(shown.back(), 80);
}

TEST(NoticeBoard, DismissingWritesTheSettingsAtOnce)
{
    test::TempFolder folder;
    MonitorState state;
    state.appFolder = folder.path();
    state.config = TextList({"width=800"});
    storeDismissedNotice(state, 12);
    EXPECT_EQ(folder.read("config.txt"), "width=800\r\nClipBoardDisable12=true\r\n");
    EXPECT_TRUE(noticesToShow("1=x\n", TextList({"ClipBoardDisable1=true"})).empty());
}

TEST(Startup, VersionComparison)
{
    struct Case {
        std::string published;
        bool current;
    };
    const std::vector<Case> cases = {
        {"Velmar 2.02 Beta [84]", true},
        {"VELMAR 2.02 BETA [84]\r\n", true},
        {" \t velmar 2.02 beta [84]\n\n", true},
        {"Velmar 2.03 Beta [85]", false},
        {"", false},
        {"Velmar 2.02  Beta [84]", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(versionIsCurrent(c.published), c.current) << c.published;
    EXPECT_EQ(updateWarningText("Velmar 2.03 Beta [85]\n"),
              "Die von dir verwendete Version von Quintor ist nicht aktuell. Bitte aktualisiere doch!\r\n\r\n"
              "Installiert: Velmar 2.02 Beta [84]\r\nEmpfohlen: Velmar 2.03 Beta [85]\n");
    // A broken update server's megabytes are shown as far as a box shows them.
    const std::string warning = updateWarningText(std::string(16'000'000, 'v'));
    EXPECT_EQ(warning.size(), kMaxPromptTextLength + 1);
    EXPECT_EQ(warning.back(), '\x85');
}

TEST(Startup, OnlyTheExactWordSwitchesTheUpdateCheckOff)
{
    EXPECT_FALSE(updateCheckEnabled(TextList({"noupdater=true"})));
    EXPECT_FALSE(updateCheckEnabled(TextList({"NOUPDATER=true"}))); // the name ignores case, the value not
    EXPECT_TRUE(updateCheckEnabled(TextList({"noupdater=True"})));
    EXPECT_TRUE(updateCheckEnabled(TextList({"noupdater=true "})));
    EXPECT_TRUE(updateCheckEnabled(TextList()));
}

TEST(Startup, WindowBounds)
{
    TextList config({"width=abc", "height=700", "left=-20", "Width=900"});
    const WindowBounds bounds = storedWindowBounds(config);
    EXPECT_FALSE(bounds.width); // the first "width" line counts, and it is no number
    EXPECT_EQ(bounds.height, 700);
    EXPECT_EQ(bounds.left, -20);
    EXPECT_FALSE(bounds.top);
    storeWindowBounds(config, 526, 420, 5, 6);
    EXPECT_EQ(config.lines(), (std::vector<std::string>{"width=526", "height=420", "left=6", "Width=900", "top=5"}));
}

TEST(NoticeBoard, AnUnreachableNoticeFileLeavesTheBoardEmpty)
{
    auto http = makeCurlHttpClient();
    test::LoopbackServer server({{"/quintor.txt", "1=Hallo\r\n2=Welt\r\n"}});
    EXPECT_EQ(numbers(fetchNotices(*http, server.url("/quintor.txt"), {})), (std::vector<int>{1, 2}));
    EXPECT_TRUE(fetchNotices(*http, server.url("/missing.txt"), {}).empty());
    EXPECT_TRUE(fetchNotices(*http, "", {}).empty());
    EXPECT_EQ(server.paths().size(), 2u); // no address: no request
}

TEST(NoticeBoard, ACancelledRequestEndsTheTickInsteadOfEmptyingTheBoard)
{
    test::CancellingHttpClient cancelling;
    EXPECT_THROW(fetchNotices(cancelling, "http://127.0.0.1:9/quintor.txt", {}), HttpError);
    EXPECT_EQ(cancelling.calls, 1);
}
