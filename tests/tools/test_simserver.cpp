// The in-process masterserver: every path over real HTTP on loopback, request counts, delays
// and failures that other tests rely on.
#include "masterserver-sim/replygen.h"
#include "masterserver-sim/simserver.h"
#include "net/httpclient.h"
#include "support/tempfolder.h"

#include <httplib.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <future>

namespace quintor::sim {
namespace {

using namespace std::chrono_literals;

struct Fetched {
    int status = 0; // 0: the request itself failed
    std::string body;
};

Fetched get(const SimServer& server, const std::string& path, std::chrono::milliseconds readTimeout = 10s)
{
    httplib::Client client(server.baseUrl());
    client.set_read_timeout(readTimeout);
    auto result = client.Get(path.c_str());
    if (!result) return {};
    return {result->status, result->body};
}

TEST(SimServer, ServesTheLeagueReplyNoticeAndVersion)
{
    SimServer server;
    EXPECT_GT(server.port(), 0);
    EXPECT_EQ(server.baseUrl(), "http://127.0.0.1:" + std::to_string(server.port()));

    Fetched reply = get(server, "/league/server");
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.body, generateReply(SimWorld(1, 12)));

    Fetched notice = get(server, "/quintor.txt");
    EXPECT_EQ(notice.status, 200);
    EXPECT_EQ(notice.body, defaultNoticeFile());
    EXPECT_EQ(notice.body.rfind("1=", 0), 0u);
    EXPECT_NE(notice.body.find("\r\n2="), std::string::npos);
    std::size_t third = notice.body.find("\r\n3=");
    ASSERT_NE(third, std::string::npos);
    EXPECT_NE(notice.body.find('=', third + 4), std::string::npos) << "the third notice holds '='";
    EXPECT_NE(notice.body.find('\xFC'), std::string::npos) << "Windows-1252, not UTF-8";

    Fetched version = get(server, "/quintor/version.txt");
    EXPECT_EQ(version.status, 200);
    EXPECT_EQ(version.body, "Velmar 2.02 Beta [84]");

    EXPECT_EQ(get(server, "/nothing/here").status, 404);
    EXPECT_EQ(server.requestCount("/league/server"), 1);
    EXPECT_EQ(server.requestCount("/quintor/version.txt"), 1);
    EXPECT_EQ(server.requestCount("/nothing/here"), 1);
    EXPECT_EQ(server.requestCount("/quintor.txt?x"), 0);
}

TEST(SimServer, ReplySourcesCanBeSwitched)
{
    SimServer server;
    server.setReply("[Reference]\nTitle=fixed\n");
    EXPECT_EQ(get(server, "/league/server").body, "[Reference]\nTitle=fixed\n");
    server.setFlood(true);
    EXPECT_EQ(get(server, "/league/server").body, kFloodReply);
    server.setFlood(false);
    EXPECT_EQ(get(server, "/league/server").body, "[Reference]\nTitle=fixed\n");

    SimWorld world(4, 6);
    server.setWorld(world);
    EXPECT_EQ(get(server, "/league/server").body, generateReply(world));
    server.stepWorld();
    world.step();
    EXPECT_EQ(get(server, "/league/server").body, generateReply(world));

    server.setNotice("1=eins\r\n");
    server.setVersionWord("Velmar 2.03 Beta [85]");
    EXPECT_EQ(get(server, "/quintor.txt").body, "1=eins\r\n");
    EXPECT_EQ(get(server, "/quintor/version.txt").body, "Velmar 2.03 Beta [85]");
}

TEST(SimServer, WorldAdvancesWithWallTime)
{
    SimServerOptions options;
    options.stepInterval = 1ms;
    SimServer server(options);
    SimWorld world(9, 8);
    server.setWorld(world);
    const std::string first = generateReply(world);

    // Wait for the league to move on, then find the step it moved to.
    std::string body = first;
    for (auto deadline = std::chrono::steady_clock::now() + 10s; body == first;) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the world never advanced";
        body = get(server, "/league/server").body;
    }
    bool found = false;
    for (int step = 1; step <= 100000 && !found; ++step) {
        world.step();
        found = generateReply(world) == body;
    }
    EXPECT_TRUE(found) << "the served reply is no later step of the same world";
}

TEST(SimServer, ServesFeedFilesByteForByte)
{
    test::TempFolder feed;
    const std::string index = "grp0fil0\r\ngrp0fil0_act\r\nfilter\r\n";
    const std::string binary("Gr\xFCn\r\n\0\x01\xFF=x\n", 11);
    feed.write("index.txt", index);
    feed.write("grp0fil0.txt", binary);
    std::filesystem::create_directory(feed.file("sub"));
    feed.write("sub/inner.txt", "inner");
    test::TempFolder outside;
    outside.write("secret.txt", "secret");

    SimServerOptions options;
    options.feedDir = feed.path();
    SimServer server(options);
    EXPECT_EQ(get(server, "/feed/index.txt").body, index);
    Fetched file = get(server, "/feed/grp0fil0.txt");
    EXPECT_EQ(file.status, 200);
    EXPECT_EQ(file.body, binary);
    EXPECT_EQ(get(server, "/feed/sub/inner.txt").body, "inner");

    struct Refused {
        std::string path;
        int status;
    };
    const std::string escape =
        "/feed/../" + std::filesystem::path(outside.path()).parent_path().filename().string() + "/secret.txt";
    const std::vector<Refused> refused = {
        {"/feed/missing.txt", 404},
        {"/feed/sub", 404},
        {"/feed/", 403},
        {"/feed/../index.txt", 403},
        {"/feed/sub/../index.txt", 403},
        {"/feed/%2e%2e/index.txt", 403},
        {"/feed/..\\index.txt", 403},
        {escape, 403},
    };
    for (const Refused& r : refused) {
        Fetched answer = get(server, r.path);
        EXPECT_EQ(answer.status, r.status) << r.path;
        EXPECT_EQ(answer.body.find("secret"), std::string::npos) << r.path;
    }

    SimServer noFeed;
    EXPECT_EQ(get(noFeed, "/feed/index.txt").status, 404);
    noFeed.setFeedDir(feed.path());
    EXPECT_EQ(get(noFeed, "/feed/index.txt").body, index);
}

TEST(SimServer, FailsAPathOnRequest)
{
    SimServer server;
    server.setFailure("/quintor.txt", 503);
    EXPECT_EQ(get(server, "/quintor.txt").status, 503);
    EXPECT_EQ(get(server, "/quintor/version.txt").status, 200);
    server.setFailure("/quintor.txt", 0);
    EXPECT_EQ(get(server, "/quintor.txt").status, 200);
    EXPECT_EQ(server.requestCount("/quintor.txt"), 2);
}

TEST(SimServer, FloodsOrHangsUpAfterAnsweringSomeLists)
{
    SimServer flooding;
    flooding.setFloodAfter(1);
    EXPECT_EQ(get(flooding, "/league/server").body, generateReply(SimWorld(1, 12)));
    EXPECT_EQ(get(flooding, "/league/server").body, kFloodReply);

    // The program's own client sees a server that takes the connection and says nothing.
    SimServerOptions options;
    options.failAfter = 2;
    SimServer failing(options);
    auto http = makeCurlHttpClient();
    const std::string list = failing.baseUrl() + "/league/server";
    EXPECT_EQ(http->get(list), generateReply(SimWorld(1, 12)));
    EXPECT_EQ(http->get(failing.baseUrl() + "/quintor.txt"), defaultNoticeFile()); // only lists count
    EXPECT_EQ(http->get(list), generateReply(SimWorld(1, 12)));
    for (const std::string path : {"/league/server", "/quintor.txt"}) {
        try {
            http->get(failing.baseUrl() + path);
            ADD_FAILURE() << path << " was answered";
        } catch (const HttpError& error) {
            EXPECT_EQ(error.reason(), "Keine Antwort vom Server") << path << ": " << error.what();
        }
    }
    EXPECT_EQ(failing.requestCount("/league/server"), 3);
}

TEST(SimServer, DelaysAPathAndStopsWithoutWaitingItOut)
{
    SimServer server;
    server.setDelay("/league/server", 1h);
    auto slow = std::async(std::launch::async, [&] { return get(server, "/league/server", 1h); });
    ASSERT_TRUE(server.waitForRequests("/league/server", 1, 10s));
    // Other paths are not held up by the slow one.
    EXPECT_EQ(get(server, "/quintor/version.txt").status, 200);
    EXPECT_EQ(slow.wait_for(0s), std::future_status::timeout);
    // Stopping cuts the delay short; the held request is answered.
    server.stop();
    EXPECT_EQ(slow.get().status, 200);
}

TEST(SimServer, ClientTimeOutOnADelayedPath)
{
    SimServer server;
    server.setDelay("/quintor.txt", 1h);
    Fetched answer = get(server, "/quintor.txt", 100ms);
    EXPECT_EQ(answer.status, 0) << "the client should have given up";
    EXPECT_EQ(server.requestCount("/quintor.txt"), 1);
}

TEST(SimServer, WaitForRequestsGivesUpAfterItsTimeOut)
{
    SimServer server;
    EXPECT_FALSE(server.waitForRequests("/league/server", 1, 20ms));
    get(server, "/league/server");
    get(server, "/league/server");
    EXPECT_TRUE(server.waitForRequests("/league/server", 2, 0ms));
    EXPECT_FALSE(server.waitForRequests("/league/server", 3, 20ms));
}

TEST(SimServer, RefusesAPortInUse)
{
    SimServer first;
    SimServerOptions options;
    options.port = first.port();
    EXPECT_THROW(SimServer second(options), std::runtime_error);
}

} // namespace
} // namespace quintor::sim
