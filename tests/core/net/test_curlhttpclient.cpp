#include "net/httpclient.h"

#include "support/loopbackserver.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <future>

namespace quintor {

// Readable kinds in failure output; found by argument-dependent lookup, so it lives beside HttpError.
void PrintTo(HttpError::Kind kind, std::ostream* out)
{
    static const char* const names[] = {"Other",   "Connect",  "HostNotFound", "Status",
                                        "Timeout", "TooLarge", "Cancelled"};
    *out << names[static_cast<int>(kind)];
}

namespace {

using namespace std::chrono_literals;
using test::LoopbackServer;
using Kind = HttpError::Kind;

// A TCP socket on 127.0.0.1 that listens but never accepts: the kernel completes connections, nobody answers.
class SilentSocket {
public:
    explicit SilentSocket(int backlog = 4)
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(fd_, backlog) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            throw std::runtime_error("silent socket failed");
        port_ = ntohs(address.sin_port);
    }
    ~SilentSocket() { ::close(fd_); }

    int port() const { return port_; }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }
    // Blocks until a connection waits in the queue.
    void waitForConnection() const
    {
        pollfd entry{fd_, POLLIN, 0};
        ASSERT_EQ(::poll(&entry, 1, -1), 1);
    }

private:
    int fd_ = -1;
    int port_ = 0;
};

HttpError errorOf(const std::function<void()>& request)
{
    try {
        request();
    } catch (const HttpError& error) {
        return error;
    }
    ADD_FAILURE() << "the request succeeded";
    return HttpError("none");
}

std::string everyByte(std::size_t length)
{
    std::string bytes(length, '\0');
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<char>(i * 7 % 256);
    return bytes;
}

class CurlHttpClientTest : public ::testing::Test {
protected:
    HttpError fetchError(const std::string& url, const HttpOptions& options = {})
    {
        return errorOf([&] { client->get(url, options); });
    }
    std::unique_ptr<HttpClient> client = makeCurlHttpClient();
};

TEST_F(CurlHttpClientTest, BodyArrivesByteForByte)
{
    const std::string body = everyByte(1 << 20); // NUL and high bytes, many write calls
    LoopbackServer server({{"/league/server", body}, {"/empty", ""}});

    EXPECT_EQ(client->get(server.url("/league/server")), body);
    EXPECT_EQ(client->get(server.url("/empty")), "");
}

TEST_F(CurlHttpClientTest, StatusOtherThanSuccessIsAnError)
{
    LoopbackServer server([](httplib::Server& routes) {
        routes.Get("/moved", [](const auto&, auto& response) { response.set_redirect("/target"); });
        routes.Get("/target", [](const auto&, auto& response) { response.set_content("target", "text/plain"); });
        routes.Get("/broken", [](const auto&, auto& response) {
            response.status = 500;
            response.set_content("page of the error", "text/html");
        });
        routes.Get("/nocontent", [](const auto&, auto& response) { response.status = 204; });
    });
    struct Case {
        std::string path;
        std::string status;
        std::string reason;
    };
    for (const Case& c :
         {Case{"/missing", "HTTP 404", "HTTP-Status 404"}, Case{"/moved", "HTTP 302", "HTTP-Status 302"},
          Case{"/broken", "HTTP 500", "HTTP-Status 500"}}) {
        const HttpError error = fetchError(server.url(c.path));
        EXPECT_EQ(error.kind(), Kind::Status) << c.path;
        EXPECT_NE(std::string(error.what()).find(c.status), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find(server.url(c.path)), std::string::npos) << error.what();
        EXPECT_EQ(error.reason(), c.reason);
    }
    EXPECT_EQ(client->get(server.url("/nocontent")), "");
    // A caller that takes only a 200 reply hears of the other successes too.
    HttpOptions only200;
    only200.onlyStatus200 = true;
    EXPECT_EQ(fetchError(server.url("/nocontent"), only200).reason(), "HTTP-Status 204");
    for (const std::string& path : server.paths())
        EXPECT_NE(path, "/target") << "a redirect was followed";
    EXPECT_EQ(client->get(server.url("/target"), only200), "target");
}

TEST_F(CurlHttpClientTest, BodyLimitHoldsWithAndWithoutAnnouncedLength)
{
    constexpr std::size_t limit = 1000;
    LoopbackServer server([](httplib::Server& routes) {
        // /sized/<n> announces its length, /chunked/<n> streams it without one
        routes.Get(R"(/sized/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
            const std::size_t length = std::stoul(request.matches[1]);
            response.set_content_provider(length, "application/octet-stream",
                                          [length](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                              const std::string chunk = everyByte(length).substr(offset);
                                              return sink.write(chunk.data(), chunk.size());
                                          });
        });
        routes.Get(R"(/chunked/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
            const std::string body = everyByte(std::stoul(request.matches[1]));
            response.set_chunked_content_provider("application/octet-stream",
                                                  [body](std::size_t, httplib::DataSink& sink) {
                                                      if (!sink.write(body.data(), body.size())) return false;
                                                      sink.done();
                                                      return true;
                                                  });
        });
    });
    HttpOptions options;
    options.maxBodyBytes = limit;
    for (const std::string kind : {"/sized/", "/chunked/"}) {
        EXPECT_EQ(client->get(server.url(kind + std::to_string(limit)), options), everyByte(limit)) << kind;
        const HttpError error = fetchError(server.url(kind + std::to_string(limit + 1)), options);
        EXPECT_EQ(error.kind(), Kind::TooLarge) << kind;
        EXPECT_NE(std::string(error.what()).find("too large"), std::string::npos) << error.what();
        EXPECT_EQ(error.reason(), "Antwort zu gro\xDF (mehr als 1000 Bytes)");
    }
}

TEST_F(CurlHttpClientTest, EndlessBodyIsCutOffAtTheLimit)
{
    constexpr std::size_t streamed = std::size_t(1) << 30; // far more than socket buffers hold
    std::atomic<std::size_t> sent{0};
    LoopbackServer server([&sent](httplib::Server& routes) {
        routes.Get("/flood", [&sent](const auto&, httplib::Response& response) {
            response.set_chunked_content_provider("text/plain", [&sent](std::size_t, httplib::DataSink& sink) {
                const std::string chunk(64 * 1024, 'x');
                if (sent >= streamed || !sink.write(chunk.data(), chunk.size())) return false;
                sent += chunk.size();
                return true;
            });
        });
    });
    HttpOptions options;
    options.maxBodyBytes = 4096;

    EXPECT_EQ(fetchError(server.url("/flood"), options).kind(), Kind::TooLarge);
    EXPECT_LT(sent.load(), streamed) << "the client read the whole stream before giving up";
}

TEST_F(CurlHttpClientTest, RefusedConnection)
{
    int port = 0;
    {
        SilentSocket closed; // a port that was free a moment ago and has nobody listening now
        port = closed.port();
    }
    const HttpError error = fetchError("http://127.0.0.1:" + std::to_string(port) + "/");
    EXPECT_EQ(error.kind(), Kind::Connect);
    EXPECT_NE(std::string(error.what()).find("refused"), std::string::npos) << error.what();
    EXPECT_EQ(error.reason(), "Verbindung abgelehnt");
}

TEST_F(CurlHttpClientTest, UnknownHost)
{
    const HttpError error = fetchError("http://masterserver.quintor-test.invalid:84/league/server");
    EXPECT_EQ(error.kind(), Kind::HostNotFound);
    EXPECT_NE(std::string(error.what()).find("host not found"), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find("quintor-test.invalid"), std::string::npos) << error.what();
    EXPECT_EQ(error.reason(), "Server nicht gefunden");
}

TEST_F(CurlHttpClientTest, ServerThatNeverAnswersTimesOut)
{
    SilentSocket silent;
    HttpOptions options;
    options.totalTimeout = 300ms;
    const HttpError error = fetchError(silent.url(), options);
    EXPECT_EQ(error.kind(), Kind::Timeout);
    EXPECT_NE(std::string(error.what()).find("timed out after 300 ms"), std::string::npos) << error.what();
    EXPECT_EQ(error.reason(), "Zeit\xFC"
                              "berschreitung nach 0,3 Sekunden");
}

TEST_F(CurlHttpClientTest, ConnectTimeOutApplies)
{
    // With the queue of a listening socket full, the kernel drops further connection attempts unanswered.
    SilentSocket full(0);
    const int filler = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(full.port()));
    ASSERT_EQ(::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    full.waitForConnection();

    HttpOptions options;
    options.connectTimeout = 200ms; // the total time-out stays at 30 s
    const HttpError error = fetchError(full.url(), options);
    ::close(filler);
    EXPECT_EQ(error.kind(), Kind::Timeout);
    EXPECT_NE(std::string(error.what()).find("timed out while connecting"), std::string::npos) << error.what();
    EXPECT_EQ(error.reason(), "Keine Antwort vom Server");
}

TEST_F(CurlHttpClientTest, CancelFromAnotherThreadEndsAHangingRequest)
{
    SilentSocket silent;
    std::atomic<bool> cancel{false};
    HttpOptions options;
    options.cancel = &cancel; // total time-out stays at 30 s: only the flag can end this soon
    auto pending = std::async(std::launch::async, [&] { return client->get(silent.url(), options); });

    silent.waitForConnection();
    cancel = true;
    const HttpError error = errorOf([&] { pending.get(); });
    EXPECT_EQ(error.kind(), Kind::Cancelled);
    EXPECT_NE(std::string(error.what()).find("cancelled"), std::string::npos) << error.what();
}

TEST_F(CurlHttpClientTest, CancelledBeforeStartAsksNothing)
{
    LoopbackServer server({{"/quintor.txt", "1=Hallo"}});
    const std::atomic<bool> cancel{true};
    HttpOptions options;
    options.cancel = &cancel;
    EXPECT_EQ(fetchError(server.url("/quintor.txt"), options).kind(), Kind::Cancelled);
    EXPECT_TRUE(server.paths().empty());
}

TEST_F(CurlHttpClientTest, OnlyHttpAddressesAreFetched)
{
    LoopbackServer server({{"/index.txt", "grp0fil0.txt"}});
    const std::string withNul = server.url("/index.txt") + std::string(1, '\0') + "x";
    for (const std::string& url : {std::string("file:///etc/hostname"), std::string("ftp://127.0.0.1/"),
                                   std::string(""), std::string("no address"), withNul}) {
        const HttpError error = fetchError(url);
        EXPECT_EQ(error.kind(), Kind::Other) << error.what();
    }
    EXPECT_TRUE(server.paths().empty());
}

} // namespace
} // namespace quintor
