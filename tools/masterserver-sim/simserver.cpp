#include "masterserver-sim/simserver.h"

#include "masterserver-sim/replygen.h"

#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>

namespace quintor::sim {

namespace {

constexpr std::size_t kWorkerThreads = 8;
constexpr const char* kListPath = "/league/server";

struct PathRule {
    std::chrono::milliseconds delay{0};
    int failure = 0;
};

// A feed name may not climb out of the feed folder.
bool safeFeedName(std::string_view name)
{
    if (name.empty() || name.front() == '/' || name.front() == '\\') return false;
    if (name.find('\0') != std::string_view::npos) return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("/\\", start);
        if (end == std::string_view::npos) end = name.size();
        if (name.substr(start, end - start) == "..") return false;
        start = end + 1;
    }
    return true;
}

std::optional<std::string> readRegularFile(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Shuts the connection of a request down, so that its client gets no answer at all: the connection is
// the socket of this process whose two ends have the request's ports.
void hangUp(const httplib::Request& request)
{
    auto portOf = [](const sockaddr_storage& address) {
        if (address.ss_family == AF_INET) return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
        if (address.ss_family == AF_INET6) return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
        return std::uint16_t{0};
    };
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        const int fd = std::atoi(entry.path().filename().c_str());
        sockaddr_storage peer{}, local{};
        socklen_t peerLength = sizeof peer, localLength = sizeof local;
        if (::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerLength) != 0 ||
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localLength) != 0)
            continue;
        if (portOf(peer) == request.remote_port && portOf(local) == request.local_port) {
            ::shutdown(fd, SHUT_RDWR);
            return;
        }
    }
}

} // namespace

std::string defaultNoticeFile()
{
    return "1=Willkommen bei Quintor! Die Liste der offenen Spiele wird alle 30 Sekunden neu geladen.\r\n"
           "2=Gr\xFC\xDF"
           "e an alle Siedler: Sonntag ab 18 Uhr ist Liga-Turnier.\r\n"
           "3=Tipp: ein Filter mit Szenario = \"Greed\" meldet jedes neue Greed-Spiel.\r\n";
}

struct SimServer::Impl {
    httplib::Server server;
    std::thread thread;
    int port = 0;
    std::chrono::milliseconds stepInterval{0};

    mutable std::mutex mutex;
    mutable std::condition_variable changed; // readiness, stopping and request counts
    bool running = false;
    bool finished = false;
    bool stopping = false;

    std::map<std::string, int> counts;
    std::map<std::string, PathRule> rules;

    SimWorld world{1, 12};
    std::optional<std::string> fixedReply;
    bool flood = false;
    int floodAfter = 0;
    int failAfter = 0;
    std::chrono::steady_clock::time_point worldSince = std::chrono::steady_clock::now();
    int timedSteps = 0;
    int cachedStep = -1;
    std::string cachedReply;

    std::string notice = defaultNoticeFile();
    std::string versionWord;
    std::string feedDir;

    bool listenEnded() const
    {
        std::lock_guard lock(mutex);
        return finished;
    }

    std::string reply()
    {
        std::lock_guard lock(mutex);
        if (flood || (floodAfter > 0 && counts[kListPath] > floodAfter)) return std::string(kFloodReply);
        if (fixedReply) return *fixedReply;
        if (stepInterval.count() > 0) {
            auto due = static_cast<int>((std::chrono::steady_clock::now() - worldSince) / stepInterval);
            for (; timedSteps < due; ++timedSteps)
                world.step();
        }
        if (cachedStep != world.stepCount()) {
            cachedReply = generateReply(world);
            cachedStep = world.stepCount();
        }
        return cachedReply;
    }

    httplib::Server::HandlerResponse beforeRouting(const httplib::Request& request, httplib::Response& response)
    {
        std::unique_lock lock(mutex);
        ++counts[request.path];
        changed.notify_all();
        const int listsBefore = counts[kListPath] - (request.path == kListPath ? 1 : 0);
        if (failAfter > 0 && listsBefore >= failAfter) {
            hangUp(request);
            return httplib::Server::HandlerResponse::Handled;
        }
        auto found = rules.find(request.path);
        if (found == rules.end()) return httplib::Server::HandlerResponse::Unhandled;
        PathRule rule = found->second;
        if (rule.delay.count() > 0) changed.wait_for(lock, rule.delay, [this] { return stopping; });
        if (rule.failure == 0) return httplib::Server::HandlerResponse::Unhandled;
        response.status = rule.failure;
        response.set_content("simulated failure", "text/plain");
        return httplib::Server::HandlerResponse::Handled;
    }

    void serveFeed(const httplib::Request& request, httplib::Response& response)
    {
        std::string name = request.matches[1];
        std::string folder;
        {
            std::lock_guard lock(mutex);
            folder = feedDir;
        }
        if (!safeFeedName(name)) {
            response.status = 403;
            return;
        }
        std::optional<std::string> body;
        if (!folder.empty()) body = readRegularFile(std::filesystem::path(folder) / name);
        if (!body) {
            response.status = 404;
            return;
        }
        response.set_content(*body, "application/octet-stream");
    }

    void route()
    {
        server.Get(kListPath, [this](const httplib::Request&, httplib::Response& response) {
            response.set_content(reply(), "text/plain");
        });
        server.Get("/quintor.txt", [this](const httplib::Request&, httplib::Response& response) {
            std::lock_guard lock(mutex);
            response.set_content(notice, "text/plain; charset=windows-1252");
        });
        server.Get("/quintor/version.txt", [this](const httplib::Request&, httplib::Response& response) {
            std::lock_guard lock(mutex);
            response.set_content(versionWord, "text/plain");
        });
        server.Get(R"(/feed/(.*))", [this](const httplib::Request& request, httplib::Response& response) {
            serveFeed(request, response);
        });
        server.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
            return beforeRouting(request, response);
        });
    }
};

SimServer::SimServer(SimServerOptions options) : impl_(std::make_unique<Impl>())
{
    Impl& impl = *impl_;
    impl.stepInterval = options.stepInterval;
    impl.versionWord = std::move(options.versionWord);
    impl.feedDir = std::move(options.feedDir);
    impl.route();
    impl.server.set_keep_alive_timeout(1);
    impl.failAfter = options.failAfter;
    // Only SO_REUSEADDR: the library's default adds SO_REUSEPORT, with which a second server
    // would silently share a port that is already taken.
    impl.server.set_socket_options([](socket_t socket) {
        int yes = 1;
        ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    // The server asks for its worker pool as its accept loop starts: that is the moment it is ready.
    impl.server.new_task_queue = [&impl] {
        {
            std::lock_guard lock(impl.mutex);
            impl.running = true;
        }
        impl.changed.notify_all();
        return new httplib::ThreadPool(kWorkerThreads);
    };

    if (options.port == 0) {
        impl.port = impl.server.bind_to_any_port("127.0.0.1");
    } else if (impl.server.bind_to_port("127.0.0.1", options.port)) {
        impl.port = options.port;
    } else {
        impl.port = -1;
    }
    if (impl.port <= 0) throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(options.port));

    impl.thread = std::thread([&impl] {
        impl.server.listen_after_bind();
        {
            std::lock_guard lock(impl.mutex);
            impl.finished = true;
        }
        impl.changed.notify_all();
    });
    std::unique_lock lock(impl.mutex);
    impl.changed.wait(lock, [&impl] { return impl.running || impl.finished; });
    if (!impl.running) {
        lock.unlock();
        impl.thread.join();
        throw std::runtime_error("cannot serve on 127.0.0.1:" + std::to_string(impl.port));
    }
}

SimServer::~SimServer()
{
    stop();
}

void SimServer::stop()
{
    Impl& impl = *impl_;
    {
        std::lock_guard lock(impl.mutex);
        if (impl.stopping) return;
        impl.stopping = true;
    }
    impl.changed.notify_all();
    // The accept loop may have asked for its pool a moment before it counts as running; a stop
    // before that would be lost.
    while (!impl.server.is_running() && !impl.listenEnded())
        std::this_thread::yield();
    impl.server.stop();
    if (impl.thread.joinable()) impl.thread.join();
}

int SimServer::port() const
{
    return impl_->port;
}

std::string SimServer::baseUrl() const
{
    return "http://127.0.0.1:" + std::to_string(impl_->port);
}

void SimServer::setReply(std::string body)
{
    std::lock_guard lock(impl_->mutex);
    impl_->fixedReply = std::move(body);
}

void SimServer::setWorld(SimWorld world)
{
    std::lock_guard lock(impl_->mutex);
    impl_->world = std::move(world);
    impl_->fixedReply.reset();
    impl_->worldSince = std::chrono::steady_clock::now();
    impl_->timedSteps = 0;
    impl_->cachedStep = -1;
}

void SimServer::stepWorld()
{
    std::lock_guard lock(impl_->mutex);
    impl_->world.step();
}

void SimServer::setFlood(bool on)
{
    std::lock_guard lock(impl_->mutex);
    impl_->flood = on;
}

void SimServer::setFloodAfter(int requests)
{
    std::lock_guard lock(impl_->mutex);
    impl_->floodAfter = requests;
}

void SimServer::setNotice(std::string body)
{
    std::lock_guard lock(impl_->mutex);
    impl_->notice = std::move(body);
}

void SimServer::setVersionWord(std::string word)
{
    std::lock_guard lock(impl_->mutex);
    impl_->versionWord = std::move(word);
}

void SimServer::setFeedDir(std::string dir)
{
    std::lock_guard lock(impl_->mutex);
    impl_->feedDir = std::move(dir);
}

void SimServer::setDelay(const std::string& path, std::chrono::milliseconds delay)
{
    std::lock_guard lock(impl_->mutex);
    impl_->rules[path].delay = delay;
}

void SimServer::setFailure(const std::string& path, int status)
{
    std::lock_guard lock(impl_->mutex);
    impl_->rules[path].failure = status;
}

int SimServer::requestCount(const std::string& path) const
{
    std::lock_guard lock(impl_->mutex);
    auto found = impl_->counts.find(path);
    return found == impl_->counts.end() ? 0 : found->second;
}

bool SimServer::waitForRequests(const std::string& path, int count, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(impl_->mutex);
    return impl_->changed.wait_for(lock, timeout, [&] {
        auto found = impl_->counts.find(path);
        return found != impl_->counts.end() && found->second >= count;
    });
}

} // namespace quintor::sim
