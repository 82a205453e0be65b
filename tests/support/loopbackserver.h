// A real HTTP server on 127.0.0.1 at a free port, started and stopped by one test.
#pragma once

#include <httplib.h>

#include <csignal>
#include <functional>
#include <initializer_list>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace quintor::test {

class LoopbackServer {
public:
    // The caller sets up the routes of the server (server.Get(...), content providers ...).
    explicit LoopbackServer(const std::function<void(httplib::Server&)>& routes)
    {
        std::signal(SIGPIPE, SIG_IGN); // a client that hangs up must not end the test program
        server_.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
            std::lock_guard lock(mutex_);
            paths_.push_back(request.path);
            return httplib::Server::HandlerResponse::Unhandled;
        });
        routes(server_);
        port_ = server_.bind_to_any_port("127.0.0.1");
        if (port_ <= 0) throw std::runtime_error("loopback server: no free port");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running())
            std::this_thread::yield(); // stop() before this point would be lost
    }

    using Bodies = std::map<std::string, std::string>;

    // Each path answers 200 with its body (text/plain), every other path 404; setBody changes them later.
    explicit LoopbackServer(std::initializer_list<Bodies::value_type> bodies) : LoopbackServer(Bodies(bodies)) {}
    explicit LoopbackServer(Bodies bodies)
        : LoopbackServer([this, &bodies](httplib::Server& server) {
              bodies_ = std::move(bodies);
              server.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
                  std::lock_guard lock(mutex_);
                  auto found = bodies_.find(request.path);
                  if (found == bodies_.end())
                      response.status = 404;
                  else
                      response.set_content(found->second, "text/plain");
              });
          })
    {
    }

    ~LoopbackServer()
    {
        server_.stop();
        thread_.join();
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int port() const { return port_; }
    std::string url(const std::string& path = "/") const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

    void setBody(const std::string& path, const std::string& body)
    {
        std::lock_guard lock(mutex_);
        bodies_[path] = body;
    }
    void removeBody(const std::string& path)
    {
        std::lock_guard lock(mutex_);
        bodies_.erase(path);
    }
    // The paths asked for so far, in order; recorded before the answer goes out.
    std::vector<std::string> paths() const
    {
        std::lock_guard lock(mutex_);
        return paths_;
    }

private:
    httplib::Server server_;
    mutable std::mutex mutex_;
    std::map<std::string, std::string> bodies_;
    std::vector<std::string> paths_;
    int port_ = 0;
    std::thread thread_;
};

} // namespace quintor::test
