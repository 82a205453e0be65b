#include "filters/feeds.h"
#include "filters/filtertreefiles.h"

#include "support/fakes.h"
#include "support/loopbackserver.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

using namespace quintor;

namespace {

const std::string kWarning =
    "ACHTUNG! Du bist dabei, einen Feed zu abonnieren. Derzeit unterst\xFCtzt Quintor nur vollst\xE4ndige Feeds "
    "(d. h., alle pers\xF6hnlichen Filter werden \xFC"
    "berschrieben). Der Feed wird anschlie\xDF"
    "end bei jedem Start von Quintor neu aktualisiert.";
const std::string kIndexFailed = "Feed kann nicht geholt werden. Adresse wird zur\xFC"
                                 "ckgesetzt.";

class FeedTest : public testing::Test {
protected:
    test::TempFolder folder;
    TextList config;
    SaveGuard guard;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<HttpClient> http = makeCurlHttpClient();
    FilterFeed feed{config, folder.path(), guard, dialogs, *http};
};

TEST_F(FeedTest, SubscribingStoresTheAddressAndSavesTheSettingsAtOnce)
{
    config.add("width=800");
    dialogs.inputs.push_back("http://example.org/filter/");
    dialogs.answers.push_back(true);
    feed.subscribe();
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].text, "URL|URL des zu abonnierenden Feeds:|");
    EXPECT_EQ(dialogs.shown[1].kind, "warningOkCancel");
    EXPECT_EQ(dialogs.shown[1].text, kWarning);
    EXPECT_EQ(folder.read("config.txt"), "width=800\r\nfeed=http://example.org/filter/\r\n");

    // An empty address, confirmed, ends the subscription.
    dialogs.inputs.push_back("");
    dialogs.answers.push_back(true);
    feed.subscribe();
    EXPECT_EQ(folder.read("config.txt"), "width=800\r\n");
}

TEST_F(FeedTest, CancellingEitherBoxChangesNothing)
{
    config.add("feed=http://alt/");
    dialogs.inputs.push_back(std::nullopt);
    feed.subscribe();
    dialogs.inputs.push_back("http://neu/");
    dialogs.answers.push_back(false);
    feed.subscribe();
    EXPECT_EQ(config.value("feed"), "http://alt/");
    EXPECT_FALSE(folder.exists("config.txt"));
}

TEST_F(FeedTest, DownloadsEveryListedFileInIndexOrder)
{
    test::LoopbackServer server({{"/f/index.txt", "grp0fil0\ngrp0fil0_act\ngrp0fil1\ngrp0fil1_act\nfilter\n"},
                                 {"/f/grp0fil0.txt", "field0=0\nact0=0\nedit0=Melee\ntyp=0\nactive=True"},
                                 {"/f/grp0fil0_act.txt", "field0=4\nact0=4\nedit0=Gr\xFCn\n"},
                                 {"/f/grp0fil1.txt", "active=False\r\n"},
                                 {"/f/grp0fil1_act.txt", ""},
                                 {"/f/filter.txt", "grp0=Liga\ngrp0fil0=Melee\ngrp0fil1=Aus\n"}});
    folder.write("filter.txt", "grp0=Alt\r\n");
    config.setValue("feed", server.url("/f/"));
    std::vector<std::string> statuses;
    feed.setStatusReport([&statuses](const std::string& status) { statuses.push_back(status); });
    feed.fetchFeed();

    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(statuses.front(), "Filter-Feed wird geholt...");
    EXPECT_EQ(statuses[statuses.size() - 2], "Filter-Feed wird geholt... (5 von 5 Dateien)");
    EXPECT_EQ(statuses.back(), "");
    EXPECT_EQ(server.paths(), (std::vector<std::string>{"/f/index.txt", "/f/grp0fil0.txt", "/f/grp0fil0_act.txt",
                                                        "/f/grp0fil1.txt", "/f/grp0fil1_act.txt", "/f/filter.txt"}));
    EXPECT_EQ(folder.read("grp0fil0.txt"), "field0=0\r\nact0=0\r\nedit0=Melee\r\ntyp=0\r\nactive=True\r\n");
    EXPECT_EQ(folder.read("grp0fil0_act.txt"), "field0=4\r\nact0=4\r\nedit0=Gr\xFCn\r\n");
    EXPECT_EQ(folder.read("grp0fil1_act.txt"), "");
    EXPECT_EQ(folder.read("filter.txt"), "grp0=Liga\r\ngrp0fil0=Melee\r\ngrp0fil1=Aus\r\n");
    EXPECT_EQ(config.value("feed"), server.url("/f/"));
    EXPECT_FALSE(folder.exists("index.txt")); // the index itself is not stored
}

TEST_F(FeedTest, AMissingListedFileEndsTheDownloadAndLeavesTheOldFilterSetWhole)
{
    test::LoopbackServer server({{"/index.txt", "grp0fil0\ngrp0fil0_act\nfilter"},
                                 {"/grp0fil0.txt", "active=False"},
                                 {"/filter.txt", "grp0=Neu"}});
    folder.write("filter.txt", "grp0=Alt\r\n");
    folder.write("grp0fil0.txt", "active=True\r\n");
    config.setValue("feed", server.url("/"));
    std::string error;
    try {
        feed.fetchFeed();
    } catch (const FeedError& e) {
        error = e.what();
    }
    EXPECT_EQ(server.paths(), (std::vector<std::string>{"/index.txt", "/grp0fil0.txt", "/grp0fil0_act.txt"}));
    EXPECT_EQ(folder.read("grp0fil0.txt"), "active=True\r\n");
    EXPECT_EQ(folder.read("filter.txt"), "grp0=Alt\r\n");
    EXPECT_EQ(config.value("feed"), server.url("/"));
    EXPECT_FALSE(folder.exists("config.txt"));
    // In the user's words: the client's own error text is English.
    EXPECT_EQ(error, "Der Feed wird nicht geholt: die Datei \"grp0fil0_act.txt\" kann nicht geholt werden "
                     "(HTTP-Status 404). Die Filter bleiben unver\xE4ndert.");
    EXPECT_TRUE(dialogs.shown.empty());
}

// A hostile index's line of a mebibyte was quoted whole: the box at start-up took half a minute to lay it out, and
// stood wider and higher than the screen. A name of a filter file's form that no file of the folder can carry was
// fetched, and its journal, which no start could carry out, left the filters read-only for good.
TEST_F(FeedTest, AnOverlongIndexLineIsQuotedCutAndFetchesNothing)
{
    for (const std::string& line : {std::string(1024 * 1000, 'a'), "grp1" + std::string(300, '0') + "fil0"}) {
        test::LoopbackServer server(
            {{"/index.txt", line + "\nfilter\n"}, {"/" + line + ".txt", "active=True"}, {"/filter.txt", "grp0=Neu"}});
        config.setValue("feed", server.url("/"));
        dialogs.shown.clear();
        feed.fetchFeed();
        EXPECT_EQ(server.paths(), (std::vector<std::string>{"/index.txt"}));
        EXPECT_FALSE(folder.exists("filter.txt"));
        EXPECT_FALSE(folder.exists("filter.journal"));
        EXPECT_FALSE(loadFilterStore(localFiles(), folder.path()).unreadable);
        const auto messages = dialogs.textsOf("message");
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_LT(messages[0].size(), 300u);
        EXPECT_TRUE(messages[0].starts_with("Der Feed wird nicht geholt: sein Index nennt keinen g\xFCltigen "
                                            "Dateinamen (\"" +
                                            line.substr(0, 20)))
            << messages[0];
        EXPECT_TRUE(messages[0].ends_with("\x85\" ist keine Filterdatei). Die Filter bleiben unver\xE4ndert."))
            << messages[0];
    }
}

TEST_F(FeedTest, SettingsThatStartUpCouldNotReadAreNeverReplaced)
{
    guard.keep(folder.file("config.txt"));
    folder.write("config.txt", "width=800\r\nfeed=http://alt/\r\n");

    dialogs.inputs.push_back("http://neu/");
    dialogs.answers.push_back(true);
    feed.subscribe();
    EXPECT_EQ(config.value("feed"), "http://neu/");

    test::LoopbackServer server({{"/anderes.txt", "x"}});
    config.setValue("feed", server.url("/nicht-da/"));
    feed.fetchFeed();
    EXPECT_EQ(dialogs.textsOf("message"), (std::vector<std::string>{kIndexFailed}));
    EXPECT_EQ(config.value("feed"), "");
    EXPECT_EQ(folder.read("config.txt"), "width=800\r\nfeed=http://alt/\r\n");
}

TEST_F(FeedTest, AnUnreachableIndexEndsTheSubscription)
{
    test::LoopbackServer server({{"/f/filter.txt", "grp0=Neu"}});
    config.add("width=800");
    config.setValue("feed", server.url("/f/"));
    folder.write("filter.txt", "grp0=Alt\r\n");
    feed.fetchFeed();
    EXPECT_EQ(dialogs.textsOf("message"), (std::vector<std::string>{kIndexFailed}));
    EXPECT_EQ(config.value("feed"), "");
    EXPECT_EQ(folder.read("config.txt"), "width=800\r\n");
    EXPECT_EQ(folder.read("filter.txt"), "grp0=Alt\r\n");
}

TEST_F(FeedTest, ACancelledIndexRequestKeepsTheSubscription)
{
    test::CancellingHttpClient cancelling;
    FilterFeed ending{config, folder.path(), guard, dialogs, cancelling};
    config.setValue("feed", "http://127.0.0.1:9/f/");
    EXPECT_THROW(ending.fetchFeed(), HttpError);
    EXPECT_EQ(config.value("feed"), "http://127.0.0.1:9/f/");
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FALSE(folder.exists("config.txt"));
}

TEST_F(FeedTest, AnAddressWithoutTrailingSlashIsUsedAsItStands)
{
    test::LoopbackServer server({{"/f/index.txt", "filter"}, {"/f/filter.txt", "grp0=Neu"}});
    config.setValue("feed", server.url("/f"));
    feed.fetchFeed();
    EXPECT_EQ(server.paths(), (std::vector<std::string>{"/findex.txt"}));
    EXPECT_EQ(dialogs.textsOf("message"), (std::vector<std::string>{kIndexFailed}));
    EXPECT_EQ(config.indexOfName("feed"), -1);
}

TEST_F(FeedTest, WithoutSubscriptionNothingIsFetched)
{
    test::LoopbackServer server({{"/index.txt", "filter"}});
    feed.fetchFeed();
    EXPECT_TRUE(server.paths().empty());
    EXPECT_TRUE(dialogs.shown.empty());
}

class RefusedIndex : public FeedTest, public testing::WithParamInterface<const char*> {};

TEST_P(RefusedIndex, WritesNothingAndKeepsTheSubscription)
{
    const std::string badLine = GetParam();
    test::LoopbackServer server({{"/index.txt", "grp0fil0\n" + badLine + "\nfilter\n"},
                                 {"/grp0fil0.txt", "active=False"},
                                 {"/filter.txt", "grp0=Neu"}});
    config.setValue("feed", server.url("/"));
    feed.fetchFeed();
    EXPECT_EQ(server.paths(), (std::vector<std::string>{"/index.txt"}));
    EXPECT_FALSE(folder.exists("grp0fil0.txt"));
    EXPECT_FALSE(folder.exists("filter.txt"));
    EXPECT_FALSE(folder.exists("config.txt"));
    EXPECT_EQ(config.value("feed"), server.url("/"));
    const auto messages = dialogs.textsOf("message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("Der Feed wird nicht geholt", 0), 0u) << messages[0];
}

INSTANTIATE_TEST_SUITE_P(Lines, RefusedIndex,
                         testing::Values("", "../config", "..", "a..b", "sub/grp0fil0", "/etc/passwd",
                                         "..\\..\\Windows\\win", "C:grp0fil0", "C:\\quintor\\filter",
                                         "\\\\server\\share\\x",
                                         // files of the folder that are no filter files
                                         "config", "server", "syno", "log", "index", "Filter", "Gr\xFCn", ".versteckt",
                                         "a.b", "grp0fil0.txt", "grp0fil0 ",
                                         // not the form of a filter's key
                                         "grp0", "grp0fil", "grpfil0", "grp01fil0", "grp0fil00", "grp-1fil0",
                                         "grp0fil0_act_act", "grp0fil0_ACT", "grp0fil0act"));

class EmptyIndex : public FeedTest, public testing::WithParamInterface<std::string> {};

// An index that lists nothing (an empty page, or garbage that a NUL byte ends at once) is no feed: it was taken
// without a word and changed nothing at every start.
TEST_P(EmptyIndex, IsRefusedWithAMessageAndKeepsTheFilters)
{
    test::LoopbackServer server({{"/index.txt", GetParam()}});
    folder.write("filter.txt", "grp0=Alt\r\n");
    config.setValue("feed", server.url("/"));
    feed.fetchFeed();
    EXPECT_EQ(server.paths(), (std::vector<std::string>{"/index.txt"}));
    EXPECT_EQ(folder.read("filter.txt"), "grp0=Alt\r\n");
    EXPECT_EQ(config.value("feed"), server.url("/"));
    EXPECT_EQ(dialogs.textsOf("message"),
              (std::vector<std::string>{"Der Feed wird nicht geholt: sein Index nennt keine Datei. Die Filter bleiben "
                                        "unver\xE4ndert."}));
}

INSTANTIATE_TEST_SUITE_P(Bodies, EmptyIndex, testing::Values(std::string(), std::string("\0filter\r\n", 9)));

struct OverBound {
    const char* name;
    int files; // each "grpNfil0" with the same body
    std::size_t bodyBytes;
    FeedLimits limits;
    int requests; // index included
    const char* bound;
};

class FeedOverABound : public FeedTest, public testing::WithParamInterface<OverBound> {};

TEST_P(FeedOverABound, IsRefusedWithTheBoundNamedAndNothingWritten)
{
    // A feed of thousands of huge files once grew the program to gigabytes and ended in "std::bad_alloc".
    const OverBound& c = GetParam();
    std::string index;
    test::LoopbackServer::Bodies bodies;
    for (int i = 0; i < c.files; ++i) {
        index += "grp" + std::to_string(i) + "fil0\n";
        bodies["/grp" + std::to_string(i) + "fil0.txt"] = std::string(c.bodyBytes, 'x');
    }
    bodies["/index.txt"] = index;
    test::LoopbackServer server(bodies);
    FilterFeed bounded{config, folder.path(), guard, dialogs, *http, localFiles(), c.limits};
    folder.write("filter.txt", "grp0=Alt\r\n");
    config.setValue("feed", server.url("/"));
    std::vector<std::string> messages;
    try {
        bounded.fetchFeed();
        messages = dialogs.textsOf("message");
    } catch (const FeedError& error) {
        messages.push_back(error.what());
    }
    EXPECT_EQ(server.paths().size(), static_cast<std::size_t>(c.requests));
    EXPECT_FALSE(folder.exists("grp0fil0.txt"));
    EXPECT_EQ(folder.read("filter.txt"), "grp0=Alt\r\n");
    EXPECT_EQ(config.value("feed"), server.url("/"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(c.bound), std::string::npos) << messages[0];
}

INSTANTIATE_TEST_SUITE_P(Bounds, FeedOverABound,
                         testing::Values(OverBound{"files", 1001, 1, {}, 1, "mehr als 1000 Dateien"},
                                         OverBound{"fileSize",
                                                   2,
                                                   1024 * 1024 + 1,
                                                   {},
                                                   2,
                                                   "\"grp0fil0.txt\" ist gr\xF6\xDF"
                                                   "er als 1 MiB"},
                                         OverBound{"total",
                                                   3,
                                                   6,
                                                   {1000, 1024 * 1024, 16},
                                                   4,
                                                   "zusammen gr\xF6\xDF"
                                                   "er als 16 Bytes"}),
                         [](const testing::TestParamInfo<OverBound>& info) { return info.param.name; });

TEST(IndexLine, FilterFilesPass)
{
    for (const char* name : {"filter", "grp0fil0", "grp0fil0_act", "grp12fil3_act", "grp10fil0", "grp0fil10",
                             "grp2147483647fil2147483647_act"}) {
        EXPECT_FALSE(refusedIndexLine(name)) << name;
    }
}

} // namespace
