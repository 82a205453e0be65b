// The simulated masterserver as an in-process HTTP server on 127.0.0.1, for tests and for the
// stand-alone executable. It serves:
//   /league/server       the reply (a world that advances with wall time, a fixed text, or the
//                        league's flood-protection text, at once or after a number of answers)
//   /quintor.txt         the notice file
//   /quintor/version.txt the version word
//   /feed/<name>         files of a feed folder, byte for byte
// Tests can count requests per path, delay a path and make a path fail with a status, and the whole
// server can stop answering after a number of list requests, as a masterserver going down does.
#pragma once

#include "masterserver-sim/simworld.h"

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

namespace quintor::sim {

struct SimServerOptions {
    int port = 0; // 0: any free port
    // Wall time per world step; zero: the world moves only through stepWorld().
    std::chrono::milliseconds stepInterval{0};
    std::string versionWord = "Velmar 2.02 Beta [84]";
    std::string feedDir; // empty: every /feed/ path answers 404
    // After this many requests of /league/server, every new connection is closed unanswered; 0: never.
    int failAfter = 0;
};

// Numbered notices in Windows-1252 with CR LF line ends; the third holds "=" in its text.
std::string defaultNoticeFile();

class SimServer {
public:
    // Listening once constructed; raises std::runtime_error when the port cannot be bound.
    explicit SimServer(SimServerOptions options = {});
    ~SimServer(); // stops the server
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;

    int port() const;
    // "http://127.0.0.1:PORT", without a trailing slash.
    std::string baseUrl() const;

    // What /league/server answers. The default is a world of seed 1 with 12 games.
    void setReply(std::string body);
    void setWorld(SimWorld world);
    void stepWorld();
    void setFlood(bool on);
    // After this many requests of /league/server, it answers with the flood-protection text; 0: never.
    void setFloodAfter(int requests);

    void setNotice(std::string body);
    void setVersionWord(std::string word);
    void setFeedDir(std::string dir);

    // Holds every request of this path (as requested, e.g. "/quintor.txt") for a while before
    // answering; stopping the server cuts the wait short.
    void setDelay(const std::string& path, std::chrono::milliseconds delay);
    // Answers this path with an error status; 0 serves it normally again.
    void setFailure(const std::string& path, int status);

    int requestCount(const std::string& path) const;
    // Waits until the path has been asked for at least `count` times; false on time-out.
    bool waitForRequests(const std::string& path, int count, std::chrono::milliseconds timeout) const;

    // Stops listening and waits for the requests in progress; also done by the destructor.
    void stop();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace quintor::sim
